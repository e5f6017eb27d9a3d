#pragma once

// What start-up and the login need of the windows: the main window and the login dialog. The
// application installs the real windows; tests install a scripted shell and run without them.
class AppShell
{
public:
    virtual ~AppShell() = default;

    // Loads the main window on first use and shows it modeless; showing it again does nothing.
    virtual void ShowMainWindow() = 0;
    virtual bool IsMainWindowShown() const = 0;
    // Closes the connection dialog and the main window, whichever are loaded.
    virtual void UnloadWindows() = 0;
    // Runs a new login dialog modally; true when the user logged in.
    virtual bool RunLogin() = 0;
};

// The program-wide instance; until one is installed, no window exists and every login is refused.
AppShell& appShell();
void setAppShell(AppShell* instance);
