#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "platform/KvlError.h"

#include <QSignalSpy>
#include <QtTest>

// The shared connection: provider types, opening, bound statements, failures and transactions.
class tst_AdoConnection : public QObject
{
    Q_OBJECT

private slots:
    void providerTypes_data();
    void providerTypes();
    void unsupportedProvidersFailAndLog_data();
    void unsupportedProvidersFailAndLog();
    void missingFileFailsAndIsNotCreated();
    void fileThatIsNoDatabaseFails();
    void reopenSwitchesDatabase();
    void sqliteSettingsOnOpen();
    void journalOnlyWhereTheFileSystemIsLocal_data();
    void journalOnlyWhereTheFileSystemIsLocal();
    void badStatementLogsOnce_data() { TestDatabase::AddBackendRows(); }
    void badStatementLogsOnce();
    void boundValuesRoundTrip_data() { TestDatabase::AddBackendRows(); }
    void boundValuesRoundTrip();
    void keptStatementsPastTheirLimit_data() { TestDatabase::AddBackendRows(); }
    void keptStatementsPastTheirLimit();
    void noStatementInsideReader_data() { TestDatabase::AddBackendRows(); }
    void noStatementInsideReader();
    void transactions_data() { TestDatabase::AddBackendRows(); }
    void transactions();
    void serverLoginRefused();
};

void tst_AdoConnection::providerTypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("readBack");
    QTest::addColumn<QString>("provider");
    QTest::newRow("1 file") << 1 << 1 << "QSQLITE";
    QTest::newRow("2 server") << 2 << 2 << "QPSQL";
    QTest::newRow("3 file") << 3 << 3 << "QSQLITE";
    QTest::newRow("5 odbc") << 5 << 5 << "QODBC";
    QTest::newRow("9 unknown") << 9 << 1 << "QSQLITE";
    QTest::newRow("0 unknown") << 0 << 1 << "QSQLITE";
}

void tst_AdoConnection::providerTypes()
{
    QFETCH(int, type);
    QFETCH(int, readBack);
    QFETCH(QString, provider);
    AdoConnection connection;
    connection.SetProviderType(type);
    QCOMPARE(connection.ProviderType(), readBack);
    QCOMPARE(connection.Provider(), provider);
}

void tst_AdoConnection::unsupportedProvidersFailAndLog_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("4 Oracle") << 4;
    QTest::newRow("6 dBASE") << 6;
    QTest::newRow("7 Excel") << 7;
}

void tst_AdoConnection::unsupportedProvidersFailAndLog()
{
    QFETCH(int, type);
    TestEnvironment env;
    AdoConnection connection;
    QSignalSpy connected(&connection, &AdoConnection::Connected);
    QSignalSpy disconnected(&connection, &AdoConnection::Disconnected);
    connection.SetProviderType(type);
    connection.DataSource = env.Path("anything.db");
    QVERIFY(!connection.DataOpen());
    QVERIFY(!connection.IsOpen());
    QCOMPARE(connected.count(), 0);
    QCOMPARE(disconnected.count(), 1);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(!connection.LastOpenError().isEmpty());
}

void tst_AdoConnection::missingFileFailsAndIsNotCreated()
{
    TestEnvironment env;
    AdoConnection connection;
    QSignalSpy disconnected(&connection, &AdoConnection::Disconnected);
    const QString missing = env.Path("nowhere/plans.db");
    const QString missingHere = env.Path("plans.db");
    QVERIFY(!connection.OpenAccess(missing));
    QVERIFY(!connection.OpenAccess(missingHere));
    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(!QFileInfo::exists(missingHere));
    QCOMPARE(disconnected.count(), 2);
    QCOMPARE(env.BugLogEntries(), 0);  // the caller decides what to say
    QVERIFY_THROWS_EXCEPTION(KvlError, connection.Query("SELECT 1"));
}

