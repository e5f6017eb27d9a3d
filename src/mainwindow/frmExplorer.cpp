#include "mainwindow/frmExplorer.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/db/AdoConnection.h"
#include "core/MenuRules.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/SelectedNode.h"
#include "mainwindow/ExplorerTreeModel.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/ItemPicture.h"
#include "mainwindow/ItemTransfer.h"
#include "mainwindow/frmMdi.h"
#include "mainwindow/frmProperties.h"
#include "mainwindow/frmSelection.h"
#include "model/Application.h"
#include "model/Configuration.h"
#include "model/ExplorerFill.h"
#include "model/SelectedProperties.h"
#include "model/TestPlan.h"
#include "platform/AppFolders.h"
#include "platform/BugLog.h"
#include "platform/Hourglass.h"
#include "platform/Settings.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

struct ToolBoxButton
{
    const char* key;
    const char* toolTip;
};

// Index i + 1 of the toolbox; from 2 on, the kind of item the button creates.
const ToolBoxButton kToolBox[] = {
    {"Unselect", "Unselect"},
    {"Configuration", "Click to add new configuration"},
    {"Test Plan", "Click to add new test plan"},
    {"SubTest1", "Click to add new 1st level subtest "},
    {"SubTest2", "Click to add new 2nd level subtest "},
    {"SubTest3", "Click to add new 3rd level subtest "},
    {"SubTest4", "Click to add new 4th level subtest"},
    {"SubTest5", "Click to add new 5th level subtest"},
    {"SubTest6", "Click to add new 6th level subtest"},
    {"SubTest7", "Click to add new 7th level subtest"},
    {"SubTest8", "Click to add new 8th level subtest"},
    {"SubTest9", "Click to add new 9th level subtest"},
    {"SubTest10", "Click to add new 10th level subtest"},
    {"Procedure", "Click to add new procedure"},
};

QString RootText()
{
    const QString section = QStringLiteral("DataBase");
    const QString provider = Settings::GetSetting(section, QStringLiteral("Provider"), QStringLiteral("3"));
    if (provider == QLatin1String("5"))
        return Settings::GetSetting(section, QStringLiteral("DSN"));
    const QString source = Settings::GetSetting(section, QStringLiteral("DataSource"));
    if (provider != QLatin1String("3"))
        return source;
    // Start-up opens the default database when none is set.
    const QFileInfo file(source.isEmpty() ? AppFolders::DefaultDatabasePath() : source);
    return file.isFile() ? file.fileName() : QString();
}

}  // namespace

