#include "model/SubTest.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNode.h"
#include "model/LinkMove.h"
#include "model/LinkOrders.h"
#include "model/TagLink.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

int SubTest::Move(ExplorerNode* nodSubTest, bool blnUp)
{
    try {
        if (!nodSubTest)
            throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
        const TagLink link = TagLink::Parse(nodSubTest->Tag());
        const int parentImage = TagLink::ParentImage(*nodSubTest);
        const LinkOrders::Table& table =
            parentImage == kImageTestPlan ? LinkOrders::kTestPlanLinks : LinkOrders::kSubTestLinks;
        const int order = LinkMove::Move(table, link.parent, link.child, link.order, blnUp);
        if (order == 0)
            return 0;  // first or last already: nothing to swap with
        NodeKey key = NodeKey::Parse(m_key.isEmpty() ? nodSubTest->Key() : m_key);
        key.SetSegment(key.Count() - 1, NodeKey::FormatLink(QString::number(link.parent), QString::number(link.child),
                                                            QString::number(order)));
        m_key = key.ToString();
        RefreshExplorerNodes(QString::number(link.parent), parentImage);
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Move")), error);
        return 1;
    }
}
