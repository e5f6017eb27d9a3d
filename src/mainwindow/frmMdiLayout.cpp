// The main window's layout: its place and size, the docked panes and their sides, widths and
// visibility, restored at load and saved when it closes.
#include "core/MainToolbars.h"
#include "core/services/SelectedNode.h"
#include "core/services/ExplorerNode.h"
#include "core/ui/Twips.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/PaneDock.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/ItemCommands.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmList.h"
#include "mainwindow/frmMdi.h"
#include "mainwindow/frmProperties.h"
#include "mainwindow/frmSelection.h"
#include "platform/Settings.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

namespace {

const QString kSection = QStringLiteral("Settings");

void Save(const QString& key, const QString& value)
{
    Settings::SaveSetting(kSection, key, value);
}

}  // namespace

void frmMdi::BuildPanes()
{
    const QList<std::pair<QString, QString>> panes = {
        {QStringLiteral("frmProperties"), QStringLiteral("Properties")},
        {QStringLiteral("frmExplorer"), QStringLiteral("Test Plan Explorer")},
        {QStringLiteral("frmSelection"), QStringLiteral("Search")}};
    for (const auto& [key, title] : panes) {
        auto* pane = new PaneDock(key, title, this);
        // The pane's own window replaces this when its part of the program is in place.
        pane->setWidget(new QWidget(pane));
        connect(pane, &PaneDock::FormHidden, this, &frmMdi::TabDock_FormHidden);
        m_panes.insert(key, pane);
    }
}

void frmMdi::InstallItemCommands()
{
    ItemCommands::Host host;
    host.NodeByKey = [this](const QString& key) { return m_explorer->NodeByKey(key); };
    host.SelectNode = [this](const QString& key) { return m_explorer->SelectNode(key); };
    host.ClearDropHighlight = [this] { m_explorer->tvTestPlan()->SetDropHighlight({}); };
    host.SetPanel = [this](int panel, const QString& text) { SetPanelText(panel, text); };
    host.InitializeTree = [this] { m_explorer->tvTestPlan_Initialize(); };
    host.InitializeProperties = [this] { m_properties->grdProperties_Initialize(); };
    host.ClipboardText = [] { return QGuiApplication::clipboard()->text(); };
    host.SetClipboardText = [](const QString& text) { QGuiApplication::clipboard()->setText(text); };
    m_items = std::make_unique<ItemCommands>(std::move(host));
    ItemCommands* items = m_items.get();
    const QList<std::pair<QString, void (ItemCommands::*)()>> commands = {
        {QStringLiteral("mnuAddConfiguration"), &ItemCommands::mnuAddConfiguration_Click},
        {QStringLiteral("mnuAddTestPlan"), &ItemCommands::mnuAddTestPlan_Click},
        {QStringLiteral("mnuAddSubtest"), &ItemCommands::mnuAddSubtest_Click},
        {QStringLiteral("mnuAddProcedure"), &ItemCommands::mnuAddProcedure_Click},
        {QStringLiteral("mnuItemUp"), &ItemCommands::mnuItemUp_Click},
        {QStringLiteral("mnuItemDown"), &ItemCommands::mnuItemDown_Click},
        {QStringLiteral("mnuItemDelete"), &ItemCommands::mnuItemDelete_Click},
        {QStringLiteral("mnuItemCopy"), &ItemCommands::mnuItemCopy_Click},
        {QStringLiteral("mnuItemPaste"), &ItemCommands::mnuItemPaste_Click},
        {QStringLiteral("mnuClearDatabase"), &ItemCommands::mnuClearDatabase_Click},
    };
    for (const auto& [name, member] : commands)
        InstallHandler(name, [items, member = member] { (items->*member)(); });
}

void frmMdi::RestoreGeometry(const MainLayout& layout)
{
    const QRect wanted(Pixels(this, layout.MainLeft), Pixels(this, layout.MainTop, Qt::Vertical),
                       Pixels(this, layout.MainWidth), Pixels(this, layout.MainHeight, Qt::Vertical));
    const QRect placed = OnScreen(wanted);
    move(placed.topLeft());
    resize(placed.size());
}

