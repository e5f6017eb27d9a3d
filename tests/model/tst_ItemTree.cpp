#include "RecordingListWindow.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "TreeFixture.h"
#include "ViewMirror.h"

#include "core/db/AdoConnection.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/SelectedNode.h"
#include "model/Configuration.h"
#include "model/ExplorerFill.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/Globals.h"

#include <QSignalSpy>
#include <QtTest>

using namespace TreeFixture;

// Filling the explorer from the stored tree, and the loaders that the fill and the lists use.
class tst_ItemTree : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        gUserManagement = false;
        SetSelectedNode({});
        gExplorerNodes().Clear();
    }

    void fillsExplorerInTreeOrder_data() { TestDatabase::AddBackendRows(); }
    void fillsExplorerInTreeOrder();
    void refillEqualsFreshBuild_data();
    void refillEqualsFreshBuild();
    void loadersFillFreshCollections_data() { TestDatabase::AddBackendRows(); }
    void loadersFillFreshCollections();
    void keysKeepIdAndOrderApart_data() { TestDatabase::AddBackendRows(); }
    void keysKeepIdAndOrderApart();
    void testPlansOfSubTestByMode_data() { TestDatabase::AddBackendRows(); }
    void testPlansOfSubTestByMode();
    void listsRows_data() { TestDatabase::AddBackendRows(); }
    void listsRows();
    void authorFollowsUserManagement_data() { TestDatabase::AddBackendRows(); }
    void authorFollowsUserManagement();
    void nullColumnsDoNotHideLaterRows_data() { TestDatabase::AddBackendRows(); }
    void nullColumnsDoNotHideLaterRows();
    void failedQueryKeepsCollectionAndLogs();
    void failedReadEndsRefillLoggedOnce();
    void runawayBranchRefusedOnce_data();
    void runawayBranchRefusedOnce();
};

void tst_ItemTree::fillsExplorerInTreeOrder()
{
    OPEN_STORED_TREE(env, db);
    // Twice (level 2) also holds Other, so a deeper sub-test has procedures and a child.
    Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
           {21, 22, 3});

    FillExplorer();
    // Under a first-level sub-test its child sub-tests come first, its procedures after them;
    // under a deeper one its procedures come first.
    QStringList shared{"Eqpt1~10~10|20|1 10|20|1 Shared 4"};
    for (const QString order : {"1", "2"}) {
        const QString twice = "Eqpt1~10~10|20|1~20|21|" + order;
        shared << twice + " 20|21|" + order + " Twice 5"  //
               << twice + "~21|31|1$ 21|31|1 Boot 14" << twice + "~21|32|2$ 21|32|2 Reset 14"
               << twice + "~21|22|3 21|22|3 Other 6" << twice + "~21|22|3~22|32|1$ 22|32|1 Reset 14";
    }
    shared << "Eqpt1~10~10|20|1~20|30|1$ 20|30|1 Power 14";
    const QStringList expected =
        shared + QStringList{"Eqpt1~10~10|22|2 10|22|2 Other 4", "Eqpt1~10~10|22|2~22|32|1$ 22|32|1 Reset 14"};
    QCOMPARE(Dump("Eqpt1~10"), expected);

    // The shared sub-test shows the same subtree under the second plan, with that plan's keys.
    QStringList planB;
    for (const QString& line : shared)
        planB << QString(line).replace("Eqpt1~10~10|", "Eqpt1~11~11|").replace(" 10|20|1 ", " 11|20|1 ");
    QCOMPARE(Dump("Eqpt1~11"), planB);

    // One sub-test node filled on its own gives what the plan's fill gave at the same depth.
    gExplorerNodes().Add("Root", "X", "Shared", 4)->SetTag("0|20|1");
    SubTest loose;
    loose.SetId("20");
    ExplorerFill().FillSubTest("X", loose);
    QStringList underX;
    for (const QString& line : shared.mid(1))
        underX << QString(line).replace("Eqpt1~10~10|20|1", "X");
    QCOMPARE(Dump("X"), underX);
    QCOMPARE(loose.Key(), QString("X"));
    QCOMPARE(loose.Level(), 4);

    // The explorer's own procedures add what they are asked for, in the order they are called.
    gExplorerNodes().Add("Root", "Y", "Twice", 5)->SetTag("0|21|1");
    SubTest twice;
    twice.SetId("21");
    tvTestPlan_AddSubTest("Y", twice);
    tvTestPlan_AddProcedure("Y", twice);
    QCOMPARE(Dump("Y"), QStringList({"Y~21|22|3 21|22|3 Other 6", "Y~21|22|3~22|32|1$ 22|32|1 Reset 14",
                                     "Y~21|31|1$ 21|31|1 Boot 14", "Y~21|32|2$ 21|32|2 Reset 14"}));
    QCOMPARE(env.BugLogEntries(), 0);

    // A node that shows no sub-test is refused, and logged.
    tvTestPlan_AddSubTest(K("Eqpt1~10"), twice);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_tvTestPlan_AddSubTest : "));
}

