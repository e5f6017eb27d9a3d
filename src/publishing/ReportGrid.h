#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A report's grid without a widget: the rows in grid order (row 0 the header), their cells, the
// outline and which rows it hides. The report windows fill it and a view shows it; the printing
// and export code converts the same object, so it sees exactly what the user sees.
class ReportGrid
{
public:
    enum class OutlineState { Expanded, PartlyExpanded, Collapsed };
    enum class DataType { Text, Number, Boolean };

    struct Column
    {
        QString header;
        // Twips; -1 for the view's default.
        int width = -1;
        bool hidden = false;
        DataType type = DataType::Text;
    };

    struct Row
    {
        QStringList cells;
        // An outline node (a subtotal row): a test plan or a sub-test.
        bool node = false;
        // The outline level of a node; plain rows keep 0.
        int level = 0;
        // The node row this row hangs under; -1 for the header and the top nodes.
        int parent = -1;
        bool hidden = false;
        QString key;
        OutlineState state = OutlineState::Expanded;
    };

    QString Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    // The column that draws the outline; -1 for a grid without one.
    int OutlineColumn() const { return m_outlineColumn; }
    void SetOutlineColumn(int column) { m_outlineColumn = column; }

    // Replaces the columns and empties the grid down to its header row.
    void SetColumns(const QList<Column>& columns);
    int ColumnCount() const { return m_columns.size(); }
    const Column& ColumnAt(int column) const { return m_columns.at(column); }
    void SetColumnHidden(int column, bool hidden) { m_columns[column].hidden = hidden; }

    // Rows including the header.
    int RowCount() const { return m_rows.size(); }
    const Row& RowAt(int row) const { return m_rows.at(row); }
    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString& text);
    // Keeps the header row only.
    void Clear();
    // Appends a row (cells padded to the column count) below the last node of a lower level, or, for
    // a plain row, below the last node; shown or hidden as its parents' states say. Returns its index.
    int AddRow(const QStringList& cells, bool node, int level = 0, const QString& key = QString());
    void Reserve(int rows) { m_rows.reserve(rows); }

    bool IsNode(int row) const { return m_rows.at(row).node; }
    // The rows directly under `row`, in grid order.
    QList<int> Children(int row) const;

    OutlineState State(int row) const { return m_rows.at(row).state; }
    // States of node rows; each call hides and shows the rows below in one pass.
    void SetState(int row, OutlineState state);
    // Expands a collapsed or partly expanded node, collapses an expanded one.
    void Toggle(int row);
    void SetAllStates(OutlineState state);
    // Expanded from `row` up to the top, so that the row shows.
    void Reveal(int row);

private:
    // Recomputes every row's hidden flag from its parent (parents come first).
    void ApplyStates();
    bool HiddenUnder(int parent, bool node) const;

    QString m_name;
    int m_outlineColumn = -1;
    QList<Column> m_columns;
    QList<Row> m_rows;
    // The last node row seen at each level while rows are added.
    QList<int> m_lastNodeAt;
};
