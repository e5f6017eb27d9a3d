#include "publishing/XmlPlanReader.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>
#include <limits>

namespace {

struct Refusal
{
    QString reason;
};

// A name or value as a reason shows it: short and on one line, whatever the file holds.
QString Shown(const QString& text)
{
    const QString line = text.simplified();
    return line.size() > 40 ? line.left(40) + QStringLiteral("...") : line;
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + Shown(text) + QLatin1Char('"');
}

qsizetype Characters(const QString& text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            ++count;
    }
    return count;
}

// Walks the document one element at a time, keeping the elements open, skipped ones included, so
// that no input makes the walk deeper than kMaxDepth.
class Cursor
{
public:
    explicit Cursor(const QByteArray& data) : m_xml(data) {}

    [[noreturn]] void Refuse(const QString& element, int line, const QString& what) const
    {
        throw Refusal{QStringLiteral("%1 at line %2: %3").arg(Shown(element)).arg(line).arg(what)};
    }

    // Moves onto the root element.
    void EnterRoot()
    {
        for (QXmlStreamReader::TokenType token = Next(); token != QXmlStreamReader::StartElement; token = Next()) {
            if (token == QXmlStreamReader::EndDocument)
                Refuse(QStringLiteral("document"), Line(), QStringLiteral("no root element"));
        }
    }

    // Reads the rest of the document after the root: it must be well-formed too.
    void Finish()
    {
        while (Next() != QXmlStreamReader::EndDocument) {
        }
    }

    QString Name() const { return m_xml.qualifiedName().toString(); }
    int Line() const { return int(m_xml.lineNumber()); }

    // Calls `child(name, line)` for each child element of the current one, in document order;
    // `child` consumes it with Text, Skip or a nested Children.
    template <class F>
    void Children(F child)
    {
        for (;;) {
            const QXmlStreamReader::TokenType token = Inside();
            if (token == QXmlStreamReader::EndElement)
                return;
            if (token == QXmlStreamReader::StartElement)
                child(Name(), Line());
        }
    }

    // The current element's text, its descendants' included.
    QString Text()
    {
        QString text;
        for (int open = 1; open > 0;) {
            const QXmlStreamReader::TokenType token = Inside();
            if (token == QXmlStreamReader::Characters)
                text += m_xml.text();
            else if (token == QXmlStreamReader::StartElement)
                ++open;
            else if (token == QXmlStreamReader::EndElement)
                --open;
        }
        return text;
    }

    void Skip()
    {
        Children([this](const QString&, int) { Skip(); });
    }

private:
    // The next token inside an element, whose end must still come.
    QXmlStreamReader::TokenType Inside()
    {
        const QXmlStreamReader::TokenType token = Next();
        if (token == QXmlStreamReader::EndDocument)
            Refuse(QStringLiteral("document"), Line(), QStringLiteral("ends inside an element"));
        return token;
    }

    QXmlStreamReader::TokenType Next()
    {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::DTD)
            Refuse(QStringLiteral("DOCTYPE"), Line(), QStringLiteral("a document type declaration is not accepted"));
        if (token == QXmlStreamReader::StartElement) {
            if (m_open.size() == XmlPlanReader::kMaxDepth)
                Refuse(Name(), Line(), QStringLiteral("elements nested deeper than %1").arg(XmlPlanReader::kMaxDepth));
            m_open.append(Name());
        }
        if (token == QXmlStreamReader::EndElement)
            m_open.removeLast();  // the parser pairs every end with its start
        if (token == QXmlStreamReader::Invalid || m_xml.hasError()) {
            // The parser names no element: the innermost one open is the place.
            const QString element = m_open.isEmpty() ? QStringLiteral("document") : m_open.last();
            throw Refusal{QStringLiteral("%1 at line %2, column %3: %4")
                              .arg(Shown(element))
                              .arg(m_xml.lineNumber())
                              .arg(m_xml.columnNumber())
                              .arg(m_xml.errorString())};
        }
        return token;
    }

    QXmlStreamReader m_xml;
    QStringList m_open;  // the names of the elements open, outermost first
};

// Builds the plan from the elements, checking each value as it is read.
class PlanBuilder
{
public:
    explicit PlanBuilder(Cursor& cursor) : m_cursor(cursor) {}

