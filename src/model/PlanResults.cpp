#include "model/PlanResults.h"

#include "core/db/AdoConnection.h"
#include "core/db/BatchInsert.h"
#include "core/db/DbHelpers.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "model/DbValues.h"
#include "model/History.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"

#include <QDate>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString kPlanWhere = QStringLiteral(" FROM RESULT WHERE ID_TESTPLAN = ? AND KEY_NODE LIKE ?");

// The plan id and the key pattern of the plan's results under the configuration, to bind.
QVariantList PlanPlace(const QString& testPlanId, const QString& configurationId)
{
    return {IdValue(testPlanId), ConfigurationKeyPattern(configurationId)};
}

// Inserts the rows of new results for the keys that `stored` does not hold, each key once; returns
// how many. Raises on a key without a procedure id or not under the plan and configuration, which
// would be written outside the results this history counts.
int InsertNewRows(const QString& testPlanId, const QString& configurationId, const QStringList& keys,
                  const QSet<QString>& stored)
{
    const QString place = NodeKey::kConfigurationPrefix + QString::number(IdValue(configurationId)) +
                          NodeKey::kSeparator + QString::number(IdValue(testPlanId)) + NodeKey::kSeparator;
    const bool withTester = gUserManagement;
    const QStringList columns = Result::NewRowColumns(withTester);
    BatchInsert insert(gConnection(),
                       QStringLiteral("INSERT INTO RESULT (%1) VALUES ").arg(columns.join(QStringLiteral(", "))),
                       static_cast<int>(columns.size()));
    QSet<QString> added;
    for (const QString& key : keys) {
        if (!key.startsWith(place))
            throw KvlError(KvlError::kGeneric,
                           QStringLiteral("The result key '%1' does not belong to the test plan.").arg(key));
        if (stored.contains(key) || added.contains(key))
            continue;
        insert.Add(Result::NewRowValues(key, withTester));
        added.insert(key);
    }
    insert.Flush();
    return static_cast<int>(added.size());
}

// Recomputes today's history of what the transaction changed, then commits. Raises.
void CommitWithHistory(DbTransaction& transaction, const QString& testPlanId, const QString& configurationId)
{
    UpdateHistory(testPlanId, configurationId);
    if (!transaction.Commit())
        throw KvlError(3251, QStringLiteral("The results could not be committed."));
}

}  // namespace

void PlanResults::Load(const QString& testPlanId, const QString& configurationId)
{
    const bool withTester = gUserManagement;
    QHash<QString, Result> results;
    int keyColumn = -1;
    gConnection().ForEachRow(QStringLiteral("SELECT %1, KEY_NODE").arg(Result::Columns(withTester)) + kPlanWhere,
                             PlanPlace(testPlanId, configurationId), [&](const QSqlQuery& row) {
                                 if (keyColumn < 0)
                                     keyColumn = row.record().indexOf(QStringLiteral("KEY_NODE"));
                                 Result result;
                                 result.SetKey(row.value(keyColumn).toString());
                                 result.ReadRow(row, withTester);
                                 results.insert(result.Key(), result);
                             });
    m_results = std::move(results);
}

Result PlanResults::ResultOf(const QString& key) const
{
    const auto found = m_results.constFind(key);
    return found != m_results.cend() ? *found : Result::NewRow(key);
}

int PlanResults::CreateMissing(const QString& testPlanId, const QString& configurationId, const QStringList& keys)
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    // Two testers opening one plan at once: the second reads the rows the first committed.
    LockAllocation(QStringLiteral("RESULT"), IdValue(testPlanId));
    QSet<QString> stored;
    connection.ForEachRow(QStringLiteral("SELECT KEY_NODE") + kPlanWhere, PlanPlace(testPlanId, configurationId),
                          [&](const QSqlQuery& row) { stored.insert(row.value(0).toString()); });
    const int created = InsertNewRows(testPlanId, configurationId, keys, stored);
    // Nothing written, nothing for the history to count; committed all the same, as a rollback
    // would undo a caller's enclosing transaction.
    if (created == 0) {
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The results could not be committed."));
        return 0;
    }
    CommitWithHistory(transaction, testPlanId, configurationId);
    return created;
}

void PlanResults::SetAllPassed(const QString& testPlanId, const QString& configurationId)
{
    const bool withTester = gUserManagement;
    const QVariant today = DbValues::Date(QDate::currentDate());
    const QVariantList place = PlanPlace(testPlanId, configurationId);
    QString user;
    QVariantList userValue;
    if (withTester) {
        user = QStringLiteral(", ID_USER = ?");
        userValue << DbValues::Id(gUserId);
    }
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    // Played results first: the never played ones, raised to 1 afterwards, must not be raised twice.
    connection.Run(QStringLiteral("UPDATE RESULT SET STATUS = ?, ITERATION = ITERATION + 1, DATE_UPDATE = ?%1 WHERE "
                                  "ID_TESTPLAN = ? AND KEY_NODE LIKE ? AND ITERATION > 0")
                       .arg(user),
                   QVariantList{static_cast<int>(kPassed), today} + userValue + place);
    // A row made on first access has no iteration yet: it was never played either.
    connection.Run(QStringLiteral("UPDATE RESULT SET STATUS = ?, ITERATION = 1, DATE_UPDATE = ?, DATE_CREATION = ?%1 "
                                  "WHERE ID_TESTPLAN = ? AND KEY_NODE LIKE ? AND (ITERATION = 0 OR ITERATION IS NULL)")
                       .arg(user),
                   QVariantList{static_cast<int>(kPassed), today, today} + userValue + place);
    CommitWithHistory(transaction, testPlanId, configurationId);
}

void PlanResults::ClearAll(const QString& testPlanId, const QString& configurationId, const QStringList& keys)
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    LockAllocation(QStringLiteral("RESULT"), IdValue(testPlanId));
    connection.Run(QStringLiteral("DELETE") + kPlanWhere, PlanPlace(testPlanId, configurationId));
    InsertNewRows(testPlanId, configurationId, keys, {});
    CommitWithHistory(transaction, testPlanId, configurationId);
}