void tst_AdoConnection::fileThatIsNoDatabaseFails()
{
    TestEnvironment env;
    QFile file(env.Path("notes.db"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("These are plain notes, not a database.\n").repeated(200));
    file.close();
    AdoConnection connection;
    QVERIFY(!connection.OpenAccess(file.fileName()));
    QVERIFY(!connection.IsOpen());
}

void tst_AdoConnection::reopenSwitchesDatabase()
{
    TestEnvironment env;
    TestDatabase first("sqlite");
    QVERIFY(first.Open());
    QVERIFY(gConnection().Execute("CREATE TABLE ONLY_IN_FIRST (ID INTEGER)"));
    TestDatabase second("sqlite");
    QVERIFY(second.Open());
    QSignalSpy connected(&gConnection(), &AdoConnection::Connected);
    QVERIFY(gConnection().OpenAccess(first.FilePath()));
    QCOMPARE(connected.count(), 1);
    QVERIFY(gConnection().Execute("SELECT * FROM ONLY_IN_FIRST"));
    QVERIFY(gConnection().OpenAccess(second.FilePath()));
    QCOMPARE(connected.count(), 2);
    QVERIFY_THROWS_EXCEPTION(KvlError, gConnection().Query("SELECT * FROM ONLY_IN_FIRST"));
}

void tst_AdoConnection::sqliteSettingsOnOpen()
{
    TestEnvironment env;
    TestDatabase db("sqlite");
    QVERIFY(db.Open());
    QCOMPARE(gConnection().Scalar("PRAGMA foreign_keys").toInt(), 1);
    QCOMPARE(gConnection().Scalar("PRAGMA journal_mode").toString(), QStringLiteral("wal"));
    QCOMPARE(gConnection().Scalar("PRAGMA synchronous").toInt(), 1);
    QVERIFY(gConnection().UsesWriteAheadLog());
    QCOMPARE(gConnection().Scalar("PRAGMA cache_size").toInt(), -65536);
    QVERIFY(gConnection().Dialect().IsSQLite());
    // A clean close folds the log back into the file, which a copy then holds whole.
    gConnection().Run("CREATE TABLE T (ID INTEGER)");
    QVERIFY(QFileInfo::exists(db.FilePath() + "-wal"));
    gConnection().Close();
    QVERIFY(!QFileInfo::exists(db.FilePath() + "-wal"));
}

void tst_AdoConnection::journalOnlyWhereTheFileSystemIsLocal_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("local");
    for (const char* type : {"ext4", "xfs", "btrfs", "tmpfs", "overlay", "zfs"})
        QTest::newRow(type) << QByteArray(type) << true;
    for (const char* type : {"cifs", "smb3", "nfs", "NFS4", "9p", "fuse.sshfs", "ceph", "davfs", ""})
        QTest::newRow(*type ? type : "unknown") << QByteArray(type) << false;
}

// The write-ahead log needs shared memory that network file systems do not give; a team's shared
// file gets the rollback journal.
void tst_AdoConnection::journalOnlyWhereTheFileSystemIsLocal()
{
    QFETCH(QByteArray, type);
    QFETCH(bool, local);
    QCOMPARE(AdoConnection::IsLocalFileSystem(type), local);
}

void tst_AdoConnection::badStatementLogsOnce()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    QVERIFY(!gConnection().Execute("SELEC nothing FROM nowhere"));
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_Execute : "));
    QVERIFY(!gConnection().LastErrorText().isEmpty());
    QVERIFY(!gConnection().Execute("INSERT INTO missing_table VALUES (?)", {1}));
    QCOMPARE(env.BugLogEntries(), 2);
}

void tst_AdoConnection::boundValuesRoundTrip()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    AdoConnection& c = gConnection();
    const SqlDialect& d = c.Dialect();
    QVERIFY(c.Execute(QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL, NAME %1 NULL, DAY %2 NULL, DATA %3 NULL)")
                          .arg(d.TextType(50), d.DateType(), d.BlobType())));
    const QString name = QStringLiteral("O'Brien\"; DROP TABLE T; -- ¤é");
    const QDate day(2024, 2, 29);
    const QByteArray data("\x00\x01\xff picture", 11);
    QVERIFY(c.Execute("INSERT INTO T VALUES (?, ?, ?, ?)", {2000000000, name, day, data}));
    QSqlQuery query = c.Query("SELECT ID, NAME, DAY, DATA FROM T WHERE NAME = ?", {name});
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 2000000000);
    QCOMPARE(query.value(1).toString(), name);
    QCOMPARE(query.value(2).toDate(), day);
    if (d.IsSQLite())
        QCOMPARE(query.value(2).toString(), QStringLiteral("2024-02-29"));
    QCOMPARE(query.value(3).toByteArray(), data);
    QCOMPARE(c.Scalar("SELECT count(*) FROM T WHERE DAY = ?", {day}).toInt(), 1);
}

