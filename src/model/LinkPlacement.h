#pragma once

#include "model/LinkOrders.h"

#include <QSet>
#include <QString>
#include <functional>

// Where a new link row of a sub-test or procedure goes among its parent's children.
class LinkPlacement
{
public:
    using Table = LinkOrders::Table;

    struct Placed
    {
        int order = 0;
        bool inserted = false;
    };

    // Stores the link of `childId` under `parentId` in one transaction. Without `givenOrder` it
    // goes after the last child. With one: when the child already holds that order nothing is
    // stored; when no other child holds it, the link takes it; otherwise it goes after the last
    // child. Gives the order of the stored link. Raises KvlError on failure or on a given order
    // that is not a whole number above 0.
    static Placed Place(const Table& table, const QString& parentId, const QString& childId, const QString& givenOrder);

    // The same rule for the children of a parent whose links are all stored at once: each call
    // gives the order of the next child's link, among the children placed before it.
    class Sequence
    {
    public:
        // Raises KvlError on an order that is not a whole number above 0.
        int Place(int givenOrder);

    private:
        QSet<int> m_taken;
        int m_last = 0;
    };

    // Shows a stored link in the explorer. The link stays stored whatever happens here: a failure
    // is logged under `label` and not reported, or a retry would link the item twice.
    static void ShowInExplorer(const QString& label, const std::function<void()>& refresh);
};
