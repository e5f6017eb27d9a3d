#include "BenchFloors.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "model/DbValues.h"
#include "model/History.h"
#include "platform/KvlError.h"

#include <QDate>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace BenchFloors {

namespace {

// The sub-test occurrences below a plan or a sub-test, one row each, however often a sub-test
// is shared.
const QString kOccurrences = QStringLiteral(
    "WITH RECURSIVE OCC(ID, DEPTH) AS (%1 UNION ALL "
    "SELECT L.ID_SUBTEST_CHILD, O.DEPTH + 1 FROM SUBTEST_LINKS L JOIN OCC O ON L.ID_SUBTEST_PARENT = O.ID "
    "WHERE O.DEPTH < 10) ");

qint64 ReadAll(const QString& statement, const QVariantList& values, int sumColumn = -1, double* sum = nullptr)
{
    QSqlQuery query = gConnection().Query(statement, values);
    const int columns = query.record().count();
    qint64 rows = 0;
    while (query.next()) {
        for (int i = 0; i < columns; ++i) {
            const QVariant value = query.value(i);
            if (i == sumColumn && sum)
                *sum += value.toDouble();
        }
        ++rows;
    }
    return rows;
}

// Every column of every row; the first column's values go to `ids`.
qint64 ReadIds(QSqlQuery& query, QList<int>& ids)
{
    const int columns = query.record().count();
    qint64 rows = 0;
    for (; query.next(); ++rows) {
        ids.append(query.value(0).toInt());
        for (int i = 1; i < columns; ++i)
            const QVariant value = query.value(i);
    }
    return rows;
}

QSqlQuery Prepared(const QString& statement)
{
    QSqlQuery query(gConnection().Connection());
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        throw KvlError(query.lastError().text());
    return query;
}

QSqlQuery& Run(QSqlQuery& query, int id)
{
    query.bindValue(0, id);
    if (!query.exec())
        throw KvlError(query.lastError().text());
    return query;
}

// The occurrences below the roots `seed` selects, sub-tests and procedures with their rows.
qint64 Occurrences(const QString& seed, const QVariantList& values)
{
    return ReadAll(kOccurrences.arg(seed) +
                       QStringLiteral("SELECT S.ID, S.NAME, S.TITLE, S.DATE_CREATION, S.DATE_UPDATE, 0 "
                                      "FROM OCC O JOIN SUBTEST S ON S.ID = O.ID UNION ALL "
                                      "SELECT P.ID, P.NAME, P.TITLE, P.DATE_CREATION, P.DATE_UPDATE, "
                                      "L.ORDER_PROCEDURE FROM OCC O JOIN PROCEDURE_LINKS L ON L.ID_SUBTEST = O.ID "
                                      "JOIN PROCEDURES P ON P.ID = L.ID_PROCEDURE"),
                   values);
}

}  // namespace

void UpdateColumn(const QString& table, const QString& column, const QString& id, const QString& value)
{
    // Prepared once, as the engine needs it.
    if (gConnection().Change(QStringLiteral("UPDATE %1 SET %2 = ? WHERE ID = ?").arg(table, column),
                             {value, id.toInt()}) != 1)
        throw KvlError(QStringLiteral("%1 %2 was not updated").arg(table, id));
}

qint64 TopLevels()
{
    return ReadAll(QStringLiteral("SELECT C.ID, C.NAME, T.ID, T.NAME FROM CONFIGURATION C "
                                  "LEFT JOIN CONFIGURATION_LINKS L ON L.ID_CONFIGURATION = C.ID "
                                  "LEFT JOIN TESTPLAN T ON T.ID = L.ID_TESTPLAN ORDER BY C.ID, T.ID"),
                   {});
}

qint64 PlanSubtree(const QString& planId)
{
    return Occurrences(QStringLiteral("SELECT ID_SUBTEST, 1 FROM TESTPLAN_LINKS WHERE ID_TESTPLAN = ?"),
                       {planId.toInt()});
}

qint64 PlanResults(const QString& planId, const QString& configurationId)
{
    return ReadAll(QStringLiteral("SELECT * FROM RESULT WHERE ID_TESTPLAN = ? AND KEY_NODE LIKE ?"),
                   {planId.toInt(), ConfigurationKeyPattern(configurationId)});
}

