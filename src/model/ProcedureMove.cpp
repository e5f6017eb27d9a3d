#include "model/Procedure.h"

#include "core/NodeKey.h"
#include "core/services/ExplorerNode.h"
#include "model/LinkMove.h"
#include "model/LinkOrders.h"
#include "model/SubTest.h"
#include "model/TagLink.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

int Procedure::Move(ExplorerNode* nodProcedure, bool blnUp)
{
    try {
        if (!nodProcedure)
            throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
        const TagLink link = TagLink::Parse(nodProcedure->Tag());
        const int order = LinkMove::Move(LinkOrders::kProcedureLinks, link.parent, link.child, link.order, blnUp);
        if (order == 0)
            return 0;  // first or last already: nothing to swap with
        NodeKey key = NodeKey::Parse(m_key.isEmpty() ? nodProcedure->Key() : m_key);
        key.SetSegment(key.Count() - 1, NodeKey::FormatLink(QString::number(link.parent), QString::number(link.child),
                                                            QString::number(order)));
        m_key = key.ToString();
        SubTest().RefreshExplorerNodes(QString::number(link.parent), TagLink::ParentImage(*nodProcedure));
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Move")), error);
        return 1;
    }
}
