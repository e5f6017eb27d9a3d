#pragma once

#include <QString>
#include <vector>

class ExplorerNode;

// The explorer nodes that show an item of the given kind (an ItemImage value), in the order the
// nodes were added: configurations and test plans by their tag, sub-tests and procedures by the
// id in the middle of their tag. A sub-test matches only at the depth the image names.
std::vector<ExplorerNode*> tvTestPlan_UpdatedNodes(const QString& id, int itemType);
// Every node showing the sub-test, at whatever depth it appears.
std::vector<ExplorerNode*> SubTestNodes(const QString& id);
