#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/Startup.h"
#include "platform/AppFolders.h"
#include "platform/Globals.h"
#include "platform/Hourglass.h"
#include "platform/Settings.h"
#include "SchemaFile.h"
#include "ScriptedPrompts.h"
#include "StartupFakeShell.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// Start-up on real database files: the sample copied to the default path, the login when users
// are managed, and the upgrades of an older database.
class tst_StartupDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noSettingsCopiesSampleAndConnects();
    void existingDefaultDatabaseIsKept();
    void missingMarkersAreUpgradedBeforeWindowShows();
    void cancelledLoginEndsWithoutWindow();
    void acceptedLoginShowsWindow();
    void databaseThatDoesNotOpenIsReported_data();
    void databaseThatDoesNotOpenIsReported();

private:
    QString MakeDatabase(const QString& name, const QStringList& statements = {});
    static bool HasMarker(const QString& version);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<StartupFakeShell> m_shell;
};

void tst_StartupDatabase::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_shell = std::make_unique<StartupFakeShell>();
    gConnection().Close();
}

void tst_StartupDatabase::cleanup()
{
    gConnection().Close();
    Hourglass::Reset();
    m_shell.reset();
    m_prompts.reset();
    m_env.reset();
}

QString tst_StartupDatabase::MakeDatabase(const QString& name, const QStringList& statements)
{
    return MakeSchemaFile(m_env->Path(name), statements);
}

bool tst_StartupDatabase::HasMarker(const QString& version)
{
    return gConnection().Scalar("SELECT COUNT(*) FROM INFORMATION WHERE VERSION = ?", {version}).toInt() == 1;
}

void tst_StartupDatabase::noSettingsCopiesSampleAndConnects()
{
    Startup startup;
    startup.SampleDatabasePath = MakeDatabase("sample.db");
    QVERIFY(!startup.SampleDatabasePath.isEmpty());

    QCOMPARE(startup.Main(), StartupState::Connected);

    const QString target = AppFolders::DefaultDatabasePath();
    QVERIFY(QFileInfo(target).isFile());
    QVERIFY(gConnection().IsOpen());
    QCOMPARE(gConnection().DataSource, target);
    QCOMPARE(gConnection().ProviderType(), 3);
    QVERIFY(QFileInfo(AppFolders::DefaultTempPath()).isDir());
    QVERIFY(QFileInfo(AppFolders::DefaultImagePath()).isDir());
    QCOMPARE(m_shell->showCalls, 1);
    QCOMPARE(m_shell->loginCalls, 0);
    QVERIFY(!gUserManagement);
    QVERIFY(m_prompts->History().isEmpty());
    QCOMPARE(m_env->BugLogEntries(), 1);
    QVERIFY(QFile::permissions(target) & QFileDevice::WriteOwner);
}

void tst_StartupDatabase::existingDefaultDatabaseIsKept()
{
    const QString own = MakeDatabase("own.db", {"INSERT INTO CONFIGURATION (ID, NAME) VALUES (7, 'Mine')"});
    QDir().mkpath(AppFolders::DefaultDatabaseFolder());
    QVERIFY(QFile::copy(own, AppFolders::DefaultDatabasePath()));

    Startup startup;
    startup.SampleDatabasePath = MakeDatabase("sample.db");
    QCOMPARE(startup.Main(), StartupState::Connected);
    QCOMPARE(gConnection().Scalar("SELECT NAME FROM CONFIGURATION WHERE ID = ?", {7}).toString(), QString("Mine"));
}

void tst_StartupDatabase::missingMarkersAreUpgradedBeforeWindowShows()
{
    const QString old =
        MakeDatabase("old.db", {"DROP TABLE HISTORY", "DROP TABLE CONFIGURATION_LINKS",
                                "DELETE FROM INFORMATION WHERE VERSION IN ('3.1', '3.2')",
                                "INSERT INTO CONFIGURATION (ID, NAME) VALUES (1, 'System')",
                                "INSERT INTO TESTPLAN (ID, NAME, ID_CONFIGURATION) VALUES (5, 'Plan', 1)"});
    QVERIFY(!old.isEmpty());
    Settings::SaveSetting("DataBase", "DataSource", old);
    bool upgradedFirst = false;
    int links = 0;
    m_shell->onFirstShow = [&] {
        upgradedFirst = HasMarker("3.1") && HasMarker("3.2");
        links = gConnection()
                    .Scalar("SELECT COUNT(*) FROM CONFIGURATION_LINKS WHERE ID_TESTPLAN = ? AND ID_CONFIGURATION = ?",
                            {5, 1})
                    .toInt();
    };

    Startup startup;
    QCOMPARE(startup.Main(), StartupState::Connected);
    QVERIFY(upgradedFirst);
    QCOMPARE(links, 1);
    QCOMPARE(gConnection().Scalar("SELECT COUNT(*) FROM HISTORY").toInt(), 0);
}

