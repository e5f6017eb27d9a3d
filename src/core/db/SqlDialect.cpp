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

QString SqlDialect::ContainsCondition(const QString& column) const
{
    switch (m_engine) {
        case Engine::SQLite:
            // SQLite's own LIKE already folds ASCII letters only.
            return column + QStringLiteral(" LIKE ? ESCAPE '\\'");
        case Engine::PostgreSQL:
            // Under the "C" collation ILIKE folds ASCII letters only, whatever the server's locale,
            // and it is the cheapest case-blind scan the server has (a regular expression costs
            // half as much again over every description).
            return column + QStringLiteral(" COLLATE \"C\" ILIKE ? ESCAPE '\\'");
        case Engine::Other:
            break;
    }
    return QStringLiteral("LOWER(") + column + QStringLiteral(") LIKE ? ESCAPE '\\'");
}

QString SqlDialect::LikePattern(const QString& text) const
{
    QString pattern;
    pattern.reserve(text.size() + 4);
    pattern += QLatin1Char('%');
    for (QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            pattern += QLatin1Char('\\');
        if (m_engine == Engine::Other && c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
        pattern += c;
    }
    pattern += QLatin1Char('%');
    return pattern;
}
