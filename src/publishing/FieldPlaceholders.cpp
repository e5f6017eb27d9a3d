#include "publishing/FieldPlaceholders.h"

#include "platform/HtmlDocument.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace FieldPlaceholders {
namespace {

const QLatin1String kExtension(".tag");

struct Field
{
    QString name;            // lower case
    QString markup;          // what goes into the page
    bool asWritten = false;  // markup that may bring placeholders of its own
};

using Span = PlaceholderSpan;

struct Edit
{
    Span span;
    qsizetype field = 0;
};

QString Markup(const FieldValue& value)
{
    if (value.value.isEmpty())
        return kEmptyValue;
    return value.markup ? value.value : value.value.toHtmlEscaped();
}

// A cheap look through the text for a quoted "name.tag" of one of the names, so that pages
// without such a text are never parsed.
bool MayHoldPlaceholder(QStringView text, const QSet<QString>& names)
{
    const QLatin1String closing("\"");
    for (qsizetype at = text.indexOf(QLatin1String(".tag\""), 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(QLatin1String(".tag\""), at + 5, Qt::CaseInsensitive)) {
        // The previous match ends with a quote, so this look back stays within the gap.
        const qsizetype quote = at > 0 ? text.lastIndexOf(closing, at - 1) : -1;
        if (quote >= 0 && names.contains(text.mid(quote + 1, at - quote - 1).toString().toLower()))
            return true;
    }
    return false;
}

// The placeholder name of an IMG element as written in the source, or "" for any other element.
QString PlaceholderName(QStringView source, const HtmlElement& element)
{
    if (element.tag != QLatin1String("img") || !element.InSource() || element.startTagLength < 4)
        return {};
    // "<image" is made an IMG by the parser, but it is not written as one.
    if (source.sliced(element.start, 4).compare(QLatin1String("<img"), Qt::CaseInsensitive) != 0)
        return {};
    const HtmlAttribute* src = element.FindAttribute(QStringLiteral("src"));
    if (!src || src->valueStart < 0 || src->valueLength < 2)
        return {};
    const QStringView quoted = source.mid(src->valueStart, src->valueLength);
    if (quoted.front() != QLatin1Char('"') || quoted.back() != QLatin1Char('"'))
        return {};
    const QStringView value = quoted.sliced(1, quoted.size() - 2);
    if (!value.endsWith(kExtension, Qt::CaseInsensitive))
        return {};
    return value.chopped(kExtension.size()).toString().toLower();
}

// The placeholders of the names (of every name without them) in a parsed text, each name's in
// source order.
QHash<QString, QList<Span>> Placeholders(const HtmlDocument& document, const QSet<QString>* names)
{
    QHash<QString, QList<Span>> found;
    const QStringView source = document.Source();
    for (const HtmlElement& element : document.Elements()) {
        const QString name = PlaceholderName(source, element);
        if (!name.isEmpty() && (!names || names->contains(name)))
            found[name].append({element.start, element.startTagLength});
    }
    // Tree order differs from source order where the parser moves misplaced elements.
    for (QList<Span>& spans : found)
        std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    return found;
}

// Every placeholder of a text. A generator fills one template for thousands of sections: the
// placeholders of the last short texts parsed are kept, so that a template is parsed once.
QHash<QString, QList<Span>> KeptPlaceholders(const QString& html)
{
    constexpr qsizetype kKeptLength = 16 * 1024;
    constexpr qsizetype kKept = 8;
    struct Parsed
    {
        QString text;
        QHash<QString, QList<Span>> placeholders;
    };
    thread_local QList<Parsed> kept;
    for (const Parsed& parsed : kept) {
        if (parsed.text == html)
            return parsed.placeholders;
    }
    QHash<QString, QList<Span>> placeholders = Placeholders(HtmlDocument(html), nullptr);
    if (html.size() <= kKeptLength) {
        if (kept.size() == kKept)
            kept.removeFirst();
        kept.append({html, placeholders});
    }
    return placeholders;
}

// Takes out of `spans` (one name's, in source order) those the next replacement of the name
// fills: the first and every other written exactly like it.
QList<Span> TakeFilled(QStringView source, QList<Span>& spans)
{
    if (spans.isEmpty())
        return {};
    const QStringView written = source.sliced(spans.front().start, spans.front().length);
    const auto filled = std::stable_partition(spans.begin(), spans.end(), [&](const Span& span) {
        return source.sliced(span.start, span.length) != written;
    });
    const QList<Span> taken(filled, spans.end());
    spans.erase(filled, spans.end());
    return taken;
}

bool HoldsPlaceholder(const QString& markup, const QSet<QString>& names)
{
    return !names.isEmpty() && MayHoldPlaceholder(markup, names) &&
           !Placeholders(HtmlDocument(markup), &names).isEmpty();
}

QSet<QString> NamesFrom(const QList<Field>& fields, qsizetype first)
{
    QSet<QString> names;
    for (qsizetype k = first; k < fields.size(); ++k)
        names.insert(fields[k].name);
    return names;
}

// The page with the edits made, built front to back.
QString Edited(const QString& html, QList<Edit> edits, const QList<Field>& fields)
{
    if (edits.isEmpty())
        return html;
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.span.start < b.span.start; });
    qsizetype size = html.size();
    for (const Edit& edit : edits)
        size += fields[edit.field].markup.size() - edit.span.length;
    QString result;
    result.reserve(size);
    const QStringView source = html;
    qsizetype at = 0;
    for (const Edit& edit : edits) {
        if (edit.span.start < at)
            continue;  // an element the parser listed twice
        result += source.sliced(at, edit.span.start - at);
        result += fields[edit.field].markup;
        at = edit.span.start + edit.span.length;
    }
    result += source.sliced(at);
    return result;
}

