#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The data sources and drivers the ODBC driver manager knows. The program uses unixODBC's;
// tests install a fixed list.
class OdbcCatalog
{
public:
    struct DataSource
    {
        QString name;
        QString driver;
    };

    virtual ~OdbcCatalog() = default;
    virtual QList<DataSource> DataSources() const = 0;
    virtual QStringList Drivers() const = 0;
};

// The program-wide instance: unixODBC's until another is installed (null puts it back).
const OdbcCatalog& odbcCatalog();
void setOdbcCatalog(const OdbcCatalog* instance);
