#include "mainwindow/MainWindowShell.h"

#include "core/ui/WidgetPrompts.h"
#include "core/ui/frmLogin.h"
#include "mainwindow/frmMdi.h"
#include "mainwindow/WindowServicesInstall.h"

MainWindowShell::~MainWindowShell()
{
    if (m_prompts)
        m_prompts->SetParent(nullptr);
    delete m_window.data();
}

void MainWindowShell::ShowMainWindow()
{
    if (!m_window) {
        m_window = new frmMdi;
        InstallWindowServices(m_window);
        if (m_prompts)
            m_prompts->SetParent(m_window);
    }
    if (!m_window->isVisible())
        m_window->show();
}

frmMdi* MainWindowShell::MainWindow() const
{
    return m_window;
}

bool MainWindowShell::IsMainWindowShown() const
{
    return m_window && m_window->isVisible();
}

void MainWindowShell::UnloadWindows()
{
    if (!m_window)
        return;
    if (m_prompts)
        m_prompts->SetParent(nullptr);
    m_window->close();
    // A dialog of the main window may still be on the stack that called us.
    m_window->deleteLater();
    m_window.clear();
}

bool MainWindowShell::RunLogin()
{
    frmLogin dialog(m_window);
    dialog.exec();
    return dialog.LoginSucceeded;
}
