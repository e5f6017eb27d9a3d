#include "TestEnvironment.h"

#include "platform/AppFolders.h"
#include "platform/Globals.h"
#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

TestEnvironment::TestEnvironment()
{
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(Settings::FilePath());
    QDir(AppFolders::DataFolder()).removeRecursively();
    gTempPath = m_dir.filePath(QStringLiteral("Temp"));
    gImagePath = m_dir.filePath(QStringLiteral("Images"));
    QDir().mkpath(gTempPath);
    QDir().mkpath(gImagePath);
    gUserManagement = false;
    gUserId.clear();
    gUserCategory = 0;
}

TestEnvironment::~TestEnvironment()
{
    gTempPath.clear();
    gImagePath.clear();
}

QString TestEnvironment::BugLog() const
{
    QFile file(QDir(gTempPath).filePath(QStringLiteral("BugLog.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

int TestEnvironment::BugLogEntries() const
{
    // Each entry opens and closes with a line of 53 asterisks.
    return static_cast<int>(BugLog().count(QString(53, QLatin1Char('*')) + QStringLiteral("\r\n")) / 2);
}

void TestEnvironment::ClearBugLog() const
{
    QFile::remove(QDir(gTempPath).filePath(QStringLiteral("BugLog.txt")));
}
