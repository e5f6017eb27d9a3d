#include "model/Configuration.h"

#include "core/db/AdoConnection.h"
#include "core/ImageItemKind.h"
#include "core/services/ExplorerNodes.h"
#include "model/DbValues.h"
#include "model/ItemRemoval.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QSqlQuery>

int Configuration::Delete(ExplorerNode* nodConfiguration)
{
    try {
        if (!nodConfiguration)
            throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
        const int id = DbValues::Id(nodConfiguration->Tag()).toInt();
        AdoConnection& connection = gConnection();
        {
            DbTransaction transaction(connection);
            // Every stored link, whether or not the explorer shows it: none may be left pointing here.
            QList<int> testPlans;
            QSqlQuery links = connection.Query(
                QStringLiteral("SELECT ID_TESTPLAN FROM CONFIGURATION_LINKS WHERE ID_CONFIGURATION = ? ORDER BY "
                               "ID_TESTPLAN"),
                {id});
            while (links.next())
                testPlans.append(links.value(0).toInt());
            ItemRemoval removal(connection);
            for (int testPlan : testPlans)
                removal.UnlinkTestPlan(id, testPlan);
            connection.Run(QStringLiteral("DELETE FROM IMAGEFILE WHERE ID_ITEM = ? AND ITEM = ?"),
                           {QString::number(id), ImageItemKind::Configuration});
            connection.Run(QStringLiteral("DELETE FROM CONFIGURATION WHERE ID = ?"), {id});
            removal.Finish();
            if (!transaction.Commit())
                throw KvlError(3251, QStringLiteral("The deletion could not be committed."));
        }
        gExplorerNodes().Remove(nodConfiguration->Key());
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Delete")), error);
        return 1;
    }
}
