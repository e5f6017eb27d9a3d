#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "TreeFixture.h"

#include "core/db/AdoConnection.h"
#include "core/services/ExplorerNodes.h"
#include "model/ExplorerFill.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"

#include <QtTest>

using namespace TreeFixture;

// Linking sub-tests, procedures and plans into the stored tree and the explorer, the links that
// are refused, and the work load summed over the occurrences.
class tst_Linking : public QObject
{
    Q_OBJECT

private:
    static int Rows(const QString& table) { return gConnection().Scalar("SELECT COUNT(*) FROM " + table).toInt(); }
    static ExplorerNode* Node(const QString& key) { return gExplorerNodes().Find(K(key)); }
    static QString NewSubTest()
    {
        SubTest subTest;
        return subTest.Create() == 0 ? subTest.Id() : QString();
    }

private slots:
    void cleanup() { gExplorerNodes().Clear(); }

    void subTestAppendsUnderEveryOccurrence_data() { TestDatabase::AddBackendRows(); }
    void subTestAppendsUnderEveryOccurrence();
    void givenOrderTakenWhenFree_data();
    void givenOrderTakenWhenFree();
    void procedureShowsUnderEveryOccurrence_data() { TestDatabase::AddBackendRows(); }
    void procedureShowsUnderEveryOccurrence();
    void cycleRefused_data();
    void cycleRefused();
    void eleventhLevelRefused_data() { TestDatabase::AddBackendRows(); }
    void eleventhLevelRefused();
    void testPlanLinkAddsSubtreeOnce_data() { TestDatabase::AddBackendRows(); }
    void testPlanLinkAddsSubtreeOnce();
    void unreadPlanReadsLinkWhenOpened_data() { TestDatabase::AddBackendRows(); }
    void unreadPlanReadsLinkWhenOpened();
    void linkInsideCallersTransaction_data() { TestDatabase::AddBackendRows(); }
    void linkInsideCallersTransaction();
    void storedLinkReportedDoneWhenExplorerFails_data() { TestDatabase::AddBackendRows(); }
    void storedLinkReportedDoneWhenExplorerFails();
    void workLoadSumsOccurrences_data() { TestDatabase::AddBackendRows(); }
    void workLoadSumsOccurrences();
};

void tst_Linking::subTestAppendsUnderEveryOccurrence()
{
    OPEN_STORED_TREE(env, db);
    FillExplorer();

    // Under an empty parent the first link gets 1, the next 2.
    SubTest other;
    other.SetId("22");
    SubTest fresh;
    fresh.SetId(NewSubTest());
    QCOMPARE(fresh.Link(Node("Eqpt1~10~10|22|2")), 0);
    QCOMPARE(fresh.Order(), 1);
    QCOMPARE(fresh.Key(), K("Eqpt1~10~10|22|2~22|" + fresh.Id() + "|1"));
    QCOMPARE(fresh.Link(Node("Eqpt1~10~10|22|2")), 0);
    QCOMPARE(fresh.Order(), 2);
    QCOMPARE(gConnection().Scalar("SELECT COUNT(*) FROM SUBTEST_LINKS WHERE ID_SUBTEST_PARENT = 22").toInt(), 2);
    QVERIFY(Node("Eqpt1~10~10|22|2~22|" + fresh.Id() + "|2"));

    // Under the shared sub-test: shown under both plans, at the next order.
    QCOMPARE(other.Link(Node("Eqpt1~11~11|20|1")), 0);
    QCOMPARE(other.Order(), 3);
    for (const QString plan : {"Eqpt1~10~10|20|1", "Eqpt1~11~11|20|1"}) {
        ExplorerNode* added = Node(plan + "~20|22|3");
        QVERIFY(added);
        QCOMPARE(added->Tag(), QString("20|22|3"));
        QCOMPARE(added->Image(), 5);
        QCOMPARE(added->Text(), QString("Other"));
        // Shown with its own subtree, after the other sub-tests and, this being a first-level
        // sub-test, before its procedure.
        QVERIFY(Node(plan + "~20|22|3~22|32|1$"));
        const std::vector<ExplorerNode*>& children = Node(plan)->ChildNodes();
        QCOMPARE(children.size(), size_t(4));
        QCOMPARE(children[2], added);
        QCOMPARE(children[3]->Key(), K(plan + "~20|30|1$"));
    }

    // Twice under the same plan: two links and two nodes.
    QCOMPARE(other.Link(Node("Eqpt1~11")), 0);
    QCOMPARE(other.Order(), 2);
    QCOMPARE(other.Link(Node("Eqpt1~11")), 0);
    QCOMPARE(other.Order(), 3);
    QVERIFY(Node("Eqpt1~11~11|22|2"));
    QVERIFY(Node("Eqpt1~11~11|22|3"));
    QCOMPARE(Node("Eqpt1~11~11|22|3")->Image(), 4);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_Linking::givenOrderTakenWhenFree_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("subTest");
    QTest::addColumn<QString>("given");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("links");
    for (const QString& backend : TestDatabase::Backends()) {
        const QByteArray b = backend.toUtf8();
        // Twice (21) holds orders 1 and 2 under Shared.
        QTest::newRow(b + " free order") << backend << "22"
                                         << "7" << 7 << 3;
        QTest::newRow(b + " order held by another sub-test") << backend << "22"
                                                             << "1" << 3 << 3;
        QTest::newRow(b + " same link already there") << backend << "21"
                                                      << "2" << 2 << 2;
    }
}

