#include "mainwindow/WindowServicesInstall.h"

#include "core/services/WindowServices.h"
#include "editor/MdiDescriptionWindows.h"
#include "mainwindow/frmMdi.h"
#include "model/SelectedProperties.h"

#include <QCursor>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>

void InstallWindowServices(frmMdi* window)
{
    // Owned by the MDI area: the description windows go with it.
    new MdiDescriptionWindows(window->MdiArea());
    WindowServices& services = windowServices();
    const QPointer<frmMdi> main(window);
    services.CloseDocumentWindows = [main] {
        if (!main)
            return true;
        return main->CloseChildWindows();
    };
    services.SetEditMode = [main](bool blnEdition) {
        if (main)
            main->SetEditMode(blnEdition);
    };
    services.PopupEditMenu = [main] {
        if (main && main->Menu(QStringLiteral("mnuEdit")))
            main->Menu(QStringLiteral("mnuEdit"))->popup(QCursor::pos());
    };
    services.ShowDatabase = [main](const QString& text) {
        if (main)
            main->SetPanelText(2, text);
    };
    // The property rows are kept without a window, so their refresh stays after the main window.
    services.RefreshProperties = [] { Refresh_Properties(); };
    QObject::connect(window, &QObject::destroyed, [] {
        windowServices().CloseDocumentWindows = nullptr;
        windowServices().ShowDatabase = nullptr;
        windowServices().SetEditMode = nullptr;
        windowServices().PopupEditMenu = nullptr;
    });
}
