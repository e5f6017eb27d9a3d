#pragma once

#include <QString>

// The per-user data folder stands in for both the program's parent folder and its program folder.
class AppFolders
{
public:
    static QString DataFolder();
    static QString DefaultTempPath();
    static QString DefaultImagePath();
    static QString DefaultDatabaseFolder();
    static QString DefaultDatabasePath();
    static QString DefaultXmlPath();
    static QString DefaultDocumentsPath();
};
