#include "MainWindowFixture.h"
#include "ModelFixture.h"
#include "TreeFixture.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNode.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/SelectedNode.h"
#include "mainwindow/ExplorerTreeModel.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/ItemCommands.h"
#include "mainwindow/ItemTransfer.h"
#include "mainwindow/frmExplorer.h"
#include "platform/Globals.h"
#include "platform/Hourglass.h"
#include "platform/KvlError.h"

#include <QClipboard>
#include <QMimeData>
#include <QtTest>

using ModelFixture::Run;
using ModelFixture::Scalar;
using TreeFixture::K;

namespace {

const QString kPlanA = "Eqpt1~10";
const QString kShared = "Eqpt1~10~10|20|1";
const QString kTwice = "Eqpt1~10~10|20|1~20|21|1";
const QString kOther = "Eqpt1~10~10|22|2";
const QString kPower = "Eqpt1~10~10|20|1~20|30|1$";
const QString kReset = "Eqpt1~10~10|22|2~22|32|1$";

// The main window on the stored tree.
class Window
{
public:
    explicit Window(const QString& backend = TestDatabase::Backends().first()) : fixture(backend) {}

    bool Open(const std::function<void()>& beforeLoad = {})
    {
        if (!fixture.Prepare())
            return false;
        TreeFixture::Build();
        if (beforeLoad)
            beforeLoad();
        return fixture.Load() != nullptr;
    }
    frmExplorer* Explorer() { return fixture.Window().Explorer(); }
    ItemCommands& Items() { return *fixture.Window().Items(); }
    ExplorerNode* Node(const QString& key) { return Explorer()->NodeByKey(K(key)); }
    // Makes the node current as a click on it does.
    void Select(const QString& key)
    {
        ExplorerNode* node = Node(key);
        QVERIFY2(node, qPrintable(key));
        Explorer()->SelectNode(node->Key());
    }
    QString Current() const
    {
        const ExplorerNode* node = gSelectedNode();
        return node ? QString(node->Key()).replace(NodeKey::kSeparator, '~') : QString("(none)");
    }
    QString Panels() { return fixture.Window().PanelText(3) + " | " + fixture.Window().PanelText(4); }
    QStringList Messages() const { return fixture.Prompts.Messages(); }
    int LogEntries() const { return fixture.Environment.BugLogEntries(); }

    MainWindowFixture fixture;
};

// "one separator only" and the like, as a drag or a paste meets them.
QString Text(const QString& kind, const QString& tag, const QString& key = {})
{
    return kind + NodeKey::kSeparator + tag + NodeKey::kSeparator + key;
}

}  // namespace

// The Item commands, the drop on the explorer and the item clipboard, on the stored tree.
class tst_ItemCommands : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetSelectedNode({});
        gExplorerNodes().Clear();
        gUserManagement = false;
        gUserCategory = 0;
        QGuiApplication::clipboard()->clear();
    }

    void transferText();
    void dropRules_data();
    void dropRules();
    void dropsAndPastes_data();
    void dropsAndPastes();
    void addCommands_data() { TestDatabase::AddBackendRows(); }
    void addCommands();
    void gappedOrders();
    void dropOnVanishedPlan();
    void moves();
    void deletions_data();
    void deletions();
    void initialize();
    void dragEventsOnTheViewport();
};

void tst_ItemCommands::transferText()
{
    const QString node = ItemTransfer::Write(14, "21|31|1", "k");
    QCOMPARE(node, Text("14", "21|31|1", "k"));
    QCOMPARE(ItemTransfer::WriteNew(5), Text("5", "New_ITEM"));
    ItemTransfer::Fields fields;
    QVERIFY(ItemTransfer::Read(node, fields));
    QCOMPARE(fields.tag, QString("21|31|1"));
    QCOMPARE(fields.DragKind(), 14);
    QCOMPARE(fields.PasteKind(), 14);
    QVERIFY(!ItemTransfer::Read("no separator", fields));
    QVERIFY_THROWS_EXCEPTION(KvlError, ItemTransfer::Read(QString("3") + NodeKey::kSeparator + "x", fields));
    QVERIFY(ItemTransfer::Read(Text("12abc", "x"), fields));
    QCOMPARE(fields.DragKind(), 12);
    QVERIFY_THROWS_EXCEPTION(KvlError, fields.PasteKind());
    QVERIFY(ItemTransfer::Read(Text("", "x"), fields));
    QCOMPARE(fields.DragKind(), 0);
    QVERIFY(ItemTransfer::IsItemText(node));
    QVERIFY(!ItemTransfer::IsItemText(Text("15", "x")));
}

