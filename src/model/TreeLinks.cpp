#include "model/TreeLinks.h"

#include "core/db/AdoConnection.h"
#include "core/NodeKey.h"
#include "model/OccurrenceKey.h"
#include "platform/KvlError.h"

#include <QSqlQuery>
#include <algorithm>

void TreeLinks::Load()
{
    m_plans.clear();
    m_parents.clear();
    m_places.clear();
    m_climbing.clear();
    const AdoConnection& db = gConnection();
    QHash<int, QString> configurations;
    db.ForEachRow(QStringLiteral("SELECT ID, NAME FROM CONFIGURATION"), {},
                  [&](const QSqlQuery& row) { configurations.insert(row.value(0).toInt(), row.value(1).toString()); });
    db.ForEachRow(QStringLiteral("SELECT L.ID_SUBTEST, C.ID_CONFIGURATION, P.ID, P.NAME, L.ORDER_SUBTEST "
                                 "FROM TESTPLAN_LINKS L, TESTPLAN P, CONFIGURATION_LINKS C "
                                 "WHERE P.ID = L.ID_TESTPLAN AND C.ID_TESTPLAN = P.ID"),
                  {}, [&](const QSqlQuery& row) {
                      const int configuration = row.value(1).toInt();
                      m_plans[row.value(0).toString()].append({configuration, row.value(2).toInt(),
                                                               configurations.value(configuration),
                                                               row.value(3).toString(), row.value(4).toInt()});
                  });
    db.ForEachRow(QStringLiteral("SELECT L.ID_SUBTEST_CHILD, L.ID_SUBTEST_PARENT, S.NAME, L.ORDER_SUBTEST "
                                 "FROM SUBTEST_LINKS L, SUBTEST S WHERE S.ID = L.ID_SUBTEST_PARENT"),
                  {}, [&](const QSqlQuery& row) {
                      m_parents[row.value(0).toString()].append(
                          {row.value(1).toString(), row.value(2).toString(), row.value(3).toInt()});
                  });
}

QList<TreeLinks::Place> TreeLinks::Places(const QString& subTestId)
{
    try {
        return Climb(subTestId);
    } catch (...) {
        // A failed climb leaves no sub-test marked as being climbed for the next caller.
        m_climbing.clear();
        throw;
    }
}

QList<TreeLinks::Place> TreeLinks::Climb(const QString& subTestId)
{
    if (const auto found = m_places.constFind(subTestId); found != m_places.constEnd())
        return *found;
    if (m_climbing.contains(subTestId))
        throw KvlError(6, QStringLiteral("The sub-test %1 lies under itself.").arg(subTestId));
    m_climbing.insert(subTestId);
    const int id = subTestId.toInt();
    QList<Place> places;
    for (const PlanLink& plan : m_plans.value(subTestId)) {
        const QString planKey = NodeKey::kConfigurationPrefix + QString::number(plan.configurationId) +
                                NodeKey::kSeparator + QString::number(plan.planId);
        places.append({OccurrenceKey::SubTest(planKey, QString::number(plan.planId), subTestId, plan.order),
                       {plan.configurationName, plan.planName},
                       {plan.configurationId, plan.planId, plan.order, id},
                       plan.configurationName + QLatin1Char('\\') + plan.planName});
    }
    for (const ParentLink& parent : m_parents.value(subTestId)) {
        for (const Place& above : Climb(parent.parentId)) {
            // Sub-test images stop at the tenth level below a plan.
            if (above.names.size() - 1 >= OccurrenceKey::kMaxSubTestDepth)
                throw KvlError(6, QStringLiteral("The sub-test %1 lies more than %2 levels deep.")
                                      .arg(subTestId)
                                      .arg(OccurrenceKey::kMaxSubTestDepth));
            Place place{OccurrenceKey::SubTest(above.key, parent.parentId, subTestId, parent.order),
                        above.names + QStringList{parent.parentName}, above.rank,
                        above.path + QLatin1Char('\\') + parent.parentName};
            place.rank << parent.order << id;
            places.append(place);
        }
    }
    std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) { return a.rank < b.rank; });
    m_climbing.remove(subTestId);
    m_places.insert(subTestId, places);
    return places;
}
