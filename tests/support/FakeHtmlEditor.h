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
    // Setting the style sheet or the visibility raises.
    void FailWrites(bool fail) { m_failWrites = fail; }
    QList<QPair<int, int>> ExecutedCommands() const { return m_executed; }
    void SetDirty(bool dirty) { m_dirty = dirty; }
    // How often QueryStatus asked about this command.
    int StatusQueries(int command) const { return m_queries.value(command); }

    int QueryStatus(int command) override;
    QVariant ExecCommand(int command, int option, const QVariant& argument) override;
    QString DocumentHTML() const override { return m_document; }
    void SetDocumentHTML(const QString& html) override;
    QString BodyInnerHTML() const override;
    QStringList Images() const override;
    QString StyleSheetText() const override { return m_styleSheet; }
    void SetStyleSheetText(const QString& cssText) override;
    bool IsDirty() const override { return m_dirty; }
    bool Visible() const override { return m_visible; }
    void SetVisible(bool visible) override;

private:
    QHash<int, int> m_statuses;
    QHash<int, QVariant> m_values;
    QHash<int, int> m_queries;
    QList<int> m_failing;
    QList<QPair<int, int>> m_executed;
    QString m_document;
    QString m_styleSheet;
    bool m_dirty = false;
    bool m_visible = true;
    bool m_failWrites = false;
};
