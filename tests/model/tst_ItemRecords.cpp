#include "ModelFixture.h"
#include "DayWindow.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/Globals.h"
#include "platform/Settings.h"

#include <QtTest>

using namespace ModelFixture;

// Configurations, test plans, sub-tests and procedures find, update and create their rows.
class tst_ItemRecords : public QObject
{
    Q_OBJECT

private:
    static QDate StoredDate(const QString& table, const QString& column, int id)
    {
        return DbValues::ReadDate(Scalar(QStringLiteral("SELECT %1 FROM %2 WHERE ID = ?").arg(column, table), {id}));
    }
    static void MakeSchema()
    {
        AddSchema();
        Run("INSERT INTO USERS (ID, NAME, PWD, DESCRIPTION, CATEGORY) VALUES (3, 'Ann', '', '', 3)");
        gExplorerNodes().Clear();
        gExplorerNodes().Add({}, NodeKey::kRoot, "Database", 1);
    }

private slots:
    void configuration_data() { TestDatabase::AddBackendRows(); }
    void configuration();
    void configurationClone_data() { TestDatabase::AddBackendRows(); }
    void configurationClone();
    void namingPrefix_data();
    void namingPrefix();
    void authorOnlyWithUserManagement_data() { TestDatabase::AddBackendRows(); }
    void authorOnlyWithUserManagement();
    void testPlan_data() { TestDatabase::AddBackendRows(); }
    void testPlan();
    void testPlanKey_data();
    void testPlanKey();
    void subTest_data() { TestDatabase::AddBackendRows(); }
    void subTest();
    void procedure_data() { TestDatabase::AddBackendRows(); }
    void procedure();
    void nullsReadAsNothing_data() { TestDatabase::AddBackendRows(); }
    void nullsReadAsNothing();
    void vanishedRowIsNotUpdated_data() { TestDatabase::AddBackendRows(); }
    void vanishedRowIsNotUpdated();
    void emptyIdSendsNothing_data() { TestDatabase::AddBackendRows(); }
    void emptyIdSendsNothing();
};

void tst_ItemRecords::configuration()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    const DayWindow today;

    Configuration first;
    QCOMPARE(first.Create(), 0);
    QCOMPARE(first.Id(), QString("1"));
    QCOMPARE(first.Name(), QString("Configuration1"));
    QCOMPARE(first.Title(), QString("Configuration1"));
    KORAVEL_COMPARE_DAY(today, first.DateCreation());
    KORAVEL_COMPARE_DAY(today, first.DateUpdate());
    KORAVEL_COMPARE_DAY(today, StoredDate("CONFIGURATION", "DATE_CREATION", 1));
    QVERIFY(Scalar("SELECT ID_USER FROM CONFIGURATION WHERE ID = 1").isNull());
    QVERIFY(Scalar("SELECT EQUIPMENT1 FROM CONFIGURATION WHERE ID = 1").isNull());

    ExplorerNode* node = gExplorerNodes().Find("Eqpt1");
    QVERIFY(node);
    QCOMPARE(node->Parent()->Key(), NodeKey::kRoot);
    QCOMPARE(node->Text(), QString("Configuration1"));
    QCOMPARE(node->Tag(), QString("1"));
    QCOMPARE(node->Image(), 2);

    Run("INSERT INTO CONFIGURATION (ID, NAME) VALUES (41, 'Old')");
    Configuration second;
    QCOMPARE(second.Create(), 0);
    QCOMPARE(second.Id(), QString("42"));
    QCOMPARE(gExplorerNodes().Item("Root")->Children(), 2);

    first.SetName("Bench");
    first.SetTitle("Test bench");
    first.SetEquipment1("CPU");
    first.SetEquipment2("Disk");
    first.SetEquipment3("Screen");
    Run("UPDATE CONFIGURATION SET DATE_UPDATE = ?, DESCRIPTION = '<p>x</p>' WHERE ID = 1", {QDate(2020, 1, 2)});
    QCOMPARE(first.Update(), 0);
    QCOMPARE(first.IdAuthor(), QString("0"));

    Configuration found;
    QCOMPARE(found.Find("1"), 0);
    QCOMPARE(found.Name(), QString("Bench"));
    QCOMPARE(found.Title(), QString("Test bench"));
    QCOMPARE(found.Equipment1() + found.Equipment2() + found.Equipment3(), QString("CPUDiskScreen"));
    KORAVEL_COMPARE_DAY(today, found.DateUpdate());
    QVERIFY(found.HasDescription());
    // Only the editable columns: the description stays.
    QCOMPARE(Scalar("SELECT DESCRIPTION FROM CONFIGURATION WHERE ID = 1").toString(), QString("<p>x</p>"));

    Configuration missing;
    QCOMPARE(missing.Find("7"), 1);
    QCOMPARE(missing.Id(), QString("7"));
    QCOMPARE(env.BugLogEntries(), 0);

    // A node that is already in the tree fails the creation, but the row stays.
    gExplorerNodes().Add("Root", "Eqpt43", "squatter", 2);
    Configuration third;
    QCOMPARE(third.Create(), 1);
    QCOMPARE(Scalar("SELECT NAME FROM CONFIGURATION WHERE ID = 43").toString(), QString("Configuration43"));
    QVERIFY(env.BugLog().contains("Error_Create Configuration : 35602"));
}