void tst_Linking::givenOrderTakenWhenFree()
{
    QFETCH(QString, subTest);
    QFETCH(QString, given);
    QFETCH(int, stored);
    QFETCH(int, links);
    OPEN_STORED_TREE(env, db);
    FillExplorer();

    SubTest item;
    item.SetId(subTest);
    QCOMPARE(item.Link(Node("Eqpt1~10~10|20|1"), given), 0);
    QCOMPARE(item.Order(), stored);
    const QString link = "~20|" + subTest + "|" + QString::number(stored);
    QCOMPARE(item.Key(), K("Eqpt1~10~10|20|1" + link));
    QCOMPARE(Rows("SUBTEST_LINKS"), links);
    QCOMPARE(gConnection()
                 .Scalar("SELECT COUNT(*) FROM SUBTEST_LINKS WHERE ID_SUBTEST_CHILD = ? AND ORDER_SUBTEST = ?",
                         {subTest.toInt(), stored})
                 .toInt(),
             1);
    QVERIFY(Node("Eqpt1~10~10|20|1" + link));
    QVERIFY(Node("Eqpt1~11~11|20|1" + link));

    // Procedures follow the same rule.
    Procedure power;
    power.SetId("30");
    QCOMPARE(power.Link(Node("Eqpt1~10~10|22|2"), "1"), 0);
    QCOMPARE(power.Order(), 2);
    QCOMPARE(power.Key(), K("Eqpt1~10~10|22|2~22|30|2$"));
    QCOMPARE(power.Link(Node("Eqpt1~10~10|22|2"), "2"), 0);
    QCOMPARE(power.Order(), 2);
    QCOMPARE(Rows("PROCEDURE_LINKS"), 5);
    QCOMPARE(power.Link(Node("Eqpt1~10~10|22|2"), "x"), 1);
    QCOMPARE(Rows("PROCEDURE_LINKS"), 5);
    QCOMPARE(env.BugLogEntries(), 1);
}