qint64 SetAllPassed(const QString& planId, const QString& configurationId)
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    const QVariant today = DbValues::Date(QDate::currentDate());
    const QVariantList place{planId.toInt(), ConfigurationKeyPattern(configurationId)};
    qint64 rows = connection.Change(QStringLiteral("UPDATE RESULT SET STATUS = ?, ITERATION = ITERATION + 1, "
                                                   "DATE_UPDATE = ? WHERE ID_TESTPLAN = ? AND KEY_NODE LIKE ? "
                                                   "AND ITERATION > 0"),
                                    QVariantList{static_cast<int>(kPassed), today} + place);
    rows += connection.Change(QStringLiteral("UPDATE RESULT SET STATUS = ?, ITERATION = 1, DATE_UPDATE = ?, "
                                             "DATE_CREATION = ? WHERE ID_TESTPLAN = ? AND KEY_NODE LIKE ? AND "
                                             "(ITERATION = 0 OR ITERATION IS NULL)"),
                              QVariantList{static_cast<int>(kPassed), today, today} + place);
    if (!transaction.Commit())
        throw KvlError(QStringLiteral("the results could not be committed"));
    return rows;
}

qint64 SubTestSubtree(const QString& subTestId)
{
    // The sub-test's own row is read too, as the node above its subtree.
    return Occurrences(QStringLiteral("SELECT CAST(? AS INTEGER), 0"), {subTestId.toInt()});
}

qint64 SubTestWorkLoad(const QString& subTestId, double& workLoad)
{
    workLoad = 0;
    return ReadAll(kOccurrences.arg(QStringLiteral("SELECT CAST(? AS INTEGER), 0")) +
                       QStringLiteral("SELECT P.ID, P.NAME, L.ORDER_PROCEDURE, P.WORKLOAD FROM OCC O "
                                      "JOIN PROCEDURE_LINKS L ON L.ID_SUBTEST = O.ID "
                                      "JOIN PROCEDURES P ON P.ID = L.ID_PROCEDURE"),
                   {subTestId.toInt()}, 3, &workLoad);
}

qint64 ChildrenWithResults(const QString& subTestId)
{
    return ReadAll(
        QStringLiteral("SELECT L.ID_PROCEDURE, L.ORDER_PROCEDURE, R.KEY_NODE, R.STATUS FROM PROCEDURE_LINKS L "
                       "LEFT JOIN RESULT R ON R.ID_PROCEDURE = L.ID_PROCEDURE WHERE L.ID_SUBTEST = ? "
                       "ORDER BY L.ORDER_PROCEDURE"),
        {subTestId.toInt()});
}

qint64 AllLinksAndResults()
{
    return ReadAll(QStringLiteral("SELECT ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST FROM TESTPLAN_LINKS UNION ALL "
                                  "SELECT ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST FROM SUBTEST_LINKS "
                                  "UNION ALL SELECT ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE FROM PROCEDURE_LINKS "
                                  "UNION ALL SELECT ID_TESTPLAN, ID_PROCEDURE, STATUS FROM RESULT"),
                   {});
}

qint64 DescriptionMatches(const QString& pattern)
{
    return ReadAll(QStringLiteral("SELECT ID, 2 FROM CONFIGURATION WHERE DESCRIPTION LIKE ? ESCAPE '\\' UNION ALL "
                                  "SELECT ID, 3 FROM TESTPLAN WHERE DESCRIPTION LIKE ? ESCAPE '\\' UNION ALL "
                                  "SELECT ID, 4 FROM SUBTEST WHERE DESCRIPTION LIKE ? ESCAPE '\\' UNION ALL "
                                  "SELECT ID, 14 FROM PROCEDURES WHERE DESCRIPTION LIKE ? ESCAPE '\\'"),
                   {pattern, pattern, pattern, pattern});
}

qint64 ProcedureLinks()
{
    return ReadAll(QStringLiteral("SELECT L.ID_SUBTEST, L.ID_PROCEDURE, L.ORDER_PROCEDURE, P.NAME, P.DATE_UPDATE "
                                  "FROM PROCEDURE_LINKS L JOIN PROCEDURES P ON P.ID = L.ID_PROCEDURE"),
                   {});
}

