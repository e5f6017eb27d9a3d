#include "editor/HtmlSourceText.h"

#include "platform/HtmlDocument.h"

#include <QList>

#include <utility>

namespace {

bool IsMarker(const HtmlElement& element)
{
    return element.tag == QLatin1String("span") && element.InSource() && element.HasEndTag() &&
           element.endTagStart == element.start + element.startTagLength &&
           element.Attribute(QStringLiteral("id")) == QLatin1String("cursor");
}

}  // namespace

HtmlSourceText HtmlSourceText::FromPage(const QString& html)
{
    const HtmlDocument document(html);
    QList<std::pair<qsizetype, qsizetype>> markers;  // start and length, in source order
    for (const HtmlElement& element : document.Elements()) {
        if (IsMarker(element))
            markers.append({element.start, element.endTagStart + element.endTagLength - element.start});
    }
    // An offset of the source in the text without the markers before it.
    const auto shifted = [&markers](qsizetype offset) {
        qsizetype removed = 0;
        for (const auto& [start, length] : markers) {
            if (start >= offset)
                break;
            removed += qMin(length, offset - start);
        }
        return offset - removed;
    };

    HtmlSourceText source;
    source.text.reserve(html.size());
    qsizetype from = 0;
    for (const auto& [start, length] : markers) {
        source.text.append(QStringView(html).mid(from, start - from));
        from = start + length;
    }
    source.text.append(QStringView(html).mid(from));

    const HtmlElement& body = document.Body();
    source.bodyStart = body.InSource() ? shifted(body.start + body.startTagLength) : 0;
    source.bodyEnd = body.HasEndTag() ? shifted(body.endTagStart) : source.text.size();
    source.caret = markers.isEmpty() ? source.bodyStart : shifted(markers.first().first);
    return source;
}
