#include "core/services/DescriptionWindows.h"

#include "platform/KvlError.h"

namespace {

DescriptionWindows*& Installed()
{
    static DescriptionWindows* windows = nullptr;
    return windows;
}

}  // namespace

DescriptionWindows& gDescriptionWindows()
{
    if (!Installed())
        throw KvlError(QStringLiteral("No description windows are available."));
    return *Installed();
}

void SetDescriptionWindows(DescriptionWindows* windows)
{
    Installed() = windows;
}
