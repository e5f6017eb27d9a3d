#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

void EnsurePrivateFile(const QString& path)
{
    QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    if (!info.exists()) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.close();
    }
    QFile::setPermissions(path, kOwnerOnly);
}

}  // namespace

QString Settings::FilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Koravel/Koravel.conf"));
}

QString Settings::CanonicalSection(const QString& section)
{
    static const QString known[] = {QStringLiteral("Options"), QStringLiteral("DataBase"),
                                    QStringLiteral("Settings"), QStringLiteral("PageSetUp")};
    for (const QString& name : known) {
        if (name.compare(section, Qt::CaseInsensitive) == 0)
            return name;
    }
    return section;
}

QString Settings::GetSetting(const QString& section, const QString& key, const QString& defaultValue)
{
    const QString path = FilePath();
    if (!QFileInfo::exists(path))
        return defaultValue;
    QSettings store(path, QSettings::IniFormat);
    const QVariant value = store.value(CanonicalSection(section) + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

void Settings::SaveSetting(const QString& section, const QString& key, const QString& value)
{
    const QString path = FilePath();
    EnsurePrivateFile(path);
    {
        QSettings store(path, QSettings::IniFormat);
        store.setValue(CanonicalSection(section) + QLatin1Char('/') + key, value);
        store.sync();
    }
    // The store may have replaced the file on sync; keep it private.
    QFile::setPermissions(path, kOwnerOnly);
}

void Settings::DeleteSetting(const QString& section, const QString& key)
{
    const QString path = FilePath();
    if (!QFileInfo::exists(path))
        return;
    {
        QSettings store(path, QSettings::IniFormat);
        store.remove(CanonicalSection(section) + QLatin1Char('/') + key);
        store.sync();
    }
    QFile::setPermissions(path, kOwnerOnly);
}
