#include "platform/AppFolders.h"

#include <QDir>
#include <QStandardPaths>

QString AppFolders::DataFolder()
{
    // Named explicitly so that tools and tests, whose application name differs, share it.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Koravel"));
}

QString AppFolders::DefaultTempPath() { return QDir(DataFolder()).filePath(QStringLiteral("Temp")); }
QString AppFolders::DefaultImagePath() { return QDir(DataFolder()).filePath(QStringLiteral("Images")); }
QString AppFolders::DefaultDatabaseFolder() { return QDir(DataFolder()).filePath(QStringLiteral("Database")); }
QString AppFolders::DefaultDatabasePath() { return QDir(DefaultDatabaseFolder()).filePath(QStringLiteral("demo.db")); }
QString AppFolders::DefaultXmlPath() { return QDir(DataFolder()).filePath(QStringLiteral("XML")); }
QString AppFolders::DefaultDocumentsPath() { return QDir(DataFolder()).filePath(QStringLiteral("documents")); }
