#include "core/AppShell.h"
#include "core/db/AdoConnection.h"
#include "core/Startup.h"
#include "core/ui/WidgetPrompts.h"
#include "mainwindow/MainWindowShell.h"
#include "publishing/HTMLTemplate.h"
#include "reports/ui/frmResultFill.h"

#include <QApplication>

#include <unistd.h>

int main(int argc, char* argv[])
{
    // The description editors' web views share their GL context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The browser engine refuses to start its sandbox for the superuser, and the editors would
    // stay blank; their pages run no script of their own.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Koravel"));

    WidgetPrompts widgetPrompts;
    setPrompts(&widgetPrompts);
    MainWindowShell shell(&widgetPrompts);
    setAppShell(&shell);

    // Page heads take their style sheet from the template store.
    HTMLTemplate::InstallStyleSheetLoader();
    // The report windows, before the main window's commands look for them.
    frmResultFill::Install();

    Startup startup;
    const StartupState state = startup.Main();
    const int code = state == StartupState::Ended ? startup.ExitCode() : app.exec();

    // The connection outlives every window; closing it here lets SQLite fold its write-ahead log
    // back into the file and a server end the session cleanly.
    gConnection().Close();
    setAppShell(nullptr);
    setPrompts(nullptr);
    return code;
}
