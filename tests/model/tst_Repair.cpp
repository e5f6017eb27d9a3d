#include "ModelFixture.h"
#include "OrderFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/services/ProgressBar.h"
#include "platform/Hourglass.h"

#include <QSignalSpy>
#include <QtTest>

using namespace OrderFixture;
using ModelFixture::Run;

// Database repair and clearing: tables before and after, on each back end.
class tst_Repair : public QObject
{
    Q_OBJECT

private:
    // Plan 10 under configuration 1 holds sub-test 7 at order 3 and sub-test 4 at order 8: the
    // user's order is 7 before 4, with gaps. Sub-test 7 holds procedures 31, 32, 33 at 2, 5, 9
    // and sub-test 4 at 6; sub-test 4 holds procedure 34 at 4.
    static void BuildGappedTree();
    static void Result(int procedure, const QString& key, int plan = 10)
    {
        Run("INSERT INTO RESULT (ID_PROCEDURE, KEY_NODE, STATUS, ID_TESTPLAN) VALUES (?, ?, 0, ?)",
            {procedure, K(key), plan});
    }

private slots:
    void gapsCloseKeepingOrderAndResults_data() { TestDatabase::AddBackendRows(); }
    void gapsCloseKeepingOrderAndResults();
    void unheldItemsGoUntilNothingChanges_data() { TestDatabase::AddBackendRows(); }
    void unheldItemsGoUntilNothingChanges();
    void clearKeepsUsersMarkersAndTemplates_data() { TestDatabase::AddBackendRows(); }
    void clearKeepsUsersMarkersAndTemplates();
};

void tst_Repair::BuildGappedTree()
{
    ModelFixture::AddSchema();
    Run("INSERT INTO CONFIGURATION (ID, NAME) VALUES (1, 'Bench')");
    Run("INSERT INTO CONFIGURATION (ID, NAME) VALUES (2, 'Unused')");
    Run("INSERT INTO TESTPLAN (ID, NAME, ID_CONFIGURATION) VALUES (10, 'Plan', 1)");
    Run("INSERT INTO CONFIGURATION_LINKS (ID_TESTPLAN, ID_CONFIGURATION) VALUES (10, 1)");
    for (int id : {4, 7})
        Run("INSERT INTO SUBTEST (ID, NAME) VALUES (?, 'S')", {id});
    for (int id : {31, 32, 33, 34})
        Run("INSERT INTO PROCEDURES (ID, NAME) VALUES (?, 'P')", {id});
    Run("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (10, 7, 3), (10, 4, 8)");
    Run("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (7, 4, 6)");
    Run("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (7, 31, 2), (7, 32, 5), "
        "(7, 33, 9), (4, 34, 4)");
    Result(31, "Eqpt1~10~10|7|3~7|31|2$");
    Result(33, "Eqpt1~10~10|7|3~7|33|9$");
    Result(34, "Eqpt1~10~10|4|8~4|34|4$");
    Result(34, "Eqpt1~10~10|7|3~7|4|6~4|34|4$");
}

