#pragma once

#include "core/HtmlEditor.h"

#include <QHash>
#include <QList>
#include <QPair>

// An editor whose answers are scripted by the test: statuses and command values per command,
// a document held as text, and a record of the commands run.
class FakeHtmlEditor : public HtmlEditor
{
public:
    using HtmlEditor::HtmlEditor;

    // Unscripted commands answer Decmd::NOTSUPPORTED and a null value.
    void SetStatus(int command, int status) { m_statuses.insert(command, status); }
    void SetValue(int command, const QVariant& value) { m_values.insert(command, value); }
    // QueryStatus and ExecCommand of this command raise, as a failing editor would.
    void FailOn(int command) { m_failing.append(command); }
    // ExecCommand of this command raises as a dialog the user cancelled.
    void CancelOn(int command) { m_cancelling.append(command); }
    // Setting the style sheet or the visibility raises.
    void FailWrites(bool fail) { m_failWrites = fail; }
    // Command and option of each command run, and its argument at the same index.
    QList<QPair<int, int>> ExecutedCommands() const { return m_executed; }
    QVariantList ExecutedArguments() const { return m_arguments; }
    // The fragments pasted, in order; PasteHTML raises while FailPaste is set.
    QStringList Pasted() const { return m_pasted; }
    void FailPaste(bool fail) { m_failPaste = fail; }
    // DocumentHTML raises, as an editor that does not answer.
    void FailDocumentReads(bool fail) { m_failReads = fail; }
    // The start tag SelectedTable answers, and the attribute lists written to that table.
    void SetSelectedTable(const QString& startTag) { m_selectedTable = startTag; }
    QList<QList<std::pair<QString, QString>>> TableAttributeWrites() const { return m_tableWrites; }
    void SetDirty(bool dirty) { m_dirty = dirty; }
    // The selection as offsets into the document text; by default the caret stands just after
    // the BODY start tag.
    void SetSelection(qsizetype start, qsizetype length)
    {
        m_selectionStart = start;
        m_selectionLength = length;
    }
    qsizetype SelectionStart() const;
    qsizetype SelectionLength() const { return m_selectionLength; }
    // How often the document was reloaded.
    int Reloads() const { return m_reloads; }
    // How often QueryStatus asked about this command.
    int StatusQueries(int command) const { return m_queries.value(command); }

    int QueryStatus(int command) override;
    QVariant ExecCommand(int command, int option, const QVariant& argument) override;
    QString DocumentHTML() const override;
    void SetDocumentHTML(const QString& html) override;
    void ReloadDocumentHTML(const QString& html) override;
    QString BodyInnerHTML() const override;
    QStringList Images() const override;
    QString StyleSheetText() const override { return m_styleSheet; }
    void SetStyleSheetText(const QString& cssText) override;
    bool IsDirty() const override { return m_dirty; }
    void PasteHTML(const QString& html) override;
    void InsertHTMLAtSelectionStart(const QString& html) override;
    QString SelectedTable() override { return m_selectedTable; }
    void SetSelectedTableAttributes(const QList<std::pair<QString, QString>>& attributes) override;
    bool Visible() const override { return m_visible; }
    void SetVisible(bool visible) override;

private:
    QHash<int, int> m_statuses;
    QHash<int, QVariant> m_values;
    QHash<int, int> m_queries;
    QList<int> m_failing;
    QList<int> m_cancelling;
    QList<QPair<int, int>> m_executed;
    QVariantList m_arguments;
    QStringList m_pasted;
    bool m_failPaste = false;
    bool m_failReads = false;
    QString m_selectedTable;
    QList<QList<std::pair<QString, QString>>> m_tableWrites;
    QString m_document;
    QString m_setBody;  // the BODY of the document last set, which counts as unchanged
    qsizetype m_selectionStart = -1;
    qsizetype m_selectionLength = 0;
    int m_reloads = 0;
    QString m_styleSheet;
    bool m_dirty = false;
    bool m_visible = true;
    bool m_failWrites = false;
};
