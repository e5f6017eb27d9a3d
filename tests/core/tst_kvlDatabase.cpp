#include "DbCatalogue.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/db/kvlDatabase.h"

#include <QtTest>

// Schema creation and upgrades, read back from each engine's own catalogue.
class tst_kvlDatabase : public QObject
{
    Q_OBJECT

private:
    // Columns as "NAME TYPE" with " NN" for not null; types in logical form.
    struct Expected
    {
        QString table;
        QString primaryKey;
        QStringList columns;
    };
    static QList<Expected> ExpectedTables();
    static QString EngineType(const QString& logical, bool postgres);

    // Pre-upgrade tables, as an older database has them.
    static void MakeOldDatabase(bool withSubTestAuthor);

private slots:
    void indexesOfNewDatabase_data() { TestDatabase::AddBackendRows(); }
    void indexesOfNewDatabase();
    void freshDatabaseHasTheSchema_data() { TestDatabase::AddBackendRows(); }
    void freshDatabaseHasTheSchema();
    void addTablesOnExistingTableCreatesNothing_data() { TestDatabase::AddBackendRows(); }
    void addTablesOnExistingTableCreatesNothing();
    void connectionUpgradesRunOnce_data() { TestDatabase::AddBackendRows(); }
    void connectionUpgradesRunOnce();
    void failedUpgradeLeavesNoTableAndRunsAgain_data() { TestDatabase::AddBackendRows(); }
    void failedUpgradeLeavesNoTableAndRunsAgain();
    void userTableUpgradeIsAllOrNothing_data() { TestDatabase::AddBackendRows(); }
    void userTableUpgradeIsAllOrNothing();
};

QList<tst_kvlDatabase::Expected> tst_kvlDatabase::ExpectedTables()
{
    const QStringList item{"ID INT NN",        "NAME VC50",        "TITLE VC50",
                           "DESCRIPTION MEMO", "DATE_UPDATE DATE", "DATE_CREATION DATE"};
    return {
        {"CONFIGURATION", "PK_CONFIGURATION(ID)",
         item + QStringList{"EQUIPMENT1 VC50", "EQUIPMENT2 VC50", "EQUIPMENT3 VC50", "ID_USER INT"}},
        {"TESTPLAN", "PK_TESTPLAN(ID)",
         item + QStringList{"ID_CONFIGURATION INT NN", "WORDTEMPLATE BLOB", "ID_USER INT"}},
        {"SUBTEST", "PK_SUBTEST(ID)", item + QStringList{"LEVEL INT", "ID_USER INT"}},
        {"PROCEDURES", "PK_PROCEDURES(ID)", item + QStringList{"RESULT MEMO", "WORKLOAD REAL", "ID_USER INT"}},
        {"PROCEDURE_LINKS",
         "PK_PROCEDURE_LINKS(ID_PROCEDURE,ID_SUBTEST,ORDER_PROCEDURE)",
         {"ID_PROCEDURE INT NN", "ID_SUBTEST INT NN", "ORDER_PROCEDURE INT NN"}},
        {"CONFIGURATION_LINKS",
         "PK_CONFIGURATION_LINKS(ID_TESTPLAN,ID_CONFIGURATION)",
         {"ID_TESTPLAN INT NN", "ID_CONFIGURATION INT NN"}},
        {"SUBTEST_LINKS",
         "PK_SUBTEST_LINKS(ID_SUBTEST_PARENT,ID_SUBTEST_CHILD,ORDER_SUBTEST)",
         {"ID_SUBTEST_PARENT INT NN", "ID_SUBTEST_CHILD INT NN", "ORDER_SUBTEST INT NN"}},
        {"TESTPLAN_LINKS",
         "PK_TESTPLAN_LINKS(ID_TESTPLAN,ID_SUBTEST,ORDER_SUBTEST)",
         {"ID_TESTPLAN INT NN", "ID_SUBTEST INT NN", "ORDER_SUBTEST INT NN"}},
        {"RESULT",
         "PK_RESULT(KEY_NODE)",
         {"ID_PROCEDURE INT NN", "KEY_NODE VC255 NN", "STATUS INT NN", "ID_TESTPLAN INT", "DATE_UPDATE DATE",
          "DATE_CREATION DATE", "COMMENT VC100", "ITERATION INT", "ID_USER INT"}},
        {"HTML_TEMPLATES", "PK_HTML_TEMPLATES(ID)", {"ID INT NN", "HTML_TEMPLATE MEMO"}},
        {"INFORMATION", "PK_INFORMATION(VERSION)", {"VERSION VC12 NN", "COMMENT VC255"}},
        {"IMAGEFILE", "PK_IMAGE_FILE(ID)", {"ID INT NN", "ITEM INT", "ID_ITEM VC50", "FILE BLOB", "FILETYPE VC3"}},
        {"USERS", "PK_USERS(ID)", {"ID INT NN", "NAME VC50", "PWD VC50", "DESCRIPTION VC50", "CATEGORY INT NN"}},
        {"HISTORY",
         "PK_HISTORY(ID_TESTPLAN,ID_CONFIGURATION,DATE_UPDATE)",
         {"ID_TESTPLAN INT NN", "ID_CONFIGURATION INT NN", "ADVANCEMENT REAL NN", "WORKLOAD REAL NN",
          "DATE_UPDATE VC12 NN", "COUNT_PASSED REAL NN", "COUNT_FAILED REAL NN", "COUNT_CANCELED REAL NN",
          "COUNT_WARNING REAL NN"}},
    };
}

