#include "model/Procedure.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "model/ItemRemoval.h"
#include "model/LinkOrders.h"
#include "model/SubTest.h"
#include "model/TagLink.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

int Procedure::UnLink(ExplorerNode* nodProcedure)
{
    try {
        if (!nodProcedure)
            throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
        const TagLink link = TagLink::Parse(nodProcedure->Tag());
        const int parentImage = TagLink::ParentImage(*nodProcedure);
        const QString key = nodProcedure->Key();
        AdoConnection& connection = gConnection();
        {
            DbTransaction transaction(connection);
            ItemRemoval removal(connection);
            removal.RemoveLink(LinkOrders::kProcedureLinks, link.parent, link.child, link.order);
            removal.DeleteProcedureIfUnlinked(link.child);
            removal.NoteHistory(ConfigurationIdFromKey(key), TestPlanIdFromKey(key));
            removal.Finish();
            if (!transaction.Commit())
                throw KvlError(3251, QStringLiteral("The unlink could not be committed."));
        }
        // Every occurrence of the sub-test, at any depth, shows the renumbered procedures.
        SubTest().RefreshExplorerNodes(QString::number(link.parent), parentImage);
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("UnLink")), error);
        return 1;
    }
}
