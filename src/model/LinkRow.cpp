#include "model/LinkRow.h"

#include "core/db/AdoConnection.h"
#include "core/db/BoundLists.h"
#include "model/DbValues.h"
#include "platform/Globals.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <array>

namespace {

// Well below every engine's limit on bound values in one statement, and a power of two. Small
// enough, too, for PostgreSQL to read a batch's links and items by index look-ups: with a few
// thousand rows expected it turns to scanning a whole table, a link table in parallel workers or
// the procedures, which takes ten to a hundred times longer.
constexpr qsizetype kIdsPerQuery = 128;

}  // namespace

QList<LinkRow> LinkRow::ReadByIds(const QString& statementWithMarks, const QStringList& parentIds)
{
    QList<LinkRow> rows;
    for (qsizetype start = 0; start < parentIds.size(); start += kIdsPerQuery) {
        const QStringList batch = parentIds.mid(start, kIdsPerQuery);
        QVariantList values;
        for (const QString& id : batch)
            values << DbValues::Id(id);
        // Padded, so that the statement has a length met again and stays prepared.
        BoundLists::PadWithLast(values, kIdsPerQuery);
        const QString marks = BoundLists::Marks(values.size(), QStringLiteral("?"));
        const QVariantList once = values;
        for (qsizetype i = 1; i < statementWithMarks.count(QStringLiteral("%1")); ++i)
            values << once;
        ReadInto(statementWithMarks.arg(marks), values, rows);
    }
    return rows;
}

QList<LinkRow> LinkRow::Read(const QString& statement, const QVariantList& values)
{
    QList<LinkRow> rows;
    ReadInto(statement, values, rows);
    return rows;
}

void LinkRow::ReadInto(const QString& statement, const QVariantList& values, QList<LinkRow>& rows)
{
    static const std::array<const char*, 11> names = {
        "PARENT_ID", "ID",       "ORDER_NO",         "NAME", "TITLE", "DATE_CREATION", "DATE_UPDATE",
        "ID_USER",   "WORKLOAD", "ID_CONFIGURATION", "KIND"};
    std::array<int, 11> columns{};
    bool first = true;
    gConnection().ForEachRow(statement, values, [&](const QSqlQuery& query) {
        if (first) {
            const QSqlRecord record = query.record();
            for (size_t i = 0; i < names.size(); ++i)
                columns[i] = record.indexOf(QLatin1String(names[i]));
            first = false;
        }
        // Filled in place: a tree of ten thousand rows copies no value twice.
        LinkRow& row = rows.emplaceBack();
        const std::array<QVariant*, 11> fields = {
            &row.parentId,     &row.id,         &row.order,  &row.name,     &row.title,
            &row.dateCreation, &row.dateUpdate, &row.idUser, &row.workLoad, &row.idConfiguration,
            &row.kind};
        for (size_t i = 0; i < names.size(); ++i)
            if (columns[i] >= 0)
                *fields[i] = query.value(columns[i]);
    });
}

QList<LinkRow> LinkRow::SubTestChildren(const QStringList& parentIds)
{
    const QString user = gUserManagement ? QStringLiteral("S.ID_USER, ") : QString();
    return ReadByIds(QStringLiteral("SELECT L.ID_SUBTEST_PARENT AS PARENT_ID, L.ID_SUBTEST_CHILD AS ID, "
                                    "L.ORDER_SUBTEST AS ORDER_NO, S.NAME, S.TITLE, %1"
                                    "S.DATE_UPDATE, S.DATE_CREATION FROM SUBTEST_LINKS L, SUBTEST S "
                                    "WHERE S.ID = L.ID_SUBTEST_CHILD AND L.ID_SUBTEST_PARENT IN (%2) "
                                    "ORDER BY L.ID_SUBTEST_PARENT, L.ORDER_SUBTEST")
                         .arg(user, QStringLiteral("%1")),
                     parentIds);
}

QList<LinkRow> LinkRow::Procedures(const QStringList& subTestIds)
{
    const QString user = gUserManagement ? QStringLiteral("P.ID_USER, ") : QString();
    return ReadByIds(QStringLiteral("SELECT L.ID_SUBTEST AS PARENT_ID, L.ID_PROCEDURE AS ID, "
                                    "L.ORDER_PROCEDURE AS ORDER_NO, P.NAME, P.DATE_CREATION, P.TITLE, %1"
                                    "P.WORKLOAD, P.DATE_UPDATE FROM PROCEDURE_LINKS L, PROCEDURES P "
                                    "WHERE P.ID = L.ID_PROCEDURE AND L.ID_SUBTEST IN (%2) "
                                    "ORDER BY L.ID_SUBTEST, L.ORDER_PROCEDURE")
                         .arg(user, QStringLiteral("%1")),
                     subTestIds);
}

QList<LinkRow> LinkRow::SubTreeLevel(const QStringList& subTestIds)
{
    const QString subTestUser = gUserManagement ? QStringLiteral(", S.ID_USER") : QString();
    const QString procedureUser = gUserManagement ? QStringLiteral(", P.ID_USER") : QString();
    return ReadByIds(QStringLiteral("SELECT 0 AS KIND, L.ID_SUBTEST_PARENT AS PARENT_ID, L.ID_SUBTEST_CHILD AS ID, "
                                    "L.ORDER_SUBTEST AS ORDER_NO, S.NAME, S.TITLE, S.DATE_CREATION, S.DATE_UPDATE, "
                                    "NULL AS WORKLOAD%1 FROM SUBTEST_LINKS L, SUBTEST S "
                                    "WHERE S.ID = L.ID_SUBTEST_CHILD AND L.ID_SUBTEST_PARENT IN (%3) UNION ALL "
                                    "SELECT 1, L.ID_SUBTEST, L.ID_PROCEDURE, L.ORDER_PROCEDURE, P.NAME, P.TITLE, "
                                    "P.DATE_CREATION, P.DATE_UPDATE, P.WORKLOAD%2 FROM PROCEDURE_LINKS L, PROCEDURES P "
                                    "WHERE P.ID = L.ID_PROCEDURE AND L.ID_SUBTEST IN (%3)")
                         .arg(subTestUser, procedureUser, QStringLiteral("%1")),
                     subTestIds);
}