QString tst_kvlDatabase::EngineType(const QString& logical, bool postgres)
{
    if (logical.startsWith(QLatin1String("VC")))
        return QStringLiteral("VARCHAR(%1)").arg(logical.mid(2));
    if (logical == QLatin1String("INT"))
        return QStringLiteral("INTEGER");
    if (logical == QLatin1String("MEMO"))
        return QStringLiteral("TEXT");
    if (logical == QLatin1String("DATE"))
        return postgres ? QStringLiteral("DATE") : QStringLiteral("TEXT");
    if (logical == QLatin1String("BLOB"))
        return postgres ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    return logical;
}

void tst_kvlDatabase::MakeOldDatabase(bool withSubTestAuthor)
{
    AdoConnection& c = gConnection();
    QVERIFY(c.Execute("CREATE TABLE CONFIGURATION (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(50))"));
    QVERIFY(
        c.Execute("CREATE TABLE TESTPLAN (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(50), "
                  "ID_CONFIGURATION INTEGER NOT NULL)"));
    QVERIFY(c.Execute("CREATE TABLE PROCEDURES (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(50))"));
    QVERIFY(c.Execute("CREATE TABLE RESULT (KEY_NODE VARCHAR(255) NOT NULL PRIMARY KEY, STATUS INTEGER NOT NULL)"));
    QVERIFY(c.Execute(withSubTestAuthor
                          ? "CREATE TABLE SUBTEST (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(50), ID_USER INTEGER)"
                          : "CREATE TABLE SUBTEST (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(50))"));
    QVERIFY(c.Execute("CREATE TABLE INFORMATION (VERSION VARCHAR(12) NOT NULL PRIMARY KEY, COMMENT VARCHAR(255))"));
    for (int id : {1, 2})
        QVERIFY(c.Execute("INSERT INTO CONFIGURATION VALUES (?, ?)", {id, QStringLiteral("Bench %1").arg(id)}));
    for (int id : {10, 11, 12})
        QVERIFY(c.Execute("INSERT INTO TESTPLAN VALUES (?, ?, ?)",
                          {id, QStringLiteral("Plan %1").arg(id), id == 12 ? 2 : 1}));
}

