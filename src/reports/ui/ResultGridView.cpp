#include "reports/ui/ResultGridView.h"

#include "core/ui/CellButtonEditor.h"
#include "core/ui/Twips.h"
#include "publishing/ReportGrid.h"
#include "publishing/ReportGridModel.h"
#include "reports/ResultFill.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>

#include <utility>

ResultGridView::ResultGridView(ResultFill& fill, ReportGridModel* model, QWidget* parent)
    : QTreeView(parent), m_fill(fill), m_model(model)
{
    setObjectName(QStringLiteral("grdResult"));
    setModel(model);
    // Thousands of rows: one height for all keeps every relayout linear.
    setUniformRowHeights(true);
    // Only the grid's node states open and close nodes; the view never does it on its own.
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(true);
    if (model->Grid().OutlineColumn() >= 0)
        setTreePosition(model->Grid().OutlineColumn());
    connect(model, &QAbstractItemModel::modelReset, this, &ResultGridView::ApplyOutline);
    connect(model, &QAbstractItemModel::layoutChanged, this, &ResultGridView::ApplyOutline);
    ApplyColumns();
    ApplyOutline();
}

void ResultGridView::ApplyColumns()
{
    const ReportGrid& grid = m_model->Grid();
    for (int column = 0; column < grid.ColumnCount(); ++column) {
        const ReportGrid::Column& shown = grid.ColumnAt(column);
        setColumnHidden(column, shown.hidden);
        if (shown.width >= 0)
            setColumnWidth(column, Pixels(this, shown.width));
    }
}

void ResultGridView::ApplyOutline()
{
    // With a full layout pending, expanding and collapsing only note the state: the view lays
    // itself out once, however many nodes changed.
    scheduleDelayedItemsLayout();
    const ReportGrid& grid = m_model->Grid();
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (!grid.IsNode(row))
            continue;
        const QModelIndex index = m_model->IndexOf(row);
        if (index.isValid())
            setExpanded(index, m_model->HasShownChildren(row));
    }
}

int ResultGridView::CurrentRow() const
{
    return m_model->GridRow(currentIndex());
}

int ResultGridView::CurrentColumn() const
{
    return currentIndex().isValid() ? currentIndex().column() : -1;
}

bool ResultGridView::SetCurrentCell(int row, int column)
{
    const QModelIndex index = m_model->IndexOf(row, column);
    if (!index.isValid())
        return false;
    setCurrentIndex(index);
    scrollTo(index);
    return true;
}

QWidget* ResultGridView::Editor() const
{
    return state() == EditingState ? indexWidget(currentIndex()) : nullptr;
}

void ResultGridView::CommitEditor()
{
    if (QWidget* editor = Editor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void ResultGridView::KeepCurrentCellSelectable()
{
    const QModelIndex current = currentIndex();
    if (m_keepingCurrent || !current.isValid())
        return;
    const QPair<int, int> cell{m_model->GridRow(current), current.column()};
    const QPair<int, int> allowed = m_fill.SelectableCell(cell.first, cell.second);
    if (allowed == cell)
        return;
    m_keepingCurrent = true;
    const QModelIndex moved = m_model->IndexOf(allowed.first, allowed.second);
    if (moved.isValid())
        setCurrentIndex(moved);
    else
        selectionModel()->clear();
    m_keepingCurrent = false;
}

bool ResultGridView::OnArrow(const QModelIndex& index, const QPoint& position) const
{
    if (!index.isValid() || index.column() != treePosition() || !m_model->hasChildren(index))
        return false;
    // The arrow sits in the last indentation step before the item.
    const QRect item = visualRect(index);
    return position.x() < item.left() && position.x() >= item.left() - indentation();
}

void ResultGridView::keyPressEvent(QKeyEvent* event)
{
    QTreeView::keyPressEvent(event);
    KeepCurrentCellSelectable();
}

void ResultGridView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    m_arrowPressed = event->button() == Qt::LeftButton && OnArrow(index, event->position().toPoint());
    if (m_arrowPressed) {
        // The rows below may go out of view: what is typed is written first.
        const int row = m_model->GridRow(index);
        CommitEditor();
        m_fill.ToggleRow(row);
        return;
    }
    QTreeView::mousePressEvent(event);
    KeepCurrentCellSelectable();
}

void ResultGridView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_arrowPressed)
        return;
    QTreeView::mouseMoveEvent(event);
    KeepCurrentCellSelectable();
}

void ResultGridView::mouseReleaseEvent(QMouseEvent* event)
{
    if (std::exchange(m_arrowPressed, false))
        return;
    QTreeView::mouseReleaseEvent(event);
    KeepCurrentCellSelectable();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || index != currentIndex() || state() == EditingState ||
        !m_fill.OpensOnClick(m_model->GridRow(index), index.column()))
        return;
    if (edit(index, AllEditTriggers, nullptr)) {
        if (QLineEdit* line = CellButtonEditor::LineOf(Editor()))
            line->setCursorPosition(static_cast<int>(line->text().size()));
    }
}

void ResultGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (OnArrow(indexAt(event->position().toPoint()), event->position().toPoint()))
        return;
    QTreeView::mouseDoubleClickEvent(event);
    KeepCurrentCellSelectable();
}