// Statements past the number kept are dropped, least recently used first; a dropped statement
// is prepared again when met, and (on SQLite, where statements may nest) one whose rows are still
// being read is not disturbed.
void tst_AdoConnection::keptStatementsPastTheirLimit()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    AdoConnection& c = gConnection();
    c.Run(QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL)"));
    for (int id = 1; id <= 3; ++id)
        c.Run(QStringLiteral("INSERT INTO T (ID) VALUES (?)"), {id});
    const auto shifted = [&](int id, int n) {
        return c.Scalar(QStringLiteral("SELECT ID + %1 FROM T WHERE ID = ?").arg(n), {id}).toInt();
    };
    for (int round = 0; round < 2; ++round) {
        for (int n = 0; n < 600; ++n)
            QCOMPARE(shifted(1 + n % 3, n), 1 + n % 3 + n);
    }
    QCOMPARE(env.BugLogEntries(), 0);
}

// On PostgreSQL a statement run while rows are streamed ends the read without a word: every
// statement of the connection refuses to run inside a reader, and the refusal reaches the caller.
void tst_AdoConnection::noStatementInsideReader()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    AdoConnection& c = gConnection();
    c.Run(QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL)"));
    for (int id = 1; id <= 3; ++id)
        c.Run(QStringLiteral("INSERT INTO T (ID) VALUES (?)"), {id});
    const QString select = QStringLiteral("SELECT ID FROM T WHERE ID > ? ORDER BY ID");
    const QList<std::function<void()>> inner = {
        [&] { c.Scalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE ID > ?"), {0}); },
        [&] { c.Run(QStringLiteral("UPDATE T SET ID = ID WHERE ID = ?"), {1}); },
        [&] { c.Query(QStringLiteral("SELECT ID FROM T")); },
        [&] { c.ForEachRow(select, {0}, [](const QSqlQuery&) {}); },
    };
    for (const auto& statement : inner) {
        int rows = 0;
        QVERIFY_THROWS_EXCEPTION(KvlError, c.ForEachRow(select, {0}, [&](const QSqlQuery&) {
            ++rows;
            statement();
        }));
        QCOMPARE(rows, 1);
    }
    // Execute reports each refusal as a failure and logs it.
    int failures = 0;
    c.ForEachRow(select, {0},
                 [&](const QSqlQuery&) { failures += c.Execute(QStringLiteral("DELETE FROM T")) ? 0 : 1; });
    QCOMPARE(failures, 3);
    QCOMPARE(env.BugLogEntries(), 3);
    // Once the reader is gone, the connection runs statements again.
    int rows = 0;
    c.ForEachRow(select, {0}, [&](const QSqlQuery&) { ++rows; });
    QCOMPARE(rows, 3);
}

void tst_AdoConnection::transactions()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    AdoConnection& c = gConnection();
    QVERIFY(c.Execute("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY)"));
    auto count = [&] { return c.Scalar("SELECT count(*) FROM T").toInt(); };

    // A rollback anywhere undoes the whole.
    QVERIFY(c.BeginTrans());
    QVERIFY(c.Execute("INSERT INTO T VALUES (?)", {1}));
    QVERIFY(c.BeginTrans());
    QVERIFY(c.Execute("INSERT INTO T VALUES (?)", {2}));
    c.RollbackTrans();
    QVERIFY(!c.CommitTrans());
    QCOMPARE(count(), 0);

    {
        DbTransaction transaction(c);
        QVERIFY(c.Execute("INSERT INTO T VALUES (?)", {3}));
    }
    QCOMPARE(count(), 0);

    // A statement the caller goes past undoes only itself, even where a failure aborts the rest.
    {
        DbTransaction transaction(c);
        QVERIFY(c.Execute("INSERT INTO T VALUES (?)", {4}));
        QVERIFY(!c.ExecuteUnchecked("INSERT INTO T VALUES (?)", {4}));
        QVERIFY(c.Execute("INSERT INTO T VALUES (?)", {5}));
        QVERIFY(transaction.Commit());
    }
    QCOMPARE(count(), 2);
    QCOMPARE(env.BugLogEntries(), 1);
}

void tst_AdoConnection::serverLoginRefused()
{
    const std::optional<PgServer> server = TestDatabase::Server();
    if (!server)
        QSKIP("No PostgreSQL test server: run through ctest (label postgres).");
    TestEnvironment env;
    AdoConnection connection;
    QSignalSpy disconnected(&connection, &AdoConnection::Disconnected);
    QVERIFY(!connection.OpenSQLServer(server->DataSource(), server->database, server->user, "wrong password"));
    QCOMPARE(disconnected.count(), 1);
    QVERIFY(connection.OpenSQLServer(server->DataSource(), server->database, server->user, server->password));
    QVERIFY(connection.Dialect().IsPostgreSQL());
}

QTEST_GUILESS_MAIN(tst_AdoConnection)
#include "tst_AdoConnection.moc"
