#include "publishing/XmlPlanWriter.h"

#include "core/KeyHelpers.h"
#include "model/Procedure.h"
#include "model/Result.h"
#include "model/SubTest.h"
#include "platform/KvlError.h"

namespace {

// Wrapped HTML: the markers travel as escaped text around the stored markup.
const QString kWrapOpen = QStringLiteral("<![CDATA[");
const QString kWrapClose = QStringLiteral("]]>");

// What XML 1.0 cannot carry (surrogates are judged in pairs by the caller).
bool Forbidden(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF;
}

}  // namespace

void XmlPlanWriter::WriteSubTests(SubTest& subTest)
{
    Trap(QStringLiteral("Error_WriteSubTests XML :"), [&] {
        const int level = subTest.Level();
        m_xml.writeStartElement(QStringLiteral("subtest") + QString::number(level));
        TextElement(QStringLiteral("id"), subTest.Id());
        TextElement(QStringLiteral("title"), subTest.Title());
        TextElement(QStringLiteral("name"), subTest.Name());
        TextElement(QStringLiteral("order"), QString::number(subTest.Order()));
        WriteDescription(QStringLiteral("Error_WriteSubTestDescription XML :"), m_columns.subTestDescriptions,
                         subTest.Id(), QStringLiteral("description"));

        // The children take the next depth and the key of their occurrence below this one. Ten
        // levels down none are given: only sub-tests that hold each other nest deeper.
        const int image = level + kImageSubTestFirst - 1;
        if (subTest.FillSubTestChildren(m_rows.ChildrenAt(subTest.Id(), image, subTest.Name()), false) != 0)
            throw KvlError(KvlError::kGeneric, QStringLiteral("The child sub-tests could not be read."));
        for (const auto& child : subTest.SubTestChildren())
            WriteSubTests(*child);
        if (subTest.FillProcedures(m_rows.Procedures(subTest.Id()), false) != 0)
            throw KvlError(KvlError::kGeneric, QStringLiteral("The procedures could not be read."));
        for (const auto& procedure : subTest.Procedures())
            WriteProcedures(*procedure);
        m_xml.writeEndElement();
    });
}

void XmlPlanWriter::WriteProcedures(Procedure& procedure)
{
    Trap(QStringLiteral("Error_WriteProcedures XML :"), [&] {
        m_xml.writeStartElement(QStringLiteral("procedure"));
        TextElement(QStringLiteral("id"), procedure.Id());
        TextElement(QStringLiteral("title"), procedure.Title());
        TextElement(QStringLiteral("name"), procedure.Name());
        TextElement(QStringLiteral("workload"), NumberText(procedure.WorkLoad()));
        TextElement(QStringLiteral("order"), QString::number(procedure.Order()));
        WriteDescription(QStringLiteral("Error_WriteProcedureDescription XML :"), m_columns.procedureDescriptions,
                         procedure.Id(), QStringLiteral("description"));
        // The result of this occurrence; one never created reads as a new row would.
        const Result result = m_results.ResultOf(procedure.Key());
        TextElement(QStringLiteral("status"), QString::number(result.Status()));
        TextElement(QStringLiteral("comment"), result.Comment());
        TextElement(QStringLiteral("iteration"), QString::number(result.Iteration()));
        const QDate firstPlayed = result.FirstPlayed();
        TextElement(QStringLiteral("datefirstplayed"),
                    firstPlayed.isValid() ? firstPlayed.toString(Qt::ISODate) : StatusName(kUnplayed));
        WriteDescription(QStringLiteral("Error_WriteProcedureExpectedResult XML :"), m_columns.expectedResults,
                         procedure.Id(), QStringLiteral("expected_result"));
        m_xml.writeEndElement();
        Flush();
    });
}

void XmlPlanWriter::WriteDescription(const QString& label, StoredColumns& column, const QString& id,
                                     const QString& element)
{
    Trap(label, [&] {
        // No row and a Null column both give the markers alone.
        const std::optional<QVariant> value = column.Value(id);
        m_xml.writeStartElement(element);
        Characters(kWrapOpen);
        if (value && !value->isNull())
            Characters(value->toString());
        Characters(kWrapClose);
        m_xml.writeEndElement();
    });
}

void XmlPlanWriter::TextElement(const QString& name, const QString& text)
{
    m_xml.writeStartElement(name);
    Characters(text);
    m_xml.writeEndElement();
}

void XmlPlanWriter::Characters(const QString& text)
{
    // Ends the start tag even for an empty text, so every element is written with its end tag.
    m_xml.writeCharacters(QString());
    const qsizetype size = text.size();
    qsizetype done = 0;
    const auto flush = [&](qsizetype end) {
        if (end > done)
            m_xml.writeCharacters(done == 0 && end == size ? text : text.mid(done, end - done));
    };
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0xD800)
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        const bool surrogate = QChar::isSurrogate(c);
        if (c != u'\r' && !surrogate && !Forbidden(c))
            continue;
        flush(i);
        if (c == u'\r') {
            m_xml.writeEntityReference(QStringLiteral("#13"));
        } else {
            m_xml.writeCharacters(QString(QChar(QChar::ReplacementCharacter)));
            ++m_replaced;
        }
        done = i + 1;
    }
    flush(size);
}
