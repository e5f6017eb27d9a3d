#include "platform/BugLog.h"

#include "platform/Globals.h"
#include "platform/KvlError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

void WriteBugLog(const QString& message, int mode)
{
    try {
        if (gTempPath.isEmpty())
            return;
        QFile file(QDir(gTempPath).filePath(QStringLiteral("BugLog.txt")));
        QIODevice::OpenMode openMode = QIODevice::WriteOnly;
        openMode |= (mode == kLogRewrite) ? QIODevice::Truncate : QIODevice::Append;
        if (!file.open(openMode))
            return;
        const QString stars(53, QLatin1Char('*'));
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("MM-dd-yyyy HH:mm:ss"));
        const QString crlf = QStringLiteral("\r\n");
        const QString entry = stars + crlf + stamp + crlf + message + crlf + stars + crlf;
        file.write(entry.toUtf8());
    } catch (...) {
        // The log is the last resort; losing one entry must not stop the caller.
    }
}

QString ErrorMessage(const QString& label, long number, const QString& text)
{
    return label + QString::number(number) + QStringLiteral("\r\n") + text;
}

void LogError(const QString& label, long number, const QString& text)
{
    WriteBugLog(ErrorMessage(label, number, text), kLogAppend);
}

void LogError(const QString& label, const std::exception& error)
{
    if (const auto* kvl = dynamic_cast<const KvlError*>(&error))
        LogError(label, kvl->Number(), kvl->Description());
    else
        LogError(label, KvlError::kGeneric, QString::fromStdString(error.what()));
}
