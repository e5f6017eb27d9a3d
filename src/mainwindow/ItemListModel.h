#pragma once

#include "core/services/ItemList.h"

#include <QAbstractTableModel>
#include <vector>

// A result list's rows for its view: Item, Path and Date with the item's picture. The rows keep
// the order they were filled in until a column sorts them; the Date column sorts by the date.
class ItemListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ItemListModel(const ItemList& rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The row shown at `row`.
    const ItemList::Row& RowAt(int row) const { return m_rows[m_order[row]]; }

private:
    QList<ItemList::Row> m_rows;
    std::vector<int> m_order;  // shown row -> filled row
};
