#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reads the schema back from the engine's own catalogue (sqlite_master and pragmas on SQLite,
// information_schema on PostgreSQL), with names in upper case so both engines compare alike.
namespace DbCatalogue {

struct Column
{
    QString name;
    QString type;  // INTEGER, REAL, VARCHAR(n), TEXT, DATE, BLOB, BYTEA
    bool notNull = false;
};

struct ForeignKey
{
    QString name;
    QString table;
    QString column;
    QString references;
    bool operator==(const ForeignKey&) const = default;
};

QStringList Tables();
QList<Column> Columns(const QString& table);
bool HasColumn(const QString& table, const QString& column);
// "PK_NAME(COL1,COL2)"
QString PrimaryKey(const QString& table);
QList<ForeignKey> ForeignKeys();
// "NAME ON TABLE(COL1,COL2)" for each index other than a primary key's, sorted.
QStringList Indexes();
// "VERSION=COMMENT" rows in version order.
QStringList Markers();
int Count(const QString& table);

}  // namespace DbCatalogue
