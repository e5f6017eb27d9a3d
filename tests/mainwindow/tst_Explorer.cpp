#include "core/NodeKey.h"
#include "core/OpenForms.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/ProgressBar.h"
#include "core/services/PropertyGrid.h"
#include "core/services/ReportWindows.h"
#include "core/services/SelectedNode.h"
#include "core/services/WindowServices.h"
#include "mainwindow/ExplorerTreeModel.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/PaneDock.h"
#include "mainwindow/frmExplorer.h"
#include "model/SelectedProperties.h"
#include "platform/Globals.h"
#include "platform/Hourglass.h"
#include "platform/Settings.h"
#include "FakeDescriptionWindows.h"
#include "MainWindowFixture.h"
#include "ModelFixture.h"
#include "TreeFixture.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QToolBar>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

using TreeFixture::K;

namespace {

// "key tag text image" per row of the view below `parent`, in tree order, "~" for the separator.
void ViewRows(const ExplorerTreeModel& model, const QModelIndex& parent, QStringList& rows)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const ExplorerNode* node = model.NodeAt(index);
        rows << QStringList{node->Key(), node->Tag(), index.data().toString(), QString::number(node->Image())}
                    .join(' ')
                    .replace(NodeKey::kSeparator, '~');
        ViewRows(model, index, rows);
    }
}

frmExplorer* Explorer(MainWindowFixture& fixture)
{
    return fixture.Window().Explorer();
}

const QString kShared = "Eqpt1~10~10|20|1";  // level-1 sub-test of Plan A
const QString kOther = "Eqpt1~10~10|20|2";   // not in the tree: a key that names nothing
const QString kPower = "Eqpt1~10~10|20|1~20|30|1$";
const QString kPlanBShared = "Eqpt1~11~11|20|1";

}  // namespace

