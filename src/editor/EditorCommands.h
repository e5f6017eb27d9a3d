#pragma once

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QString>

#include <functional>
#include <utility>

class HtmlEditor;
class QWidget;
class frmTable;

// What the editing commands need of the main window, which installs them.
struct EditorCommandHost
{
    // Owns the shared new-table dialog.
    QWidget* owner = nullptr;
    // The main window has an active child window.
    std::function<bool()> HasActiveChild;
    // The explorer tree has the keyboard focus.
    std::function<bool()> ExplorerActive;
    // The explorer's item copy and paste.
    std::function<void()> ItemCopy;
    std::function<void()> ItemPaste;
    std::function<QString()> ClipboardText;
    std::function<QImage()> ClipboardImage;
};

// The Edit, Insert, Format and Table commands of the main window, the edit, format and table
// toolbars and the style and font combos, acting on the description editor that has the focus.
class EditorCommands
{
public:
    explicit EditorCommands(EditorCommandHost host);
    ~EditorCommands();

    using Handler = std::function<void()>;
    // Every command by the objectName of its menu item, toolbar button or combo.
    QList<std::pair<QString, Handler>> Handlers();

    // Opening rules of the Edit and Table menus: the enabled state to give each item they change.
    QHash<QString, bool> mnuEdit_Click() const;
    QHash<QString, bool> mnuTable_Click() const;

    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void mnuInsertLine_Click();
    void mnuInsertLineBreak_Click();
    void mnuInsertPageBreak_Click();
    void mnuEditHyperlink_Click();
    void mnuInsertPicture_Click();
    void mnuInsertScreenShot_Click();
    void mnuEditProperties_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditSelectAll_Click();
    void mnuEditFind_Click();
    void mnuFormatFont_Click();
    void mnuFormatBackGround_Click();
    void mnuFormatBullet_Click();
    void mnuFormatNumbers_Click();
    void mnuFormatIndent_Click();
    void mnuFormatOutdent_Click();
    void cboStyles_Click();
    void cboFontName_Click();
    void cboFontSize_Click();
    void tlbFormat_ButtonClick(const QString& key);
    void tlbEdit_ButtonClick(const QString& key);
    // 1-based, separators included.
    void tlbTable_ButtonClick(int index);

    // The focused pane's HTML source, edited in a modal window and loaded back into the pane.
    void mnuToolsHTML_Click();

    void mnuCreateTable_Click();
    void mnuInsertTableRow_Click();
    void mnuInsertTableColum_Click();
    void mnuInsertTableCell_Click();
    void mnuRemoveTableRows_Click();
    void mnuRemoveTableColumns_Click();
    void mnuRemoveTableCells_Click();
    void mnuMergeCells_Click();
    void mnuSplitCells_Click();

    // The shared new-table dialog; null until the command first opened it.
    frmTable* NewTableDialog() const;

private:
    // A command of the focused editor; a refusal leaves the document as it was and is logged.
    void Run(int command, int option = 0);
    // A command that shows the editor's dialog: a cancel ends it silently, any other error shows
    // `message` and is logged under `label`.
    void RunWithDialog(int command, const QString& message, const QString& label);
    // A command of the focused editor whose errors are ignored (cell commands).
    void RunQuietly(int command);
    // Pastes into the focused pane; any error shows `message` and is logged under `label`.
    void Paste(const QString& html, const QString& message, const QString& label);
    // Asks for a colour and sends it with `command`; false when the user cancelled.
    bool SendColour(int command);
    bool HasActiveChild() const { return m_host.HasActiveChild && m_host.HasActiveChild(); }

    EditorCommandHost m_host;
    QPointer<frmTable> m_newTable;
};
