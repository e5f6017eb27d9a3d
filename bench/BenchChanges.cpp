#include "BenchRun.h"

#include "BenchClock.h"
#include "BenchFloors.h"
#include "BoundInsert.h"

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/ExplorerFill.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "platform/KvlError.h"

#include <QDate>

namespace {

constexpr int kChildren = 1000;
constexpr int kMiddle = kChildren / 2;

// A new sub-test under `parentKey` holding 1,000 procedures, each with a result, shown in the
// tree. Gives the sub-test's key and id.
struct Family
{
    QString key;
    QString id;
    QList<int> procedures;  // by order - 1

    QString ChildKey(int order) const
    {
        return key + NodeKey::kSeparator +
               NodeKey::FormatLink(id, QString::number(procedures[order - 1]), QString::number(order)) +
               QLatin1Char('$');
    }
};

Family MakeFamily(const QString& parentKey, const QString& planId)
{
    Family family;
    SubTest subTest;
    if (subTest.Create() != 0 || subTest.Link(gExplorerNodes().Item(parentKey)) != 0)
        throw KvlError(QStringLiteral("figure 5: the sub-test could not be made"));
    family.key = subTest.Key();
    family.id = subTest.Id();
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    const int first = connection.Scalar(QStringLiteral("SELECT MAX(ID) FROM PROCEDURES")).toInt() + 1;
    BoundInsert procedures(QStringLiteral("PROCEDURES"), {"ID", "NAME", "TITLE", "WORKLOAD"});
    BoundInsert links(QStringLiteral("PROCEDURE_LINKS"), {"ID_SUBTEST", "ID_PROCEDURE", "ORDER_PROCEDURE"});
    BoundInsert results(QStringLiteral("RESULT"), {"ID_PROCEDURE", "KEY_NODE", "STATUS", "ID_TESTPLAN", "ITERATION"});
    for (int order = 1; order <= kChildren; ++order) {
        const int id = first + order - 1;
        family.procedures << id;
        const QString name = QStringLiteral("Child %1").arg(id);
        procedures.Add({id, name, name, 1.0});
        links.Add({family.id.toInt(), id, order});
        results.Add({id, family.ChildKey(order), order % 4, planId.toInt(), 1});
    }
    procedures.Flush();
    links.Flush();
    results.Flush();
    if (!transaction.Commit())
        throw KvlError(QStringLiteral("figure 5: the children could not be committed"));
    tvTestPlan_AddProcedure(family.key, subTest);
    return family;
}

bool HasResult(const QString& key)
{
    return !gConnection().Scalar(QStringLiteral("SELECT STATUS FROM RESULT WHERE KEY_NODE = ?"), {key}).isNull();
}

}  // namespace

QList<BenchFigure> BenchRun::MoveAndUnlink()
{
    BenchFigure move{QStringLiteral("5a"), QStringLiteral("move up the middle of 1,000 children with results"),
                     QStringLiteral("20 ms")};
    BenchFigure unlink{QStringLiteral("5b"), QStringLiteral("unlink the middle of 1,000 children with results"),
                       QStringLiteral("20 ms")};
    const QString parentKey = FirstSubTestKey();
    QList<Family> families;
    try {
        for (int i = 0; i < m_runs; ++i)
            families << MakeFamily(parentKey, m_bigPlanId);
    } catch (const std::exception& error) {
        Expect(false, QString::fromUtf8(error.what()));
        return {move, unlink};
    }
    int run = 0;
    move.value = BenchClock::MedianMs(m_runs, [&] {
        const Family& family = families[run++];
        Procedure procedure;
        procedure.SetId(QString::number(family.procedures[kMiddle - 1]));
        procedure.SetKey(family.ChildKey(kMiddle));
        Expect(procedure.Move(gExplorerNodes().Item(family.ChildKey(kMiddle)), true) == 0,
               QStringLiteral("figure 5: the move failed"));
    });
    run = 0;
    unlink.value = BenchClock::MedianMs(m_runs, [&] {
        Family& family = families[run++];
        // The move swapped the two: order 500 now holds the 499th.
        family.procedures.swapItemsAt(kMiddle - 2, kMiddle - 1);
        Procedure procedure;
        procedure.SetId(QString::number(family.procedures[kMiddle - 1]));
        procedure.SetKey(family.ChildKey(kMiddle));
        Expect(procedure.UnLink(gExplorerNodes().Item(family.ChildKey(kMiddle))) == 0,
               QStringLiteral("figure 5: the unlink failed"));
    });
    for (Family& family : families) {
        // The moved procedure's result went up with it; the unlinked one's went, and the later
        // ones moved up a place.
        const QString moved = family.ChildKey(kMiddle - 1);
        family.procedures.removeAt(kMiddle - 1);
        Expect(HasResult(moved) && HasResult(family.ChildKey(kMiddle)) && HasResult(family.ChildKey(kChildren - 1)) &&
                   gExplorerNodes().Item(family.key)->Children() == kChildren - 1,
               QStringLiteral("figure 5: links, results or nodes are not where the move and unlink put them"));
    }
    const QString floorId = families.last().id;
    move.floor = BenchClock::MedianMs(m_runs, [&] { BenchFloors::ChildrenWithResults(floorId); });
    unlink.floor = move.floor;
    return {move, unlink};
}

BenchFigure BenchRun::Repair()
{
    BenchFigure figure{QStringLiteral("6"), QStringLiteral("repair the large database"), QStringLiteral("5000 ms")};
    const int runs = std::min(m_runs, 3);
    figure.floor = BenchClock::MedianMs(runs, [&] { BenchFloors::AllLinksAndResults(); });
    figure.value = BenchClock::MedianMs(
        runs, [&] { Expect(kvlDatabase().Repair() == 0, QStringLiteral("figure 6: the repair failed")); });
    return figure;
}
