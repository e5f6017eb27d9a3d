#pragma once

#include <QAbstractTableModel>
#include <QSet>
#include <functional>

class PropertyGrid;

// Shows the property grid's rows to a table view: it reads the rows where the item classes write
// them and resets whenever they are rewritten. Besides, it holds what only the view needs: the
// current row, whose caption is highlighted, and the groups the user folded.
class PropertyGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit PropertyGridModel(PropertyGrid& grid, QObject* parent = nullptr);

    PropertyGrid& Grid() const { return m_grid; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Writes a typed value; a text equal to the cell's stores nothing.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int CurrentRow() const { return m_currentRow; }
    void SetCurrentRow(int row);

    // A group row's fold: folded, the rows up to the next group are hidden.
    bool Folded(int row) const { return m_folded.contains(row); }
    void ToggleFold(int row);
    bool RowHidden(int row) const;

    // Runs after a changed value has been written into the cell: the edit's store.
    std::function<void(int row, int col)> AfterEdit;

signals:
    void FoldsChanged();

private:
    void Reset();

    PropertyGrid& m_grid;
    // The rows the view was last told of; the grid may hold others until it says it is done.
    int m_rows = 0;
    int m_currentRow = -1;
    QSet<int> m_folded;
};
