#include "core/services/RenameItem.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "core/services/UpdatedNodes.h"

void RenameItem(int itemType, const QString& id, const QString& name)
{
    const bool subTest = itemType >= kImageSubTestFirst && itemType <= kImageSubTestLast;
    const std::vector<ExplorerNode*> nodes = subTest ? SubTestNodes(id) : tvTestPlan_UpdatedNodes(id, itemType);
    for (ExplorerNode* node : nodes)
        node->SetText(name);
}
