#include "FakeHtmlEditor.h"

#include <QRegularExpression>

#include "core/HtmlPages.h"
#include "platform/HtmlDocument.h"
#include "platform/KvlError.h"

int FakeHtmlEditor::QueryStatus(int command)
{
    ++m_queries[command];
    if (m_failing.contains(command))
        throw KvlError(438, QStringLiteral("Object doesn't support this property or method"));
    return m_statuses.value(command, 0);
}

QVariant FakeHtmlEditor::ExecCommand(int command, int option, const QVariant& argument)
{
    if (m_failing.contains(command))
        throw KvlError(438, QStringLiteral("Object doesn't support this property or method"));
    if (m_cancelling.contains(command))
        throw KvlError(KvlError::kCancelled, QStringLiteral("Cancel was selected."));
    m_executed.append({command, option});
    m_arguments.append(argument);
    return m_values.value(command);
}

QString FakeHtmlEditor::DocumentHTML() const
{
    if (m_failReads)
        throw KvlError(KvlError::kGeneric, QStringLiteral("The editor did not answer within 5 s."));
    return m_document;
}

void FakeHtmlEditor::SetDocumentHTML(const QString& html)
{
    m_document = html;
    m_setBody = ExtractBody(html);
    m_dirty = false;
    m_selectionStart = -1;
    m_selectionLength = 0;
    emit DocumentComplete();
}

void FakeHtmlEditor::ReloadDocumentHTML(const QString& html)
{
    if (m_failWrites)
        throw KvlError(70, QStringLiteral("Permission denied"));
    m_document = html;
    m_dirty = ExtractBody(html) != m_setBody;
    m_selectionStart = -1;
    m_selectionLength = 0;
    ++m_reloads;
    emit DocumentComplete();
}

qsizetype FakeHtmlEditor::SelectionStart() const
{
    if (m_selectionStart >= 0)
        return m_selectionStart;
    const HtmlDocument document(m_document);
    const HtmlElement& body = document.Body();
    return body.InSource() ? body.start + body.startTagLength : 0;
}

void FakeHtmlEditor::InsertHTMLAtSelectionStart(const QString& html)
{
    if (m_failPaste)
        throw KvlError(438, QStringLiteral("Object doesn't support this property or method"));
    const qsizetype start = SelectionStart();
    m_document.insert(start, html);
    // The selection's content moves on with the text after the fragment.
    if (m_selectionStart >= 0)
        m_selectionStart += html.size();
    m_dirty = true;
}

QString FakeHtmlEditor::BodyInnerHTML() const
{
    return ExtractBody(m_document);
}

QStringList FakeHtmlEditor::Images() const
{
    QStringList sources;
    const HtmlDocument document(m_document);
    for (const HtmlElement& image : document.ElementsByTag(QStringLiteral("img")))
        sources.append(image.Attribute(QStringLiteral("src")));
    return sources;
}

void FakeHtmlEditor::SetStyleSheetText(const QString& cssText)
{
    if (m_failWrites)
        throw KvlError(70, QStringLiteral("Permission denied"));
    m_styleSheet = cssText;
    // The page's first style sheet holds it, as in a real editor.
    static const QRegularExpression style(
        QStringLiteral("(<style[^>]*>)(.*?)(</style>)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = style.match(m_document);
    if (match.hasMatch())
        m_document.replace(match.capturedStart(2), match.capturedLength(2), cssText);
}

void FakeHtmlEditor::SetVisible(bool visible)
{
    if (m_failWrites)
        throw KvlError(70, QStringLiteral("Permission denied"));
    m_visible = visible;
}

void FakeHtmlEditor::PasteHTML(const QString& html)
{
    if (m_failPaste)
        throw KvlError(438, QStringLiteral("Object doesn't support this property or method"));
    m_pasted.append(html);
    m_dirty = true;
}

void FakeHtmlEditor::SetSelectedTableAttributes(const QList<std::pair<QString, QString>>& attributes)
{
    if (m_selectedTable.isEmpty())
        throw KvlError(KvlError::kGeneric, QStringLiteral("No table is selected."));
    m_tableWrites.append(attributes);
    m_dirty = true;
}
