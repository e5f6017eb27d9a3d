#include "core/db/AdoConnection.h"
#include "core/DocumentType.h"
#include "core/HelpFile.h"
#include "core/Startup.h"
#include "platform/AppFolders.h"
#include "platform/Globals.h"
#include "platform/Hourglass.h"
#include "platform/Settings.h"
#include "ScriptedPrompts.h"
#include "StartupFakeShell.h"
#include "DayWindow.h"
#include "TestEnvironment.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QtTest>

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unknownProviderShowsMessageAndUnconnectedWindow_data();
    void unknownProviderShowsMessageAndUnconnectedWindow();
    void preparesFoldersLogAndBarPicture();
    void resetsPermissionsInDatabaseAndTempFolders();
    void helpFileKeptOnlyWhenItExists();
    void tempFolderThatCannotBeMadeEndsWithoutWindow();
    void missingChosenDatabaseIsNotCreated();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<StartupFakeShell> m_shell;
};

void tst_Startup::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_shell = std::make_unique<StartupFakeShell>();
    gConnection().Close();
    SetHelpFile(QString());
}

void tst_Startup::cleanup()
{
    gConnection().Close();
    Hourglass::Reset();
    m_shell.reset();
    m_prompts.reset();
    m_env.reset();
}

void tst_Startup::unknownProviderShowsMessageAndUnconnectedWindow_data()
{
    QTest::addColumn<QString>("provider");
    QTest::newRow("4") << "4";
    QTest::newRow("1") << "1";
    QTest::newRow("7") << "7";
    QTest::newRow("empty") << "";
    QTest::newRow("text") << "sqlite";
}

void tst_Startup::unknownProviderShowsMessageAndUnconnectedWindow()
{
    QFETCH(QString, provider);
    Settings::SaveSetting("DataBase", "Provider", provider);

    Startup startup;
    QCOMPARE(startup.Main(), StartupState::NotConnected);

    QCOMPARE(m_prompts->Messages(), QStringList{"No database provider found. Define your database connection."});
    QCOMPARE(m_prompts->History().first().icon, Prompts::Icon::Information);
    QCOMPARE(m_prompts->History().first().caption, QString("Koravel"));
    QVERIFY(m_shell->shown);
    QCOMPARE(m_shell->loginCalls, 0);
    QVERIFY(!gConnection().IsOpen());
    // Only the session entry: nothing queried the closed connection.
    QCOMPARE(m_env->BugLogEntries(), 1);
    QVERIFY(!QFile::exists(AppFolders::DefaultDatabasePath()));
}

void tst_Startup::preparesFoldersLogAndBarPicture()
{
    Settings::SaveSetting("DataBase", "Provider", "4");
    QDir().mkpath(AppFolders::DefaultTempPath());
    QFile old(QDir(AppFolders::DefaultTempPath()).filePath("BugLog.txt"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("previous session\r\n");
    old.close();

    const DayWindow days;
    Startup startup;
    startup.Main();

    QCOMPARE(gTempPath, AppFolders::DefaultTempPath());
    QCOMPARE(gImagePath, AppFolders::DefaultImagePath());
    QVERIFY(QFileInfo(gImagePath).isDir());
    const QString log = m_env->BugLog();
    QVERIFY(!log.contains("previous session"));
    const QStringList sessions = days.Texts([](const QDate& day) { return day.toString("MM-dd-yyyy"); });
    QVERIFY(log.contains("Start Koravel session : " + sessions[0]) ||
            log.contains("Start Koravel session : " + sessions[1]));
    QCOMPARE(m_env->BugLogEntries(), 1);
    const QImage bar(QDir(gTempPath).filePath("Bar.bmp"));
    QCOMPARE(bar.size(), QSize(56, 24));
    QCOMPARE(gMetaTestPlan, QString("<META NAME=\"TYPE\" Content=\"TESTPLAN\">"));
    QCOMPARE(gMetaFooter, QString("<META NAME=\"TYPE\" Content=\"FOOTER\">"));
}

void tst_Startup::resetsPermissionsInDatabaseAndTempFolders()
{
    Settings::SaveSetting("DataBase", "Provider", "4");
    const QString databaseFile = QDir(AppFolders::DefaultDatabaseFolder()).filePath("old.db");
    const QString tempFile = QDir(AppFolders::DefaultTempPath()).filePath("work.htm");
    const QString nested = QDir(AppFolders::DefaultDatabaseFolder()).filePath("sub/inner.db");
    for (const QString& path : {databaseFile, tempFile, nested}) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QFile::setPermissions(path, QFileDevice::ReadOwner);
    }

    Startup startup;
    startup.Main();

    const auto ownerRw = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QCOMPARE(QFile::permissions(databaseFile) & ownerRw, ownerRw);
    QCOMPARE(QFile::permissions(tempFile) & ownerRw, ownerRw);
    // Files in sub-folders are left alone.
    QCOMPARE(QFile::permissions(nested) & ownerRw, QFileDevice::ReadOwner);
    QFile::setPermissions(nested, ownerRw);
}

void tst_Startup::helpFileKeptOnlyWhenItExists()
{
    Settings::SaveSetting("DataBase", "Provider", "4");
    Settings::SaveSetting("Options", "HelpPath", m_env->Path("missing.hlp"));
    Startup startup;
    startup.Main();
    QVERIFY(HelpFile().isEmpty());
    QCOMPARE(m_prompts->Messages().size(), 1);  // the provider message only

    const QString help = m_env->Path("Koravel.hlp");
    QFile file(help);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    Settings::SaveSetting("Options", "HelpPath", help);
    startup.Main();
    QCOMPARE(HelpFile(), help);
}

void tst_Startup::tempFolderThatCannotBeMadeEndsWithoutWindow()
{
    Settings::SaveSetting("Options", "TempPath", m_env->Path("no/such/drive/Temp"));
    Startup startup;
    QCOMPARE(startup.Main(), StartupState::Ended);
    QCOMPARE(startup.ExitCode(), 1);
    QCOMPARE(m_shell->showCalls, 0);
    QVERIFY(m_prompts->History().isEmpty());
    QVERIFY(!QFileInfo::exists(m_env->Path("no/such/drive/Temp")));
    QVERIFY(!Hourglass::IsSet());
}

void tst_Startup::missingChosenDatabaseIsNotCreated()
{
    const QString chosen = m_env->Path("chosen.db");
    Settings::SaveSetting("DataBase", "Provider", "3");
    Settings::SaveSetting("DataBase", "DataSource", chosen);

    Startup startup;
    QCOMPARE(startup.Main(), StartupState::NotConnected);
    QVERIFY(!QFileInfo::exists(chosen));
    QVERIFY(!QFileInfo::exists(AppFolders::DefaultDatabasePath()));
    QVERIFY(m_shell->shown);
    QCOMPARE(m_shell->loginCalls, 0);
    // The failed open is logged once and not followed by queries on the closed connection.
    QCOMPARE(m_env->BugLogEntries(), 2);
    QCOMPARE(m_env->BugLog().count("Error_MDIForm_Load : "), 1);
}

QTEST_MAIN(tst_Startup)
#include "tst_Startup.moc"
