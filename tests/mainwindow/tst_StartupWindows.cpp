#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/Startup.h"
#include "core/ui/frmLogin.h"
#include "mainwindow/frmMdi.h"
#include "mainwindow/MainWindowShell.h"
#include "platform/AppFolders.h"
#include "platform/Globals.h"
#include "platform/Hourglass.h"
#include "SchemaFile.h"
#include "ScriptedPrompts.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

// Start-up with the real windows: the login dialog run modally and the main window it leads to.
class tst_StartupWindows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loginLeadsToMainWindowOnDatabase();
    void cancelledLoginLeavesNoWindow();

private:
    // A sample whose users must log in, with the Admin account.
    QString MakeManagedSample();
    // Answers the login dialog once it is up.
    static void AnswerLogin(bool ok);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<MainWindowShell> m_shell;
};

void tst_StartupWindows::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_shell = std::make_unique<MainWindowShell>();
    setAppShell(m_shell.get());
    gConnection().Close();
}

void tst_StartupWindows::cleanup()
{
    setAppShell(nullptr);
    m_shell.reset();
    gConnection().Close();
    Hourglass::Reset();
    m_prompts.reset();
    m_env.reset();
}

QString tst_StartupWindows::MakeManagedSample()
{
    return MakeSchemaFile(
        m_env->Path("sample.db"),
        {"INSERT INTO USERS (ID, NAME, PWD, DESCRIPTION, CATEGORY) VALUES (1, 'Admin', '', 'administrator account', 4)",
         "INSERT INTO INFORMATION (VERSION, COMMENT) VALUES ('2.1', 'Users managed')"});
}

void tst_StartupWindows::AnswerLogin(bool ok)
{
    QTimer::singleShot(0, [ok] {
        auto* dialog = qobject_cast<frmLogin*>(QApplication::activeModalWidget());
        if (!dialog) {
            AnswerLogin(ok);
            return;
        }
        if (ok)
            dialog->cmdOK_Click();
        else
            dialog->cmdCancel_Click();
    });
}

void tst_StartupWindows::loginLeadsToMainWindowOnDatabase()
{
    Startup startup;
    startup.SampleDatabasePath = MakeManagedSample();
    QVERIFY(!startup.SampleDatabasePath.isEmpty());
    AnswerLogin(true);

    QCOMPARE(startup.Main(), StartupState::Connected);

    QVERIFY(m_shell->IsMainWindowShown());
    frmMdi* window = m_shell->MainWindow();
    QCOMPARE(window->windowTitle(), QString("Koravel"));
    QCOMPARE(window->PanelText(2), AppFolders::DefaultDatabasePath());
    QCOMPARE(gUserId, QString("1"));
    QCOMPARE(gUserCategory, 4);
    QVERIFY(!Hourglass::IsSet());
    QVERIFY(m_prompts->History().isEmpty());
}

void tst_StartupWindows::cancelledLoginLeavesNoWindow()
{
    Startup startup;
    startup.SampleDatabasePath = MakeManagedSample();
    AnswerLogin(false);

    QCOMPARE(startup.Main(), StartupState::Ended);
    QCOMPARE(startup.ExitCode(), 0);
    QVERIFY(!m_shell->IsMainWindowShown());
    QVERIFY(m_shell->MainWindow() == nullptr);
    QVERIFY(gUserId.isEmpty());
}

QTEST_MAIN(tst_StartupWindows)
#include "tst_StartupWindows.moc"