void tst_ItemRecords::configurationClone()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    const DayWindow today;
    Run("INSERT INTO CONFIGURATION (ID, NAME, TITLE, EQUIPMENT1, EQUIPMENT2, DESCRIPTION, DATE_CREATION, "
        "DATE_UPDATE) VALUES (5, 'Bench', 'Bench title', 'CPU', 'Disk', '<p>d</p>', ?, ?)",
        {QDate(2020, 1, 2), QDate(2021, 3, 4)});
    Run("INSERT INTO TESTPLAN (ID, ID_CONFIGURATION) VALUES (9, 5)");
    Run("INSERT INTO CONFIGURATION_LINKS (ID_TESTPLAN, ID_CONFIGURATION) VALUES (9, 5)");

    Configuration config;
    QCOMPARE(config.Find("5"), 0);
    QCOMPARE(config.Clone(), 0);
    QCOMPARE(config.Id(), QString("6"));
    QCOMPARE(config.Name(), QString("Bench"));
    QCOMPARE(config.DateCreation(), QDate(2020, 1, 2));

    QCOMPARE(Scalar("SELECT NAME FROM CONFIGURATION WHERE ID = 6").toString(), QString("Configuration6"));
    QCOMPARE(Scalar("SELECT TITLE FROM CONFIGURATION WHERE ID = 6").toString(), QString("Bench title"));
    QCOMPARE(Scalar("SELECT EQUIPMENT2 FROM CONFIGURATION WHERE ID = 6").toString(), QString("Disk"));
    QVERIFY(Scalar("SELECT EQUIPMENT3 FROM CONFIGURATION WHERE ID = 6").isNull());
    QVERIFY(Scalar("SELECT DESCRIPTION FROM CONFIGURATION WHERE ID = 6").isNull());
    KORAVEL_COMPARE_DAY(today, StoredDate("CONFIGURATION", "DATE_CREATION", 6));
    QCOMPARE(Scalar("SELECT COUNT(*) FROM CONFIGURATION_LINKS WHERE ID_CONFIGURATION = 6").toInt(), 0);
    ExplorerNode* node = gExplorerNodes().Find("Eqpt6");
    QVERIFY(node);
    QCOMPARE(node->Text(), QString("Configuration6"));
    QCOMPARE(node->Tag(), QString("6"));

    // A copy that cannot be written leaves no node behind.
    Run("DROP TABLE CONFIGURATION_LINKS");
    Run("ALTER TABLE CONFIGURATION RENAME TO CONFIGURATION_GONE");
    Configuration broken;
    broken.SetId("5");
    const int nodes = gExplorerNodes().Count();
    QCOMPARE(broken.Clone(), 1);
    QCOMPARE(gExplorerNodes().Count(), nodes);
    QCOMPARE(broken.Id(), QString("5"));
    QVERIFY(env.BugLog().contains("Error_Clone Configuration : "));
}

