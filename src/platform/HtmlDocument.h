#pragma once

#include "platform/HtmlElement.h"

#include <QList>
#include <QString>

// A page parsed the way a browser parses it (HTML5 rules, any case, comments and scripts
// understood), kept as the list of its elements in document order with their source positions.
// Parsing is synchronous and never fails: malformed markup is repaired as browsers do.
class HtmlDocument
{
public:
    explicit HtmlDocument(const QString& html);

    const QString& Source() const { return m_source; }
    const QList<HtmlElement>& Elements() const { return m_elements; }
    QList<HtmlElement> ElementsByTag(const QString& tag) const;
    // The BODY element (always present, implied when the source has none).
    const HtmlElement& Body() const;

    // The element's markup as written: its start tag alone for an element without an end tag
    // in the source, else start tag to end tag; "" for an implied element.
    QString OuterHtml(const HtmlElement& element) const;
    QString StartTag(const HtmlElement& element) const;
    // The markup between the start tag and the end tag as written; without an end tag, up to
    // the end of the element's last content.
    QString InnerHtml(const HtmlElement& element) const;

    // False when the text can hold no IMG element, so that it need not be parsed for pictures.
    static bool MayHoldImages(const QString& html);

private:
    QString m_source;
    QList<HtmlElement> m_elements;
    qsizetype m_body = -1;
};
