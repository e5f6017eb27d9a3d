#include "mainwindow/WindowServicesInstall.h"

#include "core/services/WindowServices.h"
#include "mainwindow/frmMdi.h"

#include <QMdiArea>
#include <QPointer>

void InstallWindowServices(frmMdi* window)
{
    WindowServices& services = windowServices();
    const QPointer<frmMdi> main(window);
    services.CloseDocumentWindows = [main] {
        if (!main)
            return true;
        // Each window asks its own question as it closes; one the user keeps stops the walk.
        main->MdiArea()->closeAllSubWindows();
        return main->MdiArea()->subWindowList().isEmpty();
    };
    services.ShowDatabase = [main](const QString& text) {
        if (main)
            main->SetPanelText(2, text);
    };
    QObject::connect(window, &QObject::destroyed, [] {
        windowServices().CloseDocumentWindows = nullptr;
        windowServices().ShowDatabase = nullptr;
    });
}