void tst_ItemRecords::namingPrefix_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QVariant>("prefix");  // null: the key is absent
    QTest::addColumn<QString>("name");
    for (const QString& engine : TestDatabase::Backends()) {
        const QByteArray bytes = engine.toUtf8();
        const char* backend = bytes.constData();
        QTest::addRow("%s absent", backend) << backend << QVariant() << "SubTest1";
        QTest::addRow("%s set", backend) << backend << QVariant("Step-") << "Step-1";
        QTest::addRow("%s empty", backend) << backend << QVariant("") << "1";
    }
}

void tst_ItemRecords::namingPrefix()
{
    QFETCH(QString, backend);
    QFETCH(QVariant, prefix);
    QFETCH(QString, name);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    if (!prefix.isNull())
        Settings::SaveSetting("Options", "SubTest", prefix.toString());
    SubTest subTest;
    QCOMPARE(subTest.Create(), 0);
    QCOMPARE(subTest.Name(), name);
    QCOMPARE(subTest.Title(), name);
    QCOMPARE(Scalar("SELECT NAME FROM SUBTEST WHERE ID = 1").toString(), name);
    QCOMPARE(Scalar("SELECT TITLE FROM SUBTEST WHERE ID = 1").toString(), name);
}

void tst_ItemRecords::authorOnlyWithUserManagement()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();

    // Off: nothing written, Find leaves the author alone, Update clears it to "0".
    Procedure off;
    off.SetAuthor("3");
    QCOMPARE(off.Create(), 0);
    QVERIFY(Scalar("SELECT ID_USER FROM PROCEDURES WHERE ID = 1").isNull());
    QCOMPARE(off.IdAuthor(), QString("3"));
    Run("UPDATE PROCEDURES SET ID_USER = 3 WHERE ID = 1");
    Procedure reader;
    reader.SetAuthor("9");
    QCOMPARE(reader.Find("1"), 0);
    QCOMPARE(reader.IdAuthor(), QString("9"));
    QCOMPARE(reader.Update(), 0);
    QCOMPARE(reader.IdAuthor(), QString("0"));
    QCOMPARE(Scalar("SELECT ID_USER FROM PROCEDURES WHERE ID = 1").toInt(), 3);
    QCOMPARE(reader.Author(), QString("Undefined"));

    // On: written by Create and Update, read by Find, "0" for a Null.
    gUserManagement = true;
    gUserId = "3";
    TestPlan plan;
    QCOMPARE(plan.Create("1"), 0);
    QCOMPARE(plan.IdAuthor(), QString("3"));
    QCOMPARE(plan.Author(), QString("Ann"));
    QCOMPARE(Scalar("SELECT ID_USER FROM TESTPLAN WHERE ID = 1").toInt(), 3);
    Run("UPDATE TESTPLAN SET ID_USER = NULL WHERE ID = 1");
    TestPlan found;
    QCOMPARE(found.Find("1"), 0);
    QCOMPARE(found.IdAuthor(), QString("0"));
    QCOMPARE(found.Update(), 0);
    QCOMPARE(found.IdAuthor(), QString("3"));
    QCOMPARE(Scalar("SELECT ID_USER FROM TESTPLAN WHERE ID = 1").toInt(), 3);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_ItemRecords::testPlan()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    Run("INSERT INTO CONFIGURATION (ID) VALUES (4)");
    Run("INSERT INTO TESTPLAN (ID, ID_CONFIGURATION) VALUES (11, 4)");

    TestPlan plan;
    QCOMPARE(plan.Create("4"), 0);
    QCOMPARE(plan.Id(), QString("12"));
    QCOMPARE(plan.Name(), QString("TestPlan12"));
    QCOMPARE(Scalar("SELECT ID_CONFIGURATION FROM TESTPLAN WHERE ID = 12").toInt(), 4);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM CONFIGURATION_LINKS").toInt(), 0);
    QVERIFY(plan.Key().isEmpty());
    QVERIFY(plan.IdConfiguration().isEmpty());
    // Creating adds no node: linking does.
    QCOMPARE(gExplorerNodes().Count(), 1);

    Run("UPDATE TESTPLAN SET WORDTEMPLATE = ?, DESCRIPTION = 'd' WHERE ID = 12", {QByteArray("doc")});
    plan.SetName("Release");
    QCOMPARE(plan.Update(), 0);
    QCOMPARE(Scalar("SELECT ID_CONFIGURATION FROM TESTPLAN WHERE ID = 12").toInt(), 4);
    QCOMPARE(Scalar("SELECT DESCRIPTION FROM TESTPLAN WHERE ID = 12").toString(), QString("d"));
    QVERIFY(!Scalar("SELECT WORDTEMPLATE FROM TESTPLAN WHERE ID = 12").isNull());

    TestPlan found;
    found.SetKey(QString("Eqpt7") + NodeKey::kSeparator + "12");
    QCOMPARE(found.Find("12"), 0);
    QCOMPARE(found.Name(), QString("Release"));
    QVERIFY(found.WordTemplate());
    QVERIFY(found.HasDescription());
    QCOMPARE(found.IdConfiguration(), QString("7"));
    // The flags are never set back by a row without them.
    QCOMPARE(found.Find("11"), 0);
    QVERIFY(found.WordTemplate());
    QVERIFY(found.HasDescription());

    TestPlan orphan;
    QCOMPARE(orphan.Create(""), 1);
    QVERIFY(env.BugLog().contains("Error_Create TestPlan : "));
}

