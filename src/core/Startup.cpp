#include "core/Startup.h"

#include "core/AppShell.h"
#include "core/db/AdoConnection.h"
#include "core/db/SampleDatabase.h"
#include "core/DocumentType.h"
#include "core/HelpFile.h"
#include "core/LoginAndUpgrade.h"
#include "core/OptionDefaults.h"
#include "platform/AppFolders.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/Hourglass.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"
#include "platform/Settings.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>

static void InitCoreResources()
{
    Q_INIT_RESOURCE(core);
}

namespace {

const QString kOptions = QStringLiteral("Options");
const QString kDataBase = QStringLiteral("DataBase");
const QString kStartupLabel = QStringLiteral("Error_MDIForm_Load : ");

// Creates one level only, as the parent of a configured folder must already exist.
void MakeFolder(const QString& path)
{
    if (QFileInfo(path).isDir())
        return;
    if (path.isEmpty() || !QDir().mkdir(path))
        throw KvlError(76, QStringLiteral("Path not found: ") + path);
}

// Makes a folder and the files directly in it usable by their owner again.
void ResetAttributes(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return;
    QFile::setPermissions(
        folder, QFile::permissions(folder) | QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : files) {
        const QString path = file.absoluteFilePath();
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

}  // namespace

Startup::Startup() : SampleDatabasePath(SampleDatabase::ShippedPath())
{
    InitCoreResources();
}

StartupState Startup::Main()
{
    m_exitCode = 0;
    try {
        return Run();
    } catch (const std::exception& error) {
        Hourglass::Reset();
        LogError(kStartupLabel, error);
        if (appShell().IsMainWindowShown())
            return StartupState::NotConnected;
        m_exitCode = 1;
        return StartupState::Ended;
    }
}

StartupState Startup::Run()
{
    Hourglass::Set();
    PrepareFolders();
    WriteBugLog(
        QStringLiteral("Start Koravel session : ") + QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")),
        kLogRewrite);
    SaveBarPicture();
    ResetAttributes(AppFolders::DefaultDatabaseFolder());
    ResetAttributes(gTempPath);
    BuildMetaStrings();
    LocateHelpFile();
    if (!OpenDatabase())
        return StartupState::NotConnected;
    const StartupState state = LoginAndUpgrade();
    if (state == StartupState::Connected)
        appShell().ShowMainWindow();
    return state;
}

void Startup::PrepareFolders()
{
    // The data folder stands in for the program's parent folder, which always exists.
    const QString parent = AppFolders::DataFolder();
    if (!QDir().mkpath(parent))
        throw KvlError(76, QStringLiteral("Path not found: ") + parent);
    gTempPath = OptionDefaults::Get(QStringLiteral("TempPath"));
    MakeFolder(gTempPath);
    gImagePath = OptionDefaults::Get(QStringLiteral("ImagePath"));
    MakeFolder(gImagePath);
}

void Startup::SaveBarPicture() const
{
    const QImage bar(QStringLiteral(":/core/Bar.bmp"));
    const QString path = QDir(gTempPath).filePath(QStringLiteral("Bar.bmp"));
    if (bar.isNull() || !bar.save(path, "BMP"))
        throw KvlError(75, QStringLiteral("Path/File access error: ") + path);
}

void Startup::LocateHelpFile() const
{
    const QFileInfo help(Settings::GetSetting(kOptions, QStringLiteral("HelpPath"), QStringLiteral("Koravel_Fra.hlp")));
    SetHelpFile(help.isFile() ? help.absoluteFilePath() : QString());
}

bool Startup::OpenDatabase()
{
    AdoConnection& connection = gConnection();
    const QString provider = Settings::GetSetting(kDataBase, QStringLiteral("Provider"), QStringLiteral("3"));
    bool opened = false;
    if (provider == QLatin1String("3")) {
        const QString file =
            Settings::GetSetting(kDataBase, QStringLiteral("DataSource"), AppFolders::DefaultDatabasePath());
        SampleDatabase::ProvideDefault(file, SampleDatabasePath);
        connection.SetProviderType(3);
        opened = connection.OpenAccess(file, QString());
    } else if (provider == QLatin1String("5")) {
        connection.DSN = Settings::GetSetting(kDataBase, QStringLiteral("DSN"), QStringLiteral("Koravel"));
        connection.SetProviderType(5);
        opened = connection.DataOpen();
    } else if (provider == QLatin1String("2")) {
        connection.SetProviderType(2);
        opened = connection.OpenSQLServer(Settings::GetSetting(kDataBase, QStringLiteral("Server")),
                                          Settings::GetSetting(kDataBase, QStringLiteral("DataSource")),
                                          Settings::GetSetting(kDataBase, QStringLiteral("User"), QStringLiteral("SA")),
                                          Settings::GetSetting(kDataBase, QStringLiteral("Password")), false);
    } else {
        prompts().Information(QStringLiteral("No database provider found. Define your database connection."));
        appShell().ShowMainWindow();
        return false;
    }
    // Without an open database the login and the upgrades would only query a closed connection.
    if (!opened) {
        const QString why = connection.LastOpenError();
        LogError(kStartupLabel, KvlError::kGeneric, why);
        prompts().Information(why);
        appShell().ShowMainWindow();
    }
    return opened;
}

StartupState Startup::LoginAndUpgrade()
{
    return ::LoginAndUpgrade() ? StartupState::Connected : StartupState::Ended;
}
