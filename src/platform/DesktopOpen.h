#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The desktop's shell: opens a file or a link (a file URL, mailto:, https:) with the program the
// desktop has for it, and starts a program detached from Koravel. The one replaceable seam for
// both, so that tests record what would have been opened or started.
class DesktopOpen
{
public:
    virtual ~DesktopOpen() = default;

    // False when nothing took the address.
    virtual bool Open(const QUrl& url) = 0;
    // False when the program did not start.
    virtual bool StartDetached(const QString& program, const QStringList& arguments) = 0;
};

// The program-wide instance: the desktop's own until another is installed; nullptr restores it.
DesktopOpen& desktopOpen();
void setDesktopOpen(DesktopOpen* instance);
