#include "model/LinkMove.h"

#include "core/db/AdoConnection.h"
#include "model/ResultKeyRewriter.h"
#include "platform/KvlError.h"

#include <utility>

namespace LinkMove {

int Move(const LinkOrders::Table& table, int parent, int child, int order, bool up)
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    QList<LinkOrders::Row> rows = LinkOrders::Read(connection, table, parent);
    qsizetype at = -1;
    for (qsizetype i = 0; i < rows.size() && at < 0; ++i) {
        if (rows[i].child == child && rows[i].order == order)
            at = i;
    }
    if (at < 0)
        throw KvlError(5, QStringLiteral("The link %1|%2|%3 is not stored.").arg(parent).arg(child).arg(order));
    const qsizetype neighbour = up ? at - 1 : at + 1;
    if (neighbour < 0 || neighbour >= rows.size())
        return 0;
    std::swap(rows[at], rows[neighbour]);
    // Positions, not stored numbers, decide: a gap left by an older version closes on the way.
    ResultKeyRewriter rewriter;
    LinkOrders::Span changed;
    LinkOrders::Renumber(table, rows, rewriter, &changed);
    LinkOrders::ReplaceSpan(connection, table, parent, rows, changed);
    rewriter.Run(connection);
    if (!transaction.Commit())
        throw KvlError(3251, QStringLiteral("The move could not be committed."));
    return rows[neighbour].order;
}

}  // namespace LinkMove