void tst_ItemCommands::dropRules_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("accepted");  // the targets that take it: "-" empty space, then images
    const QString all = "- 1 2 3 4 5 6 7 8 9 10 11 12 13 14";
    QTest::newRow("0") << "0" << all;
    QTest::newRow("1 root") << "1" << all;
    QTest::newRow("2 configuration") << "2"
                                     << "- 1";
    QTest::newRow("3 test plan") << "3"
                                 << "- 2";
    for (int kind = 4; kind <= 13; ++kind)
        QTest::newRow(qPrintable(QString("%1 sub-test").arg(kind)))
            << QString::number(kind) << QString("- %1").arg(kind - 1);
    QTest::newRow("14 procedure") << "14"
                                  << "- 4 5 6 7 8 9 10 11 12 13";
    QTest::newRow("15") << "15" << all;
    QTest::newRow("abc") << "abc" << all;
    QTest::newRow("empty") << "" << all;
}

// Over every kind of node, with the tree the window shows: one node of each image.
void tst_ItemCommands::dropRules()
{
    QFETCH(QString, kind);
    QFETCH(QString, accepted);
    Window window;
    QVERIFY2(window.Open(), qPrintable(window.fixture.Error()));
    ExplorerNodes& tree = gExplorerNodes();
    QStringList taken;
    if (window.Items().DragOver(Text(kind, "New_ITEM"), nullptr))
        taken << "-";
    QString parent = NodeKey::kRoot;
    for (int image = 1; image <= 14; ++image) {
        const QString key = QString("T%1").arg(image);
        if (image > 1)
            tree.Add(parent, key, key, image)->SetTag("1|2|3");
        else
            tree.Add({}, key, key, image);
        parent = image < 13 ? key : parent;
        if (window.Items().DragOver(Text(kind, "New_ITEM"), tree.Find(key)))
            taken << QString::number(image);
    }
    QCOMPARE(taken.join(' '), accepted);
    // Nobody without rights drops anything; a text with one separator is refused and logged.
    QVERIFY(!window.Items().DragOver(QString("4") + NodeKey::kSeparator + "x", tree.Find("T3")));
    QCOMPARE(window.LogEntries(), 1);
    gUserManagement = true;
    gUserCategory = 2;
    QVERIFY(!window.Items().DragOver(Text("4", "New_ITEM"), tree.Find("T3")));
}

