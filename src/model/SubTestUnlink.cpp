#include "model/SubTest.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "model/DbValues.h"
#include "model/ItemRemoval.h"
#include "model/LinkOrders.h"
#include "model/TagLink.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

int SubTest::UnLink(ExplorerNode* nodSubTest)
{
    try {
        if (!nodSubTest)
            throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
        const TagLink link = TagLink::Parse(nodSubTest->Tag());
        const int parentImage = TagLink::ParentImage(*nodSubTest);
        const QString key = nodSubTest->Key();
        AdoConnection& connection = gConnection();
        {
            DbTransaction transaction(connection);
            ItemRemoval removal(connection);
            removal.RemoveLink(
                nodSubTest->Image() == kImageSubTestFirst ? LinkOrders::kTestPlanLinks : LinkOrders::kSubTestLinks,
                link.parent, link.child, link.order);
            if (!removal.SubTestIsLinked(link.child))
                removal.DeleteSubTest(link.child);
            removal.NoteHistory(ConfigurationIdFromKey(key), TestPlanIdFromKey(key));
            removal.Finish();
            if (!transaction.Commit())
                throw KvlError(3251, QStringLiteral("The unlink could not be committed."));
        }
        // Only now that the database holds the change; this also takes the unlinked node away.
        RefreshExplorerNodes(QString::number(link.parent), parentImage);
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("UnLink")), error);
        return 1;
    }
}

int SubTest::DeleteSubTest(SubTest& objSubTestParent)
{
    try {
        const int id = DbValues::Id(objSubTestParent.Id()).toInt();
        AdoConnection& connection = gConnection();
        DbTransaction transaction(connection);
        ItemRemoval removal(connection);
        removal.DeleteSubTest(id);
        removal.Finish();
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The deletion could not be committed."));
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("DeleteSubTest")), error);
        return 1;
    }
}