void tst_Repair::gapsCloseKeepingOrderAndResults()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    BuildGappedTree();
    // Results that name no place: an order no link has, a malformed key, a configuration the plan
    // is not linked to.
    Result(32, "Eqpt1~10~10|7|3~7|32|7$");
    Result(32, "Eqpt1~10~oops$");
    Result(31, "Eqpt1~10~10|7|3~7|3x|2$");
    Result(31, "Eqpt2~10~10|7|3~7|31|2$");
    if (!db.IsPostgres()) {
        // A link left by an older version to a procedure that no longer exists.
        Run("PRAGMA foreign_keys = OFF");
        Run("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (7, 99, 4)");
        Run("PRAGMA foreign_keys = ON");
    }
    QSignalSpy progress(&gProgressBar(), &ProgressBar::ValueChanged);
    gProgressBar().SetValue(0);
    progress.clear();

    QCOMPARE(kvlDatabase().Repair(), 0);

    QCOMPARE(Links("TESTPLAN_LINKS"), QStringList({"10|4|2", "10|7|1"}));
    QCOMPARE(Links("SUBTEST_LINKS"), QStringList({"7|4|1"}));
    QCOMPARE(Links("PROCEDURE_LINKS"), QStringList({"4|34|1", "7|31|1", "7|32|2", "7|33|3"}));
    QCOMPARE(Keys(), QStringList({"Eqpt1~10~10|4|2~4|34|1$", "Eqpt1~10~10|7|1~7|31|1$", "Eqpt1~10~10|7|1~7|33|3$",
                                  "Eqpt1~10~10|7|1~7|4|1~4|34|1$"}));
    QCOMPARE(Ids("CONFIGURATION"), QStringList({"1", "2"}));
    QList<int> values;
    for (const QList<QVariant>& signal : progress)
        values << signal.first().toInt();
    QCOMPARE(values, QList<int>({10, 20, 30, 40, 50, 60, 70, 90}));

    // A second repair finds nothing to do.
    const QStringList after = Snapshot();
    QCOMPARE(kvlDatabase().Repair(), 0);
    QCOMPARE(Snapshot(), after);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_Repair::unheldItemsGoUntilNothingChanges()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    BuildGappedTree();
    // Sub-test 40 hangs nowhere and holds 41, which alone holds procedure 42; plan 11 has no
    // configuration and alone holds sub-test 43; each has a picture, the plan a history row.
    Run("INSERT INTO TESTPLAN (ID, NAME, ID_CONFIGURATION) VALUES (11, 'Loose', 1)");
    for (int id : {40, 41, 43})
        Run("INSERT INTO SUBTEST (ID, NAME) VALUES (?, 'S')", {id});
    Run("INSERT INTO PROCEDURES (ID, NAME) VALUES (42, 'P')");
    Run("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (40, 41, 1)");
    Run("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (41, 42, 1)");
    Run("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (11, 43, 1)");
    Result(42, "Eqpt1~11~11|43|1~43|42|1$", 11);
    Run("INSERT INTO HISTORY (ID_TESTPLAN, ID_CONFIGURATION, ADVANCEMENT, WORKLOAD, DATE_UPDATE, COUNT_PASSED, "
        "COUNT_FAILED, COUNT_CANCELED, COUNT_WARNING) VALUES (11, 1, 0, 0, '2024-03-05', 0, 0, 0, 0)");
    int picture = 0;
    // Owners are compared as integers: " 7" is sub-test 7; "abc" and vanished ids own nothing.
    for (const auto& [kind, owner] :
         {std::pair{4, "7"}, std::pair{4, " 4"}, std::pair{4, "99"}, std::pair{4, "abc"}, std::pair{4, "41"},
          std::pair{14, "42"}, std::pair{114, "31"}, std::pair{3, "11"}, std::pair{2, "2"}})
        Run("INSERT INTO IMAGEFILE (ID, ITEM, ID_ITEM) VALUES (?, ?, ?)", {++picture, kind, owner});

    QCOMPARE(kvlDatabase().Repair(), 0);

    QCOMPARE(Ids("TESTPLAN"), QStringList({"10"}));
    QCOMPARE(Ids("SUBTEST"), QStringList({"4", "7"}));
    QCOMPARE(Ids("PROCEDURES"), QStringList({"31", "32", "33", "34"}));
    QCOMPARE(Links("SUBTEST_LINKS"), QStringList({"7|4|1"}));
    QCOMPARE(Rows("SELECT ID_TESTPLAN, ID_CONFIGURATION FROM CONFIGURATION_LINKS"), QStringList({"10 1"}));
    QCOMPARE(Rows("SELECT COUNT(*) FROM HISTORY"), QStringList({"0"}));
    QCOMPARE(Rows("SELECT ITEM, ID_ITEM FROM IMAGEFILE"), QStringList({"114 31", "2 2", "4  4", "4 7"}));
    QCOMPARE(Rows("SELECT COUNT(*) FROM RESULT WHERE ID_TESTPLAN = 11"), QStringList({"0"}));
}

void tst_Repair::clearKeepsUsersMarkersAndTemplates()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    OrderFixture::Build();
    Run("INSERT INTO USERS (ID, NAME, PWD, DESCRIPTION, CATEGORY) VALUES (1, 'Admin', '', 'administrator', 4)");
    Run("INSERT INTO HTML_TEMPLATES (ID, HTML_TEMPLATE) VALUES (1, '<p>head</p>')");
    const QStringList kept{Rows("SELECT ID, NAME FROM USERS").join(','),
                           Rows("SELECT VERSION FROM INFORMATION").join(','),
                           Rows("SELECT ID, HTML_TEMPLATE FROM HTML_TEMPLATES").join(',')};

    QCOMPARE(kvlDatabase().ClearDataBase(), 0);
    QVERIFY(!Hourglass::IsSet());
    for (const QString table : {"IMAGEFILE", "HISTORY", "RESULT", "PROCEDURE_LINKS", "SUBTEST_LINKS", "TESTPLAN_LINKS",
                                "PROCEDURES", "SUBTEST", "CONFIGURATION_LINKS", "TESTPLAN", "CONFIGURATION"})
        QCOMPARE(Rows("SELECT COUNT(*) FROM " + table), QStringList({"0"}));
    QCOMPARE(
        QStringList({Rows("SELECT ID, NAME FROM USERS").join(','), Rows("SELECT VERSION FROM INFORMATION").join(','),
                     Rows("SELECT ID, HTML_TEMPLATE FROM HTML_TEMPLATES").join(',')}),
        kept);
    // An empty database clears as well.
    QCOMPARE(kvlDatabase().ClearDataBase(), 0);
    QCOMPARE(env.BugLogEntries(), 0);
}

QTEST_GUILESS_MAIN(tst_Repair)
#include "tst_Repair.moc"