void tst_Linking::procedureShowsUnderEveryOccurrence()
{
    OPEN_STORED_TREE(env, db);
    FillExplorer();
    const int before = gExplorerNodes().Count();

    Procedure power;
    power.SetId("30");
    QCOMPARE(power.Link(Node("Eqpt1~10~10|20|1~20|21|2")), 0);
    QCOMPARE(power.Order(), 3);
    QCOMPARE(power.Key(), K("Eqpt1~10~10|20|1~20|21|2~21|30|3$"));
    // Twice shows four times: at orders 1 and 2 under Shared, which shows under both plans.
    QCOMPARE(gExplorerNodes().Count(), before + 4);
    for (const QString place : {"Eqpt1~10~10|20|1~20|21|1", "Eqpt1~10~10|20|1~20|21|2", "Eqpt1~11~11|20|1~20|21|1",
                                "Eqpt1~11~11|20|1~20|21|2"}) {
        ExplorerNode* added = Node(place + "~21|30|3$");
        QVERIFY(added);
        QCOMPARE(added->Text(), QString("Power"));
        QCOMPARE(added->Tag(), QString("21|30|3"));
        QCOMPARE(added->Image(), 14);
    }

    // A sub-test shown at two depths gets the node at both.
    QCOMPARE(power.Link(Node("Eqpt1~10~10|22|2")), 0);
    SubTest other;
    other.SetId("22");
    QCOMPARE(other.Link(Node("Eqpt1~11~11|20|1")), 0);
    const int count = gExplorerNodes().Count();
    Procedure boot;
    boot.SetId("31");
    QCOMPARE(boot.Link(Node("Eqpt1~10~10|22|2")), 0);
    QCOMPARE(gExplorerNodes().Count(), count + 3);
    QVERIFY(Node("Eqpt1~11~11|20|1~20|22|3~22|31|3$"));
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_Linking::cycleRefused_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("subTest");
    QTest::addColumn<QString>("parentNode");
    for (const QString& backend : TestDatabase::Backends()) {
        const QByteArray b = backend.toUtf8();
        QTest::newRow(b + " under itself") << backend << "20"
                                           << "Eqpt1~10~10|20|1";
        QTest::newRow(b + " under its child") << backend << "20"
                                              << "Eqpt1~10~10|20|1~20|21|2";
        QTest::newRow(b + " under itself as a child") << backend << "21"
                                                      << "Eqpt1~10~10|20|1~20|21|1";
    }
}

void tst_Linking::cycleRefused()
{
    QFETCH(QString, subTest);
    QFETCH(QString, parentNode);
    OPEN_STORED_TREE(env, db);
    FillExplorer();
    const QStringList before = Dump("Root");

    SubTest item;
    item.SetId(subTest);
    item.SetOrder(9);
    QCOMPARE(item.Link(Node(parentNode)), 1);
    QCOMPARE(Rows("SUBTEST_LINKS"), 2);
    QCOMPARE(Dump("Root"), before);
    QCOMPARE(item.Order(), 9);
    QVERIFY(env.BugLog().contains("Error_Link SubTest : "));
    QVERIFY(env.BugLog().contains("under itself or under one of its own sub-tests"));
}

void tst_Linking::eleventhLevelRefused()
{
    OPEN_STORED_TREE(env, db);
    FillExplorer();

    // A chain of ten levels under Plan B, each linked under the last.
    QString key = K("Eqpt1~11");
    QStringList chain;
    for (int level = 1; level <= 10; ++level) {
        SubTest next;
        next.SetId(NewSubTest());
        QCOMPARE(next.Link(gExplorerNodes().Find(key)), 0);
        key = next.Key();
        chain << next.Id();
        QCOMPARE(gExplorerNodes().Find(key)->Image(), 3 + level);
    }
    const int links = Rows("SUBTEST_LINKS") + Rows("TESTPLAN_LINKS");
    const QStringList before = Dump("Root");

    SubTest eleventh;
    eleventh.SetId(NewSubTest());
    QCOMPARE(eleventh.Link(gExplorerNodes().Find(key)), 1);
    // A sub-test with one level below it cannot go at level ten either.
    SubTest shared;
    shared.SetId("20");
    QCOMPARE(shared.Link(gExplorerNodes().Find(key)->Parent()), 1);
    QCOMPARE(Rows("SUBTEST_LINKS") + Rows("TESTPLAN_LINKS"), links);
    QCOMPARE(Dump("Root"), before);
    QCOMPARE(env.BugLogEntries(), 2);
    QVERIFY(env.BugLog().contains("more than 10 levels deep"));

    // The depth counts where the parent lies deepest, not only the node it was dropped on: the
    // tenth sub-test of the chain, also linked directly under Plan A, still lies ten levels deep.
    SubTest tenth;
    tenth.SetId(chain.last());
    QCOMPARE(tenth.Link(Node("Eqpt1~10")), 0);
    QCOMPARE(gExplorerNodes().Find(tenth.Key())->Image(), 4);
    SubTest below;
    below.SetId(NewSubTest());
    QCOMPARE(below.Link(gExplorerNodes().Find(tenth.Key())), 1);
}