void tst_kvlDatabase::freshDatabaseHasTheSchema()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);

    QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);
    QCOMPARE(kvlDatabase().AddConstraints(gConnection()), 0);

    QStringList expectedNames;
    for (const Expected& table : ExpectedTables()) {
        expectedNames.append(table.table);
        QStringList columns;
        for (const DbCatalogue::Column& column : DbCatalogue::Columns(table.table))
            columns.append(column.name + QLatin1Char(' ') + column.type + (column.notNull ? " NN" : ""));
        QStringList expected;
        for (const QString& column : table.columns) {
            QStringList parts = column.split(QLatin1Char(' '));
            parts[1] = EngineType(parts[1], db.IsPostgres());
            expected.append(parts.join(QLatin1Char(' ')));
        }
        QCOMPARE(columns, expected);
        QCOMPARE(DbCatalogue::PrimaryKey(table.table), table.primaryKey);
    }
    expectedNames.sort();
    QCOMPARE(DbCatalogue::Tables(), expectedNames);

    const QList<DbCatalogue::ForeignKey> expectedKeys{
        {"FK_HISTORY_LINKS1", "HISTORY", "ID_TESTPLAN", "TESTPLAN"},
        {"FK_USER_CONFIGURATION1", "CONFIGURATION", "ID_USER", "USERS"},
        {"FK_USER_CONFIGURATIONLINKS1", "CONFIGURATION_LINKS", "ID_TESTPLAN", "TESTPLAN"},
        {"FK_USER_CONFIGURATIONLINKS2", "CONFIGURATION_LINKS", "ID_CONFIGURATION", "CONFIGURATION"},
        {"FK_USER_PROCEDURE1", "PROCEDURES", "ID_USER", "USERS"},
        {"FK_USER_PROCEDURELINKS1", "PROCEDURE_LINKS", "ID_SUBTEST", "SUBTEST"},
        {"FK_USER_PROCEDURELINKS2", "PROCEDURE_LINKS", "ID_PROCEDURE", "PROCEDURES"},
        {"FK_USER_RESULT1", "RESULT", "ID_USER", "USERS"},
        {"FK_USER_RESULT2", "RESULT", "ID_TESTPLAN", "TESTPLAN"},
        {"FK_USER_RESULT3", "RESULT", "ID_PROCEDURE", "PROCEDURES"},
        {"FK_USER_SUBTEST1", "SUBTEST", "ID_USER", "USERS"},
        {"FK_USER_SUBTESTLINKS1", "SUBTEST_LINKS", "ID_SUBTEST_CHILD", "SUBTEST"},
        {"FK_USER_SUBTESTLINKS2", "SUBTEST_LINKS", "ID_SUBTEST_PARENT", "SUBTEST"},
        {"FK_USER_TESTPLAN1", "TESTPLAN", "ID_USER", "USERS"},
        {"FK_USER_TESTPLANLINKS1", "TESTPLAN_LINKS", "ID_TESTPLAN", "TESTPLAN"},
        {"FK_USER_TESTPLANLINKS2", "TESTPLAN_LINKS", "ID_SUBTEST", "SUBTEST"},
    };
    QCOMPARE(DbCatalogue::ForeignKeys(), expectedKeys);

    QCOMPARE(DbCatalogue::Markers(),
             (QStringList{"2.0=Users table implemented", "3.1=Configuration_links table implemented",
                          "3.2=History table implemented"}));
    QCOMPARE(DbCatalogue::Count("USERS"), 0);
    QVERIFY(HasConfigurationLinks());
    QVERIFY(HasHistory());
    QVERIFY(!IsUserManagementOn());
    QCOMPARE(env.BugLogEntries(), 0);

    // The keys are enforced, and the keyword columns are usable as written.
    QVERIFY(!gConnection().Execute("INSERT INTO TESTPLAN_LINKS VALUES (?, ?, ?)", {1, 1, 1}));
    QVERIFY(gConnection().Execute(
        QStringLiteral("INSERT INTO SUBTEST (ID, %1) VALUES (?, ?)").arg(gConnection().Dialect().Quote("LEVEL")),
        {1, 3}));
}

void tst_kvlDatabase::addTablesOnExistingTableCreatesNothing()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    QVERIFY(gConnection().Execute("CREATE TABLE CONFIGURATION (ID INTEGER NOT NULL)"));

    QCOMPARE(kvlDatabase().AddTables(gConnection()), 1);
    QCOMPARE(DbCatalogue::Tables(), QStringList{"CONFIGURATION"});
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_Execute : "));
}

