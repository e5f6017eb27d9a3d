#include "ModelFixture.h"
#include "OrderFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/Configuration.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"

#include <QDate>
#include <QtTest>

using namespace OrderFixture;

#define OPEN_ORDER_TREE(env, db) \
    QFETCH(QString, backend);    \
    TestEnvironment env;         \
    TestDatabase db(backend);    \
    KORAVEL_REQUIRE_BACKEND(db); \
    OrderFixture::Build();       \
    OrderFixture::FillExplorer()

// Moving and unlinking occurrences, and the deletes that follow a last link: link rows and result
// keys before and after, on each back end.
class tst_MoveUnlink : public QObject
{
    Q_OBJECT

private:
    static ExplorerNode* Node(const QString& key) { return gExplorerNodes().Find(K(key)); }
    static QStringList Under(const QString& parentKey)
    {
        QStringList keys;
        if (const ExplorerNode* parent = Node(parentKey))
            for (const ExplorerNode* child : parent->ChildNodes())
                keys << Readable(child->Key());
        return keys;
    }
    // The days an action of the test ran on: today, or yesterday when midnight passed since.
    static QString RecentDays()
    {
        const QDate today = QDate::currentDate();
        return "('" + today.addDays(-1).toString(Qt::ISODate) + "', '" + today.toString(Qt::ISODate) + "')";
    }

private slots:
    void cleanup() { gExplorerNodes().Clear(); }

    void moveSecondOfThreeUp_data() { TestDatabase::AddBackendRows(); }
    void moveSecondOfThreeUp();
    void moveProcedureLinkedTwice_data() { TestDatabase::AddBackendRows(); }
    void moveProcedureLinkedTwice();
    void keysThatMeetStoredKeys_data() { TestDatabase::AddBackendRows(); }
    void keysThatMeetStoredKeys();
    void renumberFromOrderZero_data() { TestDatabase::AddBackendRows(); }
    void renumberFromOrderZero();
    void unlinkMiddleOfThree_data() { TestDatabase::AddBackendRows(); }
    void unlinkMiddleOfThree();
    void lastUnlinkCascades_data() { TestDatabase::AddBackendRows(); }
    void lastUnlinkCascades();
    void unlinkProcedureLinkedTwice_data() { TestDatabase::AddBackendRows(); }
    void unlinkProcedureLinkedTwice();
    void testPlanGoesWithItsLastConfiguration_data() { TestDatabase::AddBackendRows(); }
    void testPlanGoesWithItsLastConfiguration();
    void configurationDeleteTakesEverythingBelow_data() { TestDatabase::AddBackendRows(); }
    void configurationDeleteTakesEverythingBelow();
    void failureLeavesDatabaseAsItWas_data();
    void failureLeavesDatabaseAsItWas();
};

void tst_MoveUnlink::moveSecondOfThreeUp()
{
    OPEN_ORDER_TREE(env, db);
    QCOMPARE(Links("SUBTEST_LINKS"), QStringList({"20|21|1", "20|22|2", "20|23|3", "23|24|1"}));

    SubTest subTest;
    subTest.SetKey(K("Eqpt1~10~10|20|1~20|22|2"));
    QCOMPARE(subTest.Move(Node("Eqpt1~10~10|20|1~20|22|2"), true), 0);

    QCOMPARE(Links("SUBTEST_LINKS"), QStringList({"20|21|2", "20|22|1", "20|23|3", "23|24|1"}));
    // The first two swap their keys; the third and the plan whose id is also 20 keep theirs.
    QCOMPARE(Keys(), QStringList({"Eqpt1~10~10|20|1~20|21|2~21|31|1$", "Eqpt1~10~10|20|1~20|21|2~21|31|3$",
                                  "Eqpt1~10~10|20|1~20|21|2~21|35|2$", "Eqpt1~10~10|20|1~20|22|1~22|32|1$",
                                  "Eqpt1~10~10|20|1~20|23|3~23|24|1~24|34|1$", "Eqpt1~10~10|20|1~20|23|3~23|33|1$",
                                  "Eqpt1~10~10|20|1~20|23|3~23|35|2$", "Eqpt1~20~20|21|1~21|31|1$",
                                  "Eqpt1~20~20|22|2~22|32|1$", "Eqpt1~20~20|25|3~25|36|1$"}));
    QCOMPARE(Links("TESTPLAN_LINKS"), QStringList({"10|20|1", "20|21|1", "20|22|2", "20|25|3"}));
    QCOMPARE(subTest.Key(), K("Eqpt1~10~10|20|1~20|22|1"));
    QCOMPARE(Under("Eqpt1~10~10|20|1"),
             QStringList({"Eqpt1~10~10|20|1~20|22|1", "Eqpt1~10~10|20|1~20|21|2", "Eqpt1~10~10|20|1~20|23|3"}));
    QCOMPARE(Node("Eqpt1~10~10|20|1~20|22|1")->Tag(), QString("20|22|1"));

    // The first has nothing above it: nothing changes.
    const QStringList before = Snapshot();
    QCOMPARE(subTest.Move(Node("Eqpt1~10~10|20|1~20|22|1"), true), 0);
    QCOMPARE(Snapshot(), before);
}

