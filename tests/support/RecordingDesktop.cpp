#include "RecordingDesktop.h"

bool RecordingDesktop::Open(const QUrl& url)
{
    m_opened.append(url);
    if (OnCall)
        OnCall();
    return OpenAnswer;
}

bool RecordingDesktop::StartDetached(const QString& program, const QStringList& arguments)
{
    m_started.append({program, arguments});
    if (OnCall)
        OnCall();
    return StartAnswer;
}

void RecordingDesktop::Clear()
{
    m_opened.clear();
    m_started.clear();
}