// Replaces the fields from `first` on through one parse of the page. Returns the first field
// left undone: the one after a markup value that brought placeholders of the fields after it,
// which need the page parsed again; else the number of fields.
qsizetype ReplaceRun(QString& html, const QList<Field>& fields, qsizetype first)
{
    const QSet<QString> names = NamesFrom(fields, first);
    if (!MayHoldPlaceholder(html, names))
        return fields.size();
    // Only the names of `names` are looked up below.
    QHash<QString, QList<Span>> placeholders = KeptPlaceholders(html);
    const QStringView source = html;
    QList<Edit> edits;
    for (qsizetype k = first; k < fields.size(); ++k) {
        auto found = placeholders.find(fields[k].name);
        if (found == placeholders.end() || found->isEmpty())
            continue;
        for (const Span& span : TakeFilled(source, *found))
            edits.append({span, k});
        if (fields[k].asWritten && k + 1 < fields.size() &&
            HoldsPlaceholder(fields[k].markup, NamesFrom(fields, k + 1))) {
            html = Edited(html, edits, fields);
            return k + 1;
        }
    }
    html = Edited(html, edits, fields);
    return fields.size();
}

}  // namespace

void ReplaceTags(QString& html, const QList<FieldValue>& values)
{
    QList<Field> fields;
    fields.reserve(values.size());
    for (const FieldValue& value : values)
        fields.append({value.name.toLower(), Markup(value), value.markup});
    for (qsizetype next = 0; next < fields.size();)
        next = ReplaceRun(html, fields, next);
}

QList<PlaceholderSpan> FieldSpans(const HtmlDocument& document, const QString& name)
{
    const QString field = name.toLower();
    const QSet<QString> names{field};
    QList<Span> spans = Placeholders(document, &names).value(field);
    return TakeFilled(document.Source(), spans);
}

QString HtmlMarkup(const QString& value)
{
    return Markup(FieldValue::Html(QString(), value));
}

void ReplaceTag(QString& html, const QString& name, const QString& value)
{
    ReplaceTags(html, {FieldValue::Text(name, value)});
}

void ReplaceTagHtml(QString& html, const QString& name, const QVariant& value)
{
    ReplaceTags(html, {FieldValue::Html(name, value.toString())});
}

}  // namespace FieldPlaceholders