void tst_MoveUnlink::moveProcedureLinkedTwice()
{
    OPEN_ORDER_TREE(env, db);
    // Procedure 31 at 3 goes above 35; sub-test 21 shows under both plans, and both follow.
    Procedure procedure;
    procedure.SetKey(K("Eqpt1~20~20|21|1~21|31|3$"));
    QCOMPARE(procedure.Move(Node("Eqpt1~20~20|21|1~21|31|3$"), true), 0);

    QCOMPARE(Links("PROCEDURE_LINKS"),
             QStringList({"21|31|1", "21|31|2", "21|35|3", "22|32|1", "23|33|1", "23|35|2", "24|34|1", "25|36|1"}));
    const QStringList keys = Keys();
    QVERIFY(keys.contains("Eqpt1~10~10|20|1~20|21|1~21|31|2$"));
    QVERIFY(keys.contains("Eqpt1~10~10|20|1~20|21|1~21|35|3$"));
    QVERIFY(keys.contains("Eqpt1~10~10|20|1~20|21|1~21|31|1$"));
    QVERIFY(!keys.contains("Eqpt1~10~10|20|1~20|21|1~21|31|3$"));
    // Procedure 35 at 2 under sub-test 23 is another link.
    QVERIFY(keys.contains("Eqpt1~10~10|20|1~20|23|3~23|35|2$"));
    QCOMPARE(procedure.Key(), K("Eqpt1~20~20|21|1~21|31|2$"));
    for (const QString occurrence : {"Eqpt1~10~10|20|1~20|21|1", "Eqpt1~20~20|21|1"})
        QCOMPARE(Under(occurrence),
                 QStringList({occurrence + "~21|31|1$", occurrence + "~21|31|2$", occurrence + "~21|35|3$"}));
}

// A new key can be another result's old key (one procedure linked twice side by side swaps its
// two occurrences) or the key of a stale result that no link holds: neither blocks the rewrite.
void tst_MoveUnlink::keysThatMeetStoredKeys()
{
    OPEN_ORDER_TREE(env, db);
    const QString third = "Eqpt1~20~20|21|1~21|31|3$";
    const QString fourth = "Eqpt1~20~20|21|1~21|31|4$";
    ModelFixture::Run("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (21, 31, 4)");
    ModelFixture::Run(
        "INSERT INTO RESULT (ID_PROCEDURE, KEY_NODE, STATUS, ID_TESTPLAN, ITERATION) VALUES "
        "(31, ?, 1, 20, 1), (31, ?, 3, 20, 1)",
        {K(third), K(fourth)});
    gExplorerNodes().Clear();
    OrderFixture::FillExplorer();
    const auto status = [](const QString& key) {
        return ModelFixture::Scalar("SELECT STATUS FROM RESULT WHERE KEY_NODE = ?", {K(key)}).toInt();
    };

    Procedure procedure;
    procedure.SetKey(K(fourth));
    QCOMPARE(procedure.Move(Node(fourth), true), 0);
    QCOMPARE(status(third), 3);
    QCOMPARE(status(fourth), 1);

    // A stale result stands where procedure 35 arrives once the first occurrence goes.
    const QString stale = "Eqpt1~20~20|21|1~21|35|1$";
    ModelFixture::Run(
        "INSERT INTO RESULT (ID_PROCEDURE, KEY_NODE, STATUS, ID_TESTPLAN, ITERATION) VALUES "
        "(35, ?, 2, 20, 1), (35, ?, 3, 20, 1)",
        {K(stale), K("Eqpt1~20~20|21|1~21|35|2$")});
    QCOMPARE(procedure.UnLink(Node("Eqpt1~20~20|21|1~21|31|1$")), 0);
    QCOMPARE(status(stale), 3);
    QCOMPARE(status("Eqpt1~20~20|21|1~21|31|2$"), 3);
    QCOMPARE(status("Eqpt1~20~20|21|1~21|31|3$"), 1);
    QVERIFY(!Keys().contains(fourth));
    QCOMPARE(env.BugLogEntries(), 0);
}