void tst_ItemTree::refillEqualsFreshBuild_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("change");
    for (const QString& backend : TestDatabase::Backends())
        for (const char* change :
             {"sub-test link under a first-level sub-test", "sub-test link under a deeper sub-test",
              "sub-test link with its subtree under a test plan", "sub-test link at a free order under a test plan",
              "procedure link under a deeper sub-test", "procedure link at a free order", "sub-test move",
              "procedure move", "procedure unlink"})
            QTest::newRow(qPrintable(backend + " " + change)) << backend << QString(change);
}

void tst_ItemTree::refillEqualsFreshBuild()
{
    QFETCH(QString, change);
    OPEN_STORED_TREE(env, db);
    // Shared, a first-level sub-test, holds a second procedure and a third sub-test to move;
    // Twice, below it at two places in each plan, holds a sub-test after its procedures.
    Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
           {20, 22, 3});
    Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
           {21, 22, 3});
    Insert("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (?, ?, ?)", {20, 31, 2});
    // Free orders to link at, below an order already taken.
    if (change == "sub-test link at a free order under a test plan")
        Insert("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (?, ?, ?)", {10, 22, 5});
    if (change == "procedure link at a free order")
        Insert("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (?, ?, ?)", {21, 30, 4});
    FillExplorer();
    const QString shared = "Eqpt1~10~10|20|1";
    const QString twice = shared + "~20|21|2";

    // A link adds its occurrences and leaves every node there was alone.
    const bool link = change.contains(" link ");
    QHash<QString, ExplorerNode*> before;
    for (int i = 1; i <= gExplorerNodes().Count(); ++i)
        before.insert(gExplorerNodes().Item(i)->Key(), gExplorerNodes().Item(i));
    QSignalSpy removing(&gExplorerNodes(), &ExplorerNodes::NodeRemoving);
    ViewMirror view(gExplorerNodes());

    int status = -1;
    const auto linkSubTest = [](const QString& id, const QString& parent, const QString& order = {}) {
        SubTest subTest;
        subTest.SetId(id);
        return subTest.Link(gExplorerNodes().Find(K(parent)), order);
    };
    const auto linkProcedure = [](const QString& id, const QString& parent, const QString& order = {}) {
        Procedure procedure;
        procedure.SetId(id);
        return procedure.Link(gExplorerNodes().Find(K(parent)), order);
    };
    // The new occurrence in Plan A, and the sibling it must come before (none: last).
    QString added;
    QString follower;
    if (change == "sub-test link under a first-level sub-test") {
        status = linkSubTest("22", shared);  // in both plans
        added = shared + "~20|22|4";
        follower = shared + "~20|30|1$";
    } else if (change == "sub-test link under a deeper sub-test") {
        status = linkSubTest("22", twice);
        added = twice + "~21|22|4";
    } else if (change == "sub-test link with its subtree under a test plan") {
        status = linkSubTest("20", "Eqpt1~10");
        added = "Eqpt1~10~10|20|3";
    } else if (change == "sub-test link at a free order under a test plan") {
        status = linkSubTest("21", "Eqpt1~10", "3");
        added = "Eqpt1~10~10|21|3";
        follower = "Eqpt1~10~10|22|5";
    } else if (change == "procedure link under a deeper sub-test") {
        status = linkProcedure("30", twice);  // at Twice's four places
        added = twice + "~21|30|3$";
        follower = twice + "~21|22|3";
    } else if (change == "procedure link at a free order") {
        status = linkProcedure("31", twice, "3");
        added = twice + "~21|31|3$";
        follower = twice + "~21|30|4$";
    } else if (change == "sub-test move") {
        SubTest other;
        other.SetId("22");
        status = other.Move(gExplorerNodes().Find(K(shared + "~20|22|3")), true);
    } else {
        Procedure boot;
        boot.SetId("31");
        ExplorerNode* node = gExplorerNodes().Find(K(shared + "~20|31|2$"));
        status = change == "procedure move" ? boot.Move(node, true) : boot.UnLink(node);
    }
    QCOMPARE(status, 0);
    const QStringList planA = Dump("Eqpt1~10");
    const QStringList planB = Dump("Eqpt1~11");
    QVERIFY(planA != QStringList());
    QCOMPARE(view.Faults(), QStringList());
    if (link) {
        const ExplorerNode* node = gExplorerNodes().Find(K(added));
        QVERIFY(node);
        QCOMPARE(node->Next() ? node->Next()->Key() : QString(), follower.isEmpty() ? QString() : K(follower));
        QCOMPARE(removing.count(), 0);
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(gExplorerNodes().Find(it.key()) == it.value(), qPrintable(it.key()));
        QVERIFY(gExplorerNodes().Count() > before.size());
    }

    FillExplorer();
    QCOMPARE(planA, Dump("Eqpt1~10"));
    QCOMPARE(planB, Dump("Eqpt1~11"));
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_ItemTree::loadersFillFreshCollections()
{
    OPEN_STORED_TREE(env, db);

    TestPlan plan;
    plan.SetId("10");
    plan.SetKey(K("Eqpt1~10"));
    QCOMPARE(plan.LoadSubTests1(), 0);
    QVERIFY(plan.HasSubTests1());
    QCOMPARE(plan.SubTests1().Count(), 2);
    const auto shared = plan.SubTests1().Item("20|1");
    QCOMPARE(shared->Name(), QString("Shared"));
    QCOMPARE(shared->Title(), QString("Shared title"));
    QCOMPARE(shared->Order(), 1);
    QCOMPARE(shared->Level(), 4);
    QCOMPARE(shared->Key(), K("Eqpt1~10~10|20|1"));
    QCOMPARE(shared->DateCreation(), QDate(2024, 3, 5));

    // A sub-test linked twice under one parent: two occurrences with their own keys.
    QCOMPARE(shared->LoadSubTestChildren(), 0);
    const auto children = shared->SubTestChildren();
    QCOMPARE(children.Count(), 2);
    QCOMPARE(children.Item("21|1")->Key(), K("Eqpt1~10~10|20|1~20|21|1"));
    QCOMPARE(children.Item("21|2")->Key(), K("Eqpt1~10~10|20|1~20|21|2"));
    QCOMPARE(children.Item("21|2")->Level(), 5);

    QCOMPARE(children.Item("21|2")->LoadProcedures(), 0);
    const auto reset = children.Item("21|2")->Procedures().Item("32|2");
    QCOMPARE(reset->Key(), K("Eqpt1~10~10|20|1~20|21|2~21|32|2$"));
    QCOMPARE(reset->WorkLoad(), 0.5f);

    // Loading again replaces the collection: objects from the first load are not in it.
    QCOMPARE(shared->LoadSubTestChildren(), 0);
    QVERIFY(shared->SubTestChildren().Item("21|1") != children.Item("21|1"));

    SubTest twice;
    twice.SetId("21");
    twice.SetLevel(5);
    QCOMPARE(twice.LoadSubTestParents(), 0);
    QVERIFY(twice.HasSubTestParents());
    QCOMPARE(twice.SubTestParents().Count(), 2);
    const auto parent = twice.SubTestParents().Item("20|2");
    QCOMPARE(parent->Name(), QString("Shared"));
    QCOMPARE(parent->Level(), 4);
    QCOMPARE(parent->SubTestChildren().Item("21")->Order(), 2);

    Procedure reset2;
    reset2.SetId("32");
    QCOMPARE(reset2.LoadSubTests(), 0);
    QVERIFY(reset2.HasSubTests());
    QCOMPARE(reset2.SubTests().Count(), 2);
    QCOMPARE(reset2.SubTests().Item("21|2")->Procedures().Item("32")->Order(), 2);
    QCOMPARE(reset2.SubTests().Item("22|1")->Name(), QString("Other"));

    Configuration bench;
    bench.SetId("1");
    QCOMPARE(bench.LoadTestPlans(), 0);
    QVERIFY(bench.HasTestPlans());
    QCOMPARE(bench.TestPlans().Item("11")->Name(), QString("Plan B"));

    QCOMPARE(plan.LoadConfiguration(), 0);
    QCOMPARE(plan.LinkedConfigurations().Item("1")->Name(), QString("Bench"));

    // A holder without links: a fresh empty collection and its flag cleared.
    SubTest other;
    other.SetId("22");
    QCOMPARE(other.LoadProcedures(), 0);
    QVERIFY(other.HasProcedures());
    Insert("DELETE FROM PROCEDURE_LINKS WHERE ID_SUBTEST = ?", {22});
    QCOMPARE(other.LoadProcedures(), 0);
    QVERIFY(!other.HasProcedures());
    QCOMPARE(other.Procedures().Count(), 0);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_ItemTree::keysKeepIdAndOrderApart()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    for (int id : {1, 5, 12})
        Insert("INSERT INTO SUBTEST (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, ?, ?)",
               {id, QString("S%1").arg(id), "t", QDate(2024, 1, 1), QDate(2024, 1, 1)});
    // Id 1 at order 23 and id 12 at order 3 would both read "123".
    Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
           {5, 12, 3});
    Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
           {5, 1, 23});

    SubTest parent;
    parent.SetId("5");
    parent.SetLevel(4);
    QCOMPARE(parent.LoadSubTestChildren(), 0);
    QCOMPARE(parent.SubTestChildren().Count(), 2);
    QCOMPARE(parent.SubTestChildren().Item("1|23")->Name(), QString("S1"));
    QCOMPARE(parent.SubTestChildren().Item("12|3")->Name(), QString("S12"));
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_ItemTree::testPlansOfSubTestByMode()
{
    OPEN_STORED_TREE(env, db);
    RecordingListWindow window;
    // Plan A holds the shared sub-test twice.
    Insert("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (?, ?, ?)", {10, 20, 3});

    SubTest shared;
    shared.SetId("20");
    QCOMPARE(shared.LoadTestPlans(false, false), 0);
    QCOMPARE(shared.TestPlans().Count(), 3);
    QCOMPARE(shared.TestPlans().Item("10|20|3")->SubTests1().Item("20")->Order(), 3);
    QCOMPARE(shared.TestPlans().Item("10|20|3")->IdConfiguration(), QString("1"));

    QCOMPARE(shared.LoadTestPlans(false, true), 0);
    QCOMPARE(shared.TestPlans().Count(), 3);
    QVERIFY(shared.TestPlans().Exist(K("1~10|20|1")));

    QCOMPARE(shared.LoadTestPlans(true, true), 0);
    QVERIFY(shared.HasTestPlans());
    QCOMPARE(shared.TestPlans().Count(), 2);
    QCOMPARE(window.shown.size(), 1);
    const auto rows = window.shown.first();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].text, QString("Plan A"));
    QCOMPARE(rows[0].path, QString("Bench"));
    QCOMPARE(rows[0].icon, 3);
    QCOMPARE(rows[0].tag, K("Eqpt1~10"));
    QCOMPARE(rows[1].tag, K("Eqpt1~11"));
}

