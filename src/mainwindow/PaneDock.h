#pragma once

#include <QDockWidget>

// A docked pane of the main window, known by its key (the form name). It reports a close by its
// close button; hiding it from the program reports nothing, and neither does tabifying.
class PaneDock : public QDockWidget
{
    Q_OBJECT

public:
    PaneDock(const QString& key, const QString& title, QWidget* parent);

    QString Key() const { return objectName(); }

    // Side codes of the stored settings: 1 top, 2 bottom, 3 left, 4 right.
    static Qt::DockWidgetArea AreaOf(int alignment);
    static int AlignmentOf(Qt::DockWidgetArea area);

signals:
    void FormHidden(const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;
};
