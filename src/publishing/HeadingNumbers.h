#pragma once

#include <QList>
#include <QPair>
#include <QString>

class HtmlDocument;

struct NumberedHeadings
{
    QString html;             // the page with each heading's number at the start of its content
    QString tableOfContents;  // one indented entry per heading, "" for a page without headings
    // Where each number went in the page as written, and its length, in source order.
    QList<QPair<qsizetype, qsizetype>> numbers;

    // Where a position of the page as written is in `html`: after the numbers put in at or
    // before it.
    qsizetype Moved(qsizetype position) const;
};

// Numbers the headings H1 to H10 of a page in source order, each level counting within the
// one above it (1, 1.1, 1.2, 2, ...; a level skipped above counts as 0, so a first H2 is 0.1),
// and lists them as a table of contents. Only the numbers are inserted: every other character of
// the page stays as written. Elements named H11 and above are no headings and are left alone.
NumberedHeadings NumerateHeaders(const QString& html);
// The same on a page already parsed, so that its parse can serve its placeholders too.
NumberedHeadings NumerateHeaders(const HtmlDocument& document);
