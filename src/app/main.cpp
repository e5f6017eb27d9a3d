#include "core/ui/WidgetPrompts.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Koravel"));

    QMainWindow window;
    WidgetPrompts widgetPrompts(&window);
    setPrompts(&widgetPrompts);
    window.setWindowTitle(QStringLiteral("Koravel"));
    window.resize(1024, 700);
    window.show();
    const int code = app.exec();
    setPrompts(nullptr);
    return code;
}