void tst_kvlDatabase::connectionUpgradesRunOnce()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeOldDatabase(false);

    // What start-up and the connection dialog do after each connection.
    auto upgrade = [] {
        int runs = 0;
        if (!HasConfigurationLinks()) {
            kvlDatabase().AddConfigurationLinksTable();
            ++runs;
        }
        if (!HasHistory()) {
            kvlDatabase().AddHistoryTable();
            ++runs;
        }
        return runs;
    };
    QCOMPARE(upgrade(), 2);
    QCOMPARE(env.BugLogEntries(), 0);
    QCOMPARE(DbCatalogue::Markers(),
             (QStringList{"3.1=Configuration links table implemented", "3.2=History table implemented"}));
    QSqlQuery links =
        gConnection().Query("SELECT ID_TESTPLAN, ID_CONFIGURATION FROM CONFIGURATION_LINKS ORDER BY ID_TESTPLAN");
    QStringList rows;
    while (links.next())
        rows.append(links.value(0).toString() + "/" + links.value(1).toString());
    QCOMPARE(rows, (QStringList{"10/1", "11/1", "12/2"}));
    const QList<DbCatalogue::ForeignKey> keys{
        {"FK_CONFIGURATION_LINKS1", "CONFIGURATION_LINKS", "ID_TESTPLAN", "TESTPLAN"},
        {"FK_CONFIGURATION_LINKS2", "CONFIGURATION_LINKS", "ID_CONFIGURATION", "CONFIGURATION"},
        {"FK_HISTORY_LINKS1", "HISTORY", "ID_TESTPLAN", "TESTPLAN"},
    };
    QCOMPARE(DbCatalogue::ForeignKeys(), keys);
    QCOMPARE(DbCatalogue::Columns("HISTORY").size(), 9);

    QCOMPARE(upgrade(), 0);
    // Run anyway, each refuses at its first step and leaves the data as it was.
    env.ClearBugLog();
    QCOMPARE(kvlDatabase().AddConfigurationLinksTable(), 1);
    QCOMPARE(kvlDatabase().AddHistoryTable(), 1);
    QCOMPARE(env.BugLogEntries(), 2);  // Execute's own entries only
    QVERIFY(!env.BugLog().contains("Error_Add"));
    QCOMPARE(DbCatalogue::Count("CONFIGURATION_LINKS"), 3);
    QCOMPARE(DbCatalogue::Markers().size(), 2);
    QCOMPARE(DbCatalogue::ForeignKeys(), keys);
}

void tst_kvlDatabase::failedUpgradeLeavesNoTableAndRunsAgain()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    AdoConnection& c = gConnection();
    // No INFORMATION table: each upgrade fails at its marker, after its table was made.
    QVERIFY(c.Execute("CREATE TABLE CONFIGURATION (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(50))"));
    QVERIFY(c.Execute("CREATE TABLE TESTPLAN (ID INTEGER NOT NULL PRIMARY KEY, ID_CONFIGURATION INTEGER NOT NULL)"));
    QVERIFY(c.Execute("INSERT INTO CONFIGURATION VALUES (?, ?)", {1, QStringLiteral("Bench")}));
    QVERIFY(c.Execute("INSERT INTO TESTPLAN VALUES (?, ?)", {5, 1}));

    QCOMPARE(kvlDatabase().AddConfigurationLinksTable(), 1);
    QCOMPARE(kvlDatabase().AddHistoryTable(), 1);
    QCOMPARE(DbCatalogue::Tables(), (QStringList{"CONFIGURATION", "TESTPLAN"}));
    QCOMPARE(env.BugLog().count("Error_AddConfigurationLinksTable:"), 1);
    QCOMPARE(env.BugLog().count("Error_AddHistoryTable:"), 1);

    QVERIFY(c.Execute("CREATE TABLE INFORMATION (VERSION VARCHAR(12) NOT NULL PRIMARY KEY, COMMENT VARCHAR(255))"));
    QCOMPARE(kvlDatabase().AddConfigurationLinksTable(), 0);
    QCOMPARE(kvlDatabase().AddHistoryTable(), 0);
    QVERIFY(HasConfigurationLinks());
    QVERIFY(HasHistory());
    QCOMPARE(DbCatalogue::Count("CONFIGURATION_LINKS"), 1);

    // An upgrade that meets a broken table (TESTPLAN gone) logs under its label and leaves no table.
    TestDatabase other(backend);
    QVERIFY(other.Open());
    QVERIFY(c.Execute("CREATE TABLE INFORMATION (VERSION VARCHAR(12) NOT NULL PRIMARY KEY, COMMENT VARCHAR(255))"));
    env.ClearBugLog();
    QCOMPARE(kvlDatabase().AddConfigurationLinksTable(), 1);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_AddConfigurationLinksTable:"));
    QCOMPARE(DbCatalogue::Tables(), QStringList{"INFORMATION"});
}

