#include "DbCatalogue.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/db/kvlDatabase.h"

#include <QDir>
#include <QtTest>

// An ODBC data source (provider 5): a DSN in a temporary odbc.ini, served by the PostgreSQL
// ODBC driver and pointing at the test server.
class tst_OdbcConnection : public QObject
{
    Q_OBJECT

private:
    static QString DriverPath();
    QTemporaryDir m_iniDir;

private slots:
    void initTestCase();
    void dataSourceOpensAndCarriesTheSchema();
    void unknownDataSourceFails();
};

QString tst_OdbcConnection::DriverPath()
{
    const QString given = qEnvironmentVariable("KORAVEL_PSQLODBC_DRIVER");
    if (!given.isEmpty())
        return given;
    // Debian puts it under the multiarch folder of the machine.
    for (const QString& dir :
         QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*-linux-gnu*")}, QDir::Dirs)) {
        const QString path = QStringLiteral("/usr/lib/%1/odbc/psqlodbcw.so").arg(dir);
        if (QFileInfo::exists(path))
            return path;
    }
    return QFileInfo::exists("/usr/lib/odbc/psqlodbcw.so") ? QStringLiteral("/usr/lib/odbc/psqlodbcw.so") : QString();
}

void tst_OdbcConnection::initTestCase()
{
    const std::optional<PgServer> server = TestDatabase::Server();
    if (!server)
        QSKIP("No PostgreSQL test server: run through ctest (label postgres).");
    const QString driver = DriverPath();
    QVERIFY2(!driver.isEmpty(), "psqlodbcw.so not found (package odbc-postgresql)");
    QVERIFY(m_iniDir.isValid());

    QFile drivers(m_iniDir.filePath("odbcinst.ini"));
    QVERIFY(drivers.open(QIODevice::WriteOnly));
    drivers.write(QStringLiteral("[Koravel PostgreSQL]\nDriver=%1\n").arg(driver).toUtf8());
    drivers.close();
    QFile sources(m_iniDir.filePath("odbc.ini"));
    QVERIFY(sources.open(QIODevice::WriteOnly));
    sources.write(QStringLiteral("[koravel_test]\nDriver=Koravel PostgreSQL\nServername=%1\nPort=%2\nDatabase=%3\n")
                      .arg(server->host)
                      .arg(server->port)
                      .arg(server->database)
                      .toUtf8());
    sources.close();
    qputenv("ODBCSYSINI", m_iniDir.path().toLocal8Bit());
    qputenv("ODBCINI", sources.fileName().toLocal8Bit());
}

void tst_OdbcConnection::dataSourceOpensAndCarriesTheSchema()
{
    TestEnvironment env;
    const std::optional<PgServer> server = TestDatabase::Server();
    AdoConnection& c = gConnection();
    QSignalSpy connected(&c, &AdoConnection::Connected);
    c.SetProviderType(5);
    c.DSN = "koravel_test";
    c.UserID = server->user;
    c.Password = server->password;
    QVERIFY2(c.DataOpen(), qPrintable(c.LastOpenError()));
    QCOMPARE(connected.count(), 1);
    // The dialect follows the engine behind the driver.
    QVERIFY(c.Dialect().IsPostgreSQL());

    QVERIFY2(server->IsTestDatabase(), qPrintable(server->database));
    QVERIFY(c.Execute("DROP SCHEMA IF EXISTS public CASCADE"));
    QVERIFY(c.Execute("CREATE SCHEMA public"));
    QCOMPARE(kvlDatabase().AddTables(c), 0);
    QCOMPARE(kvlDatabase().AddConstraints(c), 0);
    QCOMPARE(DbCatalogue::Tables().size(), 14);
    QCOMPARE(DbCatalogue::ForeignKeys().size(), 16);
    QVERIFY(HasHistory());

    QVERIFY(c.Execute("INSERT INTO CONFIGURATION (ID, NAME, DATE_CREATION) VALUES (?, ?, ?)",
                      {41, QStringLiteral("Bench 'A'"), QDate(2024, 5, 1)}));
    QCOMPARE(ConfigurationName("41"), QStringLiteral("Bench 'A'"));
    QCOMPARE(NewId("CONFIGURATION"), 42);
    QCOMPARE(c.Scalar("SELECT DATE_CREATION FROM CONFIGURATION WHERE ID = ?", {41}).toDate(), QDate(2024, 5, 1));
    QCOMPARE(env.BugLogEntries(), 0);
    c.Close();
}

void tst_OdbcConnection::unknownDataSourceFails()
{
    TestEnvironment env;
    AdoConnection connection;
    QSignalSpy disconnected(&connection, &AdoConnection::Disconnected);
    connection.SetProviderType(5);
    connection.DSN = "no_such_source";
    QVERIFY(!connection.DataOpen());
    QCOMPARE(disconnected.count(), 1);
    QVERIFY(!connection.LastOpenError().isEmpty());
}

QTEST_GUILESS_MAIN(tst_OdbcConnection)
#include "tst_OdbcConnection.moc"
