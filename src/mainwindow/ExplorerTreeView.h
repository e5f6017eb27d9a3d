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

    QModelIndex DropHighlight() const { return m_dropHighlight; }
    void SetDropHighlight(const QModelIndex& index);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPersistentModelIndex m_dropHighlight;
};
