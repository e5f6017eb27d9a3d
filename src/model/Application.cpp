#include "model/Application.h"

#include "core/db/AdoConnection.h"
#include "platform/BugLog.h"

#include <QSqlQuery>

int Application::LoadConfigurations(const QString& /*strCondition: accepted, never used*/)
{
    m_configurations = DataCollection<Configuration>();
    try {
        QSqlQuery rows = gConnection().Query(QStringLiteral("SELECT ID, NAME FROM CONFIGURATION"));
        while (rows.next()) {
            auto configuration = std::make_shared<Configuration>();
            configuration->SetId(rows.value(0).toString());
            configuration->SetName(rows.value(1).toString());
            m_configurations.Add(configuration, configuration->Id());
        }
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_LoadConfigurations : "), error);
        return 1;
    }
    return 0;
}
