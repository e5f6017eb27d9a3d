#include "mainwindow/PaneDock.h"

#include <QCloseEvent>

PaneDock::PaneDock(const QString& key, const QString& title, QWidget* parent) : QDockWidget(title, parent)
{
    setObjectName(key);
    // Panes move between the sides and close; a floating pane would have no side to save.
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    setAllowedAreas(Qt::AllDockWidgetAreas);
}

void PaneDock::closeEvent(QCloseEvent* event)
{
    QDockWidget::closeEvent(event);
    if (event->isAccepted())
        emit FormHidden(Key());
}

Qt::DockWidgetArea PaneDock::AreaOf(int alignment)
{
    switch (alignment) {
        case 1:
            return Qt::TopDockWidgetArea;
        case 2:
            return Qt::BottomDockWidgetArea;
        case 3:
            return Qt::LeftDockWidgetArea;
        case 4:
            return Qt::RightDockWidgetArea;
        default:
            return Qt::NoDockWidgetArea;
    }
}

int PaneDock::AlignmentOf(Qt::DockWidgetArea area)
{
    switch (area) {
        case Qt::TopDockWidgetArea:
            return 1;
        case Qt::BottomDockWidgetArea:
            return 2;
        case Qt::LeftDockWidgetArea:
            return 3;
        case Qt::RightDockWidgetArea:
            return 4;
        default:
            return 0;
    }
}