    XmlPlan::Plan Root()
    {
        XmlPlan::Plan plan;
        m_cursor.EnterRoot();
        const QString root = m_cursor.Name();
        const int rootLine = m_cursor.Line();
        QSet<QString> seen;
        bool hasConfiguration = false;
        QSet<QDate> historyDays;
        m_cursor.Children([&](const QString& name, int line) {
            if (name == QLatin1String("history")) {
                ReadHistory(plan, historyDays, line);
            } else if (name == QLatin1String("subtest1")) {
                plan.subTests.append(ReadSubTest(1, line));
            } else if (!Once(seen, name)) {
                m_cursor.Skip();
            } else if (name == QLatin1String("id")) {
                Id(name, line);
            } else if (name == QLatin1String("name")) {
                plan.name = Bounded(name, line, XmlPlanReader::kMaxNameLength);
            } else if (name == QLatin1String("title")) {
                plan.title = Bounded(name, line, XmlPlanReader::kMaxNameLength);
            } else if (name == QLatin1String("CSS")) {
                plan.css = m_cursor.Text();
                // It would end the STYLE element of every page it is put in.
                if (plan.css->contains(QLatin1String("</style"), Qt::CaseInsensitive))
                    m_cursor.Refuse(name, line, QStringLiteral("the style sheet holds \"</style\""));
            } else if (name == QLatin1String("configuration")) {
                hasConfiguration = true;
                plan.configuration = ReadConfiguration(line);
            } else if (name == QLatin1String("description")) {
                plan.description = XmlPlanReader::Unwrap(m_cursor.Text());
            } else {
                m_cursor.Skip();
            }
        });
        if (!hasConfiguration)
            m_cursor.Refuse(root, rootLine, QStringLiteral("no configuration"));
        if (!plan.description)
            Warn(root, rootLine, QStringLiteral("no description; the test plan keeps none"));
        m_cursor.Finish();
        plan.warnings = m_warnings;
        return plan;
    }

private:
    static bool Once(QSet<QString>& seen, const QString& name)
    {
        if (seen.contains(name))
            return false;
        seen.insert(name);
        return true;
    }

    void Warn(const QString& element, int line, const QString& what)
    {
        m_warnings.append(QStringLiteral("%1 at line %2: %3").arg(element).arg(line).arg(what));
    }

    QString Bounded(const QString& name, int line, int limit)
    {
        const QString text = m_cursor.Text();
        if (Characters(text) > limit)
            m_cursor.Refuse(name, line, QStringLiteral("longer than %1 characters").arg(limit));
        return text;
    }

    qint64 Whole(const QString& name, int line, qint64 low, qint64 high, const QString& kind)
    {
        const QString text = m_cursor.Text();
        const std::optional<qint64> value = XmlPlanReader::ParseWhole(text);
        if (!value || *value < low || *value > high)
            m_cursor.Refuse(name, line,
                            QStringLiteral("%1 is not %2 from %3 to %4").arg(Quoted(text), kind).arg(low).arg(high));
        return *value;
    }

    QString Id(const QString& name, int line)
    {
        return QString::number(Whole(name, line, 1, std::numeric_limits<int>::max(), QStringLiteral("an id")));
    }

    int Order(const QString& name, int line)
    {
        return int(Whole(name, line, 1, std::numeric_limits<int>::max(), QStringLiteral("an order")));
    }

    double NonNegative(const QString& name, int line)
    {
        const QString text = m_cursor.Text();
        const std::optional<double> value = XmlPlanReader::ParseDecimal(text);
        if (!value || *value < 0)
            m_cursor.Refuse(name, line, QStringLiteral("%1 is not a finite number of 0 or more").arg(Quoted(text)));
        return *value;
    }

    QDate Date(const QString& name, int line, bool unplayedAllowed)
    {
        const QString text = m_cursor.Text();
        if (unplayedAllowed && text.trimmed() == XmlPlanReader::Unplayed())
            return {};
        const std::optional<QDate> date = XmlPlanReader::ParseDate(text);
        if (!date)
            m_cursor.Refuse(name, line, QStringLiteral("%1 is not a date").arg(Quoted(text)));
        return *date;
    }

