#include "RecordingListWindow.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "TreeFixture.h"

#include "core/db/AdoConnection.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/SelectedNode.h"
#include "model/Configuration.h"
#include "model/ExplorerFill.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/Globals.h"

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
    void deepStoredChainStopsAtTenLevels_data() { TestDatabase::AddBackendRows(); }
    void deepStoredChainStopsAtTenLevels();
};

void tst_ItemTree::fillsExplorerInTreeOrder()
{
    OPEN_STORED_TREE(env, db);

    FillExplorer();
    const QStringList twice = {"~21|31|1$ 21|31|1 Boot 14", "~21|32|2$ 21|32|2 Reset 14"};
    QStringList expected{"Eqpt1~10~10|20|1 10|20|1 Shared 4", "Eqpt1~10~10|20|1~20|30|1$ 20|30|1 Power 14",
                         "Eqpt1~10~10|20|1~20|21|1 20|21|1 Twice 5"};
    for (const QString& line : twice)
        expected << "Eqpt1~10~10|20|1~20|21|1" + line;
    expected << "Eqpt1~10~10|20|1~20|21|2 20|21|2 Twice 5";
    for (const QString& line : twice)
        expected << "Eqpt1~10~10|20|1~20|21|2" + line;
    expected << "Eqpt1~10~10|22|2 10|22|2 Other 4"
             << "Eqpt1~10~10|22|2~22|32|1$ 22|32|1 Reset 14";
    QCOMPARE(Dump("Eqpt1~10"), expected);

    // The shared sub-test shows the same subtree under the second plan, with that plan's keys.
    QStringList planB;
    for (const QString& line : expected.mid(0, 8))
        planB << QString(line).replace("Eqpt1~10~10|", "Eqpt1~11~11|").replace(" 10|20|1 ", " 11|20|1 ");
    QCOMPARE(Dump("Eqpt1~11"), planB);

    // The explorer's own procedures fill one node the same way.
    gExplorerNodes().Add("Root", "X", "Loose", 4)->SetTag("0|20|1");
    SubTest shared;
    shared.SetId("20");
    tvTestPlan_AddProcedure("X", shared);
    tvTestPlan_AddSubTest("X", shared);
    QCOMPARE(Dump("X").size(), 7);
    QCOMPARE(Dump("X").first(), QString("X~20|30|1$ 20|30|1 Power 14"));
    QCOMPARE(shared.Key(), QString("X"));
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
    QCOMPARE(places,
             QStringList({"Bench\\Plan A\\Other", "Bench\\Plan A\\Shared\\Twice", "Bench\\Plan A\\Shared\\Twice",
                          "Bench\\Plan B\\Shared\\Twice", "Bench\\Plan B\\Shared\\Twice"}));

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

void tst_ItemTree::deepStoredChainStopsAtTenLevels()
{
    OPEN_STORED_TREE(env, db);
    // A cycle stored by an older version: Twice holds Shared, which holds Twice.
    Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
           {21, 20, 3});

    FillExplorer();
    int deepest = 0;
    for (int i = 1; i <= gExplorerNodes().Count(); ++i)
        deepest = qMax(deepest, gExplorerNodes().Item(i)->Image() == 14 ? 0 : gExplorerNodes().Item(i)->Image());
    QCOMPARE(deepest, 13);
    QVERIFY(env.BugLog().contains("Error_LoadSubTestChildren SubTest : "));

    SubTest shared;
    shared.SetId("20");
    shared.SetKey(K("Eqpt1~10~10|20|1"));
    shared.SetLevel(4);
    QVERIFY(shared.WorkLoad() > 0);  // ends, with the cycle cut
}

QTEST_GUILESS_MAIN(tst_ItemTree)
#include "tst_ItemTree.moc"
