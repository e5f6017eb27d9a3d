#pragma once

#include "core/services/CommandStates.h"

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

struct MainLayout;
class PaneDock;
class frmExplorer;
class frmProperties;
class frmSelection;
class ItemCommands;
class EditorCommands;
class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolBar;

// The program's one main window: menus, toolbar bands, the three docked panes and the status
// bar; child windows open as tabs in its MDI area. Closing it ends the program.
class frmMdi : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMdi(QWidget* parent = nullptr);
    ~frmMdi() override;

    // Other windows walk the open windows and skip the one with this tag.
    const QString Tag = QStringLiteral("Main Form");

    QMdiArea* MdiArea() const { return m_mdiArea; }
    QMdiSubWindow* ActiveForm() const;

    // Status bar panels 1 to 5: product, database, test plan, test plan item, date.
    QStatusBar* sbStatusBar() const;
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);

    // Commands by objectName: menu items, toolbar buttons and the combos. The windows that own a
    // command install what it runs; a command without a handler stays disabled.
    using Handler = std::function<void()>;
    void InstallHandler(const QString& name, Handler handler);
    bool HasHandler(const QString& name) const { return m_handlers.contains(name); }
    // Runs the command's handler as its menu item does; false when it has none.
    bool RunCommand(const QString& name);
    CommandStates& Commands() { return m_commands; }
    // Menu item or toolbar button; null when there is none of that name.
    QAction* Action(const QString& name) const { return m_actions.value(name); }
    QMenu* Menu(const QString& name) const { return m_menus.value(name); }
    QToolBar* Band(const QString& name) const { return m_bands.value(name); }
    // "frmProperties", "frmExplorer" or "frmSelection".
    PaneDock* Pane(const QString& key) const { return m_panes.value(key); }
    frmExplorer* Explorer() const { return m_explorer; }
    frmProperties* Properties() const { return m_properties; }
    frmSelection* Selection() const { return m_selection; }
    // The Item commands and the tree's drop; null until the panes are docked.
    ItemCommands* Items() const { return m_items.get(); }
    // The editing commands of the description windows.
    EditorCommands* Editing() const { return m_editing.get(); }

    // Closes the child windows newest first, each asking its own question; false as soon as
    // one stays open, and the windows after it are not asked.
    bool CloseChildWindows();

    // Opening rules of the File, Item, Test Plan and Tools menus.
    void mnuFile_Click();
    void mnuItem_Click();
    void mnuTestPlan_Click();
    void mnuTools_Click();
    void SetEditMode(bool blnEdition);
    void tlbStandard_ButtonClick(const QString& key);

    // The commands other windows run as the menu does (the explorer's keys and double click).
    void mnuEditProperties_Click() { RunCommand(QStringLiteral("mnuEditProperties")); }
    void mnuExportHTML_Click() { RunCommand(QStringLiteral("mnuExportHTML")); }
    void mnuExportWord_Click() { RunCommand(QStringLiteral("mnuExportWord")); }
    void mnuFilePreview_Click() { RunCommand(QStringLiteral("mnuFilePreview")); }
    void mnuFilePrint_Click() { RunCommand(QStringLiteral("mnuFilePrint")); }
    void mnuItemCopy_Click() { RunCommand(QStringLiteral("mnuItemCopy")); }
    void mnuItemDown_Click() { RunCommand(QStringLiteral("mnuItemDown")); }
    void mnuItemEdit_Click() { RunCommand(QStringLiteral("mnuItemEdit")); }
    void mnuItemPaste_Click() { RunCommand(QStringLiteral("mnuItemPaste")); }
    void mnuItemUp_Click() { RunCommand(QStringLiteral("mnuItemUp")); }
    void mnuItemDelete_Click() { RunCommand(QStringLiteral("mnuItemDelete")); }
    void mnuViewRefresh_Click() { RunCommand(QStringLiteral("mnuViewRefresh")); }
    void mnuViewProperties_Click();
    void mnuAddConfiguration_Click() { RunCommand(QStringLiteral("mnuAddConfiguration")); }
    void mnuAddTestPlan_Click() { RunCommand(QStringLiteral("mnuAddTestPlan")); }
    void mnuAddSubtest_Click() { RunCommand(QStringLiteral("mnuAddSubtest")); }
    void mnuAddProcedure_Click() { RunCommand(QStringLiteral("mnuAddProcedure")); }
    void mnuClearDatabase_Click() { RunCommand(QStringLiteral("mnuClearDatabase")); }
    // Shows the search pane with its locations read again.
    void mnuTestPlanFind_Click();

    void mnuViewTestPlanExplorer_Click();
    void mnuviewToolBarEdit_Click();
    void mnuViewToolBarFormat_Click();
    void mnuViewToolBarStandard_Click();
    void mnuViewToolBarTable_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuHelpAbout_Click();
    void mnuFileClose_Click();
    // A docked pane was closed by its close button.
    void TabDock_FormHidden(const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Built once by the constructor.
    void BuildStatusBar();
    void BuildMenus();
    void BuildBands();
    void BuildPanes();
    void InstallOwnHandlers();
    void InstallItemCommands();
    void InstallEditorCommands();
    // Gives the menu's items the states an opening rule computed.
    void ApplyStates(const QHash<QString, bool>& states);

    void MDIForm_Load();
    bool MDIForm_Unload();
    void RestoreGeometry(const MainLayout& layout);
    void DockPanes(const MainLayout& layout);
    void SelectLastNode();
    void ApplySideWidths();
    void SaveLayout();
    void UpdateMenuImage();

    void RefreshDatePanel();
    // The database panel names the open database, and nothing while none is open.
    void RefreshDatabasePanel();
    // Shows the command states and the editing toolbars' state.
    void ShowCommand(const QString& name);
    void ShowEditingBands();
    void ShowProgress();
    void ToggleBand(const QString& command, const QString& band);
    void OpenHelpFile();
    // Every open menu, submenus and their parents alike.
    static void CloseMenus();

    QMdiArea* m_mdiArea;
    QList<QLabel*> m_panels;
    CommandStates m_commands;
    QHash<QString, Handler> m_handlers;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, QToolBar*> m_bands;
    QHash<QString, PaneDock*> m_panes;
    QHash<QString, QComboBox*> m_combos;
    frmExplorer* m_explorer = nullptr;
    frmProperties* m_properties = nullptr;
    frmSelection* m_selection = nullptr;
    std::unique_ptr<ItemCommands> m_items;
    std::unique_ptr<EditorCommands> m_editing;
    QWidget* m_picProgress = nullptr;
    QAction* m_picProgressAction = nullptr;
    QProgressBar* m_prgProgress = nullptr;
    // Side widths in pixels, applied once the window is laid out; 0 when none is pending.
    int m_pendingRight = 0;
    int m_pendingLeft = 0;
};
