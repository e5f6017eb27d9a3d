#pragma once

#include <QString>

// A page as the source view shows it: the caret marker taken out, the places where the BODY's
// tags start and end, and where the caret goes. Tags are found the way a browser parses them,
// whatever their case and attributes.
struct HtmlSourceText
{
    // The hidden element put at the editor's caret to find it again in the source.
    static QString CursorMarker() { return QStringLiteral("<SPAN id=cursor style=\"DISPLAY: none\"></SPAN>"); }

    QString text;
    // End of the BODY start tag; 0 when the source holds none.
    qsizetype bodyStart = 0;
    // Start of the BODY end tag; the text's length when the source holds none.
    qsizetype bodyEnd = 0;
    // Where the first marker stood, else just after the BODY start tag.
    qsizetype caret = 0;

    // Every empty SPAN with id "cursor" is taken out of `html`.
    static HtmlSourceText FromPage(const QString& html);
};
