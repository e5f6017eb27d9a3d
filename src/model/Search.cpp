#include "model/Search.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ItemList.h"
#include "model/LoadedRows.h"
#include "model/OccurrenceKey.h"
#include "model/SubTestPaths.h"
#include "platform/BugLog.h"

#include <QSqlQuery>
#include <algorithm>

namespace LR = LoadedRows;

namespace {

struct TextCondition
{
    QString sql;  // empty for an empty text
    QVariantList values;
};

// The description holds the text as typed, or as the editor stores it: "R&D" is kept as
// "R&amp;D", yet markup typed as such must still be found.
TextCondition Contains(const QString& column, const QString& text)
{
    if (text.isEmpty())
        return {};
    const SqlDialect& dialect = gConnection().Dialect();
    const QString condition = dialect.ContainsCondition(column);
    QString stored = text;
    stored.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"));
    if (stored == text)
        return {condition, {dialect.LikePattern(text)}};
    return {QLatin1Char('(') + condition + QLatin1String(" OR ") + condition + QLatin1Char(')'),
            {dialect.LikePattern(text), dialect.LikePattern(stored)}};
}

QString Where(const TextCondition& condition, const QString& joined = {})
{
    QStringList parts;
    if (!joined.isEmpty())
        parts << joined;
    if (!condition.sql.isEmpty())
        parts << condition.sql;
    return parts.isEmpty() ? QString() : QLatin1String(" WHERE ") + parts.join(QLatin1String(" AND "));
}

struct ProcedureLink
{
    QString subTestId;
    QString subTestName;
    int order = 0;
};

struct FoundProcedure
{
    QString id;
    QString name;
    QVariant date;
    QList<ProcedureLink> links;
};

}  // namespace

int Search::Find(const QString& text, int itemType)
{
    try {
        m_linksLoaded = false;
        switch (itemType) {
            case kConfiguration:
                return FindConfigurations(text);
            case kTestPlan:
                return FindTestPlans(text);
            case kSubTest:
                return FindSubTests(text);
            case kProcedure:
                return FindProcedures(text);
            default:
                break;
        }
        int result = FindTestPlans(text);
        result |= FindConfigurations(text);
        result |= FindProcedures(text);
        result |= FindSubTests(text);
        return result;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_Find : "), error);
        return 1;
    }
}

int Search::FindConfigurations(const QString& text)
{
    try {
        const TextCondition condition = Contains(QStringLiteral("DESCRIPTION"), text);
        QSqlQuery rows = gConnection().Query(QStringLiteral("SELECT ID, NAME, DATE_UPDATE FROM CONFIGURATION") +
                                                 Where(condition) + QStringLiteral(" ORDER BY ID"),
                                             condition.values);
        while (rows.next()) {
            const QString key = NodeKey::kConfigurationPrefix + rows.value(0).toString();
            if (CheckDevice(key, kImageConfiguration))
                m_list.AddRow(rows.value(1).toString(), QString(), LR::DateText(rows.value(2)), kImageConfiguration,
                              key, LR::Date(rows.value(2)));
        }
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_SearchConfiguration : "), error);
        return 1;
    }
    return 0;
}

int Search::FindTestPlans(const QString& text)
{
    try {
        const TextCondition condition = Contains(QStringLiteral("T.DESCRIPTION"), text);
        // One row per configuration link; a plan's rows follow the configurations' tree order.
        QSqlQuery rows = gConnection().Query(
            QStringLiteral("SELECT L.ID_CONFIGURATION, C.NAME, T.NAME, T.DATE_UPDATE, T.ID "
                           "FROM CONFIGURATION C, TESTPLAN T, CONFIGURATION_LINKS L") +
                Where(condition, QStringLiteral("L.ID_TESTPLAN = T.ID AND L.ID_CONFIGURATION = C.ID")) +
                QStringLiteral(" ORDER BY T.ID, L.ID_CONFIGURATION"),
            condition.values);
        while (rows.next()) {
            const QString key = NodeKey::kConfigurationPrefix + rows.value(0).toString() + NodeKey::kSeparator +
                                rows.value(4).toString();
            if (CheckDevice(key, kImageTestPlan))
                m_list.AddRow(rows.value(2).toString(), rows.value(1).toString(), LR::DateText(rows.value(3)),
                              kImageTestPlan, key, LR::Date(rows.value(3)));
        }
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_SearchTestPlan : "), error);
        return 1;
    }
    return 0;
}

int Search::FindSubTests(const QString& text)
{
    try {
        // Read before the query: no statement may run while PostgreSQL streams its rows.
        TreeLinks& links = Links();
        const TextCondition condition = Contains(QStringLiteral("DESCRIPTION"), text);
        QSqlQuery rows = gConnection().Query(QStringLiteral("SELECT ID, NAME, DATE_UPDATE FROM SUBTEST") +
                                                 Where(condition) + QStringLiteral(" ORDER BY ID"),
                                             condition.values);
        while (rows.next())
            AddSubTestRows(m_list, links, rows.value(0).toString(), rows.value(1).toString(),
                           LR::DateText(rows.value(2)), LR::Date(rows.value(2)));
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_SearchSubTest : "), error);
        return 1;
    }
    return 0;
}

int Search::FindProcedures(const QString& text)
{
    try {
        TreeLinks& links = Links();
        const TextCondition condition = Contains(QStringLiteral("P.DESCRIPTION"), text);
        QList<FoundProcedure> found;
        gConnection().ForEachRow(
            QStringLiteral("SELECT P.ID, P.NAME, P.DATE_UPDATE, L.ID_SUBTEST, S.NAME, L.ORDER_PROCEDURE "
                           "FROM PROCEDURES P, PROCEDURE_LINKS L, SUBTEST S") +
                Where(condition, QStringLiteral("L.ID_PROCEDURE = P.ID AND S.ID = L.ID_SUBTEST")) +
                QStringLiteral(" ORDER BY P.ID"),
            condition.values, [&](const QSqlQuery& row) {
                const QString id = row.value(0).toString();
                if (found.isEmpty() || found.last().id != id)
                    found.append({id, row.value(1).toString(), row.value(2), {}});
                found.last().links.append({row.value(3).toString(), row.value(4).toString(), row.value(5).toInt()});
            });
        struct Occurrence
        {
            QList<int> rank;  // the sub-test place's, shared, not copied
            int order;
            QString path;
            QString key;
        };
        for (const FoundProcedure& procedure : found) {
            QList<Occurrence> occurrences;
            for (const ProcedureLink& link : procedure.links) {
                for (const TreeLinks::Place& place : links.Places(link.subTestId)) {
                    const QString key = OccurrenceKey::Procedure(place.key, link.subTestId, procedure.id, link.order);
                    if (!CheckDevice(key, kImageProcedure))
                        continue;
                    occurrences.append(
                        {place.rank, link.order, place.path + QLatin1Char('\\') + link.subTestName, key});
                }
            }
            std::stable_sort(occurrences.begin(), occurrences.end(), [](const Occurrence& a, const Occurrence& b) {
                return a.rank != b.rank ? a.rank < b.rank : a.order < b.order;
            });
            const QString date = LR::DateText(procedure.date);
            const QDate day = LR::Date(procedure.date);
            for (const Occurrence& occurrence : occurrences)
                m_list.AddRow(procedure.name, occurrence.path, date, kImageProcedure, occurrence.key, day);
        }
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_SearchProcedures : "), error);
        return 1;
    }
    return 0;
}

TreeLinks& Search::Links()
{
    if (!m_linksLoaded) {
        m_links.Load();
        m_linksLoaded = true;
    }
    return m_links;
}
