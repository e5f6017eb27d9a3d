#include "TestDatabase.h"

#include "core/db/AdoConnection.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QTest>

TestDatabase::TestDatabase(const QString& backend) : m_backend(backend) {}

TestDatabase::~TestDatabase()
{
    gConnection().Close();
}

std::optional<PgServer> TestDatabase::Server()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("KORAVEL_PG_HOST"))) {
        QFile file(env.value(QStringLiteral("KORAVEL_PG_ENV_FILE")));
        if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
            return std::nullopt;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const int eq = static_cast<int>(line.indexOf('='));
            if (eq > 0)
                env.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)).trimmed());
        }
    }
    PgServer server;
    server.host = env.value(QStringLiteral("KORAVEL_PG_HOST"));
    server.port = env.value(QStringLiteral("KORAVEL_PG_PORT"), QStringLiteral("5432")).toInt();
    server.database = env.value(QStringLiteral("KORAVEL_PG_DB"));
    server.user = env.value(QStringLiteral("KORAVEL_PG_USER"));
    server.password = env.value(QStringLiteral("KORAVEL_PG_PASSWORD"));
    if (server.host.isEmpty() || server.database.isEmpty())
        return std::nullopt;
    return server;
}

bool TestDatabase::Open()
{
    AdoConnection& connection = gConnection();
    connection.Close();
    if (m_backend == QLatin1String("sqlite")) {
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("No temporary folder");
            return false;
        }
        m_file = m_dir.filePath(QStringLiteral("test.db"));
        QFile::remove(m_file);
        QFile file(m_file);
        // An empty file is an empty SQLite database.
        if (!file.open(QIODevice::WriteOnly)) {
            m_error = QStringLiteral("Cannot create ") + m_file;
            return false;
        }
        file.close();
        if (!connection.OpenAccess(m_file)) {
            m_error = connection.LastOpenError();
            return false;
        }
        return true;
    }
    if (m_backend == QLatin1String("postgres")) {
        const std::optional<PgServer> server = Server();
        if (!server) {
            m_error = QStringLiteral("No PostgreSQL test server is configured");
            return false;
        }
        if (!server->IsTestDatabase()) {
            m_error =
                QStringLiteral("Refusing to empty '%1': a test database's name ends in _test").arg(server->database);
            return false;
        }
        if (!connection.OpenSQLServer(server->DataSource(), server->database, server->user, server->password)) {
            m_error = connection.LastOpenError();
            return false;
        }
        // Each test starts from an empty schema, whatever the test before it left.
        if (!connection.Execute(QStringLiteral("DROP SCHEMA IF EXISTS public CASCADE")) ||
            !connection.Execute(QStringLiteral("CREATE SCHEMA public"))) {
            m_error = QStringLiteral("Cannot empty the test database");
            return false;
        }
        return true;
    }
    m_error = QStringLiteral("Unknown back end ") + m_backend;
    return false;
}

QStringList TestDatabase::Backends()
{
    const QString engine = qEnvironmentVariable("KORAVEL_TEST_ENGINE");
    if (engine.isEmpty())
        return {QStringLiteral("sqlite"), QStringLiteral("postgres")};
    return {engine};
}

void TestDatabase::AddBackendRows()
{
    QTest::addColumn<QString>("backend");
    for (const QString& backend : Backends())
        QTest::newRow(qPrintable(backend)) << backend;
}
