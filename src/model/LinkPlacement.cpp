#include "model/LinkPlacement.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "model/DbValues.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <algorithm>
#include <limits>

namespace {

KvlError NotAnOrder(const QString& text)
{
    return KvlError(13, QStringLiteral("The order \"%1\" is not a whole number above 0.").arg(text));
}

int ParseOrder(const QString& text)
{
    bool ok = false;
    const int order = text.trimmed().toInt(&ok);
    if (!ok || order < 1)
        throw NotAnOrder(text);
    return order;
}

}  // namespace

LinkPlacement::Placed LinkPlacement::Place(const Table& table, const QString& parentId, const QString& childId,
                                           const QString& givenOrder)
{
    AdoConnection& connection = gConnection();
    const QVariant parent = DbValues::Id(parentId);
    const QVariant child = DbValues::Id(childId);
    Placed placed;
    DbTransaction transaction(connection);
    if (givenOrder.isEmpty() && connection.Dialect().IsPostgreSQL()) {
        // One statement takes the next order and writes the link. An order past the integer
        // range fails there, with nothing written.
        LockAllocation(QLatin1String(table.name));
        placed.order = connection
                           .Scalar(QStringLiteral("INSERT INTO %1 (%2, %3, %4) SELECT ?, ?, COALESCE(MAX(%4), 0) + 1 "
                                                  "FROM %1 WHERE %2 = ? RETURNING %4")
                                       .arg(QLatin1String(table.name), QLatin1String(table.parentColumn),
                                            QLatin1String(table.childColumn), QLatin1String(table.orderColumn)),
                                   {parent, child, parent})
                           .toInt();
    } else {
        if (!givenOrder.isEmpty()) {
            placed.order = ParseOrder(givenOrder);
            const QString holder = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? AND %4 = ?")
                                       .arg(QLatin1String(table.childColumn), QLatin1String(table.name),
                                            QLatin1String(table.parentColumn), QLatin1String(table.orderColumn));
            const QVariant taken = connection.Scalar(holder, {parent, placed.order});
            if (!taken.isNull() && DbValues::IdText(taken) == DbValues::IdText(child)) {
                // Already linked there: nothing to store, and nothing to undo in a caller's
                // transaction either.
                transaction.Commit();
                return placed;
            }
            if (!taken.isNull())
                placed.order = 0;
        }
        if (placed.order == 0)
            placed.order = table.next(parentId);
        connection.Run(QStringLiteral("INSERT INTO %1 (%2, %3, %4) VALUES (?, ?, ?)")
                           .arg(QLatin1String(table.name), QLatin1String(table.parentColumn),
                                QLatin1String(table.childColumn), QLatin1String(table.orderColumn)),
                       {parent, child, placed.order});
    }
    if (!transaction.Commit())
        throw KvlError(3251, QStringLiteral("The link could not be committed."));
    placed.inserted = true;
    return placed;
}

int LinkPlacement::Sequence::Place(int givenOrder)
{
    if (givenOrder < 1)
        throw NotAnOrder(QString::number(givenOrder));
    int order = givenOrder;
    if (m_taken.contains(order)) {
        if (m_last == std::numeric_limits<int>::max())
            throw KvlError(6, QStringLiteral("Overflow"));
        order = m_last + 1;
    }
    m_taken.insert(order);
    m_last = std::max(m_last, order);
    return order;
}

void LinkPlacement::ShowInExplorer(const QString& label, const std::function<void()>& refresh)
{
    try {
        refresh();
    } catch (const std::exception& error) {
        LogError(label, error);
    }
}
