#pragma once

#include "core/AppShell.h"

#include <QPointer>

class frmMdi;
class WidgetPrompts;

// The real windows behind AppShell: the main window, loaded on first use, and the login dialog.
class MainWindowShell final : public AppShell
{
public:
    // Message boxes are parented to the main window once it exists.
    explicit MainWindowShell(WidgetPrompts* prompts = nullptr) : m_prompts(prompts) {}
    ~MainWindowShell() override;

    frmMdi* MainWindow() const;

    void ShowMainWindow() override;
    bool IsMainWindowShown() const override;
    void UnloadWindows() override;
    bool RunLogin() override;

private:
    WidgetPrompts* m_prompts;
    QPointer<frmMdi> m_window;
};
