#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/NodeKey.h"
#include "core/services/ProgressBar.h"
#include "model/LinkOrders.h"
#include "model/RepairPlan.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

int kvlDatabase::Repair()
{
    AdoConnection& connection = gConnection();
    ProgressBar& progress = gProgressBar();
    try {
        progress.SetValue(10);
        DbTransaction transaction(connection);
        RepairPlan plan;
        plan.Load(connection);
        LinkOrders::DeleteIds(connection, QStringLiteral("IMAGEFILE"), QStringLiteral("ID"),
                              plan.DeadPictures(connection));
        LinkOrders::DeleteIds(connection, QStringLiteral("HISTORY"), QStringLiteral("ID_TESTPLAN"),
                              plan.DeadHistory(connection));

        progress.SetValue(20);
        const auto replace = [&](const LinkOrders::Table& table) {
            const RepairPlan::LinkWork& work = plan.Work(table);
            LinkOrders::Replace(connection, table, work.parents, work.rows);
        };
        replace(LinkOrders::kProcedureLinks);
        progress.SetValue(30);
        replace(LinkOrders::kSubTestLinks);
        progress.SetValue(40);
        replace(LinkOrders::kTestPlanLinks);

        // Results follow their occurrence to its new order; those naming no place go.
        progress.SetValue(50);
        plan.Rewriter().Run(connection, [&plan](const NodeKey& key) { return plan.NamesPlace(key); });

        progress.SetValue(60);
        const QList<int> procedures = plan.DeadProcedures();
        LinkOrders::DeleteIds(connection, QStringLiteral("RESULT"), QStringLiteral("ID_PROCEDURE"), procedures);
        LinkOrders::DeleteIds(connection, QStringLiteral("PROCEDURES"), QStringLiteral("ID"), procedures);
        progress.SetValue(70);
        LinkOrders::DeleteIds(connection, QStringLiteral("SUBTEST"), QStringLiteral("ID"), plan.DeadSubTests());
        progress.SetValue(90);
        const QList<int> testPlans = plan.DeadTestPlans();
        LinkOrders::DeleteIds(connection, QStringLiteral("RESULT"), QStringLiteral("ID_TESTPLAN"), testPlans);
        if (plan.HasConfigurationLinks()) {
            connection.Run(QStringLiteral(
                "DELETE FROM CONFIGURATION_LINKS WHERE ID_CONFIGURATION NOT IN (SELECT ID FROM CONFIGURATION)"));
            LinkOrders::DeleteIds(connection, QStringLiteral("CONFIGURATION_LINKS"), QStringLiteral("ID_TESTPLAN"),
                                  testPlans);
        }
        LinkOrders::DeleteIds(connection, QStringLiteral("TESTPLAN"), QStringLiteral("ID"), testPlans);
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The repair could not be committed."));
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_Repair : "), error);
        return 1;
    }
}
