#include "platform/HtmlElement.h"

QString HtmlElement::Attribute(const QString& name) const
{
    const HtmlAttribute* attribute = FindAttribute(name);
    return attribute ? attribute->value : QString();
}

const HtmlAttribute* HtmlElement::FindAttribute(const QString& name) const
{
    for (const HtmlAttribute& attribute : attributes) {
        if (attribute.name.compare(name, Qt::CaseInsensitive) == 0)
            return &attribute;
    }
    return nullptr;
}