void tst_ItemCommands::dropsAndPastes_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("action");  // "drop" or "paste"
    QTest::addColumn<QString>("text");    // with "~" for the separator
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("query");  // read after the action
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("panels");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("entries");
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(backend + ": " + name)) << backend;
        };
        row("new sub-test onto a level-2 sub-test")
            << "drop"
            << "6~New_ITEM~" << kTwice << "SELECT COUNT(*) FROM SUBTEST_LINKS WHERE ID_SUBTEST_PARENT = 21"
            << "1" << kTwice + "~21|23|1"
            << "Plan A | SubTest23"
            << "" << 0;
        row("tree procedure onto another sub-test")
            << "drop"
            << "14~20|30|1~" + kPower << kOther
            << "SELECT ORDER_PROCEDURE FROM PROCEDURE_LINKS WHERE ID_SUBTEST = 22 AND ID_PROCEDURE = 30"
            << "2" << kOther + "~22|30|2$"
            << "Plan A | Power"
            << "" << 0;
        row("configuration onto the root") << "drop"
                                           << "2~1~Eqpt1"
                                           << "Root"
                                           << "SELECT COUNT(*) FROM CONFIGURATION"
                                           << "2"
                                           << "Eqpt2"
                                           << " | Configuration2"
                                           << "" << 0;
        row("procedure pasted on a plan") << "paste"
                                          << "14~20|30|1~" + kPower << kPlanA << "SELECT COUNT(*) FROM PROCEDURE_LINKS"
                                          << "4" << kPlanA << "Plan A | Plan A"
                                          << "Can't paste the item on selected target." << 0;
        row("level-2 sub-test pasted on a plan")
            << "paste"
            << "5~20|21|1~" + kTwice << kPlanA << "SELECT COUNT(*) FROM TESTPLAN_LINKS"
            << "3" << kPlanA << "Plan A | Plan A"
            << "" << 0;
        row("text of another program") << "paste"
                                       << "abc~x~" << kTwice << "SELECT COUNT(*) FROM SUBTEST_LINKS"
                                       << "2" << kTwice << "Plan A | Twice"
                                       << "Can't paste the item." << 1;
        row("the root copied") << "paste"
                               << "1~~Root" << kTwice << "SELECT COUNT(*) FROM SUBTEST_LINKS"
                               << "2" << kTwice << "Plan A | Twice"
                               << "Can't paste the item on selected target." << 0;
        row("a deleted procedure") << "paste"
                                   << "14~21|99|1~x" << kTwice << "SELECT COUNT(*) FROM PROCEDURE_LINKS"
                                   << "4" << kTwice << "Plan A | Twice"
                                   << "Can't paste the item." << 1;
        row("a tag that is no number") << "paste"
                                       << "14~21|x|1~x" << kTwice << "SELECT COUNT(*) FROM PROCEDURE_LINKS"
                                       << "4" << kTwice << "Plan A | Twice"
                                       << "Can't paste the item." << 1;
        row("configuration pasted on the root") << "paste"
                                                << "2~1~Eqpt1"
                                                << "Root"
                                                << "SELECT COUNT(*) FROM CONFIGURATION"
                                                << "2"
                                                << "Root"
                                                << " | "
                                                << "" << 0;
        row("procedure pasted on a sub-test") << "paste"
                                              << "14~22|32|1~" + kReset << kTwice
                                              << "SELECT ORDER_PROCEDURE FROM PROCEDURE_LINKS WHERE ID_SUBTEST = 21 "
                                                 "AND ID_PROCEDURE = 32 ORDER BY 1 DESC"
                                              << "3" << kTwice + "~21|32|3$"
                                              << "Plan A | Reset"
                                              << "" << 0;
        row("plan pasted where it is linked") << "paste"
                                              << "3~10~" + kPlanA << "Eqpt1"
                                              << "SELECT COUNT(*) FROM CONFIGURATION_LINKS"
                                              << "2" << kPlanA << "Plan A | Plan A"
                                              << "" << 0;
        row("sub-test dropped under itself") << "drop"
                                             << "6~20|21|1~x" << kTwice << "SELECT COUNT(*) FROM SUBTEST_LINKS"
                                             << "2" << kTwice << "Plan A | Twice"
                                             << "An error occurred in item creation." << 1;
        row("root dropped") << "drop"
                            << "1~~Root" << kTwice << "SELECT COUNT(*) FROM SUBTEST_LINKS"
                            << "2" << kTwice << "Plan A | Twice"
                            << "An error occurred in item creation." << 1;
    }
}

void tst_ItemCommands::dropsAndPastes()
{
    QFETCH(QString, backend);
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(QString, target);
    QFETCH(QString, query);
    QFETCH(QString, value);
    QFETCH(QString, current);
    QFETCH(QString, panels);
    QFETCH(QString, message);
    QFETCH(int, entries);
    Window window(backend);
    KORAVEL_REQUIRE_BACKEND(window.fixture.Database());
    QVERIFY2(window.Open(), qPrintable(window.fixture.Error()));
    window.Select(target);
    ExplorerNode* source = text.contains("Eqpt1~") ? window.Node(text.section('~', 2)) : nullptr;
    const QString transfer = K(text);
    if (action == "drop") {
        window.Items().Drop(transfer, window.Node(target));
    } else {
        QGuiApplication::clipboard()->setText(transfer);
        window.fixture.Window().mnuItemPaste_Click();
    }
    QCOMPARE(Scalar(query).toString(), value);
    QCOMPARE(window.Current(), current);
    QCOMPARE(window.Panels(), panels);
    QCOMPARE(window.Messages().join('/'), message);
    QCOMPARE(window.LogEntries(), entries);
    // A dragged or copied node stays where it was.
    if (source)
        QCOMPARE(window.Node(text.section('~', 2)), source);
}

