#include "core/AppShell.h"
#include "core/Startup.h"
#include "core/ui/WidgetPrompts.h"
#include "mainwindow/MainWindowShell.h"
#include "publishing/HTMLTemplate.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Koravel"));

    WidgetPrompts widgetPrompts;
    setPrompts(&widgetPrompts);
    MainWindowShell shell(&widgetPrompts);
    setAppShell(&shell);

    // Page heads take their style sheet from the template store.
    HTMLTemplate::InstallStyleSheetLoader();

    Startup startup;
    const StartupState state = startup.Main();
    const int code = state == StartupState::Ended ? startup.ExitCode() : app.exec();

    setAppShell(nullptr);
    setPrompts(nullptr);
    return code;
}
