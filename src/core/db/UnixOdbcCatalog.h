#pragma once

#include "core/db/OdbcCatalog.h"

// The lists of unixODBC's driver manager: user and system data sources (odbc.ini, or the file
// ODBCINI names) and the installed drivers (odbcinst.ini).
class UnixOdbcCatalog final : public OdbcCatalog
{
public:
    QList<DataSource> DataSources() const override;
    QStringList Drivers() const override;
};
