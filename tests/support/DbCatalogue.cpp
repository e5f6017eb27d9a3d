#include "DbCatalogue.h"

#include "core/db/AdoConnection.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <algorithm>

namespace DbCatalogue {

namespace {

bool IsSQLite()
{
    return gConnection().Dialect().IsSQLite();
}

QString TableSql(const QString& table)
{
    return gConnection()
        .Scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND upper(name) = ?"),
                {table.toUpper()})
        .toString();
}

QString PgType(const QString& type, const QVariant& length)
{
    static const QHash<QString, QString> names{
        {"integer", "INTEGER"}, {"real", "REAL"}, {"text", "TEXT"}, {"date", "DATE"}, {"bytea", "BYTEA"}};
    if (type == QLatin1String("character varying"))
        return QStringLiteral("VARCHAR(%1)").arg(length.toInt());
    return names.value(type, type.toUpper());
}

}  // namespace

QStringList Tables()
{
    QSqlQuery query = gConnection().Query(
        IsSQLite() ? QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'")
                   : QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = 'public'"));
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString().toUpper());
    names.sort();
    return names;
}

QList<Column> Columns(const QString& table)
{
    QList<Column> columns;
    if (IsSQLite()) {
        QSqlQuery query = gConnection().Query(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        while (query.next())
            columns.append({query.value(1).toString().toUpper(), query.value(2).toString().toUpper(),
                            query.value(3).toInt() != 0});
        return columns;
    }
    QSqlQuery query = gConnection().Query(
        QStringLiteral("SELECT column_name, data_type, character_maximum_length, is_nullable FROM "
                       "information_schema.columns WHERE table_schema = 'public' AND table_name = ? "
                       "ORDER BY ordinal_position"),
        {table.toLower()});
    while (query.next())
        columns.append({query.value(0).toString().toUpper(), PgType(query.value(1).toString(), query.value(2)),
                        query.value(3).toString() == QLatin1String("NO")});
    return columns;
}

bool HasColumn(const QString& table, const QString& column)
{
    const QList<Column> columns = Columns(table);
    return std::any_of(columns.begin(), columns.end(), [&](const Column& c) { return c.name == column; });
}

QString PrimaryKey(const QString& table)
{
    QString name;
    QStringList columns;
    if (IsSQLite()) {
        const QRegularExpression pk(QStringLiteral("CONSTRAINT\\s+(\\w+)\\s+PRIMARY\\s+KEY\\s*\\(([^)]*)\\)"),
                                    QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = pk.match(TableSql(table));
        name = match.captured(1);
        for (const QString& column : match.captured(2).split(QLatin1Char(',')))
            columns.append(column.trimmed());
    } else {
        QSqlQuery query = gConnection().Query(
            QStringLiteral(
                "SELECT tc.constraint_name, kcu.column_name FROM information_schema.table_constraints tc "
                "JOIN information_schema.key_column_usage kcu ON kcu.constraint_name = tc.constraint_name "
                "AND kcu.table_schema = tc.table_schema WHERE tc.table_schema = 'public' "
                "AND tc.table_name = ? AND tc.constraint_type = 'PRIMARY KEY' ORDER BY kcu.ordinal_position"),
            {table.toLower()});
        while (query.next()) {
            name = query.value(0).toString();
            columns.append(query.value(1).toString());
        }
    }
    return QStringLiteral("%1(%2)").arg(name, columns.join(QLatin1Char(','))).toUpper();
}

QList<ForeignKey> ForeignKeys()
{
    QList<ForeignKey> keys;
    if (IsSQLite()) {
        // The pragma gives what is enforced; the names come from the declarations.
        const QRegularExpression named(
            QStringLiteral("CONSTRAINT\\s+(\\w+)\\s+FOREIGN\\s+KEY\\s*\\((\\w+)\\)|(\\w+)\\s+INTEGER\\s+NULL\\s+"
                           "CONSTRAINT\\s+(\\w+)\\s+REFERENCES"),
            QRegularExpression::CaseInsensitiveOption);
        for (const QString& table : Tables()) {
            QHash<QString, QString> names;
            for (const QRegularExpressionMatch& m : named.globalMatch(TableSql(table))) {
                if (m.captured(1).isEmpty())
                    names.insert(m.captured(3).toUpper(), m.captured(4).toUpper());
                else
                    names.insert(m.captured(2).toUpper(), m.captured(1).toUpper());
            }
            QSqlQuery query = gConnection().Query(QStringLiteral("PRAGMA foreign_key_list(%1)").arg(table));
            while (query.next()) {
                const QString column = query.value(QStringLiteral("from")).toString().toUpper();
                keys.append(
                    {names.value(column), table, column, query.value(QStringLiteral("table")).toString().toUpper()});
            }
        }
    } else {
        QSqlQuery query = gConnection().Query(QStringLiteral(
            "SELECT tc.constraint_name, tc.table_name, kcu.column_name, ccu.table_name "
            "FROM information_schema.table_constraints tc "
            "JOIN information_schema.key_column_usage kcu ON kcu.constraint_name = tc.constraint_name "
            "AND kcu.table_schema = tc.table_schema "
            "JOIN information_schema.constraint_column_usage ccu ON ccu.constraint_name = tc.constraint_name "
            "AND ccu.table_schema = tc.table_schema "
            "WHERE tc.table_schema = 'public' AND tc.constraint_type = 'FOREIGN KEY'"));
        while (query.next())
            keys.append({query.value(0).toString().toUpper(), query.value(1).toString().toUpper(),
                         query.value(2).toString().toUpper(), query.value(3).toString().toUpper()});
    }
    std::sort(keys.begin(), keys.end(), [](const ForeignKey& a, const ForeignKey& b) { return a.name < b.name; });
    return keys;
}

QStringList Markers()
{
    QSqlQuery query = gConnection().Query(QStringLiteral("SELECT VERSION, COMMENT FROM INFORMATION ORDER BY VERSION"));
    QStringList rows;
    while (query.next())
        rows.append(query.value(0).toString() + QLatin1Char('=') + query.value(1).toString());
    return rows;
}

int Count(const QString& table)
{
    return gConnection().Scalar(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
}

QStringList Indexes()
{
    QStringList indexes;
    const auto add = [&](const QString& name, const QString& table, const QStringList& columns) {
        indexes.append(
            QStringLiteral("%1 ON %2(%3)").arg(name.toUpper(), table.toUpper(), columns.join(',').toUpper()));
    };
    if (IsSQLite()) {
        // Indexes SQLite makes for a key of its own carry no SQL.
        QList<QPair<QString, QString>> named;
        QSqlQuery query = gConnection().Query(
            QStringLiteral("SELECT name, tbl_name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"));
        while (query.next())
            named.append({query.value(0).toString(), query.value(1).toString()});
        for (const auto& [name, table] : named) {
            QStringList columns;
            QSqlQuery info = gConnection().Query(QStringLiteral("PRAGMA index_info(%1)").arg(name));
            while (info.next())
                columns.append(info.value(2).toString());
            add(name, table, columns);
        }
    } else {
        QSqlQuery query = gConnection().Query(
            QStringLiteral("SELECT c.relname, t.relname, pg_get_indexdef(i.indexrelid) FROM pg_index i "
                           "JOIN pg_class c ON c.oid = i.indexrelid JOIN pg_class t ON t.oid = i.indrelid "
                           "JOIN pg_namespace n ON n.oid = t.relnamespace "
                           "WHERE n.nspname = 'public' AND NOT i.indisprimary"));
        while (query.next()) {
            const QString definition = query.value(2).toString();
            const qsizetype open = definition.lastIndexOf(QLatin1Char('('));
            const QStringList columns = definition.mid(open + 1, definition.lastIndexOf(QLatin1Char(')')) - open - 1)
                                            .split(QStringLiteral(", "));
            add(query.value(0).toString(), query.value(1).toString(), columns);
        }
    }
    indexes.sort();
    return indexes;
}

}  // namespace DbCatalogue
