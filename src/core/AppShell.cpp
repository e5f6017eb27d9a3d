#include "core/AppShell.h"

namespace {

class NoWindows final : public AppShell
{
public:
    void ShowMainWindow() override {}
    bool IsMainWindowShown() const override { return false; }
    void UnloadWindows() override {}
    bool RunLogin() override { return false; }
};

NoWindows gNoWindows;
AppShell* gShell = &gNoWindows;

}  // namespace

AppShell& appShell()
{
    return *gShell;
}

void setAppShell(AppShell* instance)
{
    gShell = instance ? instance : &gNoWindows;
}