    XmlPlan::Configuration ReadConfiguration(int line)
    {
        XmlPlan::Configuration configuration;
        QSet<QString> seen;
        m_cursor.Children([&](const QString& name, int childLine) {
            if (!Once(seen, name))
                m_cursor.Skip();
            else if (name == QLatin1String("id"))
                configuration.id = Id(name, childLine);
            else if (name == QLatin1String("name"))
                configuration.name = Bounded(name, childLine, XmlPlanReader::kMaxNameLength);
            else if (name == QLatin1String("title"))
                configuration.title = Bounded(name, childLine, XmlPlanReader::kMaxNameLength);
            else if (name == QLatin1String("equipment1"))
                configuration.equipment1 = Bounded(name, childLine, XmlPlanReader::kMaxNameLength);
            else if (name == QLatin1String("equipment2"))
                configuration.equipment2 = Bounded(name, childLine, XmlPlanReader::kMaxNameLength);
            else if (name == QLatin1String("equipment3"))
                configuration.equipment3 = Bounded(name, childLine, XmlPlanReader::kMaxNameLength);
            else
                m_cursor.Skip();
        });
        if (configuration.id.isEmpty())
            m_cursor.Refuse(QStringLiteral("configuration"), line, QStringLiteral("no id"));
        return configuration;
    }

    void ReadHistory(XmlPlan::Plan& plan, QSet<QDate>& days, int line)
    {
        XmlPlan::History history;
        QSet<QString> seen;
        m_cursor.Children([&](const QString& name, int childLine) {
            double* value = nullptr;
            if (name == QLatin1String("advancement"))
                value = &history.advancement;
            else if (name == QLatin1String("workload"))
                value = &history.workload;
            else if (name == QLatin1String("Passed"))
                value = &history.passed;
            else if (name == QLatin1String("Failed"))
                value = &history.failed;
            else if (name == QLatin1String("Warning"))
                value = &history.warning;
            else if (name == QLatin1String("Canceled"))
                value = &history.canceled;
            if (!Once(seen, name))
                m_cursor.Skip();
            else if (value)
                *value = NonNegative(name, childLine);
            else if (name == QLatin1String("Date"))
                history.date = Date(name, childLine, false);
            else
                m_cursor.Skip();
        });
        // A row without date is stored as today's.
        const QDate day = history.date.isValid() ? history.date : QDate::currentDate();
        if (days.contains(day)) {
            Warn(QStringLiteral("history"), line,
                 QStringLiteral("a second row for %1; skipped").arg(day.toString(Qt::ISODate)));
            return;
        }
        days.insert(day);
        plan.history.append(history);
    }

    XmlPlan::SubTest ReadSubTest(int level, int line)
    {
        const QString element = QStringLiteral("subtest%1").arg(level);
        if (level > XmlPlanReader::kMaxSubTestLevels)
            m_cursor.Refuse(
                element, line,
                QStringLiteral("sub-tests nested deeper than %1 levels").arg(XmlPlanReader::kMaxSubTestLevels));
        const QString childElement = QStringLiteral("subtest%1").arg(level + 1);
        XmlPlan::SubTest subTest;
        subTest.line = line;
        std::optional<int> order;
        QSet<QString> seen;
        m_cursor.Children([&](const QString& name, int childLine) {
            if (name == childElement)
                subTest.children.append(ReadSubTest(level + 1, childLine));
            else if (name == QLatin1String("procedure"))
                subTest.procedures.append(ReadProcedure(childLine));
            else if (!Once(seen, name))
                m_cursor.Skip();
            else if (name == QLatin1String("id"))
                Id(name, childLine);
            else if (name == QLatin1String("name"))
                subTest.name = Bounded(name, childLine, XmlPlanReader::kMaxNameLength);
            else if (name == QLatin1String("title"))
                subTest.title = Bounded(name, childLine, XmlPlanReader::kMaxNameLength);
            else if (name == QLatin1String("order"))
                order = Order(name, childLine);
            else if (name == QLatin1String("description"))
                subTest.description = XmlPlanReader::Unwrap(m_cursor.Text());
            else
                m_cursor.Skip();
        });
        if (!order)
            m_cursor.Refuse(element, line, QStringLiteral("no order"));
        subTest.order = *order;
        if (level == 1 && !subTest.title)
            m_cursor.Refuse(element, line, QStringLiteral("no title"));
        if (!subTest.description)
            Warn(element, line, QStringLiteral("no description; the sub-test keeps none"));
        return subTest;
    }

