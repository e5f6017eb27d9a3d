// The description editing commands in the main window: their handlers and the opening rules of
// the Edit and Table menus.
#include "core/ActiveEditor.h"
#include "editor/EditorCommands.h"
#include "editor/frmTable.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmMdi.h"

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMenu>

void frmMdi::InstallEditorCommands()
{
    EditorCommandHost host;
    host.owner = this;
    host.HasActiveChild = [this] { return m_mdiArea->currentSubWindow() != nullptr; };
    host.ExplorerActive = [this] {
        const QWidget* focus = QApplication::focusWidget();
        return m_explorer && focus &&
               (focus == m_explorer->tvTestPlan() || m_explorer->tvTestPlan()->isAncestorOf(focus));
    };
    host.ItemCopy = [this] { RunCommand(QStringLiteral("mnuItemCopy")); };
    host.ItemPaste = [this] { RunCommand(QStringLiteral("mnuItemPaste")); };
    host.ClipboardText = [] { return QGuiApplication::clipboard()->text(); };
    host.ClipboardImage = [] { return QGuiApplication::clipboard()->image(); };
    m_editing = std::make_unique<EditorCommands>(std::move(host));
    InstallTableDialog();
    for (auto& [name, handler] : m_editing->Handlers())
        InstallHandler(name, std::move(handler));
    connect(Menu(QStringLiteral("mnuEdit")), &QMenu::aboutToShow, this,
            [this] { ApplyStates(m_editing->mnuEdit_Click()); });
    connect(Menu(QStringLiteral("mnuTable")), &QMenu::aboutToShow, this,
            [this] { ApplyStates(m_editing->mnuTable_Click()); });
    // The menus' shortcuts would otherwise keep the states of the last drop-down, made perhaps
    // while the explorer had the keyboard, until the menu opens again.
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (ActiveEditor()) {
            ApplyStates(m_editing->mnuEdit_Click());
            ApplyStates(m_editing->mnuTable_Click());
        }
    });
}

void frmMdi::ApplyStates(const QHash<QString, bool>& states)
{
    for (auto it = states.cbegin(); it != states.cend(); ++it)
        m_commands.SetEnabled(it.key(), it.value());
}
