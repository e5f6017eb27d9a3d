#include "BenchDatabase.h"

#include "TestDatabase.h"

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"

#include <QFile>

namespace BenchDatabase {

namespace {

bool OpenFile(const QString& file, bool fresh, QString& error)
{
    if (fresh) {
        QFile::remove(file);
        QFile::remove(file + QStringLiteral("-wal"));
        QFile::remove(file + QStringLiteral("-shm"));
        QFile empty(file);
        if (!empty.open(QIODevice::WriteOnly)) {
            error = QStringLiteral("Cannot create ") + file;
            return false;
        }
    }
    if (!gConnection().OpenAccess(file)) {
        error = gConnection().LastOpenError();
        return false;
    }
    return true;
}

bool OpenServer(bool fresh, QString& error)
{
    const std::optional<PgServer> server = TestDatabase::Server();
    if (!server) {
        error = QStringLiteral(
            "no PostgreSQL server: start one with scripts/pg-test-start.sh and set "
            "KORAVEL_PG_ENV_FILE");
        return false;
    }
    AdoConnection& connection = gConnection();
    if (!connection.OpenSQLServer(server->DataSource(), server->database, server->user, server->password)) {
        error = connection.LastOpenError();
        return false;
    }
    // The server's notices about what the drop takes with it are no news here.
    connection.Execute(QStringLiteral("SET client_min_messages TO WARNING"));
    if (fresh && !server->IsTestDatabase()) {
        error = QStringLiteral("Refusing to empty '%1': a test database's name ends in _test").arg(server->database);
        return false;
    }
    if (fresh && (!connection.Execute(QStringLiteral("DROP SCHEMA IF EXISTS public CASCADE")) ||
                  !connection.Execute(QStringLiteral("CREATE SCHEMA public")))) {
        error = QStringLiteral("Cannot empty the database");
        return false;
    }
    return true;
}

}  // namespace

bool Open(const QString& engine, const QString& file, bool fresh, QString& error)
{
    gConnection().Close();
    bool opened = false;
    if (engine == QLatin1String("sqlite"))
        opened = OpenFile(file, fresh, error);
    else if (engine == QLatin1String("postgres"))
        opened = OpenServer(fresh, error);
    else
        error = QStringLiteral("unknown engine ") + engine;
    if (!opened || !fresh)
        return opened;
    if (kvlDatabase().AddTables(gConnection()) != 0 || kvlDatabase().AddConstraints(gConnection()) != 0) {
        error = QStringLiteral("Cannot create the schema");
        return false;
    }
    return true;
}

}  // namespace BenchDatabase