void tst_ItemRecords::testPlanKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("configuration");
    const QString s = NodeKey::kSeparator;
    QTest::newRow("test plan") << "Eqpt3" + s + "5"
                               << "3";
    QTest::newRow("no id") << "Eqpt" + s + "5"
                           << "";
    QTest::newRow("sub-test") << "Eqpt12" + s + "34" + s + "34|7|1"
                              << "12";
    QTest::newRow("no separator keeps") << "Eqpt12"
                                        << "old";
}

void tst_ItemRecords::testPlanKey()
{
    QFETCH(QString, key);
    QFETCH(QString, configuration);
    TestPlan plan;
    plan.SetIdConfiguration("old");
    plan.SetKey(key);
    QCOMPARE(plan.Key(), key);
    QCOMPARE(plan.IdConfiguration(), configuration);
}

void tst_ItemRecords::subTest()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    const DayWindow today;

    SubTest a, b;
    QCOMPARE(a.Create(), 0);
    QCOMPARE(b.Create(), 0);
    QCOMPARE(a.Name() + b.Name(), QString("SubTest1SubTest2"));
    QVERIFY(Scalar("SELECT LEVEL FROM SUBTEST WHERE ID = 2").isNull());

    b.SetName("Network");
    b.SetTitle("Network checks");
    QCOMPARE(b.Update(), 0);
    Run("UPDATE SUBTEST SET DESCRIPTION = 'x' WHERE ID = 2");

    SubTest found;
    found.SetName("kept");
    QCOMPARE(found.Find("2"), 0);
    QCOMPARE(found.Name(), QString("Network"));
    QCOMPARE(found.Title(), QString("Network checks"));
    QVERIFY(found.HasDescription());
    KORAVEL_COMPARE_DAY(today, found.DateCreation());

    // A Null name keeps the name held.
    Run("UPDATE SUBTEST SET NAME = NULL WHERE ID = 1");
    QCOMPARE(found.Find("1"), 0);
    QCOMPARE(found.Name(), QString("Network"));
    QCOMPARE(found.Title(), QString("SubTest1"));
    QCOMPARE(found.Find("x"), 1);
    QVERIFY(env.BugLog().contains("Error_Find SubTest : 13"));
}

