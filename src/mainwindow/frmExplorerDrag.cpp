// Dragging items from the toolbox and the tree onto the tree.
#include "core/EditorWindows.h"
#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "core/services/SelectedNode.h"
#include "mainwindow/ExplorerTreeModel.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/ItemCommands.h"
#include "mainwindow/ItemTransfer.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmMdi.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>

void frmExplorer::InstallDragAndDrop()
{
    m_tree->StartDrag = [this] {
        const QString text = tvTestPlan_OLEStartDrag();
        if (text.isEmpty())
            return;
        RunDrag(m_tree, text);
        tvTestPlan_OLECompleteDrag();
    };
    m_tree->DragOver = [this](const QString& text, const QPoint& position) {
        return tvTestPlan_OLEDragOver(text, position);
    };
    m_tree->Drop = [this](const QString& text, const QPoint& position) { tvTestPlan_OLEDragDrop(text, position); };
    m_toolBox->setAcceptDrops(true);
    m_toolBox->installEventFilter(this);
    for (QAction* button : m_toolBox->actions()) {
        if (QWidget* widget = m_toolBox->widgetForAction(button))
            widget->installEventFilter(this);
    }
}

void frmExplorer::RunDrag(QWidget* source, const QString& text)
{
    auto* drag = new QDrag(source);
    auto* data = new QMimeData;
    data->setText(text);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

bool frmExplorer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_toolBox) {
        const auto* drag = dynamic_cast<QDropEvent*>(event);
        const QString text = drag && drag->mimeData()->hasText() ? drag->mimeData()->text() : QString();
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* move = static_cast<QDragMoveEvent*>(event);
            if (tlbToolBox_OLEDragOver(text))
                move->acceptProposedAction();
            else
                move->ignore();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            tlbToolBox_OLEDragDrop(text);
            static_cast<QDropEvent*>(event)->ignore();
            return true;
        }
        return false;
    }
    // A press and a move far enough on a toolbox button drag a new item of its kind.
    auto* button = qobject_cast<QToolButton*>(watched);
    if (!button || (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseMove))
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int index = static_cast<int>(m_toolBox->actions().indexOf(button->defaultAction())) + 1;
    if (event->type() == QEvent::MouseButtonPress) {
        m_pressedButton = mouse->button() == Qt::LeftButton ? index : 0;
        m_pressedAt = mouse->position().toPoint();
        return false;
    }
    if (!(mouse->buttons() & Qt::LeftButton) || m_pressedButton != index || index < 2 ||
        (mouse->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
        return false;
    m_pressedButton = 0;
    button->setDown(false);
    const QString text = tlbToolBox_OLEStartDrag(index);
    if (!text.isEmpty())
        RunDrag(button, text);
    tlbToolBox_OLECompleteDrag();
    return true;
}

QString frmExplorer::tlbToolBox_OLEStartDrag(int index)
{
    if (!CanModify() || index < 2 || index > 14)
        return QString();
    Disable_DHTMLEdit(true);
    return ItemTransfer::WriteNew(index);
}

bool frmExplorer::tlbToolBox_OLEDragOver(const QString& text)
{
    return !text.isEmpty();
}

void frmExplorer::tlbToolBox_OLEDragDrop(const QString&)
{
    // A drop back on the toolbox does nothing.
    tlbToolBox_Reset();
}

void frmExplorer::tlbToolBox_OLECompleteDrag()
{
    Enable_DHTMLEdit(true);
    tlbToolBox_Reset();
    m_toolBox->actions().at(0)->setChecked(true);
    m_toolBoxIndex = 1;
}

QString frmExplorer::tvTestPlan_OLEStartDrag()
{
    const ExplorerNode* node = gSelectedNode();
    if (!node)
        return QString();
    Disable_DHTMLEdit(true);
    return ItemTransfer::Write(node->Image(), node->Tag(), node->Key());
}

bool frmExplorer::tvTestPlan_OLEDragOver(const QString& text, const QPoint& position)
{
    if (text.isEmpty() || !CanModify())
        return false;
    ExplorerNode* node = m_model->NodeAt(m_tree->indexAt(position));
    if (node)
        m_tree->SetDropHighlight(m_model->IndexOf(node));
    return m_main->Items()->DragOver(text, node);
}

void frmExplorer::tvTestPlan_OLEDragDrop(const QString& text, const QPoint& position)
{
    if (text.isEmpty())
        return;
    m_main->Items()->Drop(text, m_model->NodeAt(m_tree->indexAt(position)));
}

void frmExplorer::tvTestPlan_OLECompleteDrag()
{
    Enable_DHTMLEdit(true);
}
