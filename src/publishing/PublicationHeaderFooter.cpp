#include "publishing/Publication.h"

#include "model/Configuration.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/JsonText.h"
#include "publishing/FieldPlaceholders.h"

#include <QDateTime>
#include <QLocale>

using namespace FieldPlaceholders;

namespace {

// The spans that the print template fills on every page.
const QString kTitleSpan = QStringLiteral("<SPAN class=hfTitle></SPAN>");
const QString kUrlSpan = QStringLiteral("<SPAN class=hfUrl ></SPAN>");
const QString kPageSpan = QStringLiteral("<SPAN class=hfPage></SPAN>");
const QString kPageTotalSpan = QStringLiteral("<SPAN class=hfPageTotal></SPAN>");

bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// "&name;": a character reference such as &nbsp; or &bull;, not a code.
bool IsCharacterReference(QStringView text, qsizetype ampersand)
{
    qsizetype at = ampersand + 1;
    if (at >= text.size() || !IsAsciiLetter(text[at]))
        return false;
    while (at < text.size() && (IsAsciiLetter(text[at]) || text[at].isDigit()))
        ++at;
    return at < text.size() && text[at] == u';';
}

// One past the end of the tag or comment that starts at `at`, or `at` when the "<" opens none.
qsizetype TagEnd(QStringView text, qsizetype at)
{
    if (text.sliced(at).startsWith(u"<!--")) {
        const qsizetype close = text.indexOf(u"-->", at + 4);
        return close < 0 ? text.size() : close + 3;
    }
    const QChar next = at + 1 < text.size() ? text[at + 1] : QChar();
    if (!IsAsciiLetter(next) && next != u'/' && next != u'!' && next != u'?')
        return at;
    QChar quote;
    bool afterEquals = false;
    for (qsizetype k = at + 1; k < text.size(); ++k) {
        const QChar c = text[k];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'>') {
            return k + 1;
        } else if ((c == u'"' || c == u'\'') && afterEquals) {
            quote = c;
            afterEquals = false;
        } else if (c == u'=') {
            afterEquals = true;
        } else if (!c.isSpace()) {
            afterEquals = false;
        }
    }
    return text.size();
}

// What a code other than &b writes; a null text for a character that makes no code.
QString CodeText(QChar code, const QDateTime& now)
{
    switch (code.unicode()) {
        case u'w':
            return kTitleSpan;
        case u'u':
            return kUrlSpan;
        case u'p':
            return kPageSpan;
        case u'P':
            return kPageTotalSpan;
        case u'd':
            return QLocale().toString(now.date(), QLocale::ShortFormat).toHtmlEscaped();
        case u'D':
            return QLocale().toString(now.date(), QLocale::LongFormat).toHtmlEscaped();
        case u't':
            return QLocale().toString(now.time(), QLocale::ShortFormat).toHtmlEscaped();
        case u'T':
            return now.time().toString(QStringLiteral("HH:mm"));
        case u'&':
            return QStringLiteral("&amp;");
        default:
            return {};
    }
}

// The template's text in its cells, cut at each &b and with the other codes written out. Codes
// are read only in the text outside tags, and only in the template: a field value is no code.
QStringList ReadCodes(const QString& text, const QDateTime& now)
{
    QStringList cells{QString()};
    for (qsizetype at = 0; at < text.size();) {
        const QChar c = text[at];
        if (c == u'<') {
            const qsizetype end = TagEnd(text, at);
            if (end > at) {
                cells.back() += QStringView(text).sliced(at, end - at);
                at = end;
                continue;
            }
        } else if (c == u'&' && at + 1 < text.size() && !IsCharacterReference(text, at)) {
            if (text[at + 1] == u'b') {
                cells.append(QString());
                at += 2;
                continue;
            }
            const QString code = CodeText(text[at + 1], now);
            if (!code.isNull()) {
                cells.back() += code;
                at += 2;
                continue;
            }
        }
        cells.back() += c;
        ++at;
    }
    // Text after a third &b stays in the right cell.
    while (cells.size() > 3) {
        cells[2] += cells[3];
        cells.removeAt(3);
    }
    return cells;
}

QString OneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// A cell of the table; its style and content are already JSON text.
QString Cell(const QString& align, const QString& width, const QString& content)
{
    return QStringLiteral(
               "<TD style=\\\"text-align:%1;%2overflow:hidden;text-overflow:ellipsis;font-size:12pt;\\\">"
               "<NOBR>%3</NOBR></TD>")
        .arg(align, width, content);
}

}  // namespace

QString Publication::FormatHeaderFooter(const QString& sHeaderFooter, bool bHeader) const
{
    try {
        const QDateTime now = QDateTime::currentDateTime();
        QStringList cells = ReadCodes(sHeaderFooter, now);
        const QList<FieldValue> pageValues{
            FieldValue::Html(QStringLiteral("PAGETOTAL"), kPageTotalSpan),
            FieldValue::Text(QStringLiteral("DATESHORT"), QLocale().toString(now.date(), QLocale::ShortFormat)),
            FieldValue::Text(QStringLiteral("DATELONG"), QLocale().toString(now.date(), QLocale::LongFormat)),
            FieldValue::Html(QStringLiteral("URL"), kUrlSpan),
            FieldValue::Html(QStringLiteral("PAGECURRENT"), kPageSpan)};
        bool itemFields = false;
        for (QString& cell : cells) {
            ReplaceTags(cell, pageValues);
            itemFields = itemFields || cell.contains(QLatin1String(".tag"), Qt::CaseInsensitive);
        }
        // The items are read only for a template that still holds placeholders.
        if (itemFields) {
            TestPlan plan;
            plan.SetId(m_idTestPlan);
            const bool planFound = !m_idTestPlan.isEmpty() && plan.Find(m_idTestPlan) == 0;
            Configuration configuration;
            configuration.SetId(m_idConfiguration);
            const bool configurationFound = !m_idConfiguration.isEmpty() && configuration.Find(m_idConfiguration) == 0;
            for (QString& cell : cells) {
                if (planFound)
                    WriteTestPlanFields(cell, plan);
                if (configurationFound)
                    WriteConfigurationFields(cell, configuration);
            }
        }
        for (QString& cell : cells)
            cell = JsonText::Escaped(OneLine(cell));

        // Without &b all goes into the right cell, which then takes the whole width.
        const bool split = cells.size() > 1;
        if (!split)
            cells = QStringList{QString(), QString(), cells.front()};
        while (cells.size() < 3)
            cells.append(QString());
        const QString table =
            QStringLiteral("<TABLE style=\\\"border:0;width:100%;table-layout:fixed;\\\"class=") +
            (bHeader ? QLatin1String("THeader") : QLatin1String("TFooter")) + QLatin1String("><TR>") +
            Cell(QStringLiteral("left"), split ? QStringLiteral("width:33%;") : QString(), cells[0]) +
            Cell(QStringLiteral("center"), split ? QStringLiteral("width:34%;") : QString(), cells[1]) +
            Cell(QStringLiteral("right"), split ? QStringLiteral("width:33%;") : QStringLiteral("width:100%;"),
                 cells[2]) +
            QLatin1String("</TR></TABLE>");
        return QLatin1Char('"') + table + QLatin1Char('"');
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_FormatHeaderFooter : "), error);
        return {};
    }
}
