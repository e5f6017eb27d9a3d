// The database side of the users dialog's rows: reading, storing and deleting accounts.
#include "core/UsersTableModel.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"

#include <QSqlQuery>
#include <algorithm>

namespace {

constexpr long kNoCurrentRecord = 3021;

// An empty cell gives a null text, which would be bound as NULL rather than ''.
QString Bound(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

}  // namespace

int UsersTableModel::LoadUsers()
{
    QList<Account> rows;
    int status = 0;
    try {
        QSqlQuery users =
            gConnection().Query(QStringLiteral("SELECT ID, NAME, PWD, DESCRIPTION, CATEGORY FROM USERS ORDER BY ID"));
        while (users.next()) {
            rows.append({users.value(1).toString(), users.value(2).toString(), users.value(3).toString(),
                         CategoryName(users.value(4).toInt()), users.value(0).toString()});
        }
    } catch (const KvlError& error) {
        LogError(QStringLiteral("Error_LoadUsers : "), error);
        rows.clear();
        status = 1;
    }
    rows.append(Account());
    beginResetModel();
    m_rows = rows;
    m_markedRow = -1;
    m_highlightedRow = -1;
    endResetModel();
    return status;
}

int UsersTableModel::Apply()
{
    const int accounts = rowCount() - 1;
    for (int row = 0; row < accounts; ++row) {
        if (m_rows[row].name.isEmpty()) {
            prompts().Critical(QStringLiteral("You must fill the name."));
            return 1;
        }
    }
    // Every account would lose the rights to manage the others.
    if (accounts > 0 && IsLastAdministrator(-1)) {
        prompts().Critical(QStringLiteral("At least one account must be an Administrator."));
        return 1;
    }
    QList<QString> ids;
    try {
        StoreRows(ids);
    } catch (const KvlError& error) {
        prompts().Critical(QStringLiteral("An error has occurred while applying  the changes you requested."));
        LogError(QStringLiteral("Error_ChangeUser:"), error);
        return 1;
    }
    // New rows carry their ids only once they are stored, so a second Apply updates them.
    for (int row = 0; row < accounts; ++row)
        m_rows[row].id = ids[row];
    emit dataChanged(index(0, Id), index(rowCount() - 1, Id));
    return 0;
}

void UsersTableModel::StoreRows(QList<QString>& ids) const
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    for (int row = 0; row < rowCount() - 1; ++row) {
        const Account& account = m_rows[row];
        const QVariantList fields{Bound(account.name), Bound(account.password), Bound(account.description),
                                  CategoryCode(account.category)};
        if (account.id.isEmpty()) {
            const int id = NewId(QStringLiteral("USERS"));
            connection.Query(
                QStringLiteral("INSERT INTO USERS (NAME, PWD, DESCRIPTION, CATEGORY, ID) VALUES (?, ?, ?, ?, ?)"),
                fields + QVariantList{id});
            ids.append(QString::number(id));
            continue;
        }
        QSqlQuery update = connection.Query(
            QStringLiteral("UPDATE USERS SET NAME = ?, PWD = ?, DESCRIPTION = ?, CATEGORY = ? WHERE ID = ?"),
            fields + QVariantList{IdValue(account.id)});
        if (update.numRowsAffected() == 0)
            throw KvlError(kNoCurrentRecord,
                           QStringLiteral("The account %1 no longer exists in the database.").arg(account.id));
        ids.append(account.id);
    }
    if (!transaction.Commit())
        throw KvlError(connection.LastErrorNumber(), connection.LastErrorText());
}

void UsersTableModel::DeleteRows(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : rows) {
        if (row < 0 || row >= rowCount() || IsNewUserRow(row))
            continue;
        const QString id = m_rows[row].id;
        if (!id.isEmpty()) {
            if (IsLastAdministrator(row)) {
                prompts().Information(QStringLiteral("Can not remove last administrator account."));
                continue;
            }
            // The session would go on under an account that no longer exists.
            if (gUserManagement && id == gUserId) {
                prompts().Information(QStringLiteral("You can not remove the account you are logged in with."));
                continue;
            }
            if (!prompts().Question(QStringLiteral("Do you want to remove the user definitively from database ?")))
                continue;
            bool idOk = false;
            const int value = id.toInt(&idOk);
            if (!idOk || !gConnection().Execute(QStringLiteral("DELETE FROM USERS WHERE ID = ?"), {value})) {
                prompts().Information(
                    QStringLiteral("The user can not be removed from database because it is linked to items."));
                continue;
            }
        }
        beginRemoveRows(QModelIndex(), row, row);
        m_rows.removeAt(row);
        endRemoveRows();
        if (m_markedRow >= rowCount())
            m_markedRow = -1;
    }
}
