#pragma once

#include <QList>
#include <QString>

// One attribute as written in the source. The value span covers the value as written, quotes
// included, so it can be replaced in place; it is empty for an attribute without a value.
struct HtmlAttribute
{
    QString name;   // lower case
    QString value;  // entities decoded
    qsizetype valueStart = -1;
    qsizetype valueLength = 0;
};

// An element of a parsed page. Offsets are QString indexes into the parsed text; an element that
// the parser implied (no tag in the source) has start -1.
struct HtmlElement
{
    QString tag;  // lower case
    QList<HtmlAttribute> attributes;
    qsizetype start = -1;
    qsizetype startTagLength = 0;
    qsizetype endTagStart = -1;  // -1 without an end tag in the source
    qsizetype endTagLength = 0;
    qsizetype end = -1;  // one past the element's last source character, content included

    bool InSource() const { return start >= 0; }
    bool HasEndTag() const { return endTagStart >= 0; }
    bool HasAttribute(const QString& name) const { return FindAttribute(name) != nullptr; }
    // The attribute's value, "" when absent; names compare without case.
    QString Attribute(const QString& name) const;
    const HtmlAttribute* FindAttribute(const QString& name) const;
};
