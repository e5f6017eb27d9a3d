#include "core/services/UpdatedNodes.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNodes.h"

namespace {

// The id part of a tag "parent|id|order", as KeyIdShort reads it, without copying: a link looks
// at every node of the tree.
QStringView TagId(QStringView tag)
{
    const qsizetype first = tag.indexOf(u'|');
    if (first < 0)
        return {};
    const qsizetype second = tag.indexOf(u'|', first + 1);
    return second < 0 ? tag.mid(first + 1) : tag.mid(first + 1, second - first - 1);
}

bool Shows(const ExplorerNode& node, const QString& id)
{
    const int image = node.Image();
    const QString& tag = node.Tag();
    if (image == kImageConfiguration || image == kImageTestPlan)
        return tag == id;
    if (image >= kImageSubTestFirst && image <= kImageSubTestLast)
        return (tag.size() > 3 ? TagId(tag) : QStringView()) == id;  // as KeyId
    if (image == kImageProcedure)
        return TagId(tag) == id;  // as KeyIdShort
    return false;
}

template <class Accept>
std::vector<ExplorerNode*> Collect(const QString& id, Accept accept)
{
    std::vector<ExplorerNode*> nodes;
    const ExplorerNodes& tree = gExplorerNodes();
    // Nodes are filed by the part of their tags that names an item; an empty id is looked for
    // everywhere.
    if (std::vector<ExplorerNode*> candidates; tree.Tagged(id, candidates)) {
        for (ExplorerNode* node : candidates) {
            if (accept(node->Image()) && Shows(*node, id))
                nodes.push_back(node);
        }
        return nodes;
    }
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
