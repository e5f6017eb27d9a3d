#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/db/kvlDatabase.h"
#include "platform/BugLog.h"
#include "platform/Hourglass.h"
#include "platform/KvlError.h"

int kvlDatabase::ClearDataBase()
{
    AdoConnection& connection = gConnection();
    Hourglass::Set();
    try {
        DbTransaction transaction(connection);
        // Children before the rows they point at; users, markers and templates stay.
        QStringList tables{QStringLiteral("ImageFile")};
        if (HasHistory())
            tables << QStringLiteral("HISTORY");
        tables << QStringLiteral("Result") << QStringLiteral("Procedure_Links") << QStringLiteral("SubTest_Links")
               << QStringLiteral("TestPlan_Links") << QStringLiteral("Procedures") << QStringLiteral("SubTest");
        if (HasConfigurationLinks())
            tables << QStringLiteral("Configuration_links");
        tables << QStringLiteral("TestPlan") << QStringLiteral("Configuration");
        for (const QString& table : tables)
            connection.Query(QStringLiteral("DELETE FROM ") + table);
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The clearing could not be committed."));
        Hourglass::Reset();
        return 0;
    } catch (const std::exception& error) {
        Hourglass::Reset();
        LogError(QStringLiteral("Error_CleanDataBase : "), error);
        return 1;
    }
}
