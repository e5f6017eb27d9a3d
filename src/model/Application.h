#pragma once

#include "core/DataCollection.h"
#include "model/Configuration.h"

// Root of the object model: every configuration of the database.
class Application
{
public:
    DataCollection<Configuration> Configurations() const { return m_configurations; }
    void SetConfigurations(const DataCollection<Configuration>& configurations) { m_configurations = configurations; }

    // Fills Configurations with the id and name of every configuration, in the database's order.
    // Returns 0, or 1 after a failure, which is logged; what was read before it stays.
    int LoadConfigurations(const QString& strCondition = QString());

private:
    DataCollection<Configuration> m_configurations;
};
