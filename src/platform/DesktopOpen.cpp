#include "platform/DesktopOpen.h"

#include <QDesktopServices>
#include <QProcess>

namespace {

class SystemDesktopOpen final : public DesktopOpen
{
public:
    bool Open(const QUrl& url) override { return QDesktopServices::openUrl(url); }

    bool StartDetached(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
};

SystemDesktopOpen gSystem;
DesktopOpen* gInstance = &gSystem;

}  // namespace

DesktopOpen& desktopOpen()
{
    return *gInstance;
}

void setDesktopOpen(DesktopOpen* instance)
{
    gInstance = instance ? instance : &gSystem;
}