void tst_ItemCommands::addCommands()
{
    QFETCH(QString, backend);
    Window window(backend);
    KORAVEL_REQUIRE_BACKEND(window.fixture.Database());
    QVERIFY2(window.Open(), qPrintable(window.fixture.Error()));
    frmMdi& main = window.fixture.Window();

    main.mnuAddConfiguration_Click();
    QCOMPARE(window.Current(), QString("Eqpt2"));
    QCOMPARE(window.Panels(), QString(" | Configuration2"));
    main.mnuAddTestPlan_Click();
    QCOMPARE(window.Current(), QString("Eqpt2~12"));
    QCOMPARE(window.Panels(), QString("TestPlan12 | TestPlan12"));
    main.mnuAddSubtest_Click();
    QCOMPARE(window.Current(), QString("Eqpt2~12~12|23|1"));
    main.mnuAddSubtest_Click();
    QCOMPARE(window.Current(), QString("Eqpt2~12~12|23|1~23|24|1"));
    main.mnuAddProcedure_Click();
    QCOMPARE(window.Current(), QString("Eqpt2~12~12|23|1~23|24|1~24|33|1$"));
    QCOMPARE(window.Panels(), QString("TestPlan12 | Procedure33"));
    QCOMPARE(Scalar("SELECT COUNT(*) FROM PROCEDURE_LINKS WHERE ID_SUBTEST = 24 AND ID_PROCEDURE = 33").toInt(), 1);
    QCOMPARE(window.fixture.Window().Explorer()->tvTestPlan()->DropHighlight(),
             window.Explorer()->Model()->IndexOf(gSelectedNode()));

    // Added under a level-1 and a level-2 sub-test, the tree stays as a fresh build shows it.
    window.Select(kShared);
    main.mnuAddSubtest_Click();
    QCOMPARE(window.Current(), kShared + "~20|25|3");
    window.Select(kTwice);
    main.mnuAddProcedure_Click();
    QCOMPARE(window.Current(), kTwice + "~21|34|3$");
    const QStringList shown = TreeFixture::Dump("Eqpt1~10");
    TreeFixture::FillExplorer();
    QCOMPARE(shown, TreeFixture::Dump("Eqpt1~10"));
    QVERIFY(window.Messages().isEmpty());
    QCOMPARE(window.LogEntries(), 0);

    // Run where it has no place (the menu offers it only on plans and sub-tests), nothing is made.
    window.Select("Eqpt1");
    const int plans = Scalar("SELECT COUNT(*) FROM TESTPLAN").toInt();
    const int subTests = Scalar("SELECT COUNT(*) FROM SUBTEST").toInt();
    main.mnuAddSubtest_Click();
    QCOMPARE(window.Messages(), QStringList{"Error creating new subtest."});
    QCOMPARE(Scalar("SELECT COUNT(*) FROM TESTPLAN").toInt(), plans);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM SUBTEST").toInt(), subTests);
    QCOMPARE(window.Current(), QString("Eqpt1"));
}

// Orders 1 and 5 under a plan: the next is 6, whatever the number of children.
void tst_ItemCommands::gappedOrders()
{
    Window window;
    QVERIFY2(window.Open([] { Run("UPDATE TESTPLAN_LINKS SET ORDER_SUBTEST = 5 WHERE ID_SUBTEST = 22"); }),
             qPrintable(window.fixture.Error()));
    window.Select(kPlanA);
    window.fixture.Window().mnuAddSubtest_Click();
    QCOMPARE(window.Current(), kPlanA + "~10|23|6");
    window.Items().Drop(K("4~New_ITEM~"), window.Node(kPlanA));
    QCOMPARE(window.Current(), kPlanA + "~10|24|7");
    QVERIFY(window.Messages().isEmpty());
}

void tst_ItemCommands::dropOnVanishedPlan()
{
    Window window;
    QVERIFY2(window.Open(), qPrintable(window.fixture.Error()));
    ExplorerNode* plan = window.Node("Eqpt1~11");
    const size_t children = plan->ChildNodes().size();
    Run("DELETE FROM TESTPLAN_LINKS WHERE ID_TESTPLAN = 11");
    Run("DELETE FROM CONFIGURATION_LINKS WHERE ID_TESTPLAN = 11");
    Run("DELETE FROM TESTPLAN WHERE ID = 11");
    window.Items().Drop(K("4~New_ITEM~"), plan);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM SUBTEST").toInt(), 3);
    QCOMPARE(window.Node("Eqpt1~11")->ChildNodes().size(), children);
    QCOMPARE(window.Messages(), QStringList{"An error occurred in item creation."});
    QCOMPARE(window.LogEntries(), 1);
}

