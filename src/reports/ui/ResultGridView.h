#pragma once

#include <QTreeView>

class ReportGridModel;
class ResultFill;

// The result grid (grdResult): the outline tree in the Test column, one row a tree item. The
// node states live in the grid: the view only mirrors them, all in one pass after each change,
// and a press on a node's arrow toggles the node there. The current cell obeys the window's
// selection rule, and a click on a procedure's WorkLoad or Iteration opens its editor at once.
class ResultGridView : public QTreeView
{
    Q_OBJECT

public:
    ResultGridView(ResultFill& fill, ReportGridModel* model, QWidget* parent = nullptr);

    ReportGridModel* Model() const { return m_model; }
    // The grid row and column of the current cell; -1 for none.
    int CurrentRow() const;
    int CurrentColumn() const;
    // Makes a grid cell the current one and scrolls it into view; false when it is not shown.
    bool SetCurrentCell(int row, int column);
    // The open cell editor; null when none is open.
    QWidget* Editor() const;
    // Writes and closes the open cell editor, as leaving the cell would.
    void CommitEditor();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Widths and hidden columns as the grid's columns give them.
    void ApplyColumns();
    // Expands in the view exactly the nodes whose children the model shows.
    void ApplyOutline();
    // The rule of the window: a cell that may not hold the selection hands it to the one that may.
    void KeepCurrentCellSelectable();
    // Whether `position` lies on the expand arrow of a node with children.
    bool OnArrow(const QModelIndex& index, const QPoint& position) const;

    ResultFill& m_fill;
    ReportGridModel* m_model;
    bool m_arrowPressed = false;
    bool m_keepingCurrent = false;
};
