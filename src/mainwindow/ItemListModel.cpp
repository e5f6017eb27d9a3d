#include "mainwindow/ItemListModel.h"

#include "mainwindow/ItemPicture.h"

#include <algorithm>
#include <numeric>

ItemListModel::ItemListModel(const ItemList& rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows.Rows()), m_order(rows.Rows().size())
{
    std::iota(m_order.begin(), m_order.end(), 0);
}

int ItemListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int ItemListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(ItemList::Columns().size());
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ItemList::Row& row = RowAt(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
            case 0:
                return row.text;
            case 1:
                return row.path;
            default:
                return row.date;
        }
    }
    if (role == Qt::DecorationRole && index.column() == 0 && row.icon >= 1 && row.icon <= 14)
        return ItemPicture(row.icon);
    return {};
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const QStringList columns = ItemList::Columns();
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columns.size())
        return columns[section];
    return {};
}

void ItemListModel::sort(int column, Qt::SortOrder order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> shownBefore = m_order;
    const auto less = [&](int a, int b) {
        const ItemList::Row& left = m_rows[a];
        const ItemList::Row& right = m_rows[b];
        if (column == 2 && (left.day.isValid() || right.day.isValid()) && left.day != right.day)
            return left.day < right.day;
        const QString& x = column == 0 ? left.text : column == 1 ? left.path : left.date;
        const QString& y = column == 0 ? right.text : column == 1 ? right.path : right.date;
        return QString::localeAwareCompare(x, y) < 0;
    };
    std::stable_sort(m_order.begin(), m_order.end(),
                     [&](int a, int b) { return order == Qt::AscendingOrder ? less(a, b) : less(b, a); });
    // Persistent indexes (the view's current row) follow their row.
    QModelIndexList after;
    for (const QModelIndex& index : before) {
        const int filled = shownBefore[index.row()];
        const int shown = static_cast<int>(std::find(m_order.begin(), m_order.end(), filled) - m_order.begin());
        after << this->index(shown, index.column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
