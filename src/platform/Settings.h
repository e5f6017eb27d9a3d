#pragma once

#include <QString>

// The per-user settings store: text values under the sections "Options", "DataBase",
// "Settings" and "PageSetUp", each read with a default. Section names compare without case.
class Settings
{
public:
    static QString GetSetting(const QString& section, const QString& key, const QString& defaultValue = QString());
    static void SaveSetting(const QString& section, const QString& key, const QString& value);
    static void DeleteSetting(const QString& section, const QString& key);

    // The INI file behind the store (created with mode 0600, it may hold passwords).
    static QString FilePath();

private:
    static QString CanonicalSection(const QString& section);
};
