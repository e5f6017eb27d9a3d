#include "platform/HtmlDocument.h"

#include <gumbo.h>

#include <vector>

namespace {

// gumbo reports UTF-8 byte offsets; the callers work in QString indexes. A page of ASCII alone,
// as most generated pages are, needs no map: there the two are the same.
std::vector<qsizetype> ByteToIndexMap(const QByteArray& utf8, qsizetype characters)
{
    if (utf8.size() == characters)
        return {};
    std::vector<qsizetype> map(static_cast<size_t>(utf8.size()) + 1, 0);
    qsizetype index = 0;
    qsizetype byte = 0;
    while (byte < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[byte]);
        qsizetype length = 1;
        qsizetype units = 1;
        if (lead >= 0xF0) {
            length = 4;
            units = 2;
        } else if (lead >= 0xE0) {
            length = 3;
        } else if (lead >= 0xC0) {
            length = 2;
        }
        for (qsizetype k = 0; k < length && byte + k < utf8.size(); ++k)
            map[static_cast<size_t>(byte + k)] = index;
        byte += length;
        index += units;
    }
    map[static_cast<size_t>(utf8.size())] = index;
    return map;
}

// The known tags' names, made once and shared by every element that has one.
const QString& TagName(GumboTag tag)
{
    static const std::vector<QString> names = [] {
        std::vector<QString> all;
        all.reserve(GUMBO_TAG_LAST);
        for (int i = 0; i < GUMBO_TAG_LAST; ++i)
            all.push_back(QString::fromUtf8(gumbo_normalized_tagname(static_cast<GumboTag>(i))));
        return all;
    }();
    return names[static_cast<size_t>(tag)];
}

struct Walker
{
    const QByteArray& utf8;
    std::vector<qsizetype> map;
    QList<HtmlElement>& out;

    qsizetype Index(const char* data) const
    {
        const qsizetype byte = data - utf8.constData();
        if (byte < 0 || byte > utf8.size())
            return -1;
        return map.empty() ? byte : map[static_cast<size_t>(byte)];
    }
    qsizetype Span(const char* data, size_t length) const { return Index(data + length) - Index(data); }

    qsizetype End(const GumboStringPiece& piece) const
    {
        return piece.data && piece.length > 0 ? Index(piece.data + piece.length) : -1;
    }

    // Appends the element and its descendants; returns one past the node's last source
    // character, -1 when nothing of it is in the source.
    qsizetype Visit(const GumboNode* node)
    {
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
            return node->type == GUMBO_NODE_DOCUMENT ? -1 : End(node->v.text.original_text);
        const GumboElement& element = node->v.element;
        HtmlElement item;
        if (element.tag == GUMBO_TAG_UNKNOWN) {
            GumboStringPiece name = element.original_tag;
            gumbo_tag_from_original_text(&name);
            item.tag = QString::fromUtf8(name.data, static_cast<qsizetype>(name.length)).toLower();
        } else {
            item.tag = TagName(element.tag);
        }
        if (element.original_tag.length > 0 && Index(element.original_tag.data) >= 0) {
            item.start = Index(element.original_tag.data);
            item.startTagLength = Span(element.original_tag.data, element.original_tag.length);
        }
        if (element.original_end_tag.length > 0 && Index(element.original_end_tag.data) >= 0) {
            item.endTagStart = Index(element.original_end_tag.data);
            item.endTagLength = Span(element.original_end_tag.data, element.original_end_tag.length);
        }
        for (unsigned int i = 0; i < element.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
            HtmlAttribute a;
            a.name = QString::fromUtf8(attribute->name).toLower();
            a.value = QString::fromUtf8(attribute->value);
            if (attribute->original_value.length > 0 && Index(attribute->original_value.data) >= 0) {
                a.valueStart = Index(attribute->original_value.data);
                a.valueLength = Span(attribute->original_value.data, attribute->original_value.length);
            }
            item.attributes.append(a);
        }
        const qsizetype position = out.size();
        out.append(std::move(item));
        qsizetype end = qMax(End(element.original_tag), End(element.original_end_tag));
        for (unsigned int i = 0; i < element.children.length; ++i)
            end = qMax(end, Visit(static_cast<const GumboNode*>(element.children.data[i])));
        out[position].end = end;
        return end;
    }
};

}  // namespace

HtmlDocument::HtmlDocument(const QString& html) : m_source(html)
{
    const QByteArray utf8 = html.toUtf8();
    GumboOptions options = kGumboDefaultOptions;
    // The parse errors are never read: a page of many megabytes may hold hundreds of thousands,
    // each recorded in an allocation of its own.
    options.max_errors = 0;
    GumboOutput* output = gumbo_parse_with_options(&options, utf8.constData(), utf8.size());
    // Roughly an element for every two tags written, so that the list seldom grows.
    m_elements.reserve(utf8.count('<') / 2 + 4);
    Walker walker{utf8, ByteToIndexMap(utf8, html.size()), m_elements};
    walker.Visit(output->root);
    gumbo_destroy_output(&options, output);
    for (qsizetype i = 0; i < m_elements.size(); ++i) {
        if (m_elements[i].tag == QLatin1String("body")) {
            m_body = i;
            break;
        }
    }
    if (m_body < 0) {
        // A frameset page has no body; callers get an implied, empty one.
        HtmlElement body;
        body.tag = QStringLiteral("body");
        m_elements.append(body);
        m_body = m_elements.size() - 1;
    }
}

QList<HtmlElement> HtmlDocument::ElementsByTag(const QString& tag) const
{
    QList<HtmlElement> found;
    for (const HtmlElement& element : m_elements) {
        if (element.tag.compare(tag, Qt::CaseInsensitive) == 0)
            found.append(element);
    }
    return found;
}

const HtmlElement& HtmlDocument::Body() const
{
    return m_elements[m_body];
}

QString HtmlDocument::StartTag(const HtmlElement& element) const
{
    if (!element.InSource())
        return {};
    return m_source.mid(element.start, element.startTagLength);
}

QString HtmlDocument::OuterHtml(const HtmlElement& element) const
{
    if (!element.InSource())
        return {};
    if (!element.HasEndTag() || element.endTagStart < element.start)
        return StartTag(element);
    return m_source.mid(element.start, element.endTagStart + element.endTagLength - element.start);
}

QString HtmlDocument::InnerHtml(const HtmlElement& element) const
{
    if (!element.InSource())
        return {};
    const qsizetype from = element.start + element.startTagLength;
    const qsizetype to = element.HasEndTag() && element.endTagStart >= from ? element.endTagStart : element.end;
    return to > from ? m_source.mid(from, to - from) : QString();
}

bool HtmlDocument::MayHoldImages(const QString& html)
{
    // Every IMG begins as a "<img" or an "<image" start tag in the source.
    return html.contains(QLatin1String("<im"), Qt::CaseInsensitive);
}
