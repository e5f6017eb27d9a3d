#include "core/UserManagementSwitch.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/db/kvlDatabase.h"
#include "platform/KvlError.h"

namespace {

constexpr int kAdministrator = 4;

void CommitOrRaise(DbTransaction& transaction)
{
    if (!transaction.Commit())
        throw KvlError(gConnection().LastErrorNumber(), gConnection().LastErrorText());
}

}  // namespace

UserManagementSwitch::Outcome UserManagementSwitch::SwitchOn()
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    bool tableAdded = false;
    if (!HasUserTable()) {
        if (kvlDatabase().AddUserTable() != 0)
            return Outcome::NoUserTable;
        tableAdded = true;  // with its account "Admin" and an empty password
    }
    if (!IsUserManagementOn()) {
        connection.Query(QStringLiteral("INSERT INTO INFORMATION VALUES(?, ?)"),
                         {QStringLiteral("2.1"), QStringLiteral("Users managed")});
    }
    Outcome outcome = tableAdded ? Outcome::AdminCreated : Outcome::AdministratorKept;
    const QVariant administrators =
        connection.Scalar(QStringLiteral("SELECT COUNT(*) FROM USERS WHERE CATEGORY = ?"), {kAdministrator});
    if (administrators.toInt() == 0) {
        connection.Query(
            QStringLiteral("INSERT INTO USERS (ID, NAME, PWD, DESCRIPTION, CATEGORY) VALUES (?, ?, ?, ?, ?)"),
            {NewId(QStringLiteral("USERS")), QStringLiteral("Admin"), QStringLiteral(""),
             QStringLiteral("Default user account"), kAdministrator});
        outcome = Outcome::AdminCreated;
    }
    CommitOrRaise(transaction);
    return outcome;
}

void UserManagementSwitch::SwitchOff()
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    connection.Query(QStringLiteral("DELETE FROM INFORMATION WHERE VERSION = ?"), {QStringLiteral("2.1")});
    CommitOrRaise(transaction);
}