// An older version could store order 0. The renumbering that follows an unlink moves the rows
// up by one, here one procedure linked twice, whose two rows must not meet on the way.
void tst_MoveUnlink::renumberFromOrderZero()
{
    OPEN_ORDER_TREE(env, db);
    ModelFixture::Run(
        "INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES "
        "(25, 36, 0), (25, 32, 2)");
    ModelFixture::Run(
        "INSERT INTO RESULT (ID_PROCEDURE, KEY_NODE, STATUS, ID_TESTPLAN, ITERATION) VALUES "
        "(36, ?, 3, 20, 1)",
        {K("Eqpt1~20~20|25|3~25|36|0$")});
    gExplorerNodes().Clear();
    OrderFixture::FillExplorer();

    Procedure procedure;
    QCOMPARE(procedure.UnLink(Node("Eqpt1~20~20|25|3~25|32|2$")), 0);
    QCOMPARE(Rows("SELECT ID_PROCEDURE, ORDER_PROCEDURE FROM PROCEDURE_LINKS WHERE ID_SUBTEST = 25"),
             QStringList({"36 1", "36 2"}));
    QCOMPARE(Rows("SELECT KEY_NODE, STATUS FROM RESULT WHERE ID_PROCEDURE = 36")
                 .replaceInStrings(QString(NodeKey::kSeparator), "~"),
             QStringList({"Eqpt1~20~20|25|3~25|36|1$ 3", "Eqpt1~20~20|25|3~25|36|2$ 0"}));
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_MoveUnlink::unlinkMiddleOfThree()
{
    OPEN_ORDER_TREE(env, db);
    SubTest subTest;
    QCOMPARE(subTest.UnLink(Node("Eqpt1~10~10|20|1~20|22|2")), 0);

    QCOMPARE(Links("SUBTEST_LINKS"), QStringList({"20|21|1", "20|23|2", "23|24|1"}));
    // The removed occurrence's result goes, the third's follow it to 2, and the result of
    // sub-test 22 directly under plan 20 (same step text) stays.
    QCOMPARE(Keys(),
             QStringList({"Eqpt1~10~10|20|1~20|21|1~21|31|1$", "Eqpt1~10~10|20|1~20|21|1~21|31|3$",
                          "Eqpt1~10~10|20|1~20|21|1~21|35|2$", "Eqpt1~10~10|20|1~20|23|2~23|24|1~24|34|1$",
                          "Eqpt1~10~10|20|1~20|23|2~23|33|1$", "Eqpt1~10~10|20|1~20|23|2~23|35|2$",
                          "Eqpt1~20~20|21|1~21|31|1$", "Eqpt1~20~20|22|2~22|32|1$", "Eqpt1~20~20|25|3~25|36|1$"}));
    // Still linked under plan 20: the sub-test and its procedure stay.
    QCOMPARE(Ids("SUBTEST"), QStringList({"20", "21", "22", "23", "24", "25"}));
    QCOMPARE(Ids("PROCEDURES"), QStringList({"31", "32", "33", "34", "35", "36"}));
    QCOMPARE(
        Rows("SELECT ID_TESTPLAN, ID_CONFIGURATION, COUNT_PASSED FROM HISTORY WHERE DATE_UPDATE IN " + RecentDays()),
        QStringList({"10 1 6"}));
    QCOMPARE(Under("Eqpt1~10~10|20|1"), QStringList({"Eqpt1~10~10|20|1~20|21|1", "Eqpt1~10~10|20|1~20|23|2"}));
    QVERIFY(Node("Eqpt1~10~10|20|1~20|23|2~23|24|1~24|34|1$"));
    QVERIFY(Node("Eqpt1~20~20|22|2"));
}

void tst_MoveUnlink::lastUnlinkCascades()
{
    OPEN_ORDER_TREE(env, db);
    SubTest subTest;
    QCOMPARE(subTest.UnLink(Node("Eqpt1~10~10|20|1~20|23|3")), 0);

    // 23 and its own child 24 go with their procedures 33 and 34; 35, also under 21, stays.
    QCOMPARE(Ids("SUBTEST"), QStringList({"20", "21", "22", "25"}));
    QCOMPARE(Ids("PROCEDURES"), QStringList({"31", "32", "35", "36"}));
    QCOMPARE(Links("SUBTEST_LINKS"), QStringList({"20|21|1", "20|22|2"}));
    QCOMPARE(Links("PROCEDURE_LINKS"), QStringList({"21|31|1", "21|31|3", "21|35|2", "22|32|1", "25|36|1"}));
    QCOMPARE(Rows("SELECT ITEM, ID_ITEM FROM IMAGEFILE"), QStringList({"14 35", "2 1", "3 10", "3 20", "4 21"}));
    QCOMPARE(Keys(),
             QStringList({"Eqpt1~10~10|20|1~20|21|1~21|31|1$", "Eqpt1~10~10|20|1~20|21|1~21|31|3$",
                          "Eqpt1~10~10|20|1~20|21|1~21|35|2$", "Eqpt1~10~10|20|1~20|22|2~22|32|1$",
                          "Eqpt1~20~20|21|1~21|31|1$", "Eqpt1~20~20|22|2~22|32|1$", "Eqpt1~20~20|25|3~25|36|1$"}));
    QVERIFY(!Node("Eqpt1~10~10|20|1~20|23|3"));
    QCOMPARE(Under("Eqpt1~10~10|20|1"), QStringList({"Eqpt1~10~10|20|1~20|21|1", "Eqpt1~10~10|20|1~20|22|2"}));

    // DeleteSubTest on a sub-test still linked: its links go too and the parents close up.
    SubTest doomed;
    doomed.SetId("21");
    QCOMPARE(subTest.DeleteSubTest(doomed), 0);
    QCOMPARE(Links("SUBTEST_LINKS"), QStringList({"20|22|1"}));
    QCOMPARE(Links("TESTPLAN_LINKS"), QStringList({"10|20|1", "20|22|1", "20|25|2"}));
    QCOMPARE(Ids("PROCEDURES"), QStringList({"32", "36"}));
    QCOMPARE(Keys(), QStringList({"Eqpt1~10~10|20|1~20|22|1~22|32|1$", "Eqpt1~20~20|22|1~22|32|1$",
                                  "Eqpt1~20~20|25|2~25|36|1$"}));
}

void tst_MoveUnlink::unlinkProcedureLinkedTwice()
{
    OPEN_ORDER_TREE(env, db);
    Procedure procedure;
    QCOMPARE(procedure.UnLink(Node("Eqpt1~10~10|20|1~20|21|1~21|31|1$")), 0);

    QCOMPARE(Links("PROCEDURE_LINKS"),
             QStringList({"21|31|2", "21|35|1", "22|32|1", "23|33|1", "23|35|2", "24|34|1", "25|36|1"}));
    QCOMPARE(Ids("PROCEDURES"), QStringList({"31", "32", "33", "34", "35", "36"}));
    // The link went everywhere the sub-test shows; the later ones follow, wherever they stand.
    QCOMPARE(Keys(), QStringList({"Eqpt1~10~10|20|1~20|21|1~21|31|2$", "Eqpt1~10~10|20|1~20|21|1~21|35|1$",
                                  "Eqpt1~10~10|20|1~20|22|2~22|32|1$", "Eqpt1~10~10|20|1~20|23|3~23|24|1~24|34|1$",
                                  "Eqpt1~10~10|20|1~20|23|3~23|33|1$", "Eqpt1~10~10|20|1~20|23|3~23|35|2$",
                                  "Eqpt1~20~20|22|2~22|32|1$", "Eqpt1~20~20|25|3~25|36|1$"}));
    // Both plans lost a result, so both have today's figures.
    QCOMPARE(Rows("SELECT ID_TESTPLAN FROM HISTORY WHERE DATE_UPDATE IN " + RecentDays()), QStringList({"10", "20"}));
    for (const QString occurrence : {"Eqpt1~10~10|20|1~20|21|1", "Eqpt1~20~20|21|1"})
        QCOMPARE(Under(occurrence), QStringList({occurrence + "~21|35|1$", occurrence + "~21|31|2$"}));

    // The last link of procedure 36 takes the procedure, its pictures and results along.
    QCOMPARE(procedure.UnLink(Node("Eqpt1~20~20|25|3~25|36|1$")), 0);
    QVERIFY(!Ids("PROCEDURES").contains("36"));
    QVERIFY(!Node("Eqpt1~20~20|25|3~25|36|1$"));
}

void tst_MoveUnlink::testPlanGoesWithItsLastConfiguration()
{
    OPEN_ORDER_TREE(env, db);
    ModelFixture::Run("INSERT INTO CONFIGURATION (ID, NAME) VALUES (2, 'Rig')");
    ModelFixture::Run("INSERT INTO CONFIGURATION_LINKS (ID_TESTPLAN, ID_CONFIGURATION) VALUES (20, 2)");
    ModelFixture::Run("INSERT INTO RESULT (ID_PROCEDURE, KEY_NODE, STATUS, ID_TESTPLAN) VALUES (31, ?, 0, 20)",
                      {K("Eqpt2~20~20|21|1~21|31|1$")});

    // From one of two configurations: only that link and the results there go.
    TestPlan plan;
    QCOMPARE(plan.UnLink(Node("Eqpt1~20")), 0);
    QCOMPARE(Ids("TESTPLAN"), QStringList({"10", "20"}));
    QCOMPARE(Rows("SELECT ID_TESTPLAN, ID_CONFIGURATION FROM CONFIGURATION_LINKS"), QStringList({"10 1", "20 2"}));
    QVERIFY(Keys().contains("Eqpt2~20~20|21|1~21|31|1$"));
    QVERIFY(!Keys().contains("Eqpt1~20~20|21|1~21|31|1$"));
    QVERIFY(!Node("Eqpt1~20"));
    QVERIFY(Node("Eqpt1~10"));

    // From the last: the plan goes with its own sub-test 25 and procedure 36, its links,
    // pictures, history and results; 21 and 22, held by sub-test 20 as well, stay.
    gExplorerNodes().Add("Root", "Eqpt2", "Rig", 2)->SetTag("2");
    gExplorerNodes().Add("Eqpt2", K("Eqpt2~20"), "Twin", 3)->SetTag("20");
    QCOMPARE(plan.UnLink(Node("Eqpt2~20")), 0);
    QCOMPARE(Ids("TESTPLAN"), QStringList({"10"}));
    QCOMPARE(Ids("SUBTEST"), QStringList({"20", "21", "22", "23", "24"}));
    QCOMPARE(Ids("PROCEDURES"), QStringList({"31", "32", "33", "34", "35"}));
    QCOMPARE(Links("TESTPLAN_LINKS"), QStringList({"10|20|1"}));
    QCOMPARE(Rows("SELECT ID_TESTPLAN FROM HISTORY"), QStringList({"10"}));
    QVERIFY(!Rows("SELECT ITEM, ID_ITEM FROM IMAGEFILE").contains("3 20"));
    QCOMPARE(Rows("SELECT KEY_NODE FROM RESULT WHERE ID_TESTPLAN = 20"), QStringList());
    QVERIFY(!Node("Eqpt2~20"));
}

void tst_MoveUnlink::configurationDeleteTakesEverythingBelow()
{
    OPEN_ORDER_TREE(env, db);
    Configuration configuration;
    QCOMPARE(configuration.Delete(Node("Eqpt1")), 0);
    for (const QString table : {"CONFIGURATION", "TESTPLAN", "SUBTEST", "PROCEDURES"})
        QCOMPARE(Ids(table), QStringList());
    for (const QString table : {"CONFIGURATION_LINKS", "TESTPLAN_LINKS", "SUBTEST_LINKS", "PROCEDURE_LINKS", "RESULT",
                                "IMAGEFILE", "HISTORY"})
        QCOMPARE(Rows("SELECT COUNT(*) FROM " + table), QStringList({"0"}));
    QVERIFY(!Node("Eqpt1"));
    QVERIFY(Node("Root"));
}

void tst_MoveUnlink::failureLeavesDatabaseAsItWas_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("table");  // the trigger that fails half-way
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("label");
    for (const QString& backend : TestDatabase::Backends()) {
        const QList<QStringList> rows{
            {"move", "RESULT", "UPDATE", "Error_Move SubTest : "},
            {"unlink", "RESULT", "UPDATE", "Error_UnLink SubTest : "},
            {"cascade", "PROCEDURES", "DELETE", "Error_UnLink SubTest : "},
            {"procedure", "RESULT", "UPDATE", "Error_UnLink Procedure : "},
            {"plan", "SUBTEST", "DELETE", "Error_UnLink Testplan : "},
            {"configuration", "TESTPLAN", "DELETE", "Error_Delete Configuration : "},
            {"repair", "PROCEDURES", "DELETE", "Error_Repair : "},
            {"clear", "TESTPLAN", "DELETE", "Error_CleanDataBase : "},
        };
        for (const QStringList& row : rows)
            QTest::newRow(qPrintable(backend + " " + row[0])) << backend << row[0] << row[1] << row[2] << row[3];
    }
}