void frmMdi::DockPanes(const MainLayout& layout)
{
    addDockWidget(PaneDock::AreaOf(layout.PropertiesAlign), Pane("frmProperties"));
    m_properties = new frmProperties(this, Pane("frmProperties"));
    Pane("frmProperties")->setWidget(m_properties);
    addDockWidget(PaneDock::AreaOf(layout.ExplorerAlign), Pane("frmExplorer"));
    // Docking the explorer loads it, and its load builds the tree.
    m_explorer = new frmExplorer(this, Pane("frmExplorer"));
    Pane("frmExplorer")->setWidget(m_explorer);
    InstallItemCommands();
    InstallListWindow(this);
    addDockWidget(Qt::BottomDockWidgetArea, Pane("frmSelection"));
    m_selection = new frmSelection(this, Pane("frmSelection"));
    Pane("frmSelection")->setWidget(m_selection);
    m_pendingRight = Pixels(this, layout.RightWidth);
    m_pendingLeft = Pixels(this, layout.LeftWidth);

    Pane("frmProperties")->setVisible(layout.PropertiesVisible);
    m_commands.SetChecked(QStringLiteral("mnuViewProperties"), layout.PropertiesVisible);
    m_commands.SetChecked(QStringLiteral("Properties"), layout.PropertiesVisible);
    Pane("frmExplorer")->setVisible(layout.ExplorerVisible);
    m_commands.SetChecked(QStringLiteral("mnuViewTestPlanExplorer"), layout.ExplorerVisible);
    // The search pane waits at the bottom until a search asks for it.
    Pane("frmSelection")->hide();
}

void frmMdi::SelectLastNode()
{
    if (Settings::GetSetting(kSection, QStringLiteral("ExplorerVisible"), QStringLiteral("-1")) != QLatin1String("-1"))
        return;
    // A key that names nothing leaves the build's selection.
    const QString key = Settings::GetSetting(kSection, QStringLiteral("LastNode"));
    if (!key.isEmpty() && m_explorer)
        m_explorer->SelectNode(key);
}

void frmMdi::ApplySideWidths()
{
    // Widths set before the window is laid out are lost: this runs once it is.
    const QList<std::pair<Qt::DockWidgetArea, int*>> sides = {{Qt::RightDockWidgetArea, &m_pendingRight},
                                                              {Qt::LeftDockWidgetArea, &m_pendingLeft}};
    for (const auto& [area, pending] : sides) {
        QList<QDockWidget*> docks;
        for (PaneDock* pane : m_panes)
            if (dockWidgetArea(pane) == area && pane->isVisible())
                docks.append(pane);
        if (*pending > 0 && !docks.isEmpty())
            resizeDocks(docks, QList<int>(docks.size(), *pending), Qt::Horizontal);
        *pending = 0;
    }
}

void frmMdi::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_pendingRight > 0 || m_pendingLeft > 0)
        QTimer::singleShot(0, this, &frmMdi::ApplySideWidths);
}