void tst_ItemRecords::procedure()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();

    Procedure procedure;
    QCOMPARE(procedure.Create(), 0);
    QCOMPARE(procedure.Name(), QString("Procedure1"));
    QCOMPARE(Scalar("SELECT WORKLOAD FROM PROCEDURES WHERE ID = 1").toDouble(), 1.0);
    QCOMPARE(procedure.WorkLoad(), 0.0f);
    QVERIFY(Scalar("SELECT RESULT FROM PROCEDURES WHERE ID = 1").isNull());

    procedure.SetWorkLoad(2.5f);
    QCOMPARE(procedure.Update(), 0);
    QCOMPARE(Scalar("SELECT WORKLOAD FROM PROCEDURES WHERE ID = 1").toDouble(), 2.5);

    Run("UPDATE PROCEDURES SET RESULT = '<p>ok</p>' WHERE ID = 1");
    Procedure found;
    QCOMPARE(found.Find("1"), 0);
    QCOMPARE(found.WorkLoad(), 2.5f);
    QVERIFY(found.HasExpectedResult());
    QVERIFY(!found.HasDescription());
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_ItemRecords::nullsReadAsNothing()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    Run("INSERT INTO PROCEDURES (ID, NAME, TITLE, DESCRIPTION, DATE_UPDATE) VALUES (1, 'P', 'T', 'd', ?)",
        {QDate(2024, 2, 29)});
    Run("INSERT INTO SUBTEST (ID, NAME) VALUES (1, 'S')");

    Procedure procedure;
    procedure.SetWorkLoad(7);
    procedure.SetDateCreation(QDate(2000, 1, 1));
    QCOMPARE(procedure.Find("1"), 0);
    QCOMPARE(procedure.WorkLoad(), 0.0f);
    QVERIFY(!procedure.DateCreation().isValid());
    QCOMPARE(procedure.DateUpdate(), QDate(2024, 2, 29));
    QVERIFY(procedure.HasDescription());
    QCOMPARE(procedure.Title(), QString("T"));

    SubTest subTest;
    QCOMPARE(subTest.Find("1"), 0);
    QCOMPARE(subTest.Name(), QString("S"));
    QVERIFY(!subTest.DateCreation().isValid());
    QVERIFY(!subTest.DateUpdate().isValid());
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_ItemRecords::vanishedRowIsNotUpdated()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    Configuration config;
    QCOMPARE(config.Create(), 0);
    SubTest subTest;
    QCOMPARE(subTest.Create(), 0);
    Run("DELETE FROM CONFIGURATION");
    Run("DELETE FROM SUBTEST");

    config.SetName("lost");
    QCOMPARE(config.Update(), 1);
    QCOMPARE(subTest.Update(), 1);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM CONFIGURATION").toInt(), 0);
    QCOMPARE(env.BugLogEntries(), 2);
    QVERIFY(env.BugLog().contains("Error_Update Configuration : "));
    QVERIFY(env.BugLog().contains("Error_Update SubTest : "));

    // An object without an id has nothing to write.
    QCOMPARE(Configuration().Update(), 0);
}

void tst_ItemRecords::emptyIdSendsNothing()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    // Any statement sent now would fail and be logged.
    gConnection().Close();
    Configuration config;
    config.SetName("kept");
    QCOMPARE(config.Find(""), 0);
    QCOMPARE(TestPlan().Find(""), 0);
    QCOMPARE(SubTest().Find(""), 0);
    QCOMPARE(Procedure().Find(""), 0);
    QCOMPARE(config.Name(), QString("kept"));
    QVERIFY(config.Id().isEmpty());
    QCOMPARE(env.BugLogEntries(), 0);
    // The check itself must be able to fail.
    QCOMPARE(config.Find("1"), 1);
    QCOMPARE(env.BugLogEntries(), 1);
}

QTEST_GUILESS_MAIN(tst_ItemRecords)
#include "tst_ItemRecords.moc"
