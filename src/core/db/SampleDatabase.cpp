#include "core/db/SampleDatabase.h"

#include "platform/AppFolders.h"
#include "platform/BugLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool SamePath(const QString& a, const QString& b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

}  // namespace

QString SampleDatabase::ShippedPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("demo.db"));
}

bool SampleDatabase::ProvideDefault(const QString& dataSource, const QString& samplePath)
{
    const QString target = AppFolders::DefaultDatabasePath();
    if (dataSource.isEmpty() || !SamePath(dataSource, target) || QFileInfo::exists(target))
        return true;

    const QString label = QStringLiteral("Error_SampleDatabase : ");
    if (!QFileInfo(samplePath).isFile()) {
        LogError(label, 53, QStringLiteral("File not found: ") + samplePath);
        return false;
    }
    QDir().mkpath(AppFolders::DefaultDatabaseFolder());
    // Copied under another name first, so that an interrupted copy never passes for the database.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(samplePath, partial) || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        LogError(label, 75, QStringLiteral("Could not copy %1 to %2").arg(samplePath, target));
        return false;
    }
    // The shipped copy may be read-only; the user's copy must not be.
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}