void frmMdi::SaveLayout()
{
    const ExplorerNode* node = gSelectedNode();
    Save(QStringLiteral("LastNode"), node ? node->Key() : QString());

    const bool properties = m_commands.Checked(QStringLiteral("mnuViewProperties"));
    const bool explorer = m_commands.Checked(QStringLiteral("mnuViewTestPlanExplorer"));
    const QList<std::pair<PaneDock*, bool>> shown = {{Pane("frmProperties"), properties},
                                                     {Pane("frmExplorer"), explorer}};
    if (!isMinimized()) {
        Save(QStringLiteral("MainLeft"), SettingText(Twips(this, x())));
        Save(QStringLiteral("MainTop"), SettingText(Twips(this, y(), Qt::Vertical)));
        Save(QStringLiteral("MainWidth"), SettingText(Twips(this, width())));
        Save(QStringLiteral("MainHeight"), SettingText(Twips(this, height(), Qt::Vertical)));
        for (const auto& [pane, checked] : shown) {
            if (!checked)
                continue;
            const QString width = QString::number(qRound(Twips(this, pane->width())));
            const int side = PaneDock::AlignmentOf(dockWidgetArea(pane));
            if (side == 4)
                Save(QStringLiteral("RightWidth"), width);
            else if (side == 3)
                Save(QStringLiteral("LeftWidth"), width);
        }
    }
    Save(QStringLiteral("ExplorerVisible"), explorer ? QStringLiteral("-1") : QStringLiteral("0"));
    Save(QStringLiteral("PropertiesVisible"), properties ? QStringLiteral("-1") : QStringLiteral("0"));
    if (properties)
        Save(QStringLiteral("PropertiesAlign"),
             QString::number(PaneDock::AlignmentOf(dockWidgetArea(Pane("frmProperties")))));
    if (explorer)
        Save(QStringLiteral("ExplorerAlign"),
             QString::number(PaneDock::AlignmentOf(dockWidgetArea(Pane("frmExplorer")))));
}

void frmMdi::mnuViewProperties_Click()
{
    const bool checked = !m_commands.Checked(QStringLiteral("mnuViewProperties"));
    m_commands.SetChecked(QStringLiteral("mnuViewProperties"), checked);
    m_commands.SetChecked(QStringLiteral("Properties"), checked);
    if (checked) {
        m_properties->grdProperties_Initialize();
        Pane("frmProperties")->setVisible(true);
        if (ExplorerNode* node = gSelectedNode())
            m_explorer->tvTestPlan_NodeClick(node);
    } else {
        Pane("frmProperties")->setVisible(false);
    }
}

void frmMdi::mnuTestPlanFind_Click()
{
    if (m_selection)
        m_selection->ShowPane();
}

void frmMdi::mnuViewTestPlanExplorer_Click()
{
    const bool checked = !m_commands.Checked(QStringLiteral("mnuViewTestPlanExplorer"));
    m_commands.SetChecked(QStringLiteral("mnuViewTestPlanExplorer"), checked);
    Pane("frmExplorer")->setVisible(checked);
}

void frmMdi::TabDock_FormHidden(const QString& key)
{
    if (key == QLatin1String("frmExplorer")) {
        m_commands.SetChecked(QStringLiteral("mnuViewTestPlanExplorer"), false);
    } else if (key == QLatin1String("frmProperties")) {
        m_commands.SetChecked(QStringLiteral("Properties"), false);
        m_commands.SetChecked(QStringLiteral("mnuViewProperties"), false);
    } else if (key == QLatin1String("frmSelection") && m_selection) {
        // A closed search pane no longer narrows the lists.
        m_selection->cmdCancel_Click();
    }
}

void frmMdi::ToggleBand(const QString& command, const QString& band)
{
    const bool checked = !m_commands.Checked(command);
    m_commands.SetChecked(command, checked);
    Band(band)->setVisible(checked);
}

void frmMdi::mnuviewToolBarEdit_Click()
{
    ToggleBand(QStringLiteral("mnuviewToolBarEdit"), QStringLiteral("tlbEdit"));
    gMainToolbars().mnuviewToolBarEdit = m_commands.Checked(QStringLiteral("mnuviewToolBarEdit"));
}

void frmMdi::mnuViewToolBarFormat_Click()
{
    ToggleBand(QStringLiteral("mnuViewToolBarFormat"), QStringLiteral("tlbFormat"));
}

void frmMdi::mnuViewToolBarStandard_Click()
{
    ToggleBand(QStringLiteral("mnuViewToolBarStandard"), QStringLiteral("tlbStandard"));
}

void frmMdi::mnuViewToolBarTable_Click()
{
    ToggleBand(QStringLiteral("mnuViewToolBarTable"), QStringLiteral("tlbTable"));
    gMainToolbars().mnuViewToolBarTable = m_commands.Checked(QStringLiteral("mnuViewToolBarTable"));
}
