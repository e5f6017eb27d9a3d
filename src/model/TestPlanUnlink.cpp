#include "model/TestPlan.h"

#include "core/db/AdoConnection.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/DbValues.h"
#include "model/ItemRemoval.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

int TestPlan::UnLink(ExplorerNode* nodTestPlan, bool blnConfiguration)
{
    try {
        if (!nodTestPlan || !nodTestPlan->Parent())
            throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
        const int configuration =
            DbValues::Id(nodTestPlan->Parent()->Key().mid(NodeKey::kConfigurationPrefix.size())).toInt();
        const int testPlan = DbValues::Id(nodTestPlan->Tag()).toInt();
        AdoConnection& connection = gConnection();
        {
            DbTransaction transaction(connection);
            ItemRemoval removal(connection);
            removal.UnlinkTestPlan(configuration, testPlan);
            removal.Finish();
            if (!transaction.Commit())
                throw KvlError(3251, QStringLiteral("The unlink could not be committed."));
        }
        if (!blnConfiguration)
            gExplorerNodes().Remove(nodTestPlan->Key());
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_UnLink Testplan : "), error);
        return 1;
    }
}
