// Figures 14 to 17: the description search and the search pane's locations, without the pane,
// against one query reading what they list.
#include "BenchClock.h"
#include "BenchFloors.h"
#include "BenchGenerator.h"
#include "BenchRun.h"

#include "core/NodeKey.h"
#include "core/services/ItemList.h"
#include "core/services/SearchLocation.h"
#include "model/Search.h"

#include <QSet>

namespace {

// The item a result row names: its kind and id, read from the row's node key.
QString ItemOf(const ItemList::Row& row)
{
    const QString last = row.tag.section(NodeKey::kSeparator, -1);
    if (row.icon == 2)
        return QStringLiteral("2:") + last.mid(NodeKey::kConfigurationPrefix.size());
    const QString kind = row.icon == 14  ? QStringLiteral("14")
                         : row.icon == 3 ? QStringLiteral("3")
                                         : QStringLiteral("4");
    return kind + QLatin1Char(':') + (last.contains(QLatin1Char('|')) ? last.section(QLatin1Char('|'), 1, 1) : last);
}

qint64 DistinctItems(const ItemList& rows)
{
    QSet<QString> items;
    for (const ItemList::Row& row : rows.Rows())
        items.insert(ItemOf(row));
    return items.size();
}

}  // namespace

QList<BenchFigure> BenchRun::SearchFigures()
{
    BenchFigure all{QStringLiteral("14"), QStringLiteral("search \"All\" for a word, whole database (floor: ids)"),
                    QStringLiteral("200 ms")};
    BenchFigure plan{QStringLiteral("15"), QStringLiteral("the same search in the big plan (floor: ids)"),
                     QStringLiteral("200 ms")};
    BenchFigure procedures{QStringLiteral("16"),
                           QStringLiteral("search \"Procedure\", empty text: every occurrence (floor: links)"),
                           QStringLiteral("1000 ms, x5")};
    BenchFigure locations{QStringLiteral("17"), QStringLiteral("search pane's locations filled (floor: 3 queries)"),
                          QStringLiteral("100 ms")};
    const QString word = QString::fromLatin1(BenchGenerator::kSearchWord);
    const QString pattern = QLatin1Char('%') + word + QLatin1Char('%');
    SearchLocation& location = gSearchLocation();

    qint64 matching = 0;
    all.floor = BenchClock::MedianMs(m_runs, [&] { matching = BenchFloors::DescriptionMatches(pattern); });
    location.Reset();
    ItemList found;
    all.value = BenchClock::MedianMs(m_runs, [&] {
        found = ItemList();
        Search(found).Find(word, Search::kAll);
    });
    Expect(matching > 0 && DistinctItems(found) == matching,
           QStringLiteral("figure 14: %1 items listed, %2 descriptions hold the word")
               .arg(DistinctItems(found))
               .arg(matching));

    const QString planKey = PlanKey();
    location.Choose(QStringLiteral("big plan"), QStringLiteral("KeyId:") + planKey);
    plan.floor = all.floor;
    ItemList inPlan;
    plan.value = BenchClock::MedianMs(m_runs, [&] {
        inPlan = ItemList();
        Search(inPlan).Find(word, Search::kAll);
    });
    bool inside = inPlan.Count() > 0;
    for (const ItemList::Row& row : inPlan.Rows()) {
        // The configuration holding the plan is listed too: its key is the location's first part.
        inside = inside && (row.tag == planKey.section(NodeKey::kSeparator, 0, 0) || row.tag == planKey ||
                            row.tag.startsWith(planKey + NodeKey::kSeparator));
    }
    Expect(inside && inPlan.Count() < found.Count(),
           QStringLiteral("figure 15: %1 rows listed in the big plan, some outside it").arg(inPlan.Count()));
    location.Reset();

    procedures.floor = BenchClock::MedianMs(m_runs, [&] { BenchFloors::ProcedureLinks(); });
    qint64 occurrences = 0;
    procedures.value = BenchClock::MedianMs(m_runs, [&] {
        ItemList every;
        Search(every).Find(QString(), Search::kProcedure);
        occurrences = every.Count();
    });
    Expect(
        occurrences == m_shape.Occurrences(),
        QStringLiteral("figure 16: %1 procedure rows for %2 occurrences").arg(occurrences).arg(m_shape.Occurrences()));

    qint64 read = 0;
    locations.floor = BenchClock::MedianMs(m_runs, [&] { read = BenchFloors::SearchLocations(); });
    locations.value = BenchClock::MedianMs(m_runs, [&] { location.Fill(); });
    Expect(location.Entries().size() == read + 1,
           QStringLiteral("figure 17: %1 locations for %2 rows read").arg(location.Entries().size()).arg(read));
    location.Reset();
    return {all, plan, procedures, locations};
}
