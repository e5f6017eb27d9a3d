#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

// Where the throwaway PostgreSQL server of the test scripts listens.
struct PgServer
{
    QString host;
    int port = 0;
    QString database;
    QString user;
    QString password;

    // host:port, as the connection's DataSource takes it.
    QString DataSource() const { return host + QLatin1Char(':') + QString::number(port); }
    // Tests empty the whole schema: only a database whose name ends in _test may be emptied.
    bool IsTestDatabase() const { return database.endsWith(QLatin1String("_test")); }
};

// A fresh, empty database opened on gConnection(), on the back end a test row names:
// "sqlite" (a new file in a temporary folder) or "postgres" (the test server's database with
// its schema emptied). Closes the connection when it goes.
class TestDatabase
{
public:
    explicit TestDatabase(const QString& backend);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // False with Error() set when the database could not be made or opened.
    bool Open();
    QString Error() const { return m_error; }
    QString Backend() const { return m_backend; }
    bool IsPostgres() const { return m_backend == QLatin1String("postgres"); }
    // The SQLite file ("" on a server).
    QString FilePath() const { return m_file; }

    // The test server from KORAVEL_PG_* variables, or from the file KORAVEL_PG_ENV_FILE names;
    // empty when neither is set (the test runs outside ctest's postgres fixture).
    static std::optional<PgServer> Server();

    // The back ends to test: the one KORAVEL_TEST_ENGINE names, or both (sqlite, postgres).
    static QStringList Backends();
    // The `_data` column "backend" with a row per back end of Backends().
    static void AddBackendRows();

private:
    QString m_backend;
    QString m_error;
    QString m_file;
    QTemporaryDir m_dir;
};

// Skips the current test row when it needs the server and none was started for it.
#define KORAVEL_REQUIRE_BACKEND(db)                                                  \
    do {                                                                             \
        if ((db).IsPostgres() && !TestDatabase::Server())                            \
            QSKIP("No PostgreSQL test server: run through ctest (label postgres)."); \
        QVERIFY2((db).Open(), qPrintable((db).Error()));                             \
    } while (false)