class tst_Explorer : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetSelectedNode({});
        gExplorerNodes().Clear();
        gUserManagement = false;
        reportWindows() = ReportWindows();
        gProgressBar().SetVisible(false);
        Hourglass::Reset();
    }

    void viewShowsTheBuild_data() { TestDatabase::AddBackendRows(); }

    // What the view shows after opening each plan is the tree an eager fill of every plan gives.
    void viewShowsTheBuild()
    {
        QFETCH(QString, backend);
        MainWindowFixture fixture(backend);
        KORAVEL_REQUIRE_BACKEND(fixture.Database());
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        QVERIFY(fixture.Load());
        frmExplorer* explorer = Explorer(fixture);
        ExplorerTreeModel* model = explorer->Model();
        const QModelIndex first = model->IndexOf(gExplorerNodes().Find(K("Eqpt1~10")));
        QVERIFY(model->hasChildren(first));
        QCOMPARE(model->rowCount(first), 0);
        // The tester reads, fetches and follows every change from here on.
        QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const QString& plan : {K("Eqpt1~10"), K("Eqpt1~11")}) {
            const QModelIndex index = model->IndexOf(gExplorerNodes().Find(plan));
            explorer->tvTestPlan()->expand(index);
            QVERIFY(model->rowCount(index) > 0);
        }
        QStringList shown;
        ViewRows(*model, {}, shown);
        TreeFixture::FillExplorer();
        QStringList eager = TreeFixture::Dump("Root");
        // The fixture names its root "Database"; the window names the database file.
        QCOMPARE(shown.first().section(' ', 0, 0), QString("Root"));
        shown.removeFirst();
        QCOMPARE(shown, eager);
        QCOMPARE(fixture.Environment.BugLogEntries(), 0);
    }

    void plansAreReadOnceWhenFirstOpened()
    {
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        QVERIFY(fixture.Load());
        frmExplorer* explorer = Explorer(fixture);
        ExplorerNode* plan = gExplorerNodes().Find(K("Eqpt1~10"));
        QVERIFY(!plan->Filled());
        QCOMPARE(gExplorerNodes().Count(), 4);  // root, configuration, two plans
        QCOMPARE(gSelectedNode()->Key(), QString("Root"));
        explorer->tvTestPlan_NodeClick(plan);
        const int filled = gExplorerNodes().Count();
        QVERIFY(gExplorerNodes().Exist(K(kPower)));
        explorer->tvTestPlan_NodeClick(plan);
        explorer->tvTestPlan()->expand(explorer->Model()->IndexOf(plan));
        QCOMPARE(gExplorerNodes().Count(), filled);
        // Expand All reads the rest.
        explorer->tvTestPlan_ExpandAll();
        QVERIFY(gExplorerNodes().Exist(K(kPlanBShared)));
        QVERIFY(explorer->tvTestPlan()->isExpanded(explorer->Model()->IndexOf(gExplorerNodes().Find(K(kShared)))));
        QVERIFY(!Hourglass::IsSet());
    }

    void lastNodeIsSelectedAtLoad_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("plan");
        QTest::newRow("procedure of an unread plan") << K(kPower) << K(kPower) << "Plan A";
        QTest::newRow("configuration") << "Eqpt1"
                                       << "Eqpt1"
                                       << "";
        QTest::newRow("names nothing") << K(kOther) << "Root"
                                       << "Current test plan";
        QTest::newRow("malformed") << "~~|x$"
                                   << "Root"
                                   << "Current test plan";
    }

    void lastNodeIsSelectedAtLoad()
    {
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        QFETCH(QString, plan);
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        Settings::SaveSetting("Settings", "LastNode", stored);
        frmMdi* window = fixture.Load();
        QVERIFY(window);
        QCOMPARE(SelectedNodeKey(), selected);
        QCOMPARE(window->PanelText(3), plan);
        if (selected != "Root") {
            QCOMPARE(window->PanelText(4), gSelectedNode()->Text());
            QCOMPARE(Explorer(fixture)->DropHighlight(), gSelectedNode());
        }
        QCOMPARE(fixture.Environment.BugLogEntries(), 0);
    }

    void rootNamesTheDatabase_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("setting");  // "file" stands for the open test database
        QTest::addColumn<QString>("text");
        QTest::newRow("file") << "3"
                              << "file"
                              << "";
        QTest::newRow("missing file") << "3"
                                      << "/nowhere/plans.db"
                                      << "";
        QTest::newRow("folder") << "3"
                                << "/tmp"
                                << "";
        QTest::newRow("odbc") << "5"
                              << "PlansDsn"
                              << "PlansDsn";
        QTest::newRow("server") << "2"
                                << "db.example.com:5432"
                                << "db.example.com:5432";
        QTest::newRow("markup and line break") << "2"
                                               << "<b>plans</b>\nnext"
                                               << "<b>plans</b>\nnext";
    }

    void rootNamesTheDatabase()
    {
        QFETCH(QString, provider);
        QFETCH(QString, setting);
        QFETCH(QString, text);
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        Settings::SaveSetting("DataBase", "Provider", provider);
        if (setting == "file") {
            setting = fixture.DatabaseFile();
            text = QFileInfo(setting).fileName();
        }
        Settings::SaveSetting("DataBase", provider == "5" ? "DSN" : "DataSource", setting);
        QVERIFY(fixture.Load());
        const QModelIndex root = Explorer(fixture)->Model()->index(0, 0);
        QCOMPARE(root.data().toString(), text);
    }

    void failedBuildLeavesNoCurrentNode()
    {
        MainWindowFixture fixture;
        fixture.Schema = false;
        QVERIFY(fixture.Load());
        QCOMPARE(gExplorerNodes().Count(), 0);
        QCOMPARE(gSelectedNode(), nullptr);
        QCOMPARE(SelectedNodeKey(), QString());
        QCOMPARE(fixture.Environment.BugLogEntries(), 1);
    }

    void noDatabaseGivesAnEmptyTreeQuietly()
    {
        MainWindowFixture fixture;
        QVERIFY(fixture.Prepare());
        TreeFixture::Build();
        gConnection().Close();
        QVERIFY(fixture.Load());
        QCOMPARE(gExplorerNodes().Count(), 0);
        QCOMPARE(gSelectedNode(), nullptr);
        QCOMPARE(fixture.Environment.BugLogEntries(), 0);
    }

    void treeKeys_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<bool>("rights");
        QTest::addColumn<QString>("ran");
        QTest::newRow("Del") << QKeySequence(Qt::Key_Delete) << true << "mnuItemDelete";
        QTest::newRow("Del without rights") << QKeySequence(Qt::Key_Delete) << false << "";
        QTest::newRow("Ctrl+C") << QKeySequence(Qt::CTRL | Qt::Key_C) << true << "mnuItemCopy";
        QTest::newRow("Ctrl+Shift+C") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C) << true << "";
        QTest::newRow("Ctrl+V") << QKeySequence(Qt::CTRL | Qt::Key_V) << true << "mnuItemPaste";
        QTest::newRow("Ctrl+P") << QKeySequence(Qt::CTRL | Qt::Key_P) << true << "mnuFilePrint";
        QTest::newRow("Ctrl+P without rights") << QKeySequence(Qt::CTRL | Qt::Key_P) << false << "";
        QTest::newRow("F2") << QKeySequence(Qt::Key_F2) << false << "mnuViewRefresh";
        QTest::newRow("F5") << QKeySequence(Qt::Key_F5) << false << "mnuFilePreview";
        QTest::newRow("Shift+F5") << QKeySequence(Qt::SHIFT | Qt::Key_F5) << true << "";
        QTest::newRow("F7") << QKeySequence(Qt::Key_F7) << false << "mnuExportHTML";
        QTest::newRow("F6") << QKeySequence(Qt::Key_F6) << false << "mnuExportWord";
        QTest::newRow("F4 with the pane shown") << QKeySequence(Qt::Key_F4) << true << "";
        QTest::newRow("Ctrl+U") << QKeySequence(Qt::CTRL | Qt::Key_U) << true << "mnuItemUp";
        QTest::newRow("Ctrl+D") << QKeySequence(Qt::CTRL | Qt::Key_D) << true << "mnuItemDown";
        QTest::newRow("Ctrl+D without rights") << QKeySequence(Qt::CTRL | Qt::Key_D) << false << "";
    }

    // One key press in the tree runs its row once, or nothing; never the menu's shortcut too.
    void treeKeys()
    {
        QFETCH(QKeySequence, key);
        QFETCH(bool, rights);
        QFETCH(QString, ran);
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        frmMdi* window = fixture.Load();
        QVERIFY(window);
        fixture.Record({"mnuItemDelete", "mnuItemCopy", "mnuItemPaste", "mnuFilePrint", "mnuViewRefresh",
                        "mnuFilePreview", "mnuExportHTML", "mnuExportWord", "mnuViewProperties", "mnuItemUp",
                        "mnuItemDown"});
        gUserManagement = !rights;
        gUserCategory = 2;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->activateWindow();
        ExplorerTreeView* tree = Explorer(fixture)->tvTestPlan();
        QVERIFY(Explorer(fixture)->SelectNode(K(kShared)));
        tree->setFocus();
        QTRY_VERIFY(tree->hasFocus());
        QTest::keySequence(tree, key);
        QCOMPARE(fixture.Ran, ran.isEmpty() ? QStringList() : QStringList{ran});
    }

    void treeKeysExpandAndCollapse()
    {
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        frmMdi* window = fixture.Load();
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        ExplorerTreeView* tree = Explorer(fixture)->tvTestPlan();
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_F12);
        const QModelIndex shared = Explorer(fixture)->Model()->IndexOf(gExplorerNodes().Find(K(kShared)));
        QVERIFY(tree->isExpanded(shared));
        QTest::keyClick(tree, Qt::Key_F11);
        QVERIFY(!tree->isExpanded(shared));
        // Del typed in a text box outside the tree deletes nothing.
        fixture.Record({"mnuItemDelete"});
        auto* box = new QLineEdit(window->Pane("frmProperties"));
        window->Pane("frmProperties")->setWidget(box);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Delete);
        QVERIFY(fixture.Ran.isEmpty());
    }

    void contextMenu_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<bool>("rights");
        QTest::addColumn<QStringList>("enabled");
        const QStringList edit = {"mnuItemCopy", "mnuItemPaste", "mnuItemDelete", "mnuItemEdit"};
        QTest::newRow("root") << "Root" << true << QStringList();
        QTest::newRow("test plan") << K("Eqpt1~10") << true << edit;
        QTest::newRow("first sub-test") << K(kShared) << true << (QStringList{"mnuItemDown"} + edit);
        QTest::newRow("tester") << K(kShared) << false << QStringList();
    }

    void contextMenu()
    {
        QFETCH(QString, node);
        QFETCH(bool, rights);
        QFETCH(QStringList, enabled);
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        frmMdi* window = fixture.Load();
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        gUserManagement = !rights;
        gUserCategory = 2;
        frmExplorer* explorer = Explorer(fixture);
        explorer->tvTestPlan_ExpandAll();
        ExplorerTreeView* tree = explorer->tvTestPlan();
        const QModelIndex index = explorer->Model()->IndexOf(gExplorerNodes().Find(node));
        tree->scrollTo(index);
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, tree->visualRect(index).center());
        QCOMPARE(SelectedNodeKey(), node);
        QCOMPARE(explorer->DropHighlight(), gSelectedNode());
        QMenu* menu = window->Menu("mnuItem");
        QTRY_VERIFY(menu->isVisible());
        QStringList on;
        for (const char* name :
             {"mnuItemUp", "mnuItemDown", "mnuItemCopy", "mnuItemPaste", "mnuItemDelete", "mnuItemEdit"})
            if (window->Commands().Enabled(name))
                on << name;
        QCOMPARE(on, enabled);
        menu->close();
        explorer->tvTestPlan_CollapseAll();
        // A right click on empty space clears the node and shows no menu.
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, QPoint(5, tree->viewport()->height() - 3));
        QCOMPARE(gSelectedNode(), nullptr);
        QCOMPARE(explorer->DropHighlight(), nullptr);
        QVERIFY(!menu->isVisible());
    }

    void editionOpensTheItemDescription_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("caption");
        QTest::newRow("configuration") << "Eqpt1"
                                       << "Bench";
        QTest::newRow("test plan") << K("Eqpt1~10") << "Plan A";
        QTest::newRow("sub-test") << K(kShared) << "Shared";
        QTest::newRow("procedure") << K(kPower) << "Power";
        QTest::newRow("root") << "Root"
                              << "";
    }

    void editionOpensTheItemDescription()
    {
        QFETCH(QString, node);
        QFETCH(QString, caption);
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        QVERIFY(fixture.Load());
        FakeDescriptionWindows windows;
        QVERIFY(Explorer(fixture)->SelectNode(node));
        Explorer(fixture)->Edition();
        QCOMPARE(static_cast<int>(windows.Forms().size()), caption.isEmpty() ? 0 : 1);
        if (!caption.isEmpty())
            QCOMPARE(windows.Forms().front()->Caption(), caption);
        QVERIFY(fixture.Prompts.Messages().isEmpty());
        QVERIFY(!Hourglass::IsSet());
    }

    void editionOfADeletedRow()
    {
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        QVERIFY(fixture.Load());
        FakeDescriptionWindows windows;
        QVERIFY(Explorer(fixture)->SelectNode(K(kShared)));
        ModelFixture::Run("DELETE FROM SUBTEST_LINKS WHERE ID_SUBTEST_PARENT = 20", {});
        ModelFixture::Run("DELETE FROM PROCEDURE_LINKS WHERE ID_SUBTEST = 20", {});
        ModelFixture::Run("DELETE FROM TESTPLAN_LINKS WHERE ID_SUBTEST = 20", {});
        ModelFixture::Run("DELETE FROM SUBTEST WHERE ID = 20", {});
        Explorer(fixture)->Edition();
        QCOMPARE(fixture.Prompts.Messages(), QStringList{"An error occurred in item loading description."});
        QCOMPARE(fixture.Prompts.History().last().icon, Prompts::Icon::Critical);
        QVERIFY(fixture.Environment.BugLog().contains("Error_TestPlan_DblClick : 0"));
        QVERIFY(!Hourglass::IsSet());
    }

    void refreshReselectsTheNode()
    {
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        frmMdi* window = fixture.Load();
        QVERIFY(window);
        QVERIFY(Explorer(fixture)->SelectNode(K(kPower)));
        Refresh_Properties();
        QVERIFY(gPropertyGrid().Rows() > 0);
        window->mnuViewRefresh_Click();
        QCOMPARE(SelectedNodeKey(), K(kPower));
        QCOMPARE(Explorer(fixture)->DropHighlight(), gSelectedNode());
        QCOMPARE(window->PanelText(3), QString("Plan A"));
        QCOMPARE(window->PanelText(4), QString("Power"));
        QCOMPARE(gPropertyGrid().Rows(), 0);
        QCOMPARE(fixture.Environment.BugLogEntries(), 0);

        // The item went meanwhile: logged, the grid keeps its rows, the root is current.
        Refresh_Properties();
        const int rows = gPropertyGrid().Rows();
        ModelFixture::Run("DELETE FROM PROCEDURE_LINKS WHERE ID_SUBTEST = 20 AND ID_PROCEDURE = 30", {});
        window->mnuViewRefresh_Click();
        QVERIFY(fixture.Environment.BugLog().contains("Error_Refresh:"));
        QCOMPARE(gPropertyGrid().Rows(), rows);
        QCOMPARE(SelectedNodeKey(), QString("Root"));
        QVERIFY(!Hourglass::IsSet());
    }

    void reportNeedsATestPlan_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<bool>("shown");
        QTest::newRow("none") << "" << false;
        QTest::newRow("root") << "Root" << false;
        QTest::newRow("configuration") << "Eqpt1" << false;
        QTest::newRow("test plan") << K("Eqpt1~10") << true;
        QTest::newRow("procedure") << K(kPower) << true;
    }

    void reportNeedsATestPlan()
    {
        QFETCH(QString, node);
        QFETCH(bool, shown);
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        QStringList opened;
        bool stripShown = false;
        reportWindows().Progress = [&] {
            opened << "progress";
            stripShown = gProgressBar().Visible() && Hourglass::IsSet();
        };
        frmMdi* window = fixture.Load();
        QVERIFY(window);
        QVERIFY(!window->Action("mnuResultFill")->isEnabled());  // no window installed
        FakeDescriptionWindows windows;
        QVERIFY(Explorer(fixture)->SelectNode("Eqpt1"));
        Explorer(fixture)->Edition();  // an open description, saved before a report
        QCOMPARE(static_cast<int>(windows.Forms().size()), 1);
        if (node.isEmpty())
            SetSelectedNode({});
        else
            QVERIFY(Explorer(fixture)->SelectNode(node));
        window->Action("mnuTestPlanFurtherance")->trigger();
        QCOMPARE(opened, shown ? QStringList{"progress"} : QStringList());
        QCOMPARE(fixture.Prompts.Messages(),
                 shown ? QStringList() : QStringList{"Select a test plan in the Explorer."});
        QCOMPARE(windows.Forms().front()->saves, shown ? 1 : 0);
        QCOMPARE(stripShown, shown);
        QVERIFY(!gProgressBar().Visible());
        QVERIFY(!Hourglass::IsSet());
    }

    void failingReportsLeaveNoStripBehind()
    {
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        reportWindows().TimePassed = [] { throw std::runtime_error("report failed"); };
        reportWindows().HistoryBrowser = [] { throw std::runtime_error("history failed"); };
        frmMdi* window = fixture.Load();
        QVERIFY(window);
        QVERIFY(Explorer(fixture)->SelectNode(K("Eqpt1~10")));
        window->Action("mnuTestPlanTimePassed")->trigger();
        QVERIFY(!gProgressBar().Visible());
        QVERIFY(!Hourglass::IsSet());
        window->Action("mnuResultHistory")->trigger();
        QCOMPARE(fixture.Prompts.Messages(), QStringList{"History not avalaible."});
        QVERIFY(fixture.Environment.BugLog().contains("Error_ResultHistory : "));
        QVERIFY(!gProgressBar().Visible());
        QVERIFY(!Hourglass::IsSet());
        // Without a current node, history takes the tree's selected node, and asks without one.
        fixture.Prompts.ClearHistory();
        SetSelectedNode({});
        Explorer(fixture)->tvTestPlan()->setCurrentIndex({});
        window->Action("mnuResultHistory")->trigger();
        QCOMPARE(fixture.Prompts.Messages(), QStringList{"Select a test plan in the Explorer."});
    }

    void unselectDropsOnlyACopiedItem_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("kept");
        QTest::newRow("copied procedure") << K("14~20|30|1~") + K(kPower) << false;
        QTest::newRow("new item") << K("4~New_ITEM~Eqpt1~10") << false;
        QTest::newRow("another program's text") << "meeting at 10" << true;
        QTest::newRow("number only") << K("15~x~y") << true;
    }

    void unselectDropsOnlyACopiedItem()
    {
        QFETCH(QString, clipboard);
        QFETCH(bool, kept);
        MainWindowFixture fixture;
        QVERIFY(fixture.Load());
        QGuiApplication::clipboard()->setText(clipboard);
        Explorer(fixture)->tlbToolBox()->actions().at(0)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), kept ? clipboard : QString());
        QCOMPARE(Explorer(fixture)->ToolBoxIndex(), 1);
        QVERIFY(Explorer(fixture)->tlbToolBox()->actions().at(0)->isChecked());
    }

    void toolBoxButtons()
    {
        MainWindowFixture fixture;
        QVERIFY(fixture.Load());
        const QList<QAction*> buttons = Explorer(fixture)->tlbToolBox()->actions();
        QCOMPARE(buttons.size(), 14);
        QCOMPARE(buttons.at(3)->toolTip(), QString("Click to add new 1st level subtest "));
        QCOMPARE(buttons.at(6)->toolTip(), QString("Click to add new 4th level subtest"));
        QCOMPARE(buttons.at(13)->objectName(), QString("Procedure"));
        QCOMPARE(Explorer(fixture)->tvTestPlan()->toolTip(),
                 QString("Drag and drop components to organize test plans"));
        QCOMPARE(fixture.Window().Pane("frmExplorer")->windowTitle(), QString("Test Plan Explorer"));
    }

    void fillInShowsTheProcedureAfterwards()
    {
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        reportWindows().ResultFill = [] { gPropertyGrid().SetRows(0); };
        frmMdi* window = fixture.Load();
        QVERIFY(window);
        QVERIFY(Explorer(fixture)->SelectNode(K(kPower)));
        window->Action("mnuResultFill")->trigger();
        QVERIFY(gPropertyGrid().Rows() > 0);
        // On a sub-test the grid is left as the window left it.
        QVERIFY(Explorer(fixture)->SelectNode(K(kShared)));
        window->Action("mnuResultFill")->trigger();
        QCOMPARE(gPropertyGrid().Rows(), 0);
    }
};

QTEST_MAIN(tst_Explorer)
#include "tst_Explorer.moc"
