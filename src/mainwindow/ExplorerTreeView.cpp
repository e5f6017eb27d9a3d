#include "mainwindow/ExplorerTreeView.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QStyledItemDelegate>

namespace {

class DropHighlightDelegate : public QStyledItemDelegate
{
public:
    explicit DropHighlightDelegate(ExplorerTreeView* view) : QStyledItemDelegate(view), m_view(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shown(option);
        if (index == m_view->DropHighlight())
            shown.state |= QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, shown, index);
    }

private:
    ExplorerTreeView* m_view;
};

}  // namespace

ExplorerTreeView::ExplorerTreeView(QWidget* parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("tvTestPlan"));
    setToolTip(QStringLiteral("Drag and drop components to organize test plans"));
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A double click expands through the explorer's own handler, which then opens the item.
    setExpandsOnDoubleClick(false);
    setTextElideMode(Qt::ElideRight);
    setItemDelegate(new DropHighlightDelegate(this));
    // Items are dragged as text and only ever copied: the tree itself decides what a drop does.
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

void ExplorerTreeView::startDrag(Qt::DropActions)
{
    if (StartDrag)
        StartDrag();
}

void ExplorerTreeView::dragEnterEvent(QDragEnterEvent* event)
{
    // Enter decides as a move over the same point does.
    dragMoveEvent(event);
}

void ExplorerTreeView::dragMoveEvent(QDragMoveEvent* event)
{
    const QString text = event->mimeData()->hasText() ? event->mimeData()->text() : QString();
    if (!text.isEmpty() && DragOver && DragOver(text, event->position().toPoint())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ExplorerTreeView::dropEvent(QDropEvent* event)
{
    const QString text = event->mimeData()->hasText() ? event->mimeData()->text() : QString();
    if (text.isEmpty() || !Drop) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    Drop(text, event->position().toPoint());
}

void ExplorerTreeView::SetDropHighlight(const QModelIndex& index)
{
    const QModelIndex old = m_dropHighlight;
    m_dropHighlight = index;
    if (old.isValid())
        update(old);
    if (index.isValid())
        update(index);
}

bool ExplorerTreeView::event(QEvent* event)
{
    // Taking the override keeps the same key's menu shortcut from firing as well.
    if (event->type() == QEvent::ShortcutOverride && OwnsKey && OwnsKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QTreeView::event(event);
}

void ExplorerTreeView::keyPressEvent(QKeyEvent* event)
{
    if (KeyDown)
        KeyDown(event);
    QTreeView::keyPressEvent(event);
}

void ExplorerTreeView::mousePressEvent(QMouseEvent* event)
{
    QTreeView::mousePressEvent(event);
    if (MouseDown)
        MouseDown(event);
}
