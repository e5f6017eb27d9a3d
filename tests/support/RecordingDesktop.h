#pragma once

#include "platform/DesktopOpen.h"

#include <QList>

#include <functional>

// Records every address opened and every program started instead of asking the desktop; each
// call answers what the test set (true unless told otherwise). Installs itself while it lives.
class RecordingDesktop final : public DesktopOpen
{
public:
    struct Started
    {
        QString program;
        QStringList arguments;
    };

    RecordingDesktop() { setDesktopOpen(this); }
    ~RecordingDesktop() override { setDesktopOpen(nullptr); }

    bool Open(const QUrl& url) override;
    bool StartDetached(const QString& program, const QStringList& arguments) override;

    bool OpenAnswer = true;
    bool StartAnswer = true;
    // Run inside each call, after it is recorded: lets a test look at the state during the call.
    std::function<void()> OnCall;

    const QList<QUrl>& Opened() const { return m_opened; }
    const QList<Started>& StartedPrograms() const { return m_started; }
    void Clear();

private:
    QList<QUrl> m_opened;
    QList<Started> m_started;
};
