#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>
#include <functional>

// The explorer's tree (tvTestPlan). While it has the focus it takes its own keys before the
// menus' shortcuts see them, so one key press runs one command; the drop highlight is drawn like
// a selection.
class ExplorerTreeView : public QTreeView
{
    Q_OBJECT

public:
    explicit ExplorerTreeView(QWidget* parent = nullptr);

    // The keys the explorer answers itself; a key it does not take goes on as usual.
    std::function<bool(const QKeyEvent*)> OwnsKey;
    std::function<void(const QKeyEvent*)> KeyDown;
    std::function<void(QMouseEvent*)> MouseDown;
    // A drag of the current node starts; the hook runs it to its end.
    std::function<void()> StartDrag;
    // Whether dragged text may be dropped at a point of the viewport, and its drop there.
    std::function<bool(const QString& text, const QPoint& position)> DragOver;
    std::function<void(const QString& text, const QPoint& position)> Drop;

    QModelIndex DropHighlight() const { return m_dropHighlight; }
    void SetDropHighlight(const QModelIndex& index);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QPersistentModelIndex m_dropHighlight;
};
