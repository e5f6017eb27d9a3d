#include "core/db/kvlDatabase.h"

#include "core/db/AdoConnection.h"
#include "core/db/SchemaDefinition.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QSqlQuery>

namespace {

using Schema = SchemaDefinition;

// Keys the engine cannot add later are declared with the table.
QList<Schema::ForeignKey> InlineKeys(const SqlDialect& dialect, const QList<Schema::ForeignKey>& keys)
{
    return dialect.CanAddConstraint() ? QList<Schema::ForeignKey>{} : keys;
}

bool HasForeignKey(AdoConnection& connection, const Schema::ForeignKey& key)
{
    QSqlQuery query = connection.Query(QStringLiteral("PRAGMA foreign_key_list(%1)").arg(key.table));
    while (query.next()) {
        if (query.value(QStringLiteral("table")).toString().compare(key.references, Qt::CaseInsensitive) == 0 &&
            query.value(QStringLiteral("from")).toString().compare(key.column, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

}  // namespace

bool kvlDatabase::WriteMarker(AdoConnection& connection, const QString& version, const QString& comment)
{
    return connection.Execute(QStringLiteral("INSERT INTO INFORMATION VALUES(?, ?)"), {version, comment});
}

int kvlDatabase::Failed(const QString& label)
{
    LogError(label, gConnection().LastErrorNumber(), gConnection().LastErrorText());
    return 1;
}

int kvlDatabase::AddTables(AdoConnection& objConnection)
{
    try {
        const SqlDialect& dialect = objConnection.Dialect();
        DbTransaction transaction(objConnection);
        for (const Schema::Table& table : Schema::Tables()) {
            const QString sql =
                Schema::CreateTableSql(dialect, table, InlineKeys(dialect, Schema::ForeignKeysOf(table.name)));
            if (!objConnection.Execute(sql))
                return 1;
        }
        for (const Schema::Index& index : Schema::Indexes()) {
            if (!objConnection.Execute(Schema::CreateIndexSql(index)))
                return 1;
        }
        if (!WriteMarker(objConnection, QStringLiteral("2.0"), QStringLiteral("Users table implemented")) ||
            !WriteMarker(objConnection, QStringLiteral("3.1"),
                         QStringLiteral("Configuration_links table implemented")) ||
            !WriteMarker(objConnection, QStringLiteral("3.2"), QStringLiteral("History table implemented")))
            return 1;
        return transaction.Commit() ? 0 : 1;
    } catch (const KvlError& error) {
        LogError(QStringLiteral("Error_AddTables : "), error);
        return 1;
    }
}

int kvlDatabase::AddConstraints(AdoConnection& objConnection)
{
    try {
        if (!objConnection.Dialect().CanAddConstraint()) {
            for (const Schema::ForeignKey& key : Schema::ForeignKeys()) {
                if (!HasForeignKey(objConnection, key)) {
                    LogError(QStringLiteral("Error_Execute : "), KvlError::kGeneric,
                             QStringLiteral("Constraint %1 cannot be added to the existing table %2 on this engine.")
                                 .arg(key.name, key.table));
                    return 1;
                }
            }
            return 0;
        }
        DbTransaction transaction(objConnection);
        for (const Schema::ForeignKey& key : Schema::ForeignKeys()) {
            if (!objConnection.Execute(Schema::AddConstraintSql(key)))
                return 1;
        }
        return transaction.Commit() ? 0 : 1;
    } catch (const KvlError& error) {
        LogError(QStringLiteral("Error_AddConstraints : "), error);
        return 1;
    }
}

int kvlDatabase::AddUserTable()
{
    const QString label = QStringLiteral("Error_AddUserTable:");
    AdoConnection& connection = gConnection();
    try {
        // One transaction: a failure after USERS exists rolls everything back, so no author
        // column or table is left without its marker.
        DbTransaction transaction(connection);
        if (!connection.Execute(
                Schema::CreateTableSql(connection.Dialect(), Schema::TableNamed(QStringLiteral("USERS")))))
            return 1;
        if (!connection.Execute(QStringLiteral("INSERT INTO USERS VALUES (?, ?, ?, ?, ?)"),
                                {1, QStringLiteral("Admin"), QString(""), QStringLiteral("administrator account"), 4}))
            return Failed(label);
        for (const QString& table : Schema::UserColumnTables()) {
            if (AddUserColumn(table) != 0)
                return Failed(label);
        }
        if (!WriteMarker(connection, QStringLiteral("2.0"), QStringLiteral("Users table implemented")))
            return Failed(label);
        return transaction.Commit() ? 0 : Failed(label);
    } catch (const KvlError& error) {
        LogError(label, error);
        return 1;
    }
}

int kvlDatabase::AddUserColumn(const QString& table)
{
    AdoConnection& connection = gConnection();
    const Schema::ForeignKey key{QStringLiteral("FK_USER_") + table, table, QStringLiteral("ID_USER"),
                                 QStringLiteral("USERS")};
    if (!connection.Dialect().CanAddConstraint()) {
        // SQLite can add a column with its reference, but no constraint on its own.
        return connection.Execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN ID_USER INTEGER NULL CONSTRAINT %2 "
                                                 "REFERENCES USERS(ID)")
                                      .arg(table, key.name))
                   ? 0
                   : 1;
    }
    if (!connection.Execute(QStringLiteral("ALTER TABLE %1 ADD ID_USER INTEGER NULL").arg(table)))
        return 1;
    return connection.Execute(Schema::AddConstraintSql(key)) ? 0 : 1;
}

int kvlDatabase::RemoveUserTable()
{
    const QString label = QStringLiteral("Error_AddUserTable:");
    AdoConnection& connection = gConnection();
    try {
        DbTransaction transaction(connection);
        for (const QString& table : Schema::UserColumnTables()) {
            if (RemoveUserColumn(table) != 0)
                return Failed(label);
        }
        // A database that never had the table is fine; one whose table stays is not.
        if (!connection.Execute(QStringLiteral("DROP TABLE IF EXISTS USERS")))
            return Failed(label);
        if (!connection.Execute(QStringLiteral("DELETE FROM INFORMATION WHERE VERSION = ?"), {QStringLiteral("2.0")}))
            return Failed(label);
        return transaction.Commit() ? 0 : Failed(label);
    } catch (const KvlError& error) {
        LogError(label, error);
        return 1;
    }
}

int kvlDatabase::RemoveUserColumn(const QString& table)
{
    AdoConnection& connection = gConnection();
    if (!connection.Execute(QStringLiteral("DROP INDEX IF EXISTS USER_LINK")))
        return 1;
    // On SQLite the column's own reference goes with the column.
    if (connection.Dialect().CanAddConstraint() &&
        !connection.Execute(QStringLiteral("ALTER TABLE %1 DROP CONSTRAINT IF EXISTS FK_USER_%1").arg(table)))
        return 1;
    return connection.Execute(QStringLiteral("ALTER TABLE %1 DROP COLUMN ID_USER").arg(table)) ? 0 : 1;
}