void tst_Linking::testPlanLinkAddsSubtreeOnce()
{
    OPEN_STORED_TREE(env, db);
    FillExplorer();
    Insert("INSERT INTO CONFIGURATION (ID, NAME) VALUES (?, ?)", {2, "Rig"});
    gExplorerNodes().Add("Root", "Eqpt2", "Rig", 2)->SetTag("2");

    TestPlan plan;
    QVERIFY(plan.Find("10") == 0);
    QCOMPARE(plan.Link(Node("Eqpt2")), 0);
    QCOMPARE(Node("Eqpt2~10")->Text(), QString("Plan A"));
    QCOMPARE(Node("Eqpt2~10")->Tag(), QString("10"));
    QStringList expected;
    for (QString line : Dump("Eqpt1~10"))
        expected << line.replace("Eqpt1~", "Eqpt2~");
    QCOMPARE(Dump("Eqpt2~10"), expected);

    const int nodes = gExplorerNodes().Count();
    QCOMPARE(plan.Link(Node("Eqpt2")), 0);
    QCOMPARE(gExplorerNodes().Count(), nodes);
    QCOMPARE(Rows("CONFIGURATION_LINKS"), 3);
    QCOMPARE(env.BugLogEntries(), 0);
}

// A plan the explorer has not read yet gains no nodes from a link; it shows the link, once, when
// it is read.
void tst_Linking::unreadPlanReadsLinkWhenOpened()
{
    OPEN_STORED_TREE(env, db);
    FillPlans({{"10", "Plan A"}});
    ExplorerNode* planB = gExplorerNodes().Add("Eqpt1", K("Eqpt1~11"), "Plan B", 3);
    planB->SetTag("11");
    planB->SetFilled(false);

    SubTest other;
    other.SetId("22");
    QCOMPARE(other.Link(Node("Eqpt1~10~10|20|1")), 0);  // Shared, in Plan B as well
    QVERIFY(Node("Eqpt1~10~10|20|1~20|22|3"));
    QCOMPARE(other.Link(planB), 0);
    QCOMPARE(planB->Children(), 0);
    QVERIFY(!planB->Filled());

    TestPlan plan;
    plan.SetId("11");
    ExplorerFill::AddTestPlanSubTests(planB->Key(), plan);
    const QStringList shown = Dump("Eqpt1~11");
    FillExplorer();
    QCOMPARE(shown, Dump("Eqpt1~11"));
    QVERIFY(shown.contains("Eqpt1~11~11|22|2 11|22|2 Other 4"));
    QVERIFY(shown.contains("Eqpt1~11~11|20|1~20|22|3 20|22|3 Other 5"));
    QCOMPARE(env.BugLogEntries(), 0);
}