void tst_kvlDatabase::userTableUpgradeIsAllOrNothing()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    // A half-upgraded database: SUBTEST already has its author column, so the last step fails.
    MakeOldDatabase(true);
    const QStringList tables{"PROCEDURES", "TESTPLAN", "CONFIGURATION", "RESULT"};

    QCOMPARE(kvlDatabase().AddUserTable(), 1);
    QVERIFY(!DbCatalogue::Tables().contains("USERS"));
    for (const QString& table : tables)
        QVERIFY2(!DbCatalogue::HasColumn(table, "ID_USER"), qPrintable(table));
    QVERIFY(DbCatalogue::Markers().isEmpty());
    QVERIFY(DbCatalogue::ForeignKeys().isEmpty());
    QCOMPARE(env.BugLog().count("Error_AddUserTable:"), 1);

    // Mended, the same upgrade runs to its end.
    QVERIFY(gConnection().Execute("ALTER TABLE SUBTEST DROP COLUMN ID_USER"));
    env.ClearBugLog();
    QCOMPARE(kvlDatabase().AddUserTable(), 0);
    QCOMPARE(env.BugLogEntries(), 0);
    QCOMPARE(DbCatalogue::Markers(), QStringList{"2.0=Users table implemented"});
    QSqlQuery admin = gConnection().Query("SELECT ID, NAME, PWD, DESCRIPTION, CATEGORY FROM USERS");
    QVERIFY(admin.next());
    QCOMPARE(admin.value(0).toInt(), 1);
    QCOMPARE(admin.value(1).toString(), QStringLiteral("Admin"));
    QCOMPARE(admin.value(2).toString(), QString());
    QCOMPARE(admin.value(3).toString(), QStringLiteral("administrator account"));
    QCOMPARE(admin.value(4).toInt(), 4);
    QVERIFY(!admin.next());
    QList<DbCatalogue::ForeignKey> keys;
    for (const QString& table : tables + QStringList{"SUBTEST"})
        keys.append({"FK_USER_" + table, table, "ID_USER", "USERS"});
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    QCOMPARE(DbCatalogue::ForeignKeys(), keys);
    QCOMPARE(UserName("1"), QStringLiteral("Admin"));

    // A table that still needs the users keeps them: the removal fails whole.
    QVERIFY(gConnection().Execute("CREATE TABLE SIGNOFF (ID_USER INTEGER REFERENCES USERS(ID))"));
    QVERIFY(gConnection().Execute("INSERT INTO SIGNOFF (ID_USER) VALUES (1)"));
    env.ClearBugLog();
    QCOMPARE(kvlDatabase().RemoveUserTable(), 1);
    QVERIFY(env.BugLog().contains("Error_AddUserTable:"));
    QVERIFY(DbCatalogue::Tables().contains("USERS"));
    QVERIFY(DbCatalogue::HasColumn("SUBTEST", "ID_USER"));
    QCOMPARE(DbCatalogue::Markers(), QStringList{"2.0=Users table implemented"});
    QVERIFY(gConnection().Execute("DROP TABLE SIGNOFF"));

    // And it comes off again.
    QCOMPARE(kvlDatabase().RemoveUserTable(), 0);
    QVERIFY(!DbCatalogue::Tables().contains("USERS"));
    for (const QString& table : tables + QStringList{"SUBTEST"})
        QVERIFY2(!DbCatalogue::HasColumn(table, "ID_USER"), qPrintable(table));
    QVERIFY(DbCatalogue::Markers().isEmpty());
    QCOMPARE(DbCatalogue::Count("TESTPLAN"), 3);
}

// The tree and the results are read by parent and by item: a new database carries the indexes
// that keep those reads fast on large databases.
void tst_kvlDatabase::indexesOfNewDatabase()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);
    QCOMPARE(kvlDatabase().AddConstraints(gConnection()), 0);
    const QStringList expected{
        "IDX_CONFIGURATION_LINKS_CONFIGURATION ON CONFIGURATION_LINKS(ID_CONFIGURATION)",
        "IDX_PROCEDURE_LINKS_SUBTEST ON PROCEDURE_LINKS(ID_SUBTEST,ORDER_PROCEDURE)",
        "IDX_RESULT_PROCEDURE ON RESULT(ID_PROCEDURE)",
        "IDX_RESULT_TESTPLAN ON RESULT(ID_TESTPLAN)",
        "IDX_SUBTEST_LINKS_CHILD ON SUBTEST_LINKS(ID_SUBTEST_CHILD)",
        "IDX_SUBTEST_LINKS_PARENT ON SUBTEST_LINKS(ID_SUBTEST_PARENT,ORDER_SUBTEST)",
        "IDX_TESTPLAN_LINKS_SUBTEST ON TESTPLAN_LINKS(ID_SUBTEST)",
    };
    QCOMPARE(DbCatalogue::Indexes(), expected);
}

QTEST_GUILESS_MAIN(tst_kvlDatabase)
#include "tst_kvlDatabase.moc"
