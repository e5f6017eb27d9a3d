#include "core/db/UnixOdbcCatalog.h"

#include <sql.h>
#include <sqlext.h>

#include <functional>

namespace {

constexpr SQLSMALLINT kBufferSize = 1024;

// Runs `fetch` with a fresh environment handle, first with SQL_FETCH_FIRST, then NEXT until the
// manager says there is no more. Without a driver manager the lists stay empty.
void EachEntry(const std::function<SQLRETURN(SQLHENV, SQLUSMALLINT, SQLCHAR*, SQLCHAR*)>& fetch,
               const std::function<void(const QString&, const QString&)>& add)
{
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLCHAR first[kBufferSize];
    SQLCHAR second[kBufferSize];
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(fetch(env, direction, first, second))) {
        add(QString::fromLocal8Bit(reinterpret_cast<const char*>(first)),
            QString::fromLocal8Bit(reinterpret_cast<const char*>(second)));
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
}

}  // namespace

QList<OdbcCatalog::DataSource> UnixOdbcCatalog::DataSources() const
{
    QList<DataSource> sources;
    EachEntry(
        [](SQLHENV env, SQLUSMALLINT direction, SQLCHAR* name, SQLCHAR* description) {
            SQLSMALLINT nameLength = 0;
            SQLSMALLINT descriptionLength = 0;
            // The description the manager gives for a data source is its driver's name.
            return SQLDataSources(env, direction, name, kBufferSize, &nameLength, description, kBufferSize,
                                  &descriptionLength);
        },
        [&sources](const QString& name, const QString& driver) {
            sources.append({name, driver});
        });
    return sources;
}

QStringList UnixOdbcCatalog::Drivers() const
{
    QStringList drivers;
    EachEntry(
        [](SQLHENV env, SQLUSMALLINT direction, SQLCHAR* name, SQLCHAR* attributes) {
            SQLSMALLINT nameLength = 0;
            SQLSMALLINT attributesLength = 0;
            return SQLDrivers(env, direction, name, kBufferSize, &nameLength, attributes, kBufferSize,
                              &attributesLength);
        },
        [&drivers](const QString& name, const QString&) { drivers.append(name); });
    return drivers;
}

namespace {
const UnixOdbcCatalog gUnixOdbc;
const OdbcCatalog* gCatalog = &gUnixOdbc;
}  // namespace

const OdbcCatalog& odbcCatalog()
{
    return *gCatalog;
}

void setOdbcCatalog(const OdbcCatalog* instance)
{
    gCatalog = instance ? instance : &gUnixOdbc;
}