// A link that is already in place changes nothing, and leaves the caller's transaction able to
// commit its own work.
void tst_Linking::linkInsideCallersTransaction()
{
    OPEN_STORED_TREE(env, db);
    FillExplorer();
    AdoConnection& connection = gConnection();
    QVERIFY(connection.BeginTrans());
    Procedure reset;
    reset.SetId("32");
    QCOMPARE(reset.Link(Node("Eqpt1~10~10|22|2"), "1"), 0);
    QCOMPARE(reset.Order(), 1);
    Insert("INSERT INTO CONFIGURATION (ID, NAME) VALUES (?, ?)", {2, "Rig"});
    QVERIFY(connection.CommitTrans());
    QCOMPARE(Rows("CONFIGURATION"), 2);
    QCOMPARE(Rows("PROCEDURE_LINKS"), 4);
    QCOMPARE(env.BugLogEntries(), 0);
}

// Once the link is stored, a failure to show it in the explorer is logged but not reported: the
// caller would otherwise try again and link the item twice.
void tst_Linking::storedLinkReportedDoneWhenExplorerFails()
{
    OPEN_STORED_TREE(env, db);
    FillExplorer();
    Insert("INSERT INTO CONFIGURATION (ID, NAME) VALUES (?, ?)", {2, "Rig"});
    gExplorerNodes().Add("Root", "Eqpt2", "Rig", 2)->SetTag("2");
    // A node left over from an earlier view stands where the new one goes.
    gExplorerNodes().Add("Eqpt2", K("Eqpt2~10"), "stale", 3);

    TestPlan plan;
    QVERIFY(plan.Find("10") == 0);
    QCOMPARE(plan.Link(Node("Eqpt2")), 0);
    QCOMPARE(gConnection().Scalar("SELECT COUNT(*) FROM CONFIGURATION_LINKS WHERE ID_CONFIGURATION = 2").toInt(), 1);
    QCOMPARE(env.BugLogEntries(), 1);
    QCOMPARE(env.BugLog().count("Error_Link Testplan : "), 1);
    QCOMPARE(plan.Link(Node("Eqpt2")), 0);
    QCOMPARE(gConnection().Scalar("SELECT COUNT(*) FROM CONFIGURATION_LINKS WHERE ID_CONFIGURATION = 2").toInt(), 1);
}

void tst_Linking::workLoadSumsOccurrences()
{
    OPEN_STORED_TREE(env, db);

    SubTest shared;
    shared.SetId("20");
    shared.SetKey(K("Eqpt1~10~10|20|1"));
    shared.SetLevel(4);
    // 2 here, and 1.5 + 0.5 under each of the two occurrences of Twice.
    QCOMPARE(shared.WorkLoad(), 6.0f);
    QCOMPARE(shared.SubTestChildren().Count(), 2);
    QCOMPARE(shared.SubTestChildren().Item("21|2")->Procedures().Item("32|2")->Key(),
             K("Eqpt1~10~10|20|1~20|21|2~21|32|2$"));

    // A procedure linked twice under one sub-test counts twice; one of work load 0 adds nothing.
    Insert("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (?, ?, ?)", {22, 32, 2});
    Insert("INSERT INTO PROCEDURES (ID, NAME, TITLE, WORKLOAD, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, ?, ?, ?)",
           {33, "Idle", "Idle", 0.0, QDate(2024, 1, 1), QDate(2024, 1, 1)});
    Insert("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (?, ?, ?)", {22, 33, 3});
    SubTest other;
    other.SetId("22");
    QCOMPARE(other.WorkLoad(), 1.0f);

    // A sub-test without procedures or children.
    SubTest empty;
    empty.SetId(NewSubTest());
    QCOMPARE(empty.WorkLoad(), 0.0f);

    // Finding a sub-test takes its work load.
    SubTest found;
    QCOMPARE(found.Find("20"), 0);
    QCOMPARE(found.WorkLoad(), 6.0f);
    QVERIFY(found.HasSubTestChildren());
    QCOMPARE(env.BugLogEntries(), 0);
}

QTEST_GUILESS_MAIN(tst_Linking)
#include "tst_Linking.moc"
