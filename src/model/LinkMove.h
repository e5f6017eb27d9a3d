#pragma once

#include "model/LinkOrders.h"

// Swaps one link with its neighbour among the parent's children, renumbers them 1..n and moves
// their results along, in one transaction.
namespace LinkMove {

// The new order of the moved link; 0 when it has no neighbour that way (nothing changes).
// Raises KvlError when the link is not stored at `order` under `parent`, or on failure.
int Move(const LinkOrders::Table& table, int parent, int child, int order, bool up);

}  // namespace LinkMove
