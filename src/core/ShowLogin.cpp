#include "core/ShowLogin.h"

#include "core/AppShell.h"
#include "platform/Hourglass.h"

bool ShowLogin()
{
    if (!appShell().RunLogin()) {
        appShell().UnloadWindows();
        return false;
    }
    Hourglass::Reset();
    return true;
}
