#include "model/LinkOrders.h"

#include "core/db/AdoConnection.h"
#include "core/db/BatchInsert.h"
#include "core/db/BoundLists.h"
#include "core/db/DbHelpers.h"

#include <QSet>
#include <QSqlQuery>
#include <algorithm>

namespace LinkOrders {

const Table kTestPlanLinks{
    "TESTPLAN_LINKS",  "ID_TESTPLAN", "ID_SUBTEST", "ORDER_SUBTEST", ResultKeyRewriter::Place::UnderTestPlan,
    &NextTestPlanOrder};
const Table kSubTestLinks{
    "SUBTEST_LINKS",  "ID_SUBTEST_PARENT", "ID_SUBTEST_CHILD", "ORDER_SUBTEST", ResultKeyRewriter::Place::UnderSubTest,
    &NextSubTestOrder};
const Table kProcedureLinks{
    "PROCEDURE_LINKS",  "ID_SUBTEST", "ID_PROCEDURE", "ORDER_PROCEDURE", ResultKeyRewriter::Place::Procedure,
    &NextProcedureOrder};

namespace {

// Ids per statement: under every engine's limit on bound values, and a power of two.
constexpr qsizetype kBatch = 256;

QString Select(const Table& table)
{
    return QStringLiteral("SELECT %1, %2, %3 FROM %4")
        .arg(QLatin1String(table.parentColumn), QLatin1String(table.childColumn), QLatin1String(table.orderColumn),
             QLatin1String(table.name));
}

QString OrderBy(const Table& table)
{
    return QStringLiteral(" ORDER BY %1, %2, %3")
        .arg(QLatin1String(table.parentColumn), QLatin1String(table.orderColumn), QLatin1String(table.childColumn));
}

QList<Row> Rows(AdoConnection& connection, const QString& statement, const QVariantList& values = {})
{
    QList<Row> rows;
    connection.ForEachRow(statement, values, [&](const QSqlQuery& row) {
        rows.append({row.value(0).toInt(), row.value(1).toInt(), row.value(2).toInt()});
    });
    return rows;
}

}  // namespace

QList<Row> Read(AdoConnection& connection, const Table& table, int parent)
{
    return Rows(connection,
                Select(table) + QStringLiteral(" WHERE %1 = ?").arg(QLatin1String(table.parentColumn)) + OrderBy(table),
                {parent});
}

QList<Row> ReadChild(AdoConnection& connection, const Table& table, int child)
{
    return Rows(connection,
                Select(table) + QStringLiteral(" WHERE %1 = ?").arg(QLatin1String(table.childColumn)) + OrderBy(table),
                {child});
}

QList<Row> ReadAll(AdoConnection& connection, const Table& table)
{
    return Rows(connection, Select(table) + OrderBy(table));
}

void Span::Cover(int order)
{
    if (last < first) {
        first = last = order;
        return;
    }
    first = std::min(first, order);
    last = std::max(last, order);
}

namespace {

// Whether the changed rows form one block moved by one amount (see Span::shift).
void FindShift(const QList<Row>& before, const QList<Row>& after, Span& span)
{
    int shift = 0;
    int first = 0;
    int last = -1;
    qsizetype moved = 0;
    QSet<int> children;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int delta = after[i].order - before[i].order;
        if (delta == 0)
            continue;
        if ((shift != 0 && delta != shift) || children.contains(before[i].child))
            return;
        shift = delta;
        children.insert(before[i].child);
        first = moved == 0 ? before[i].order : std::min(first, before[i].order);
        last = std::max(last, before[i].order);
        ++moved;
    }
    // The block's stored orders must be exactly the moved rows': no gap, no unmoved row among them.
    const auto inBlock = [&](const Row& row) { return row.order >= first && row.order <= last; };
    if (moved == 0 || last - first + 1 != moved || std::count_if(before.cbegin(), before.cend(), inBlock) != moved)
        return;
    span.shift = shift;
    span.shiftFirst = first;
    span.shiftLast = last;
}

}  // namespace

bool Renumber(const Table& table, QList<Row>& rows, ResultKeyRewriter& rewriter, Span* span)
{
    const QList<Row> before = span ? rows : QList<Row>();
    bool changed = false;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        Row& row = rows[i];
        const int order = static_cast<int>(i) + 1;
        if (row.order == order)
            continue;
        rewriter.Renumber(table.place, row.parent, row.child, row.order, order);
        if (span) {
            span->Cover(row.order);
            span->Cover(order);
        }
        row.order = order;
        changed = true;
    }
    if (span && changed)
        FindShift(before, rows, *span);
    return changed;
}

void DeleteIds(AdoConnection& connection, const QString& table, const QString& column, const QList<int>& ids)
{
    for (qsizetype start = 0; start < ids.size(); start += kBatch) {
        const QList<int> batch = ids.mid(start, kBatch);
        QVariantList values(batch.cbegin(), batch.cend());
        // Padded, so that the statement has a length met again.
        BoundLists::PadWithLast(values, kBatch);
        connection.Run(QStringLiteral("DELETE FROM %1 WHERE %2 IN (%3)")
                           .arg(table, column, BoundLists::Marks(values.size(), QStringLiteral("?"))),
                       values);
    }
}

void Replace(AdoConnection& connection, const Table& table, const QList<int>& parents, const QList<Row>& rows)
{
    // Rows go and come back rather than being updated one by one: a swap or a shift would meet
    // the primary key on its way.
    DeleteIds(connection, QLatin1String(table.name), QLatin1String(table.parentColumn), parents);
    BatchInsert insert(connection,
                       QStringLiteral("INSERT INTO %1 (%2, %3, %4) VALUES ")
                           .arg(QLatin1String(table.name), QLatin1String(table.parentColumn),
                                QLatin1String(table.childColumn), QLatin1String(table.orderColumn)),
                       3);
    for (const Row& row : rows)
        insert.Add({row.parent, row.child, row.order});
    insert.Flush();
}

void ReplaceSpan(AdoConnection& connection, const Table& table, int parent, const QList<Row>& rows, const Span& span)
{
    if (span.last < span.first)
        return;
    if (span.shift != 0) {
        connection.Run(
            QStringLiteral("UPDATE %1 SET %3 = %3 + ? WHERE %2 = ? AND %3 >= ? AND %3 <= ?")
                .arg(QLatin1String(table.name), QLatin1String(table.parentColumn), QLatin1String(table.orderColumn)),
            {span.shift, parent, span.shiftFirst, span.shiftLast});
        return;
    }
    // Every row that changed had its old and its new order inside the span, so the rows stored
    // there and the rows that now stand there are the same links.
    connection.Run(
        QStringLiteral("DELETE FROM %1 WHERE %2 = ? AND %3 >= ? AND %3 <= ?")
            .arg(QLatin1String(table.name), QLatin1String(table.parentColumn), QLatin1String(table.orderColumn)),
        {parent, span.first, span.last});
    BatchInsert insert(connection,
                       QStringLiteral("INSERT INTO %1 (%2, %3, %4) VALUES ")
                           .arg(QLatin1String(table.name), QLatin1String(table.parentColumn),
                                QLatin1String(table.childColumn), QLatin1String(table.orderColumn)),
                       3);
    for (const Row& row : rows) {
        if (row.order >= span.first && row.order <= span.last)
            insert.Add({row.parent, row.child, row.order});
    }
    insert.Flush();
}

}  // namespace LinkOrders
