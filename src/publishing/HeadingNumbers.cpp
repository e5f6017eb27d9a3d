#include "publishing/HeadingNumbers.h"

#include "platform/HtmlDocument.h"

#include <QList>

#include <algorithm>
#include <array>

namespace {

constexpr int kDeepestLevel = 10;

// The level of a heading element, 0 for any other element.
int HeadingLevel(const QString& tag)
{
    // Only the plain spellings h1 to h10 count: "h0", "h01" and "h11" are not headings.
    if (tag.size() < 2 || tag.size() > 3 || tag[0] != QLatin1Char('h') || tag[1] == QLatin1Char('0'))
        return 0;
    for (qsizetype i = 1; i < tag.size(); ++i) {
        if (tag[i] < QLatin1Char('0') || tag[i] > QLatin1Char('9'))
            return 0;
    }
    const int level = QStringView(tag).mid(1).toInt();
    return level <= kDeepestLevel ? level : 0;
}

QString Repeated(QLatin1String text, int times)
{
    return QString(text).repeated(times);
}

}  // namespace

qsizetype NumberedHeadings::Moved(qsizetype position) const
{
    qsizetype moved = position;
    for (const auto& [at, length] : numbers) {
        if (at > position)
            break;
        moved += length;
    }
    return moved;
}

NumberedHeadings NumerateHeaders(const QString& html)
{
    return NumerateHeaders(HtmlDocument(html));
}

NumberedHeadings NumerateHeaders(const HtmlDocument& document)
{
    const QString& html = document.Source();
    struct Heading
    {
        int level;
        qsizetype contentStart;
        const HtmlElement* element;
    };
    QList<Heading> headings;
    for (const HtmlElement& element : document.Elements()) {
        const int level = HeadingLevel(element.tag);
        if (level > 0 && element.InSource())
            headings.append({level, element.start + element.startTagLength, &element});
    }
    // Markup that a parser moves (a heading inside a table row, for one) keeps its place in
    // the text, and the numbers follow the text.
    std::stable_sort(headings.begin(), headings.end(),
                     [](const Heading& a, const Heading& b) { return a.contentStart < b.contentStart; });

    const QLatin1String open("<blockquote>");
    const QLatin1String close("</blockquote>");
    NumberedHeadings result;
    result.html.reserve(html.size() + headings.size() * 8);
    std::array<int, kDeepestLevel> counters{};
    int previousLevel = 1;
    qsizetype copied = 0;
    for (const Heading& heading : headings) {
        const int n = heading.level;
        ++counters[n - 1];
        std::fill(counters.begin() + n, counters.end(), 0);
        QString number = QString::number(counters[0]);
        for (int i = 1; i < n; ++i)
            number += QLatin1Char('.') + QString::number(counters[i]);

        // Entries of one level in a row share one indentation: the previous entry's closing
        // tags go, with the line feed before them.
        if (n != previousLevel || n == 1)
            result.tableOfContents += Repeated(open, n);
        else
            result.tableOfContents.chop(qMin(result.tableOfContents.size(), previousLevel * close.size() + 1));
        result.tableOfContents += QLatin1Char(' ') + number + QLatin1Char(' ') + document.InnerHtml(*heading.element) +
                                  QLatin1String("<BR>\r\n") + Repeated(close, n);
        previousLevel = n;

        result.html.append(QStringView(html).mid(copied, heading.contentStart - copied));
        result.html.append(number + QLatin1Char(' '));
        result.numbers.append({heading.contentStart, number.size() + 1});
        copied = heading.contentStart;
    }
    result.html.append(QStringView(html).mid(copied));
    return result;
}