frmExplorer::frmExplorer(frmMdi* main, QWidget* parent)
    : QWidget(parent),
      m_main(main),
      m_toolBox(new QToolBar(this)),
      m_tree(new ExplorerTreeView(this)),
      m_model(new ExplorerTreeModel(gExplorerNodes(), this))
{
    setObjectName(QStringLiteral("frmExplorer"));
    setWindowTitle(QStringLiteral("Test Plan Explorer"));
    BuildToolBox();
    m_tree->setModel(m_model);
    m_model->SetFiller([this](ExplorerNode* plan) { FillPlan(plan); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_toolBox);
    layout->addWidget(m_tree);

    m_tree->OwnsKey = [this](const QKeyEvent* event) { return KeyRuns(event); };
    m_tree->KeyDown = [this](const QKeyEvent* event) { tvTestPlan_KeyDown(event); };
    m_tree->MouseDown = [this](QMouseEvent* event) {
        tvTestPlan_MouseDown(event->button(), event->position().toPoint());
    };
    connect(m_tree, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { tvTestPlan_NodeClick(m_model->NodeAt(index)); });
    connect(m_tree, &QTreeView::doubleClicked, this, [this] { tvTestPlan_DblClick(); });

    // Load: the tree, an empty property grid, and "Unselect" pressed.
    tvTestPlan_Initialize();
    EmptyPropertyGrid();
    tlbToolBox_ButtonClick(1);
    InstallHandlers();
    InstallDragAndDrop();
}

frmExplorer::~frmExplorer() = default;

void frmExplorer::EmptyPropertyGrid()
{
    if (frmProperties* properties = m_main->Properties())
        properties->grdProperties_Initialize();
}

void frmExplorer::BuildToolBox()
{
    m_toolBox->setObjectName(QStringLiteral("tlbToolBox"));
    m_toolBox->setIconSize(QSize(16, 16));
    for (int i = 0; i < 14; ++i) {
        const int index = i + 1;
        QAction* button = m_toolBox->addAction(ItemPicture(index), QString::fromLatin1(kToolBox[i].key));
        button->setObjectName(QString::fromLatin1(kToolBox[i].key));
        button->setToolTip(QString::fromLatin1(kToolBox[i].toolTip));
        button->setCheckable(true);
        connect(button, &QAction::triggered, this, [this, index] { tlbToolBox_ButtonClick(index); });
    }
}

void frmExplorer::tlbToolBox_Reset()
{
    for (QAction* button : m_toolBox->actions())
        button->setChecked(false);
    m_toolBox->update();
}

void frmExplorer::tlbToolBox_ButtonClick(int index)
{
    tlbToolBox_Reset();
    if (index < 1 || index > 14)
        return;
    m_toolBox->actions().at(index - 1)->setChecked(true);
    m_toolBoxIndex = index;
    if (index == 1) {
        m_tree->unsetCursor();
        // Drops an item copied for pasting; what another program put there stays.
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (ItemTransfer::IsItemText(clipboard->text()))
            clipboard->clear();
    }
    // The other buttons start a drag of a new item, which the drag-and-drop code handles.
}

bool frmExplorer::tvTestPlan_Initialize()
{
    const bool built = BuildTree();
    // The search locations name places of the tree now shown.
    if (frmSelection* selection = m_main->Selection())
        selection->RefillLocations();
    return built;
}

bool frmExplorer::BuildTree()
{
    ExplorerNodes& nodes = gExplorerNodes();
    // Until the build stands, no node of the old tree may pass for the current one.
    SetSelectedNode({});
    try {
        nodes.Clear();
        // With no database open (start-up reported why) the tree is simply empty.
        if (!gConnection().IsOpen())
            return false;
        Application application;
        if (application.LoadConfigurations() == 1)
            return false;  // logged by the loader: the tree stays empty
        const ExplorerNodes::Batch batch(nodes);
        nodes.Add({}, NodeKey::kRoot, RootText(), kImageRoot);
        SetSelectedNode(NodeKey::kRoot);
        for (const auto& configuration : application.Configurations()) {
            const QString configurationKey = Configuration::NodeKeyOf(configuration->Id());
            nodes.Add(NodeKey::kRoot, configurationKey, configuration->Name(), kImageConfiguration)
                ->SetTag(configuration->Id());
            configuration->LoadTestPlans(false);
            for (const auto& plan : configuration->TestPlans()) {
                const QString planKey = configurationKey + NodeKey::kSeparator + plan->Id();
                ExplorerNode* node = nodes.Add(configurationKey, planKey, plan->Name(), kImageTestPlan);
                node->SetTag(plan->Id());
                node->SetFilled(false);
            }
        }
        return true;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_tvTestPlan_Initialize : "), error);
        return false;
    }
}

void frmExplorer::FillPlan(ExplorerNode* plan)
{
    if (!plan || plan->Filled())
        return;
    const QString key = plan->Key();
    try {
        TestPlan object;
        object.SetId(plan->Tag());
        const ExplorerNodes::Batch batch(gExplorerNodes());
        ExplorerFill::AddTestPlanSubTests(key, object);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_tvTestPlan_Initialize : "), error);
    }
    // Filled or failed, the plan is not read again on every click.
    if (ExplorerNode* node = gExplorerNodes().Find(key))
        node->SetFilled(true);
}

void frmExplorer::tvTestPlan_ExpandAll()
{
    Hourglass::Set();
    {
        const ExplorerNodes::Batch batch(gExplorerNodes());
        std::vector<ExplorerNode*> plans;
        for (ExplorerNode* root : gExplorerNodes().TopNodes())
            for (ExplorerNode* configuration : root->ChildNodes())
                for (ExplorerNode* plan : configuration->ChildNodes())
                    if (!plan->Filled())
                        plans.push_back(plan);
        for (ExplorerNode* plan : plans)
            FillPlan(plan);
    }
    m_tree->expandAll();
    Hourglass::Reset();
}

void frmExplorer::tvTestPlan_CollapseAll()
{
    m_tree->collapseAll();
}

void frmExplorer::tvTestPlan_NodeClick(ExplorerNode* node)
{
    if (!node)
        return;
    try {
        const QString key = node->Key();
        SetSelectedNode(key);
        m_main->SetPanelText(4, node->Text());
        m_main->SetPanelText(3, SearchTestPlanName(key));
        Refresh_Properties();
        if (node->Image() == kImageTestPlan)
            FillPlan(gExplorerNodes().Find(key));
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_tvTestPlan_NodeClick : "), error);
    }
}

void frmExplorer::tvTestPlan_MouseDown(Qt::MouseButton button, const QPoint& position)
{
    try {
        ExplorerNode* node = m_model->NodeAt(m_tree->indexAt(position));
        SetSelectedNode(node ? node->Key() : QString());
        m_tree->SetDropHighlight(m_model->IndexOf(node));
        if (!node || button != Qt::RightButton)
            return;
        // The Item menu as a context menu, its entries set for this node.
        mnuTestPlan_Click(m_main->Commands());
        m_main->Menu(QStringLiteral("mnuItem"))->popup(m_tree->viewport()->mapToGlobal(position));
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_tvTestPlan_MouseDown : "), error);
    }
}

void frmExplorer::tvTestPlan_DblClick()
{
    const QModelIndex current = m_tree->currentIndex();
    if (current.isValid())
        m_tree->setExpanded(current, !m_tree->isExpanded(current));
    if (CanModify())
        m_main->mnuItemEdit_Click();
}

ExplorerNode* frmExplorer::DropHighlight() const
{
    return m_model->NodeAt(m_tree->DropHighlight());
}

void frmExplorer::ShowNode(ExplorerNode* node)
{
    if (!node)
        return;
    const QModelIndex index = m_model->IndexOf(node);
    ExpandTo(node);
    m_tree->expand(index);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
}

void frmExplorer::ExpandTo(ExplorerNode* node)
{
    for (ExplorerNode* parent = node ? node->Parent() : nullptr; parent; parent = parent->Parent())
        m_tree->expand(m_model->IndexOf(parent));
}

ExplorerNode* frmExplorer::NodeByKey(const QString& key)
{
    ExplorerNodes& nodes = gExplorerNodes();
    if (ExplorerNode* node = nodes.Find(key))
        return node;
    // A key below a test plan not read yet: read the plan, then look again.
    const NodeKey parsed = NodeKey::Parse(key);
    if (parsed.Count() > 2)
        FillPlan(nodes.Find(parsed.Segment(0) + NodeKey::kSeparator + parsed.TestPlanId()));
    return nodes.Find(key);
}

bool frmExplorer::SelectNode(const QString& key)
{
    ExplorerNode* node = NodeByKey(key);
    if (!node)
        return false;
    const QModelIndex index = m_model->IndexOf(node);
    ExpandTo(node);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
    SetSelectedNode(node->Key());
    m_main->SetPanelText(4, node->Text());
    m_main->SetPanelText(3, SearchTestPlanName(node->Key()));
    m_tree->SetDropHighlight(index);
    return true;
}

void frmExplorer::Form_Unload()
{
    m_main->SetPanelText(3, QString());
    m_main->SetPanelText(4, QString());
    SetSelectedNode({});
}
