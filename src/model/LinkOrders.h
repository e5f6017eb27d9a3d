#pragma once

#include "model/ResultKeyRewriter.h"

#include <QList>
#include <QString>

class AdoConnection;

// The ordered link tables and the renumbering of a parent's children to 1..n. Every change of
// order goes through here, so the link rows and the result keys change together.
namespace LinkOrders {

struct Table
{
    const char* name;
    const char* parentColumn;
    const char* childColumn;
    const char* orderColumn;
    ResultKeyRewriter::Place place;
    int (*next)(const QString& parentId);  // the parent's next order number
};
extern const Table kTestPlanLinks;
extern const Table kSubTestLinks;
extern const Table kProcedureLinks;

struct Row
{
    int parent = 0;
    int child = 0;
    int order = 0;
};

// The children of `parent` in their stored sequence (order, then child id). Raises KvlError.
QList<Row> Read(AdoConnection& connection, const Table& table, int parent);
// The links that hold `child`, under any parent. Raises KvlError.
QList<Row> ReadChild(AdoConnection& connection, const Table& table, int child);
// Every row of the table, by parent and then in the stored sequence. Raises KvlError.
QList<Row> ReadAll(AdoConnection& connection, const Table& table);

// The orders first..last that a renumbering touched, old and new alike.
struct Span
{
    int first = 0;
    int last = -1;
    // Set when the rows stored at the orders shiftFirst..shiftLast, and no others, all moved by
    // `shift` and hold different children: one statement can then move them without meeting
    // another row's key on the way.
    int shift = 0;
    int shiftFirst = 0;
    int shiftLast = -1;
    void Cover(int order);
};

// Gives the rows of one parent, in the sequence they are to keep, the orders 1..n and records
// every change in `rewriter` (and in `span`). Returns true when an order changed.
bool Renumber(const Table& table, QList<Row>& rows, ResultKeyRewriter& rewriter, Span* span = nullptr);

// Replaces all the link rows of `parents` by `rows` (which belong to those parents), with a few
// statements for any number of rows. Raises KvlError.
void Replace(AdoConnection& connection, const Table& table, const QList<int>& parents, const QList<Row>& rows);

// Replaces the link rows of `parent` whose orders lie in `span` by those of `rows` (all the
// parent's rows, renumbered; `span` from Renumber): the rows outside it kept their orders.
void ReplaceSpan(AdoConnection& connection, const Table& table, int parent, const QList<Row>& rows, const Span& span);

// Deletes the rows of the given ids from `table`, where `column` holds the id; batched.
void DeleteIds(AdoConnection& connection, const QString& table, const QString& column, const QList<int>& ids);

}  // namespace LinkOrders