void tst_MoveUnlink::failureLeavesDatabaseAsItWas()
{
    QFETCH(QString, operation);
    QFETCH(QString, table);
    QFETCH(QString, event);
    QFETCH(QString, label);
    OPEN_ORDER_TREE(env, db);
    // Something for the repair to do before it fails: a gap and a procedure linked nowhere.
    ModelFixture::Run("INSERT INTO PROCEDURES (ID, NAME) VALUES (37, 'Loose')");
    ModelFixture::Run("UPDATE PROCEDURE_LINKS SET ORDER_PROCEDURE = 5 WHERE ID_SUBTEST = 25");
    ModelFixture::Run("UPDATE RESULT SET KEY_NODE = ? WHERE ID_PROCEDURE = 36", {K("Eqpt1~20~20|25|3~25|36|5$")});
    FillExplorer();
    InjectFailure(table, event, db.IsPostgres());
    const QStringList before = Snapshot();
    const QStringList tree = Tree();
    env.ClearBugLog();

    int result = 0;
    if (operation == "move")
        result = SubTest().Move(Node("Eqpt1~10~10|20|1~20|22|2"), true);
    else if (operation == "unlink")
        result = SubTest().UnLink(Node("Eqpt1~10~10|20|1~20|22|2"));
    else if (operation == "cascade")
        result = SubTest().UnLink(Node("Eqpt1~10~10|20|1~20|23|3"));
    else if (operation == "procedure")
        result = Procedure().UnLink(Node("Eqpt1~10~10|20|1~20|21|1~21|31|1$"));
    else if (operation == "plan")
        result = TestPlan().UnLink(Node("Eqpt1~20"));
    else if (operation == "configuration")
        result = Configuration().Delete(Node("Eqpt1"));
    else if (operation == "repair")
        result = kvlDatabase().Repair();
    else
        result = kvlDatabase().ClearDataBase();

    QCOMPARE(result, 1);
    QCOMPARE(Snapshot(), before);
    QCOMPARE(Tree(), tree);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY2(env.BugLog().contains(label), qPrintable(env.BugLog()));
}

QTEST_GUILESS_MAIN(tst_MoveUnlink)
#include "tst_MoveUnlink.moc"
