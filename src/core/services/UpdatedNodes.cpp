#include "core/services/UpdatedNodes.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNodes.h"

namespace {

bool Shows(const ExplorerNode& node, const QString& id)
{
    const int image = node.Image();
    if (image == kImageConfiguration || image == kImageTestPlan)
        return node.Tag() == id;
    if (image >= kImageSubTestFirst && image <= kImageSubTestLast)
        return KeyId(node.Tag()) == id;
    if (image == kImageProcedure)
        return KeyIdShort(node.Tag()) == id;
    return false;
}

template <class Accept>
std::vector<ExplorerNode*> Collect(const QString& id, Accept accept)
{
    std::vector<ExplorerNode*> nodes;
    const ExplorerNodes& tree = gExplorerNodes();
    for (int i = 1; i <= tree.Count(); ++i) {
        ExplorerNode* node = tree.Item(i);
        if (accept(node->Image()) && Shows(*node, id))
            nodes.push_back(node);
    }
    return nodes;
}

}  // namespace

std::vector<ExplorerNode*> tvTestPlan_UpdatedNodes(const QString& id, int itemType)
{
    return Collect(id, [itemType](int image) { return image == itemType; });
}

std::vector<ExplorerNode*> SubTestNodes(const QString& id)
{
    return Collect(id, [](int image) { return image >= kImageSubTestFirst && image <= kImageSubTestLast; });
}