void tst_ItemCommands::moves()
{
    Window window;
    QVERIFY2(window.Open([] {
        Run("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (21, 30, 3)");
    }),
             qPrintable(window.fixture.Error()));
    frmMdi& main = window.fixture.Window();
    const auto orders = [&] {
        QStringList list;
        for (const char* id : {"31", "32", "30"})
            list << Scalar(QString("SELECT ORDER_PROCEDURE FROM PROCEDURE_LINKS WHERE ID_SUBTEST = 21 AND "
                                   "ID_PROCEDURE = %1")
                               .arg(id))
                        .toString();
        return list.join(' ');
    };
    window.Select(kTwice + "~21|32|2$");
    main.mnuItemDown_Click();
    QCOMPARE(orders(), QString("1 3 2"));
    QCOMPARE(window.Current(), kTwice + "~21|32|3$");
    // The first one cannot go up.
    window.Select(kTwice + "~21|31|1$");
    main.mnuItemUp_Click();
    QCOMPARE(orders(), QString("1 3 2"));
    QCOMPARE(window.Current(), kTwice + "~21|31|1$");
    QVERIFY(window.Messages().isEmpty());
    QVERIFY(!Hourglass::IsSet());
}

void tst_ItemCommands::deletions_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("behind");  // run once the tree is shown
    QTest::addColumn<int>("entries");
    const QString configuration =
        "The test configuration deletion may provoke irreversible test plan destruction.\n"
        "Do you really want to delete the test configuration ?";
    const QString subTest = "Do you really want to delete definitively the sub test ?";
    const QString procedure = "Do you really want to delete definitively the procedure ?";
    QTest::newRow("configuration, no") << "Eqpt1"
                                       << "no" << configuration << "SELECT COUNT(*) FROM CONFIGURATION"
                                       << "1"
                                       << "Eqpt1"
                                       << "" << 0;
    QTest::newRow("configuration, yes") << "Eqpt1"
                                        << "yes" << configuration << "SELECT COUNT(*) FROM CONFIGURATION"
                                        << "0"
                                        << "Root"
                                        << "" << 0;
    QTest::newRow("test plan, yes") << kPlanA << "yes"
                                    << "Do you really want to delete the test plan ?"
                                    << "SELECT COUNT(*) FROM CONFIGURATION_LINKS"
                                    << "1"
                                    << "Eqpt1~11"
                                    << "" << 0;
    QTest::newRow("sub-test linked once, yes")
        << kOther << "yes" << subTest << "SELECT COUNT(*) FROM SUBTEST WHERE ID = 22"
        << "0" << kShared << "" << 0;
    QTest::newRow("sub-test linked once, no")
        << kOther << "no" << subTest << "SELECT COUNT(*) FROM SUBTEST WHERE ID = 22"
        << "1" << kOther << "" << 0;
    QTest::newRow("sub-test under two plans") << kShared << "-"
                                              << ""
                                              << "SELECT COUNT(*) FROM TESTPLAN_LINKS WHERE ID_SUBTEST = 20"
                                              << "1"
                                              << "Eqpt1~10~10|22|1"
                                              << "" << 0;
    QTest::newRow("sub-test twice under one parent") << kTwice << "-"
                                                     << ""
                                                     << "SELECT COUNT(*) FROM SUBTEST_LINKS"
                                                     << "1"
                                                     << "Eqpt1~10~10|20|1~20|21|1"
                                                     << "" << 0;
    QTest::newRow("procedure linked once, yes")
        << kPower << "yes" << procedure << "SELECT COUNT(*) FROM PROCEDURES WHERE ID = 30"
        << "0"
        << "Eqpt1~10~10|20|1~20|21|2"
        << "" << 0;
    QTest::newRow("procedure linked once, no")
        << kPower << "no" << procedure << "SELECT COUNT(*) FROM PROCEDURES WHERE ID = 30"
        << "1" << kPower << "" << 0;
    QTest::newRow("procedure linked twice") << kReset << "-"
                                            << ""
                                            << "SELECT COUNT(*) FROM PROCEDURE_LINKS WHERE ID_PROCEDURE = 32"
                                            << "1" << kOther << "" << 0;
    QTest::newRow("root, no") << "Root"
                              << "no"
                              << "Do you really want to delete all the database content ?"
                              << "SELECT COUNT(*) FROM CONFIGURATION"
                              << "1"
                              << "Root"
                              << "" << 0;
    QTest::newRow("procedure gone behind the tree")
        << kPower << "-"
        << "An error occurred during deletion."
        << "SELECT COUNT(*) FROM PROCEDURE_LINKS"
        << "3" << kPower << "DELETE FROM PROCEDURE_LINKS WHERE ID_PROCEDURE = 30;DELETE FROM PROCEDURES WHERE ID = 30"
        << 1;
}

