#pragma once

#include "core/DescriptionForm.h"
#include "editor/EditorPane.h"

#include <QWidget>

class QSplitter;
class QVBoxLayout;

// The document window in which one item's description is edited: a header bar and an editing
// pane, and for a procedure a second pane for its expected result under a splitter. It asks
// before a close loses edits and keeps the main window's format controls in step with the caret.
class frmDescription : public QWidget, public DescriptionForm
{
    Q_OBJECT

public:
    explicit frmDescription(QWidget* parent = nullptr);
    ~frmDescription() override;

    QString Caption() const override;
    void SetCaption(const QString& caption) override;
    QString Tag() const override { return m_tag; }
    void SetTag(const QString& tag) override { m_tag = tag; }
    HtmlEditor* DHTMLEdit1() override { return m_description.editor; }
    // Null unless the window key names a procedure; made on first use, once the key is set.
    HtmlEditor* DHTMLEdit2() override;
    QString ActiveControlName() const override;
    long SaveDescription() override;

    // A procedure window: its key names a procedure (the item's name does not count).
    bool IsProcedureWindow() const;
    // The panes' widgets, for the window's own layout and for tests.
    QWidget* DescriptionView() const { return m_description.view; }
    QWidget* ExpectedView() const { return m_expected.view; }
    QSplitter* Splitter() const { return m_splitter; }

    // Whether a close would lose edits: a pane's text is no longer within its last-saved text.
    bool DocumentChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void DocumentComplete(HtmlEditor* editor);
    void DisplayChanged(HtmlEditor* editor);
    void Connect(HtmlEditor* editor);
    QWidget* HeaderBar(const QString& icon, const QString& text, const QString& name);

    EditorPane m_description;
    EditorPane m_expected;
    QVBoxLayout* m_layout = nullptr;
    QSplitter* m_splitter = nullptr;
    QString m_tag;
    // Panes whose first load has completed since the snapshots were last taken.
    bool m_descriptionLoaded = false;
    bool m_expectedLoaded = false;
};
