#include "core/db/kvlDatabase.h"

#include "core/db/AdoConnection.h"
#include "core/db/SchemaDefinition.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QSqlQuery>
#include <utility>

// The connection-time upgrades: each creates its table, adds its keys and writes its marker in
// one transaction, so a failed attempt leaves no table behind and the next connection retries.

namespace {

using Schema = SchemaDefinition;

// Creates `table`, with `keys` declared in it where the engine cannot add them later.
bool CreateTable(AdoConnection& connection, const QString& table, const QList<Schema::ForeignKey>& keys)
{
    const SqlDialect& dialect = connection.Dialect();
    const QList<Schema::ForeignKey> inlineKeys = dialect.CanAddConstraint() ? QList<Schema::ForeignKey>{} : keys;
    return connection.Execute(Schema::CreateTableSql(dialect, Schema::TableNamed(table), inlineKeys));
}

// Adds `keys` where the engine adds them after the table; a key that does not take is passed over.
void AddKeysAfter(AdoConnection& connection, const QList<Schema::ForeignKey>& keys)
{
    if (!connection.Dialect().CanAddConstraint())
        return;
    for (const Schema::ForeignKey& key : keys)
        connection.ExecuteUnchecked(Schema::AddConstraintSql(key));
}

}  // namespace

int kvlDatabase::AddHistoryTable()
{
    const QString label = QStringLiteral("Error_AddHistoryTable:");
    AdoConnection& connection = gConnection();
    try {
        DbTransaction transaction(connection);
        const QList<Schema::ForeignKey> keys{{"FK_HISTORY_LINKS1", "HISTORY", "ID_TESTPLAN", "TESTPLAN"}};
        if (!CreateTable(connection, QStringLiteral("HISTORY"), keys))
            return 1;
        AddKeysAfter(connection, keys);
        if (!WriteMarker(connection, QStringLiteral("3.2"), QStringLiteral("History table implemented")))
            return Failed(label);
        return transaction.Commit() ? 0 : Failed(label);
    } catch (const KvlError& error) {
        LogError(label, error);
        return 1;
    }
}

int kvlDatabase::AddConfigurationLinksTable()
{
    const QString label = QStringLiteral("Error_AddConfigurationLinksTable:");
    AdoConnection& connection = gConnection();
    try {
        DbTransaction transaction(connection);
        const QList<Schema::ForeignKey> keys{
            {"FK_CONFIGURATION_LINKS1", "CONFIGURATION_LINKS", "ID_TESTPLAN", "TESTPLAN"},
            {"FK_CONFIGURATION_LINKS2", "CONFIGURATION_LINKS", "ID_CONFIGURATION", "CONFIGURATION"}};
        if (!CreateTable(connection, QStringLiteral("CONFIGURATION_LINKS"), keys))
            return 1;

        // Every existing test plan is attached to the configuration its own row names.
        QList<std::pair<QVariant, QVariant>> rows;
        QSqlQuery query = connection.Query(QStringLiteral("SELECT ID, ID_CONFIGURATION FROM TESTPLAN"));
        while (query.next())
            rows.append({query.value(0), query.value(1)});
        query.finish();
        for (const auto& [testPlan, configuration] : rows) {
            connection.ExecuteUnchecked(
                QStringLiteral("INSERT INTO CONFIGURATION_LINKS (ID_TESTPLAN, ID_CONFIGURATION) VALUES (?, ?)"),
                {testPlan, configuration});
        }
        AddKeysAfter(connection, keys);
        if (!WriteMarker(connection, QStringLiteral("3.1"), QStringLiteral("Configuration links table implemented")))
            return Failed(label);
        return transaction.Commit() ? 0 : Failed(label);
    } catch (const KvlError& error) {
        LogError(label, error);
        return 1;
    }
}