    XmlPlan::Procedure ReadProcedure(int line)
    {
        XmlPlan::Procedure procedure;
        procedure.line = line;
        std::optional<int> order;
        QSet<QString> seen;
        m_cursor.Children([&](const QString& name, int childLine) {
            if (!Once(seen, name))
                m_cursor.Skip();
            else if (name == QLatin1String("id"))
                Id(name, childLine);
            else if (name == QLatin1String("name"))
                procedure.name = Bounded(name, childLine, XmlPlanReader::kMaxNameLength);
            else if (name == QLatin1String("title"))
                procedure.title = Bounded(name, childLine, XmlPlanReader::kMaxNameLength);
            else if (name == QLatin1String("workload"))
                procedure.workload = Workload(name, childLine);
            else if (name == QLatin1String("order"))
                order = Order(name, childLine);
            else if (name == QLatin1String("description"))
                procedure.description = XmlPlanReader::Unwrap(m_cursor.Text());
            else if (name == QLatin1String("status"))
                procedure.status =
                    int(Whole(name, childLine, 0, XmlPlanReader::kMaxStatus, QStringLiteral("a status")));
            else if (name == QLatin1String("comment"))
                procedure.comment = Bounded(name, childLine, XmlPlanReader::kMaxCommentLength);
            else if (name == QLatin1String("iteration"))
                procedure.iteration =
                    int(Whole(name, childLine, 0, XmlPlanReader::kMaxIteration, QStringLiteral("an iteration count")));
            else if (name == QLatin1String("datefirstplayed"))
                procedure.firstPlayed = Date(name, childLine, true);
            else if (name == QLatin1String("expected_result"))
                procedure.expectedResult = XmlPlanReader::Unwrap(m_cursor.Text());
            else
                m_cursor.Skip();
        });
        const QString element = QStringLiteral("procedure");
        if (!order)
            m_cursor.Refuse(element, line, QStringLiteral("no order"));
        procedure.order = *order;
        if (!procedure.description)
            Warn(element, line, QStringLiteral("no description; the procedure keeps none"));
        if (!procedure.expectedResult)
            Warn(element, line, QStringLiteral("no expected_result; the procedure keeps none"));
        return procedure;
    }

    float Workload(const QString& name, int line)
    {
        const double value = NonNegative(name, line);
        if (value > double(std::numeric_limits<float>::max()))
            m_cursor.Refuse(name, line, QStringLiteral("too large for a workload"));
        return float(value);
    }

    Cursor& m_cursor;
    QStringList m_warnings;
};

}  // namespace

std::optional<XmlPlan::Plan> XmlPlanReader::ReadData(const QByteArray& data, QString* error)
{
    try {
        if (data.size() > SizeLimit())
            throw Refusal{QStringLiteral("the document is larger than %1 bytes").arg(SizeLimit())};
        Cursor cursor(data);
        PlanBuilder builder(cursor);
        return builder.Root();
    } catch (const Refusal& refusal) {
        if (error)
            *error = refusal.reason;
    } catch (const std::exception& failure) {
        // Out of memory on a huge document, for one.
        if (error)
            *error = QStringLiteral("the document could not be read: %1").arg(QString::fromLocal8Bit(failure.what()));
    }
    return std::nullopt;
}

std::optional<XmlPlan::Plan> XmlPlanReader::Read(const QString& path, QString* error)
{
    const auto refuse = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, reason);
        return std::nullopt;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return refuse(QStringLiteral("no such file"));
    if (!info.isFile())
        return refuse(QStringLiteral("not a file"));
    const QString tooLarge = QStringLiteral("the file is larger than %1 bytes").arg(SizeLimit());
    if (info.size() > SizeLimit())
        return refuse(tooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.errorString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refuse(file.errorString());
    // It may have grown since its size was read.
    if (data.size() > SizeLimit())
        return refuse(tooLarge);
    return ReadData(data, error);
}
