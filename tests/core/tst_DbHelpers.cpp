#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/db/kvlDatabase.h"
#include "core/KeyHelpers.h"
#include "platform/KvlError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

// Numbering, marker probes and name look-ups against a real database.
class tst_DbHelpers : public QObject
{
    Q_OBJECT

private:
    static void MakeSchema()
    {
        QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);
        QCOMPARE(kvlDatabase().AddConstraints(gConnection()), 0);
    }
    static void Insert(const QString& sql, const QVariantList& values) { QVERIFY(gConnection().Execute(sql, values)); }

private slots:
    void numbering_data() { TestDatabase::AddBackendRows(); }
    void numbering();
    void numberingRefusesBadInput_data() { TestDatabase::AddBackendRows(); }
    void numberingRefusesBadInput();
    void allocationHeldUntilCommit();
    void markers_data() { TestDatabase::AddBackendRows(); }
    void markers();
    void names_data() { TestDatabase::AddBackendRows(); }
    void names();
};

void tst_DbHelpers::numbering()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();

    QCOMPARE(NewId("CONFIGURATION"), 1);
    Insert("INSERT INTO CONFIGURATION (ID) VALUES (?)", {41});
    QCOMPARE(NewId("CONFIGURATION"), 42);
    // Beyond 16 bits.
    Insert("INSERT INTO CONFIGURATION (ID) VALUES (?)", {70000});
    QCOMPARE(NewId("configuration"), 70001);

    Insert("INSERT INTO TESTPLAN (ID, ID_CONFIGURATION) VALUES (?, ?)", {5, 41});
    Insert("INSERT INTO TESTPLAN (ID, ID_CONFIGURATION) VALUES (?, ?)", {6, 41});
    for (int id : {1, 2, 3})
        Insert("INSERT INTO SUBTEST (ID) VALUES (?)", {id});
    for (int id : {7, 8})
        Insert("INSERT INTO PROCEDURES (ID) VALUES (?)", {id});

    // Orders count per parent: another parent's links do not move them.
    Insert("INSERT INTO PROCEDURE_LINKS VALUES (?, ?, ?)", {7, 1, 1});
    Insert("INSERT INTO PROCEDURE_LINKS VALUES (?, ?, ?)", {8, 1, 2});
    Insert("INSERT INTO PROCEDURE_LINKS VALUES (?, ?, ?)", {7, 2, 9});
    QCOMPARE(NextProcedureOrder("1"), 3);
    QCOMPARE(NextProcedureOrder("2"), 10);
    QCOMPARE(NextProcedureOrder("3"), 1);

    Insert("INSERT INTO SUBTEST_LINKS VALUES (?, ?, ?)", {1, 2, 1});
    Insert("INSERT INTO SUBTEST_LINKS VALUES (?, ?, ?)", {1, 3, 2});
    QCOMPARE(NextSubTestOrder("1"), 3);
    QCOMPARE(NextSubTestOrder("2"), 1);

    Insert("INSERT INTO TESTPLAN_LINKS VALUES (?, ?, ?)", {5, 1, 1});
    QCOMPARE(NextTestPlanOrder("5"), 2);
    QCOMPARE(NextTestPlanOrder("6"), 1);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_DbHelpers::numberingRefusesBadInput()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();

    // The table name cannot be bound, so anything but a plain name is refused before any SQL runs.
    QVERIFY_THROWS_EXCEPTION(KvlError, NewId("CONFIGURATION; DROP TABLE USERS"));
    QCOMPARE(gConnection().Scalar("SELECT count(*) FROM USERS").toInt(), 0);
    QVERIFY_THROWS_EXCEPTION(KvlError, NewId("NO_SUCH_TABLE"));
    QVERIFY_THROWS_EXCEPTION(KvlError, NextProcedureOrder("1 OR 1=1"));
    // Numbers stay 32-bit: one past the largest is an error, not a wrapped id.
    Insert("INSERT INTO CONFIGURATION (ID) VALUES (?)", {2147483647});
    QVERIFY_THROWS_EXCEPTION(KvlError, NewId("CONFIGURATION"));
    // No trap of their own: the caller logs.
    QCOMPARE(env.BugLogEntries(), 0);
}

