// Opens the program as a user would (start-up, sample database, main window) and writes a picture
// of the main window, for the README. scripts/screenshot.sh runs it under a virtual display in a
// temporary home.
#include "core/AppShell.h"
#include "core/Startup.h"
#include "core/db/AdoConnection.h"
#include "core/ui/WidgetPrompts.h"
#include "mainwindow/MainWindowShell.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmMdi.h"
#include "publishing/HTMLTemplate.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Koravel"));
    if (argc != 2) {
        QTextStream(stderr) << "usage: kvl_screenshot <picture.png>\n";
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);

    WidgetPrompts widgetPrompts;
    setPrompts(&widgetPrompts);
    MainWindowShell shell(&widgetPrompts);
    setAppShell(&shell);
    HTMLTemplate::InstallStyleSheetLoader();

    Startup startup;
    if (startup.Main() == StartupState::Ended || !shell.MainWindow()) {
        QTextStream(stderr) << "the main window did not open\n";
        return 1;
    }
    frmMdi* window = shell.MainWindow();
    window->setGeometry(0, 0, 1280, 800);
    // The picture shows the sample's plans opened.
    if (window->Explorer())
        window->Explorer()->tvTestPlan_ExpandAll();
    int code = 0;
    // Give the window time to lay out its bands and panes before the picture is taken.
    QTimer::singleShot(1500, [&] {
        if (!window->grab().save(output)) {
            QTextStream(stderr) << "cannot write " << output << '\n';
            code = 1;
        }
        app.quit();
    });
    app.exec();
    gConnection().Close();
    setAppShell(nullptr);
    setPrompts(nullptr);
    return code;
}