void tst_StartupDatabase::cancelledLoginEndsWithoutWindow()
{
    const QString managed =
        MakeDatabase("managed.db", {"INSERT INTO INFORMATION (VERSION, COMMENT) VALUES ('2.1', 'Users managed')",
                                    "DELETE FROM INFORMATION WHERE VERSION = '3.2'"});
    Settings::SaveSetting("DataBase", "DataSource", managed);

    Startup startup;
    QCOMPARE(startup.Main(), StartupState::Ended);
    QCOMPARE(startup.ExitCode(), 0);
    QVERIFY(gUserManagement);
    QCOMPARE(m_shell->loginCalls, 1);
    QCOMPARE(m_shell->showCalls, 0);
    QCOMPARE(m_shell->unloadCalls, 1);
    // Ended before the upgrades.
    QVERIFY(!HasMarker("3.2"));
}

void tst_StartupDatabase::acceptedLoginShowsWindow()
{
    const QString managed =
        MakeDatabase("managed.db", {"INSERT INTO INFORMATION (VERSION, COMMENT) VALUES ('2.1', 'Users managed')"});
    Settings::SaveSetting("DataBase", "DataSource", managed);
    m_shell->logins.enqueue(true);

    Startup startup;
    QCOMPARE(startup.Main(), StartupState::Connected);
    QVERIFY(gUserManagement);
    QCOMPARE(m_shell->loginCalls, 1);
    QCOMPARE(m_shell->showCalls, 1);
    QVERIFY(!Hourglass::IsSet());

    // The same program with user management switched off again asks for no login.
    QVERIFY(gConnection().Execute("DELETE FROM INFORMATION WHERE VERSION = ?", {QString("2.1")}));
    gConnection().Close();
    QCOMPARE(startup.Main(), StartupState::Connected);
    QVERIFY(!gUserManagement);
    QCOMPARE(m_shell->loginCalls, 1);
}

void tst_StartupDatabase::databaseThatDoesNotOpenIsReported_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("kind");
    for (const QString& backend : TestDatabase::Backends()) {
        if (backend == QLatin1String("sqlite")) {
            QTest::newRow("missing file") << backend << "missing";
            QTest::newRow("not a database") << backend << "text";
        } else {
            QTest::newRow("server refuses the login") << backend << "login";
        }
    }
}

// The window still comes, but the user is told why the database did not open and the reason is
// in the error log.
void tst_StartupDatabase::databaseThatDoesNotOpenIsReported()
{
    QFETCH(QString, backend);
    QFETCH(QString, kind);
    if (kind == QLatin1String("login")) {
        const std::optional<PgServer> server = TestDatabase::Server();
        if (!server)
            QSKIP("No PostgreSQL test server: run through ctest (label postgres).");
        Settings::SaveSetting("DataBase", "Provider", "2");
        Settings::SaveSetting("DataBase", "Server", server->DataSource());
        Settings::SaveSetting("DataBase", "DataSource", server->database);
        Settings::SaveSetting("DataBase", "User", server->user);
        Settings::SaveSetting("DataBase", "Password", server->password + "-wrong");
    } else {
        const QString file = m_env->Path("chosen.db");
        if (kind == QLatin1String("text")) {
            QFile text(file);
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write(QByteArray("These are not the pages of a database.\n").repeated(200));
        }
        Settings::SaveSetting("DataBase", "Provider", "3");
        Settings::SaveSetting("DataBase", "DataSource", file);
    }

    Startup startup;
    QCOMPARE(startup.Main(), StartupState::NotConnected);
    QVERIFY(!gConnection().IsOpen());
    QCOMPARE(m_shell->showCalls, 1);
    const QString why = gConnection().LastOpenError();
    QVERIFY(!why.isEmpty());
    QCOMPARE(m_prompts->Messages(), QStringList{why});
    // The session entry, then the reason under the start-up label.
    QCOMPARE(m_env->BugLogEntries(), 2);
    QVERIFY(m_env->BugLog().contains("Error_MDIForm_Load : 5\r\n" + why));
}

QTEST_MAIN(tst_StartupDatabase)
#include "tst_StartupDatabase.moc"