void tst_ItemTree::listsRows()
{
    OPEN_STORED_TREE(env, db);
    FillExplorer();
    RecordingListWindow window;
    const QString day = QLocale().toString(QDate(2024, 3, 5), QLocale::ShortFormat);

    // What lies under the selected occurrence of the shared sub-test.
    SetSelectedNode(K("Eqpt1~10~10|20|1"));
    SubTest shared;
    shared.SetId("20");
    shared.SetLevel(4);
    QCOMPARE(shared.LoadSubTestChildren(true), 0);
    QCOMPARE(shared.LoadProcedures(true), 0);
    QCOMPARE(window.shown.size(), 2);
    const ItemList::Row child = window.shown[0][1];
    QCOMPARE(child.text, QString("Twice"));
    QCOMPARE(child.path, QString("Database\\Bench\\Plan A\\Shared"));
    QCOMPARE(child.date, day);
    QCOMPARE(child.icon, 5);
    QCOMPARE(child.tag, K("Eqpt1~10~10|20|1~20|21|2"));
    QVERIFY(gExplorerNodes().Exist(child.tag));
    QCOMPARE(window.shown[1][0].tag, K("Eqpt1~10~10|20|1~20|30|1$"));
    QCOMPARE(window.shown[1][0].icon, 14);

    // Where a sub-test is used: one row per place, up to every plan.
    Procedure reset;
    reset.SetId("32");
    QCOMPARE(reset.LoadSubTests(true), 0);
    QCOMPARE(window.shown.size(), 3);
    QStringList places;
    for (const ItemList::Row& row : window.shown[2]) {
        places << row.path;
        QVERIFY2(gExplorerNodes().Exist(row.tag), qPrintable(row.tag));
        QCOMPARE(row.icon, gExplorerNodes().Find(row.tag)->Image());
    }
    places.sort();
    QCOMPARE(places, QStringList({"Bench\\Plan A", "Bench\\Plan A\\Shared", "Bench\\Plan A\\Shared",
                                  "Bench\\Plan B\\Shared", "Bench\\Plan B\\Shared"}));

    // An empty list is still shown.
    SubTest other;
    other.SetId("22");
    QCOMPARE(other.LoadSubTestChildren(true), 0);
    QCOMPARE(window.shown.size(), 4);
    QVERIFY(window.shown[3].isEmpty());
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_ItemTree::authorFollowsUserManagement()
{
    OPEN_STORED_TREE(env, db);
    Insert("INSERT INTO USERS (ID, NAME, CATEGORY) VALUES (?, ?, ?)", {7, "ann", 3});
    Insert("UPDATE PROCEDURES SET ID_USER = ? WHERE ID = ?", {7, 31});

    SubTest twice;
    twice.SetId("21");
    QCOMPARE(twice.LoadProcedures(), 0);
    QCOMPARE(twice.Procedures().Item("31|1")->IdAuthor(), QString());
    gUserManagement = true;
    QCOMPARE(twice.LoadProcedures(), 0);
    QCOMPARE(twice.Procedures().Item("31|1")->IdAuthor(), QString("7"));
    QCOMPARE(twice.Procedures().Item("31|1")->Author(), QString("ann"));
    QCOMPARE(twice.Procedures().Item("32|2")->IdAuthor(), QString("0"));
}

void tst_ItemTree::nullColumnsDoNotHideLaterRows()
{
    OPEN_STORED_TREE(env, db);
    Insert("UPDATE PROCEDURES SET WORKLOAD = NULL, TITLE = NULL, DATE_UPDATE = NULL WHERE ID = ?", {31});

    SubTest twice;
    twice.SetId("21");
    QCOMPARE(twice.LoadProcedures(), 0);
    QCOMPARE(twice.Procedures().Count(), 2);
    QCOMPARE(twice.Procedures().Item("31|1")->WorkLoad(), 0.0f);
    QCOMPARE(twice.Procedures().Item("31|1")->Title(), QString());
    QCOMPARE(twice.WorkLoad(), 0.5f);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_ItemTree::failedQueryKeepsCollectionAndLogs()
{
    TestEnvironment env;
    TestDatabase db("sqlite");
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    Build();
    SubTest twice;
    twice.SetId("21");
    QCOMPARE(twice.LoadProcedures(), 0);
    Insert("DROP TABLE PROCEDURE_LINKS", {});
    QCOMPARE(twice.LoadProcedures(), 1);
    QCOMPARE(twice.Procedures().Count(), 2);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_LoadProcedures SubTest : "));
}

void tst_ItemTree::failedReadEndsRefillLoggedOnce()
{
    TestEnvironment env;
    TestDatabase db("sqlite");
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    Build();
    FillExplorer();
    Insert("DROP TABLE PROCEDURE_LINKS", {});

    // The link is stored; redrawing the two occurrences of Shared fails at its first read.
    SubTest other;
    other.SetId("22");
    QCOMPARE(other.Link(gExplorerNodes().Find(K("Eqpt1~10~10|20|1"))), 0);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_Link SubTest : "));
}

void tst_ItemTree::runawayBranchRefusedOnce_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("cycle");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::newRow(qPrintable(backend + " eleven-level chain")) << backend << false;
        QTest::newRow(qPrintable(backend + " two-node cycle")) << backend << true;
    }
}

