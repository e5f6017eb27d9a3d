#include "model/History.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "model/DbValues.h"
#include "platform/KvlError.h"

#include <QDate>
#include <QSqlQuery>
#include <array>

QString ConfigurationKeyPattern(const QString& configurationId)
{
    return NodeKey::kConfigurationPrefix + QString::number(IdValue(configurationId)) + NodeKey::kSeparator +
           QLatin1Char('%');
}

void UpdateHistory(const QString& testPlanId, const QString& configurationId)
{
    if (!HasHistory())
        return;
    const QVariant testPlan = DbValues::Id(testPlanId);
    const QVariant configuration = DbValues::Id(configurationId);
    if (testPlan.isNull() || configuration.isNull())
        throw KvlError(KvlError::kGeneric, QStringLiteral("Invalid procedure call or argument"));

    AdoConnection& connection = gConnection();
    // Two testers of one plan count in turn, so the later count holds the other's result.
    LockAllocation(QStringLiteral("HISTORY"), testPlan.toInt());
    const QString pattern = ConfigurationKeyPattern(configurationId);
    // One row per status: the engine sums what would otherwise cross the connection row by row.
    // Each result is counted once, as RESULT's key is KEY_NODE and a result has one procedure.
    // Work loads are summed in double precision, as a REAL column may be single precision.
    std::array<int, 4> counters{};
    double spent = 0;
    double planned = 0;
    double realized = 0;
    const QString byStatus = QStringLiteral(
        "SELECT RESULT.STATUS, COUNT(*), SUM(CAST(PROCEDURES.WORKLOAD AS DOUBLE PRECISION) * RESULT.ITERATION), "
        "SUM(CAST(PROCEDURES.WORKLOAD AS DOUBLE PRECISION)) FROM RESULT, PROCEDURES WHERE RESULT.ID_PROCEDURE = "
        "PROCEDURES.ID AND RESULT.ID_TESTPLAN = ? AND RESULT.KEY_NODE LIKE ? GROUP BY RESULT.STATUS");
    connection.ForEachRow(byStatus, {testPlan, pattern}, [&](const QSqlQuery& row) {
        const int status = row.value(0).toInt();
        if (status < kPassed || status > kWarning)
            throw KvlError(9, QStringLiteral("Subscript out of range"));
        counters[static_cast<size_t>(status)] += row.value(1).toInt();
        // A sum over no work load at all is Null.
        spent += row.value(2).toDouble();
        const double workLoad = row.value(3).toDouble();
        if (status != kCanceled)
            planned += workLoad;
        if (status == kPassed || status == kWarning)
            realized += workLoad;
    });
    const double advancement = planned == 0 ? 0 : realized / planned;

    // The day is kept as ISO text, whatever the locale, so one day has one row.
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QVariantList counts{advancement, spent, counters[0], counters[1], counters[2], counters[3]};
    const QVariantList key{testPlan, configuration, today};
    const QString insert = QStringLiteral(
        "INSERT INTO HISTORY (ADVANCEMENT, WORKLOAD, COUNT_PASSED, COUNT_FAILED, COUNT_CANCELED, COUNT_WARNING, "
        "ID_TESTPLAN, ID_CONFIGURATION, DATE_UPDATE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (connection.Dialect().IsSQLite() || connection.Dialect().IsPostgreSQL()) {
        // One statement, so a second tester writing the same day's row updates it instead of
        // failing on its key.
        connection.Run(
            insert + QStringLiteral(" ON CONFLICT (ID_TESTPLAN, ID_CONFIGURATION, DATE_UPDATE) DO UPDATE SET "
                                    "ADVANCEMENT = excluded.ADVANCEMENT, WORKLOAD = excluded.WORKLOAD, "
                                    "COUNT_PASSED = excluded.COUNT_PASSED, COUNT_FAILED = excluded.COUNT_FAILED, "
                                    "COUNT_CANCELED = excluded.COUNT_CANCELED, COUNT_WARNING = excluded.COUNT_WARNING"),
            counts + key);
        return;
    }
    const bool exists = !connection
                             .Scalar(QStringLiteral("SELECT 1 FROM HISTORY WHERE ID_TESTPLAN = ? AND "
                                                    "ID_CONFIGURATION = ? AND DATE_UPDATE = ?"),
                                     key)
                             .isNull();
    if (!exists) {
        connection.Run(insert, counts + key);
    } else {
        connection.Run(QStringLiteral("UPDATE HISTORY SET ADVANCEMENT = ?, WORKLOAD = ?, COUNT_PASSED = ?, "
                                      "COUNT_FAILED = ?, COUNT_CANCELED = ?, COUNT_WARNING = ? WHERE "
                                      "ID_TESTPLAN = ? AND ID_CONFIGURATION = ? AND DATE_UPDATE = ?"),
                       counts + key);
    }
}
