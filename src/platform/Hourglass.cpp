#include "platform/Hourglass.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

// A process without a GUI application (the command-line tools) has no pointer to change.
bool HasScreen()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

void Hourglass::Set()
{
    if (!HasScreen())
        return;
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void Hourglass::Reset()
{
    if (!HasScreen())
        return;
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

bool Hourglass::IsSet()
{
    return HasScreen() && QGuiApplication::overrideCursor() &&
           QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
}