qint64 SearchLocations()
{
    QList<int> configurations;
    QSqlQuery all = gConnection().Query(QStringLiteral("SELECT ID, NAME FROM CONFIGURATION ORDER BY ID"));
    qint64 rows = ReadIds(all, configurations);
    // Each statement is prepared once and bound again for every parent.
    QSqlQuery plans =
        Prepared(QStringLiteral("SELECT T.ID, T.NAME FROM CONFIGURATION_LINKS L JOIN TESTPLAN T ON "
                                "T.ID = L.ID_TESTPLAN WHERE L.ID_CONFIGURATION = ? ORDER BY T.ID"));
    QSqlQuery links =
        Prepared(QStringLiteral("SELECT L.ID_SUBTEST, L.ORDER_SUBTEST, S.NAME FROM TESTPLAN_LINKS L "
                                "JOIN SUBTEST S ON S.ID = L.ID_SUBTEST WHERE L.ID_TESTPLAN = ? "
                                "ORDER BY L.ORDER_SUBTEST"));
    QList<int> planIds;
    QList<int> subTests;
    for (const int configuration : configurations) {
        planIds.clear();
        rows += ReadIds(Run(plans, configuration), planIds);
        for (const int plan : planIds)
            rows += ReadIds(Run(links, plan), subTests);
    }
    return rows;
}

PublicationRows PlanPublication(const QString& planId, const QString& configurationId)
{
    PublicationRows read;
    const QVariantList plan{planId.toInt()};
    ReadAll(QStringLiteral("SELECT * FROM TESTPLAN WHERE ID = ?"), plan);
    ReadAll(QStringLiteral("SELECT * FROM CONFIGURATION WHERE ID = ?"), {configurationId.toInt()});
    const QString occurrences =
        kOccurrences.arg(QStringLiteral("SELECT ID_SUBTEST, 1 FROM TESTPLAN_LINKS WHERE ID_TESTPLAN = ?"));

    // The links: a row per sub-test occurrence (no procedure), then one per procedure occurrence.
    QSet<qint64> subTests;
    QSet<qint64> pages;
    QSqlQuery links = gConnection().Query(
        occurrences + QStringLiteral("SELECT O.ID, 0, 0 FROM OCC O UNION ALL SELECT L.ID_SUBTEST, L.ID_PROCEDURE, "
                                     "L.ORDER_PROCEDURE FROM OCC O JOIN PROCEDURE_LINKS L ON L.ID_SUBTEST = O.ID"),
        plan);
    while (links.next()) {
        const qint64 subTest = links.value(0).toLongLong();
        const qint64 procedure = links.value(1).toLongLong();
        const QVariant order = links.value(2);
        if (procedure == 0) {
            ++read.subTestOccurrences;
            subTests.insert(subTest);
        } else {
            ++read.procedureOccurrences;
            pages.insert(subTest << 32 | procedure);
        }
    }
    read.subTests = subTests.size();
    read.procedurePages = pages.size();

    // Each item's row once, with the description columns.
    ReadAll(occurrences + QStringLiteral("SELECT ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE, DESCRIPTION FROM "
                                         "SUBTEST WHERE ID IN (SELECT ID FROM OCC)"),
            plan);
    read.procedures =
        ReadAll(occurrences + QStringLiteral("SELECT ID, NAME, TITLE, WORKLOAD, DATE_CREATION, DATE_UPDATE, "
                                             "DESCRIPTION, RESULT FROM PROCEDURES WHERE ID IN (SELECT L.ID_PROCEDURE "
                                             "FROM OCC O JOIN PROCEDURE_LINKS L ON L.ID_SUBTEST = O.ID)"),
                plan);
    read.results = ReadAll(QStringLiteral("SELECT * FROM RESULT WHERE ID_TESTPLAN = ?"), plan);
    return read;
}

qint64 PlanLinks(const QString& planId)
{
    return ReadAll(QStringLiteral("SELECT * FROM TESTPLAN_LINKS WHERE ID_TESTPLAN = ?"), {planId.toInt()});
}

qint64 ItemRow(const QString& table, const QString& id)
{
    return ReadAll(QStringLiteral("SELECT * FROM %1 WHERE ID = ?").arg(table), {id.toInt()});
}

}  // namespace BenchFloors
