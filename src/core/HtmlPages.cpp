#include "core/HtmlPages.h"

#include "core/DescriptionForm.h"
#include "core/DocumentType.h"
#include "core/HtmlEditor.h"
#include "core/OpenForms.h"
#include "core/OptionDefaults.h"
#include "platform/BugLog.h"
#include "platform/FileNames.h"
#include "platform/HtmlDocument.h"
#include "platform/KvlError.h"

namespace {

StyleSheetLoader& Loader()
{
    static StyleSheetLoader loader;
    return loader;
}

QString StyleSheet()
{
    if (!Loader())
        throw KvlError(QStringLiteral("No template store is installed for the style sheet."));
    return Loader()();
}

bool ContainsAny(const QString& name, std::initializer_list<const char*> words)
{
    for (const char* word : words) {
        if (name.contains(QLatin1String(word), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// Which field placeholders a stored document of the type may not keep, by the placeholder's
// file name.
bool PlaceholderRemoved(int documentType, const QString& name)
{
    switch (documentType) {
        case DocumentType::Description:
            return !name.contains(QLatin1String("PAGEBREAK"), Qt::CaseInsensitive);
        case DocumentType::TestPlan:
            return ContainsAny(name,
                               {"PROCEDURE", "SUBTEST", "PAGECURRENT", "PAGETOTAL", "DATELONG", "DATESHORT", "URL"});
        case DocumentType::SubTest:
            return ContainsAny(name, {"PROCEDURE", "PAGECURRENT", "PAGETOTAL", "DATELONG", "DATESHORT", "URL"});
        case DocumentType::Procedure:
            return ContainsAny(name, {"PAGECURRENT", "PAGETOTAL", "DATELONG", "DATESHORT", "URL"});
        case DocumentType::Header:
            return ContainsAny(name, {"PROCEDURE", "SUBTEST"});
        default:
            return false;
    }
}

}  // namespace

void SetStyleSheetLoader(StyleSheetLoader loader)
{
    Loader() = std::move(loader);
}

QString HtmlHead(int documentType)
{
    // A quote in the setting must not break out of the META attribute.
    const QString charset = OptionDefaults::Get(QStringLiteral("Charset")).toHtmlEscaped();
    QString head = QStringLiteral("<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=") +
                   charset + QStringLiteral("\">");
    head += MetaLine(documentType);
    if (documentType == DocumentType::Header || documentType == DocumentType::Footer)
        return head + QStringLiteral("</HEAD><BODY>");
    return head + QStringLiteral("</HEAD><STYLE>") + StyleSheet() + QStringLiteral("</STYLE><BODY>");
}

QString ExtractBody(const QString& html)
{
    try {
        const HtmlDocument document(html);
        const HtmlElement& body = document.Body();
        if (!body.InSource())
            return html;
        const qsizetype inner = body.start + body.startTagLength;
        if (!body.HasEndTag() || body.endTagStart < inner)
            return {};
        return html.mid(inner, body.endTagStart - inner);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_ExtractBody :"), error);
        return {};
    }
}

QString ClearTags(int documentType, const QString& text)
{
    // The placeholders come from the text itself: the text may be another editor's than the
    // focused one, and must be cleaned all the same.
    QString result = text;
    if (!HtmlDocument::MayHoldImages(text))
        return result;
    try {
        const HtmlDocument document(text);
        QStringList removals;
        QList<QPair<QString, QString>> rewrites;
        for (const HtmlElement& image : document.ElementsByTag(QStringLiteral("img"))) {
            // Only the file name tells a placeholder: a real picture may have ".tag" in its alt
            // text or its folder.
            const QString source = image.Attribute(QStringLiteral("src"));
            const QString name = FileNames::LastPart(source);
            if (!name.endsWith(QLatin1String(".tag"), Qt::CaseInsensitive))
                continue;
            const QString markup = document.OuterHtml(image);
            if (PlaceholderRemoved(documentType, name))
                removals.append(markup);
            if (name.size() != source.size()) {
                rewrites.append({markup, QStringLiteral("<IMG src=\"") + name.toHtmlEscaped() + QStringLiteral("\">")});
            }
        }
        for (const QString& markup : removals)
            result.replace(markup, QString());
        for (const auto& [markup, replacement] : rewrites)
            result.replace(markup, replacement);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_ClearTags:"), error);
    }
    return result;
}

long RefreshStyle()
{
    try {
        for (DescriptionForm* form : OpenForms::All()) {
            if (form->Tag() == QLatin1String("Template"))
                continue;
            // A new style sheet is no edit of the user's: a pane that was as last saved stays so.
            const auto refresh = [](HtmlEditor* editor, QString& snapshot) {
                if (!editor)
                    return;
                const bool unchanged = snapshot.contains(editor->DocumentHTML());
                editor->SetStyleSheetText(StyleSheet());
                if (unchanged)
                    snapshot = editor->DocumentHTML();
            };
            refresh(form->DHTMLEdit1(), form->mstrLastSaved);
            refresh(form->DHTMLEdit2(), form->mstrLastSaved2);
        }
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_RefreshStyle : "), error);
        return 1;
    }
}
