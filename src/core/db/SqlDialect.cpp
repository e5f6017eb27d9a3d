#include "core/db/SqlDialect.h"

#include <QSqlDatabase>
#include <QSqlDriver>

SqlDialect SqlDialect::ForDatabase(const QSqlDatabase& db)
{
    const QSqlDriver* driver = db.driver();
    switch (driver ? driver->dbmsType() : QSqlDriver::UnknownDbms) {
        case QSqlDriver::SQLite:
            return SqlDialect(Engine::SQLite);
        case QSqlDriver::PostgreSQL:
            return SqlDialect(Engine::PostgreSQL);
        default:
            break;
    }
    const QString name = db.driverName();
    if (name == QLatin1String("QSQLITE"))
        return SqlDialect(Engine::SQLite);
    if (name == QLatin1String("QPSQL"))
        return SqlDialect(Engine::PostgreSQL);
    return SqlDialect(Engine::Other);
}

QString SqlDialect::RealType() const
{
    return QStringLiteral("REAL");
}

QString SqlDialect::TextType(int width) const
{
    return QStringLiteral("VARCHAR(%1)").arg(width);
}

QString SqlDialect::MemoType() const
{
    return QStringLiteral("TEXT");
}

QString SqlDialect::DateType() const
{
    return IsSQLite() ? QStringLiteral("TEXT") : QStringLiteral("DATE");
}

QString SqlDialect::BlobType() const
{
    return IsPostgreSQL() ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
}

QString SqlDialect::Quote(const QString& identifier) const
{
    // PostgreSQL folds unquoted names to lower case: a quoted name must match that folding.
    return QLatin1Char('"') + (IsPostgreSQL() ? identifier.toLower() : identifier) + QLatin1Char('"');
}
