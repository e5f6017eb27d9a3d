#include "core/db/DbHelpers.h"

#include "core/db/AdoConnection.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlQuery>
#include <limits>

namespace {

constexpr long kTypeMismatch = 13;
constexpr long kOverflow = 6;
constexpr long kNoCurrentRecord = 3021;

const QString kUndefinedUser = QStringLiteral("Undefined");
const QString kUnknownName = QStringLiteral("Unknown");

// The maximum plus 1, or 1 when there is none.
int NextNumber(const QString& statement, const QVariantList& values = {})
{
    const QVariant maximum = gConnection().Scalar(statement, values);
    if (maximum.isNull())
        return 1;
    const qlonglong next = maximum.toLongLong() + 1;
    if (next > std::numeric_limits<int>::max())
        throw KvlError(kOverflow, QStringLiteral("Overflow"));
    return static_cast<int>(next);
}

bool HasMarker(const QString& version)
{
    return !gConnection()
                .Scalar(QStringLiteral("SELECT VERSION FROM INFORMATION WHERE VERSION = ?"), {version})
                .isNull();
}

// The NAME of the row whose ID is `id`; "Unknown" for a null name. A missing row is an error.
QString NameById(const QString& table, const QString& id)
{
    bool found = false;
    QVariant name;
    gConnection().ForEachRow(QStringLiteral("SELECT NAME FROM %1 WHERE ID = ?").arg(table), {IdValue(id)},
                             [&](const QSqlQuery& row) {
                                 if (!found)
                                     name = row.value(0);
                                 found = true;
                             });
    if (!found)
        throw KvlError(kNoCurrentRecord, QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                                        "deleted. Requested operation requires a current record."));
    return name.isNull() ? kUnknownName : name.toString();
}

}  // namespace

void LockAllocation(const QString& table, int key)
{
    AdoConnection& connection = gConnection();
    if (!connection.InTransaction() || !connection.Dialect().IsPostgreSQL())
        return;
    // A transaction-level advisory lock: readers are not held up, and it goes with the commit.
    connection.Run(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?), ?)"), {table.toUpper(), key});
}

int NewId(const QString& table)
{
    // A table name cannot be bound: only a plain identifier is accepted.
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!identifier.match(table).hasMatch())
        throw KvlError(KvlError::kGeneric, QStringLiteral("'%1' is not a table name.").arg(table));
    LockAllocation(table);
    return NextNumber(QStringLiteral("select Max(Id) from ") + table);
}

int NextProcedureOrder(const QString& subTestId)
{
    LockAllocation(QStringLiteral("PROCEDURE_LINKS"));
    return NextNumber(QStringLiteral("select Max(order_procedure) from Procedure_Links where id_subtest = ?"),
                      {IdValue(subTestId)});
}

int NextSubTestOrder(const QString& parentSubTestId)
{
    LockAllocation(QStringLiteral("SUBTEST_LINKS"));
    return NextNumber(QStringLiteral("select max(order_subtest) from subtest_links where id_subtest_parent = ?"),
                      {IdValue(parentSubTestId)});
}

int NextTestPlanOrder(const QString& testPlanId)
{
    LockAllocation(QStringLiteral("TESTPLAN_LINKS"));
    return NextNumber(QStringLiteral("select max(order_subtest) from testplan_links where id_testplan = ?"),
                      {IdValue(testPlanId)});
}

bool IsUserManagementOn()
{
    return HasMarker(QStringLiteral("2.1"));
}

bool HasConfigurationLinks()
{
    return HasMarker(QStringLiteral("3.1"));
}

bool HasHistory()
{
    return HasMarker(QStringLiteral("3.2"));
}

bool HasUserTable()
{
    return HasMarker(QStringLiteral("2.0"));
}

namespace {

int gUserNameScopes = 0;
QHash<QString, QString> gUserNames;

}  // namespace

UserNameCache::UserNameCache()
{
    ++gUserNameScopes;
}

UserNameCache::~UserNameCache()
{
    if (--gUserNameScopes == 0)
        gUserNames.clear();
}

QString UserName(const QString& userId)
{
    if (userId.isEmpty())
        return kUndefinedUser;
    if (gUserNameScopes > 0) {
        const auto known = gUserNames.constFind(userId);
        if (known != gUserNames.constEnd())
            return *known;
    }
    const auto read = [&]() -> QString {
        try {
            QSqlQuery query =
                gConnection().Query(QStringLiteral("SELECT * FROM USERS WHERE ID = ?"), {IdValue(userId)});
            if (!query.next() || query.value(QStringLiteral("NAME")).isNull())
                return kUndefinedUser;
            return query.value(QStringLiteral("NAME")).toString();
        } catch (const KvlError& error) {
            LogError(QStringLiteral("Error_UserName:"), error);
            return kUndefinedUser;
        }
    };
    const QString name = read();
    if (gUserNameScopes > 0)
        gUserNames.insert(userId, name);
    return name;
}

QString ProcedureName(const QString& procedureId)
{
    try {
        return NameById(QStringLiteral("PROCEDURES"), procedureId);
    } catch (const KvlError& error) {
        LogError(QStringLiteral("Error_ProcedureName :"), error);
        return {};
    }
}

QString ConfigurationName(const QString& configurationId)
{
    try {
        return NameById(QStringLiteral("CONFIGURATION"), configurationId);
    } catch (const KvlError& error) {
        LogError(QStringLiteral("Error_ConfigurationName :"), error);
        return {};
    }
}

int IdValue(const QString& id)
{
    bool ok = false;
    const int value = id.trimmed().toInt(&ok);
    if (!ok)
        throw KvlError(kTypeMismatch, QStringLiteral("Type mismatch: '%1' is not an id.").arg(id));
    return value;
}