// A second client asking for the same table's ids or orders waits until the first one's
// transaction ends, so both cannot read the same largest number.
void tst_DbHelpers::allocationHeldUntilCommit()
{
    TestEnvironment env;
    TestDatabase db(QStringLiteral("postgres"));
    if (!TestDatabase::Backends().contains(QStringLiteral("postgres")))
        QSKIP("PostgreSQL rows run in the postgres registration.");
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    const std::optional<PgServer> server = TestDatabase::Server();
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("second client"));
    other.setHostName(server->host);
    other.setPort(server->port);
    other.setDatabaseName(server->database);
    other.setUserName(server->user);
    other.setPassword(server->password);
    QVERIFY2(other.open(), qPrintable(other.lastError().text()));
    const auto otherMayAllocate = [&](const QString& table) {
        QSqlQuery query(other);
        // The try form answers at once where the real lock would wait; it is let go at once too.
        if (!query.exec(QStringLiteral("SELECT pg_try_advisory_xact_lock(hashtext('%1'), 0)").arg(table)) ||
            !query.next())
            return false;
        return query.value(0).toBool();
    };

    AdoConnection& c = gConnection();
    QVERIFY(c.BeginTrans());
    QCOMPARE(NewId("configuration"), 1);
    QCOMPARE(NextProcedureOrder("1"), 1);
    QVERIFY(!otherMayAllocate("CONFIGURATION"));
    QVERIFY(!otherMayAllocate("PROCEDURE_LINKS"));
    QVERIFY(otherMayAllocate("SUBTEST_LINKS"));
    QVERIFY(c.CommitTrans());
    QVERIFY(otherMayAllocate("CONFIGURATION"));
    QVERIFY(otherMayAllocate("PROCEDURE_LINKS"));
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("second client"));
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_DbHelpers::markers()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    QVERIFY(gConnection().Execute("CREATE TABLE INFORMATION (VERSION VARCHAR(12) NOT NULL, COMMENT VARCHAR(255))"));

    QVERIFY(!IsUserManagementOn());
    QVERIFY(!HasConfigurationLinks());
    QVERIFY(!HasHistory());
    Insert("INSERT INTO INFORMATION VALUES (?, ?)", {"2.1", "Users managed"});
    Insert("INSERT INTO INFORMATION VALUES (?, ?)", {"3.2", "any text"});
    QVERIFY(IsUserManagementOn());
    QVERIFY(!HasConfigurationLinks());
    QVERIFY(HasHistory());

    gConnection().Close();
    QVERIFY_THROWS_EXCEPTION(KvlError, HasHistory());
}

void tst_DbHelpers::names()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    Insert("INSERT INTO USERS (ID, NAME, CATEGORY) VALUES (?, ?, ?)", {3, "Ann", 2});
    Insert("INSERT INTO PROCEDURES (ID, NAME) VALUES (?, ?)", {40, "Power on"});
    Insert("INSERT INTO PROCEDURES (ID) VALUES (?)", {41});
    Insert("INSERT INTO CONFIGURATION (ID, NAME) VALUES (?, ?)", {3, "Bench"});
    Insert("INSERT INTO TESTPLAN (ID, NAME, ID_CONFIGURATION) VALUES (?, ?, ?)", {12, "Night run", 3});

    QCOMPARE(UserName("3"), QStringLiteral("Ann"));
    QCOMPARE(UserName("4"), QStringLiteral("Undefined"));
    QCOMPARE(ProcedureName("40"), QStringLiteral("Power on"));
    QCOMPARE(ProcedureName("41"), QStringLiteral("Unknown"));
    QCOMPARE(ConfigurationName("3"), QStringLiteral("Bench"));
    const QString sep(QChar(0x00A4));
    QCOMPARE(SearchTestPlanName("Eqpt3" + sep + "12"), QStringLiteral("Night run"));
    QCOMPARE(SearchTestPlanName("Eqpt3" + sep + "12" + sep + "12|40|1"), QStringLiteral("Night run"));
    QCOMPARE(SearchTestPlanName("Eqpt3" + sep + "99"), QString());
    QCOMPARE(SearchTestPlanName("Eqpt3"), QString());
    QCOMPARE(SearchTestPlanName("Root"), QString());
    QCOMPARE(env.BugLogEntries(), 0);

    // Failures are logged once under each procedure's label.
    QCOMPARE(ProcedureName("99"), QString());
    QCOMPARE(UserName("x'1"), QStringLiteral("Undefined"));
    QCOMPARE(ConfigurationName("abc"), QString());
    QCOMPARE(env.BugLogEntries(), 3);
    QCOMPARE(env.BugLog().count("Error_ProcedureName :"), 1);
    QCOMPARE(env.BugLog().count("Error_UserName:"), 1);
    QCOMPARE(env.BugLog().count("Error_ConfigurationName :"), 1);

    // An empty user id needs no database at all.
    gConnection().Close();
    env.ClearBugLog();
    QCOMPARE(UserName(""), QStringLiteral("Undefined"));
    QCOMPARE(env.BugLogEntries(), 0);
    QCOMPARE(SearchTestPlanName("Eqpt3" + sep + "12"), QString());
    QCOMPARE(env.BugLog().count("Error_SearchTestPlanName :"), 1);
}

QTEST_GUILESS_MAIN(tst_DbHelpers)
#include "tst_DbHelpers.moc"
