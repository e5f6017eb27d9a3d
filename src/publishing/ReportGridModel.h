#pragma once

#include <QAbstractItemModel>
#include <QList>

#include <functional>

class ReportGrid;

// Shows a report grid to a tree view: the header row gives the column headers, node rows are
// tree items over their children in grid order, and only the rows that the
// outline leaves shown are children at all. The owner of the grid changes it and then says so
// through Reset, RowsChanged or OutlineChanged; the model keeps its own copy of the tree between
// those calls, so a view that asks in between sees a consistent tree.
//
// A change of node states is one layout change: the shown children are recomputed in one pass
// and persistent indexes move with their rows, or die with the rows that went out of view. A view
// keeps its expanded items to the items with children shown (HasShownChildren).
class ReportGridModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit ReportGridModel(ReportGrid& grid, QObject* parent = nullptr);

    ReportGrid& Grid() const { return m_grid; }

    // Whether a cell may open an editor; none may without it.
    std::function<bool(int row, int column)> Editable;

    // Columns first to last of the header take the menu colour, of each plain row the light grey
    // of report rows. Nothing is shaded by default; set them before a view shows the model.
    void SetHeaderShading(int first, int last);
    void SetRowShading(int first, int last);

    // The grid row of an index; -1 for none.
    int GridRow(const QModelIndex& index) const;
    // The index of a grid row's cell; invalid for the header and for rows out of view.
    QModelIndex IndexOf(int row, int column = 0) const;
    bool HasShownChildren(int row) const;

    // The grid was refilled.
    void Reset();
    // Cells of rows first to last changed.
    void RowsChanged(int first, int last);
    // Node states changed: rows were hidden or shown.
    void OutlineChanged();

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // True for a node with any child, shown or not, so that a collapsed node shows its arrow.
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Span
    {
        int first = -1;
        int last = -2;
        bool Holds(int column) const { return column >= first && column <= last; }
    };

    // Recomputes the shown children of every row from the grid, in one pass.
    void Rebuild();
    // Slot of a row's children list: the header row's slot stands for the top level, as the
    // header is nobody's parent.
    static int Slot(int parent) { return parent < 0 ? 0 : parent; }

    ReportGrid& m_grid;
    int m_columns = 0;
    // By grid row: the node it hangs under (-1 at the top), whether it is a node, whether it has
    // any child, its place among its parent's shown children (-1 out of view) and its own shown
    // children; slot 0 holds the shown top rows.
    QList<int> m_parent;
    QList<bool> m_node;
    QList<bool> m_anyChild;
    QList<int> m_position;
    QList<QList<int>> m_children;
    Span m_headerShading;
    Span m_rowShading;
};
