#include "model/LinkRow.h"

#include "core/AdoConnection.h"
#include "core/Globals.h"
#include "model/DbValues.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <array>

namespace {

// Well below every engine's limit on bound values in one statement.
constexpr qsizetype kIdsPerQuery = 500;

}  // namespace

QList<LinkRow> LinkRow::ReadByIds(const QString& statementWithMarks, const QStringList& parentIds)
{
    QList<LinkRow> rows;
    for (qsizetype start = 0; start < parentIds.size(); start += kIdsPerQuery) {
        const QStringList batch = parentIds.mid(start, kIdsPerQuery);
        QVariantList values;
        QStringList marks;
        for (const QString& id : batch) {
            values << DbValues::Id(id);
            marks << QStringLiteral("?");
        }
        rows << LinkRow::Read(statementWithMarks.arg(marks.join(QLatin1Char(','))), values);
    }
    return rows;
}

QList<LinkRow> LinkRow::Read(const QString& statement, const QVariantList& values)
{
    QSqlQuery query = gConnection().Query(statement, values);
    const QSqlRecord record = query.record();
    static const std::array<const char*, 10> names = {
        "PARENT_ID",     "ID",          "ORDER_NO", "NAME",     "TITLE",
        "DATE_CREATION", "DATE_UPDATE", "ID_USER",  "WORKLOAD", "ID_CONFIGURATION"};
    std::array<int, 10> columns{};
    for (size_t i = 0; i < names.size(); ++i)
        columns[i] = record.indexOf(QLatin1String(names[i]));
    QList<LinkRow> rows;
    while (query.next()) {
        std::array<QVariant, 10> v;
        for (size_t i = 0; i < names.size(); ++i)
            if (columns[i] >= 0)
                v[i] = query.value(columns[i]);
        rows.append({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]});
    }
    return rows;
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
