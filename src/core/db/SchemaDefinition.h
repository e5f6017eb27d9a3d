#pragma once

#include "core/db/SqlDialect.h"

#include <QList>
#include <QString>
#include <QStringList>

// The tables, keys and foreign keys of a Koravel database, and the statements that create them
// on the engine behind a connection.
class SchemaDefinition
{
public:
    enum class Type { Integer, Real, Varchar, Memo, Date, Blob };

    struct Column
    {
        QString name;
        Type type;
        int width = 0;  // VARCHAR only
        bool notNull = false;
    };

    struct Table
    {
        QString name;
        QList<Column> columns;
        QString primaryKey;
        QStringList keyColumns;
    };

    struct ForeignKey
    {
        QString name;
        QString table;
        QString column;
        QString references;  // the referenced table; always its ID
    };

    // The fourteen tables, in the order a new database creates them.
    static const QList<Table>& Tables();
    static const Table& TableNamed(const QString& name);
    // The sixteen foreign keys of a new database, in the order they are added.
    static const QList<ForeignKey>& ForeignKeys();
    static QList<ForeignKey> ForeignKeysOf(const QString& table);

    struct Index
    {
        QString name;
        QString table;
        QStringList columns;
    };

    // The indexes a new database gets beyond its primary keys: the link tables read from the
    // side their primary key does not start with, and results by procedure and by test plan.
    static const QList<Index>& Indexes();
    static QString CreateIndexSql(const Index& index);

    // The tables that carry the author column, in the order the users upgrade handles them.
    static const QStringList& UserColumnTables();

    static QString ColumnName(const SqlDialect& dialect, const QString& name);
    static QString ColumnSql(const SqlDialect& dialect, const Column& column);
    // CREATE TABLE with `inlineKeys` declared in it (engines that cannot add them later).
    static QString CreateTableSql(const SqlDialect& dialect, const Table& table,
                                  const QList<ForeignKey>& inlineKeys = {});
    static QString ConstraintSql(const ForeignKey& key);
    static QString AddConstraintSql(const ForeignKey& key);
};