void tst_ItemTree::runawayBranchRefusedOnce()
{
    QFETCH(bool, cycle);
    OPEN_STORED_TREE(env, db);
    FillExplorer();
    const QStringList planA = Dump("Eqpt1~10");
    const QStringList planB = Dump("Eqpt1~11");

    // Plan 12 "Deep": sub-tests 101 to 111 each holding the next, or 101 holding 102 which holds
    // 101 twice, so the cycle reaches the deepest level along many paths; every one holds
    // procedure Power. Only foreign data nests them so: the links go in raw.
    const QDate day(2024, 3, 5);
    Insert(
        "INSERT INTO TESTPLAN (ID, NAME, TITLE, ID_CONFIGURATION, DATE_CREATION, DATE_UPDATE) "
        "VALUES (12, 'Deep', 'Deep', 1, ?, ?)",
        {day, day});
    Insert("INSERT INTO CONFIGURATION_LINKS (ID_TESTPLAN, ID_CONFIGURATION) VALUES (?, ?)", {12, 1});
    const int last = cycle ? 102 : 111;
    for (int id = 101; id <= last; ++id)
        Insert("INSERT INTO SUBTEST (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, ?, ?)",
               {id, QString("S%1").arg(id), "t", day, day});
    Insert("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (?, ?, ?)", {12, 101, 1});
    for (int id = 101; id <= last; ++id) {
        Insert("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (?, ?, ?)", {id, 30, 1});
        if (id < last)
            Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
                   {id, id + 1, 1});
    }
    for (int order = 1; cycle && order <= 2; ++order)
        Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
               {102, 101, order});

    FillPlans({{"10", "Plan A"}, {"12", "Deep"}, {"11", "Plan B"}});
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_tvTestPlan_AddSubTest : "));
    QVERIFY(env.BugLog().contains("more than 10 levels deep below \"S" + QString::number(cycle ? 102 : 110) + "\""));
    // The plans before and after are whole.
    QCOMPARE(Dump("Eqpt1~10"), planA);
    QCOMPARE(Dump("Eqpt1~11"), planB);

    // The refused branch shows its ten levels, each occurrence with its procedure; nothing deeper.
    // The cycle doubles its paths at every 101 below the first: 1, 1, 2, 2, ... 16, 16 occurrences.
    QMap<int, int> perLevel;
    QMap<int, QString> idAt;
    int procedures = 0;
    for (const QString& line : Dump("Eqpt1~12")) {
        const QStringList fields = line.split(' ');
        const int image = fields.last().toInt();
        if (image == 14) {
            ++procedures;
            continue;
        }
        ++perLevel[image];
        idAt[image] = fields[1].section('|', 1, 1);
    }
    QCOMPARE(perLevel.keys(), QList<int>({4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    int occurrences = 0;
    for (int image = 4; image <= 13; ++image) {
        const int expected = cycle ? 1 << ((image - 4) / 2) : 1;
        QCOMPARE(perLevel[image], expected);
        QCOMPARE(idAt[image], QString::number(cycle ? 101 + (image - 4) % 2 : 101 + image - 4));
        occurrences += expected;
    }
    QCOMPARE(procedures, occurrences);

    // The work load ends on the cycle too.
    SubTest top;
    top.SetId("101");
    top.SetLevel(4);
    QVERIFY(top.WorkLoad() > 0);
}

QTEST_GUILESS_MAIN(tst_ItemTree)
#include "tst_ItemTree.moc"