void tst_ItemCommands::deletions()
{
    QFETCH(QString, key);
    QFETCH(QString, answer);
    QFETCH(QString, asked);
    QFETCH(QString, query);
    QFETCH(QString, value);
    QFETCH(QString, current);
    QFETCH(QString, behind);
    QFETCH(int, entries);
    Window window;
    QVERIFY2(window.Open(), qPrintable(window.fixture.Error()));
    window.Select(key);
    for (const QString& statement : behind.split(';', Qt::SkipEmptyParts))
        Run(statement);
    if (answer != "-")
        window.fixture.Prompts.Push(answer == "yes" ? Prompts::Answer::Yes : Prompts::Answer::No);
    window.fixture.Window().mnuItemDelete_Click();
    QCOMPARE(window.Messages().join('/'), asked);
    if (answer != "-") {
        const ScriptedPrompts::Shown& question = window.fixture.Prompts.History().first();
        QCOMPARE(question.buttons, Prompts::Buttons::YesNo);
        QCOMPARE(question.preselected, key == "Root" ? Prompts::Answer::No : Prompts::Answer::Yes);
    }
    QCOMPARE(Scalar(query).toString(), value);
    QCOMPARE(window.Current(), current);
    QCOMPARE(window.LogEntries(), entries);
    QVERIFY(!Hourglass::IsSet());
}

void tst_ItemCommands::initialize()
{
    Window window;
    QVERIFY2(window.Open(), qPrintable(window.fixture.Error()));
    Run("INSERT INTO USERS (ID, NAME, PWD, DESCRIPTION, CATEGORY) VALUES (3, 'Ann', '', '', 3)");
    const int information = Scalar("SELECT COUNT(*) FROM INFORMATION").toInt();
    const int templates = Scalar("SELECT COUNT(*) FROM HTML_TEMPLATES").toInt();
    window.Select(kTwice);
    window.fixture.Prompts.Push(Prompts::Answer::Yes);
    window.fixture.Window().mnuClearDatabase_Click();
    QCOMPARE(Scalar("SELECT COUNT(*) FROM CONFIGURATION").toInt(), 0);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM PROCEDURE_LINKS").toInt(), 0);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM USERS WHERE ID = 3").toInt(), 1);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM INFORMATION").toInt(), information);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM HTML_TEMPLATES").toInt(), templates);
    // No ghost of a deleted item stays to be linked to.
    QCOMPARE(gExplorerNodes().Count(), 1);
    QCOMPARE(window.Current(), QString("Root"));
    QCOMPARE(window.LogEntries(), 0);
}

// The tree's viewport as the drag loop feeds it: a move over a target that refuses is ignored,
// one that takes the item is accepted, and the drop links it there.
void tst_ItemCommands::dragEventsOnTheViewport()
{
    Window window;
    QVERIFY2(window.Open(), qPrintable(window.fixture.Error()));
    window.fixture.Window().resize(1000, 700);
    window.fixture.Window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window.fixture.Window()));
    ExplorerTreeView* tree = window.Explorer()->tvTestPlan();
    ExplorerTreeModel* model = window.Explorer()->Model();
    window.Select(kTwice);
    const QPoint onPlan = tree->visualRect(model->IndexOf(window.Node(kPlanA))).center();
    const QPoint onTwice = tree->visualRect(model->IndexOf(window.Node(kTwice))).center();
    QMimeData data;
    data.setText(ItemTransfer::WriteNew(kImageProcedure));

    // The drag loop sends moves and the drop to the widget that took the drag's entry.
    QDragEnterEvent refusedEntry(onPlan, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &refusedEntry);
    QVERIFY(!refusedEntry.isAccepted());
    QDragEnterEvent entry(onTwice, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &entry);
    QVERIFY(entry.isAccepted());
    QDragMoveEvent refused(onPlan, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &refused);
    QVERIFY(!refused.isAccepted());
    QDragMoveEvent taken(onTwice, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &taken);
    QVERIFY(taken.isAccepted());
    QCOMPARE(taken.dropAction(), Qt::CopyAction);
    QCOMPARE(tree->DropHighlight(), model->IndexOf(window.Node(kTwice)));
    QDropEvent drop(QPointF(onTwice), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &drop);
    QCOMPARE(window.Current(), kTwice + "~21|33|3$");
    QCOMPARE(Scalar("SELECT COUNT(*) FROM PROCEDURE_LINKS WHERE ID_SUBTEST = 21").toInt(), 3);
    QVERIFY(!tree->DropHighlight().isValid());
}

QTEST_MAIN(tst_ItemCommands)
#include "tst_ItemCommands.moc"
