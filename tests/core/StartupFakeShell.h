#pragma once

#include "core/AppShell.h"

#include <QQueue>
#include <functional>

// Stands in for the windows: records what start-up asked of them and answers logins from a queue
// (an empty queue refuses).
class StartupFakeShell final : public AppShell
{
public:
    StartupFakeShell() { setAppShell(this); }
    ~StartupFakeShell() override { setAppShell(nullptr); }

    void ShowMainWindow() override
    {
        ++showCalls;
        if (!shown && onFirstShow)
            onFirstShow();
        shown = true;
    }
    bool IsMainWindowShown() const override { return shown; }
    void UnloadWindows() override
    {
        ++unloadCalls;
        shown = false;
    }
    bool RunLogin() override
    {
        ++loginCalls;
        return !logins.isEmpty() && logins.dequeue();
    }

    int showCalls = 0;
    int unloadCalls = 0;
    int loginCalls = 0;
    bool shown = false;
    QQueue<bool> logins;
    // Runs when the main window first shows, to look at the state the window meets.
    std::function<void()> onFirstShow;
};
