#include "core/UsersTableModel.h"

#include "platform/Prompts.h"

#include <QBrush>
#include <QFont>

namespace {

const QString kAdministrator = QStringLiteral("Administrator");

}  // namespace

UsersTableModel::UsersTableModel(QObject* parent) : QAbstractTableModel(parent)
{
    m_rows.append(Account());
}

QString UsersTableModel::CategoryName(int code)
{
    switch (code) {
        case 4:
            return kAdministrator;
        case 3:
            return QStringLiteral("Author");
        case 2:
            return QStringLiteral("Tester");
        default:
            return QStringLiteral("Unknown");
    }
}

int UsersTableModel::CategoryCode(const QString& name)
{
    if (name == kAdministrator)
        return 4;
    if (name == QLatin1String("Author"))
        return 3;
    if (name == QLatin1String("Tester"))
        return 2;
    if (name == QLatin1String("Unknown"))
        return 1;
    return 0;
}

QStringList UsersTableModel::CategoryNames()
{
    return {kAdministrator, QStringLiteral("Author"), QStringLiteral("Tester")};
}

int UsersTableModel::EditLength(int column)
{
    switch (column) {
        case Name:
        case Password:
            return 10;
        case Description:
            return 50;
        case Category:
            return 255;
        default:
            return 0;
    }
}

bool UsersTableModel::IsLastAdministrator(int row) const
{
    for (int other = 0; other < rowCount(); ++other) {
        if (other != row && m_rows[other].category == kAdministrator)
            return false;
    }
    return true;
}

bool UsersTableModel::CanLeaveRow(int row) const
{
    if (row < 0 || row >= rowCount() || IsNewUserRow(row) || !m_rows[row].name.isEmpty())
        return true;
    prompts().Critical(QStringLiteral("You must fill the name."));
    return false;
}

void UsersTableModel::MarkRow(int row)
{
    m_markedRow = row;
    emit dataChanged(index(0, Marker), index(rowCount() - 1, Marker));
}

void UsersTableModel::HighlightRow(int row)
{
    m_highlightedRow = row;
    emit dataChanged(index(0, Name), index(rowCount() - 1, Category));
}

void UsersTableModel::AppendNewUserRow()
{
    beginInsertRows(QModelIndex(), rowCount(), rowCount());
    m_rows.append(Account());
    endInsertRows();
    MarkRow(m_markedRow);
}

QString UsersTableModel::Text(int row, int column) const
{
    const Account& account = m_rows[row];
    switch (column) {
        case Marker:
            if (IsNewUserRow(row))
                return QStringLiteral("*");
            return row == m_markedRow ? QStringLiteral("...") : QString();
        case Name:
            return account.name;
        case Password:
            return account.password;
        case Description:
            return account.description;
        case Category:
            return account.category;
        case Id:
            return account.id;
        default:
            return QString();
    }
}

int UsersTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int UsersTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant UsersTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const bool highlighted = index.row() == m_highlightedRow && index.column() != Marker;
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return Text(index.row(), index.column());
        case Qt::FontRole:
            if (index.column() == Marker) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return QVariant();
        case Qt::BackgroundRole:
            return highlighted ? QBrush(Qt::darkBlue) : QVariant();
        case Qt::ForegroundRole:
            return highlighted ? QBrush(Qt::white) : QVariant();
        default:
            return QVariant();
    }
}

bool UsersTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    if (text == Text(index.row(), index.column()))
        return true;
    Account& account = m_rows[index.row()];
    switch (index.column()) {
        case Name:
            account.name = text;
            break;
        case Password:
            account.password = text;
            break;
        case Description:
            account.description = text;
            break;
        case Category:
            account.category = text;
            break;
        default:
            return false;
    }
    emit dataChanged(index, index);
    if (IsNewUserRow(index.row()))
        AppendNewUserRow();
    return true;
}

Qt::ItemFlags UsersTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return EditLength(index.column()) > 0 ? flags | Qt::ItemIsEditable : flags;
}

QVariant UsersTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case Name:
            return QStringLiteral("Name");
        case Password:
            return QStringLiteral("Password");
        case Description:
            return QStringLiteral("Description");
        case Category:
            return QStringLiteral("Category");
        default:
            return QString();
    }
}
