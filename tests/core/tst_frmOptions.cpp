#include "SchemaFixture.h"
#include "ScriptedPrompts.h"
#include "StartupFakeShell.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/db/kvlDatabase.h"
#include "core/HelpFile.h"
#include "core/OptionDefaults.h"
#include "core/services/WindowServices.h"
#include "core/ui/frmOptions.h"
#include "platform/AppFolders.h"
#include "platform/Globals.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QSqlQuery>
#include <QtTest>

namespace {

QString Option(const QString& key)
{
    return Settings::GetSetting(QStringLiteral("Options"), key, QStringLiteral("<absent>"));
}

// Records, in order, what the dialog asked of the windows and of the login.
struct Recorder
{
    explicit Recorder(StartupFakeShell& shell)
    {
        windowServices().CloseDocumentWindows = [this] {
            calls << "close";
            return closeAnswer;
        };
        windowServices().RefreshProperties = [this] { calls << "refresh"; };
        shell.onFirstShow = nullptr;
    }
    ~Recorder() { windowServices() = WindowServices(); }
    QStringList calls;
    bool closeAnswer = true;
};

QStringList Users()
{
    QStringList rows;
    QSqlQuery query = gConnection().Query("SELECT NAME, PWD, CATEGORY FROM USERS ORDER BY ID");
    while (query.next())
        rows << QStringLiteral("%1/%2/%3")
                    .arg(query.value(0).toString(), query.value(1).toString(), query.value(2).toString());
    return rows;
}

// A fake shell whose login also records its turn.
class RecordingShell final : public AppShell
{
public:
    explicit RecordingShell(QStringList& calls) : m_calls(calls) { setAppShell(this); }
    ~RecordingShell() override { setAppShell(nullptr); }
    void ShowMainWindow() override {}
    bool IsMainWindowShown() const override { return true; }
    void UnloadWindows() override { m_calls << "unload"; }
    bool RunLogin() override
    {
        m_calls << "login";
        return loginAnswer;
    }
    bool loginAnswer = true;

private:
    QStringList& m_calls;
};

}  // namespace

// The options dialog: defaults, storing, pickers, and switching user management on a real
// database.
class tst_frmOptions : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void userManagementBox_data();
    void userManagementBox();
    void applyAndCancel();
    void pickers();
    void storeImageMessage();
    void switchOn_data();
    void switchOn();
    void switchOnStopped_data() { TestDatabase::AddBackendRows(); }
    void switchOnStopped();
    void switchOff_data() { TestDatabase::AddBackendRows(); }
    void switchOff();
};

void tst_frmOptions::defaults()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    frmOptions dialog;
    QCOMPARE(dialog.txtTempPath->text(), AppFolders::DefaultTempPath());
    QCOMPARE(dialog.txtImagePath->text(), AppFolders::DefaultImagePath());
    QCOMPARE(dialog.txtHelp->text(), QDir(AppFolders::DataFolder()).filePath("Help/Koravel_ENG"));
    for (QCheckBox* box :
         {dialog.chkStoreImage, dialog.chkUseSubTestTemplate, dialog.chkPageBreak, dialog.chkMultiPages})
        QVERIFY(box->isChecked());
    QCOMPARE(dialog.txtCharset->text(), QStringLiteral("UTF-8"));
    QCOMPARE(dialog.txtConfTemplate->text(), QStringLiteral("Configuration"));
    QCOMPARE(dialog.txtTesplanTemplate->text(), QStringLiteral("TestPlan"));
    QCOMPARE(dialog.txtSubtestTemplate->text(), QStringLiteral("SubTest"));
    QCOMPARE(dialog.txtProcedureTemplate->text(), QStringLiteral("Procedure"));
    QCOMPARE(OptionDefaults::Default("subtest"), QStringLiteral("SubTest"));
    QVERIFY(OptionDefaults::Default("NoSuchKey").isEmpty());

    // Stored values win; a check box value that is not a number reads as its default.
    Settings::SaveSetting("Options", "MultiPages", "0");
    Settings::SaveSetting("Options", "StoreImage", "yes");
    Settings::SaveSetting("Options", "TestPlan", "Plan");
    frmOptions stored;
    QVERIFY(!stored.chkMultiPages->isChecked());
    QVERIFY(stored.chkStoreImage->isChecked());
    QCOMPARE(stored.txtTesplanTemplate->text(), QStringLiteral("Plan"));
    QVERIFY(prompts.Messages().isEmpty());
}

void tst_frmOptions::userManagementBox_data()
{
    QTest::addColumn<bool>("managed");
    QTest::addColumn<int>("category");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("off") << false << 0 << true;
    QTest::newRow("on, administrator") << true << 4 << true;
    QTest::newRow("on, author") << true << 3 << false;
}

void tst_frmOptions::userManagementBox()
{
    QFETCH(bool, managed);
    QFETCH(int, category);
    QFETCH(bool, enabled);
    TestEnvironment env;
    gUserManagement = managed;
    gUserCategory = category;
    frmOptions dialog;
    QCOMPARE(dialog.chkUserManagement->isChecked(), managed);
    QCOMPARE(dialog.chkUserManagement->isEnabled(), enabled);
}

void tst_frmOptions::applyAndCancel()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    {
        frmOptions dialog;
        dialog.txtConfTemplate->setText("Conf");
        dialog.chkPageBreak->setChecked(false);
        dialog.cmdCancel_Click();
    }
    QCOMPARE(Option("Configuration"), QStringLiteral("<absent>"));
    QCOMPARE(Option("ProcedurePageBreak"), QStringLiteral("<absent>"));

    frmOptions dialog;
    dialog.txtTempPath->setText(env.Path("work"));
    dialog.txtImagePath->setText(env.Path("pictures"));
    dialog.txtHelp->setText(env.Path("help.hlp"));
    dialog.txtConfTemplate->setText("Conf");
    dialog.txtTesplanTemplate->setText("Plan");
    dialog.txtSubtestTemplate->setText("Step");
    dialog.txtProcedureTemplate->setText("Proc");
    dialog.txtCharset->setText("ISO-8859-1");
    dialog.chkPageBreak->setChecked(false);
    dialog.chkStoreImage->setChecked(false);
    QCOMPARE(dialog.cmdApply_Click(), 0);
    dialog.cmdCancel_Click();

    const QList<QPair<QString, QString>> expected{{"TempPath", env.Path("work")},
                                                  {"ImagePath", env.Path("pictures")},
                                                  {"HelpPath", env.Path("help.hlp")},
                                                  {"Configuration", "Conf"},
                                                  {"TestPlan", "Plan"},
                                                  {"SubTest", "Step"},
                                                  {"Procedure", "Proc"},
                                                  {"Charset", "ISO-8859-1"},
                                                  {"ProcedurePageBreak", "0"},
                                                  {"StoreImage", "0"},
                                                  {"MultiPages", "1"},
                                                  {"SubTestTemplate", "1"}};
    for (const auto& [key, value] : expected)
        QCOMPARE(Option(key), value);
    QCOMPARE(OptionDefaults::Get("SubTest"), QStringLiteral("Step"));
    // Folders are taken as typed and used at once; nothing checks that they exist.
    QCOMPARE(gTempPath, env.Path("work"));
    QCOMPARE(gImagePath, env.Path("pictures"));
    QCOMPARE(HelpFile(), env.Path("help.hlp"));
    QCOMPARE(Option("LastUser"), QStringLiteral("<absent>"));
}

void tst_frmOptions::pickers()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    frmOptions dialog;
    const QString before = dialog.txtImagePath->text();
    prompts.Push(QStringLiteral("/srv/temp"));
    dialog.cmdTempFolder_Click();
    dialog.cmdImageFolder_Click();
    QCOMPARE(dialog.txtTempPath->text(), QStringLiteral("/srv/temp"));
    QCOMPARE(dialog.txtImagePath->text(), before);
    QCOMPARE(prompts.History().at(0).kind, QStringLiteral("folder"));
    QCOMPARE(prompts.History().at(0).caption, QStringLiteral("Select a folder"));

    prompts.Push(QStringLiteral("/srv/help/koravel.hlp"));
    dialog.cmdHelp_Click();
    QCOMPARE(dialog.txtHelp->text(), QStringLiteral("/srv/help/koravel.hlp"));
    QCOMPARE(prompts.History().last().caption, QStringLiteral("Select help file"));
    env.ClearBugLog();
    dialog.cmdHelp_Click();
    QCOMPARE(dialog.txtHelp->text(), QStringLiteral("/srv/help/koravel.hlp"));
    QVERIFY(env.BugLog().contains("Error_Help : "));
    QVERIFY(prompts.Messages().isEmpty());
}

void tst_frmOptions::storeImageMessage()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    Settings::SaveSetting("Options", "StoreImage", "0");
    frmOptions dialog;
    dialog.show();
    dialog.chkStoreImage->click();
    QCOMPARE(prompts.Messages(), QStringList{"Only SQLite and PostgreSQL databases manage file storage."});
    QVERIFY(dialog.chkStoreImage->isChecked());
    dialog.chkStoreImage->click();
    QCOMPARE(prompts.Messages().size(), 1);
    dialog.hide();
}

void tst_frmOptions::switchOn_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("accounts");  // "", "admin", or "no table"
    QTest::addColumn<QStringList>("users");
    QTest::addColumn<bool>("adminCreated");
    for (const QString& backend : TestDatabase::Backends()) {
        const QByteArray tag = backend.toLatin1();
        QTest::newRow(tag + ", no account") << backend << "" << QStringList{"Admin//4"} << true;
        // An administrator exists: no account is touched, not even one named Admin.
        QTest::newRow(tag + ", administrator exists")
            << backend << "admin" << QStringList{"chief/pw/4", "Admin/secret/2"} << false;
    }
    // SQLite keeps the author columns of a database made whole, so only the server loses them.
    QTest::newRow("postgres, no users table") << "postgres"
                                              << "no table" << QStringList{"Admin//4"} << true;
}

void tst_frmOptions::switchOn()
{
    QFETCH(QString, backend);
    QFETCH(QString, accounts);
    QFETCH(QStringList, users);
    QFETCH(bool, adminCreated);
    TestEnvironment env;
    ScriptedPrompts prompts;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_SCHEMA(db);
    if (accounts == "admin") {
        QVERIFY(gConnection().Execute("INSERT INTO USERS VALUES (?, ?, ?, ?, ?)", {1, "chief", "pw", "", 4}));
        QVERIFY(gConnection().Execute("INSERT INTO USERS VALUES (?, ?, ?, ?, ?)", {2, "Admin", "secret", "", 2}));
    } else if (accounts == "no table") {
        QCOMPARE(kvlDatabase().RemoveUserTable(), 0);
    }
    QStringList calls;
    RecordingShell shell(calls);
    windowServices().CloseDocumentWindows = [&calls] { return calls << "close", true; };
    windowServices().RefreshProperties = [&calls] { calls << "refresh"; };

    frmOptions dialog;
    dialog.chkUserManagement->setChecked(true);
    dialog.cmdOK_Click();
    windowServices() = WindowServices();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    // The document windows close before the login, so a refused login loses no edit.
    QCOMPARE(calls, QStringList({"close", "login", "refresh"}));
    QVERIFY(gUserManagement);
    QVERIFY(IsUserManagementOn());
    QCOMPARE(Users(), users);
    QString message = "You must connect to take into account the users management.";
    if (adminCreated)
        message += "\nThe default account is Admin with an empty password.";
    QCOMPARE(prompts.Messages(), QStringList{message});
    QCOMPARE(Option("LastUser"), QStringLiteral("Admin"));

    // Box and flag agree now: a second Apply changes nothing.
    calls.clear();
    QCOMPARE(dialog.cmdApply_Click(), 0);
    QVERIFY(calls.isEmpty());
}

void tst_frmOptions::switchOnStopped()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    ScriptedPrompts prompts;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_SCHEMA(db);
    const QString temp = gTempPath;  // Apply makes the dialog's folder the log's
    QStringList calls;
    RecordingShell shell(calls);
    bool closeAnswer = false;
    windowServices().CloseDocumentWindows = [&] { return calls << "close", closeAnswer; };
    {
        // A document window the user keeps open stops the switch before anything changes.
        frmOptions dialog;
        dialog.txtTempPath->setText(temp);
        dialog.chkUserManagement->setChecked(true);
        QCOMPARE(dialog.cmdApply_Click(), 1);
        QCOMPARE(calls, QStringList{"close"});
        QVERIFY(!IsUserManagementOn());
        QVERIFY(Users().isEmpty());
    }
    {
        // A refused login ends the program through the windows' normal unloading.
        calls.clear();
        closeAnswer = true;
        shell.loginAnswer = false;
        frmOptions dialog;
        dialog.chkUserManagement->setChecked(true);
        dialog.cmdOK_Click();
        QCOMPARE(calls, QStringList({"close", "login", "unload"}));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!gUserManagement);
        // The next start asks for the login.
        QVERIFY(IsUserManagementOn());
    }
    {
        // The users table cannot be added: said so, and nothing changes.
        calls.clear();
        prompts.ClearHistory();
        QVERIFY(gConnection().Execute("DELETE FROM INFORMATION WHERE VERSION IN (?, ?)", {"2.0", "2.1"}));
        frmOptions dialog;
        dialog.txtTempPath->setText(temp);
        dialog.chkUserManagement->setChecked(true);
        QCOMPARE(dialog.cmdApply_Click(), 1);
        QCOMPARE(prompts.Messages(), QStringList{"Can not update the database to manage users."});
        QCOMPARE(calls, QStringList{"close"});
        QVERIFY(!IsUserManagementOn());
        QVERIFY(!gUserManagement);
    }
    {
        // A database failure is reported and logged once.
        gConnection().Close();
        env.ClearBugLog();
        prompts.ClearHistory();
        frmOptions dialog;
        dialog.txtTempPath->setText(temp);
        dialog.chkUserManagement->setChecked(true);
        QCOMPARE(dialog.cmdApply_Click(), 1);
        QCOMPARE(prompts.Messages(), QStringList{"An error has occurred when applying the users' management change."});
        QCOMPARE(env.BugLogEntries(), 1);
        QVERIFY(env.BugLog().contains("Error_UpdateUserManagement :"));
        QVERIFY(!gUserManagement);
    }
    windowServices() = WindowServices();
}

void tst_frmOptions::switchOff()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    ScriptedPrompts prompts;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_SCHEMA(db);
    QVERIFY(gConnection().Execute("INSERT INTO INFORMATION VALUES (?, ?)", {"2.1", "Users managed"}));
    QVERIFY(gConnection().Execute("INSERT INTO USERS VALUES (?, ?, ?, ?, ?)", {1, "Admin", "pw", "", 4}));
    gUserManagement = true;
    gUserCategory = 4;
    int refreshed = 0;
    windowServices().RefreshProperties = [&refreshed] { ++refreshed; };

    frmOptions dialog;
    dialog.chkUserManagement->setChecked(false);
    QCOMPARE(dialog.cmdApply_Click(), 0);
    windowServices() = WindowServices();
    QVERIFY(!gUserManagement);
    QVERIFY(!IsUserManagementOn());
    QVERIFY(HasUserTable());
    QCOMPARE(Users(), QStringList{"Admin/pw/4"});
    QCOMPARE(refreshed, 1);
    QVERIFY(prompts.Messages().isEmpty());
}

QTEST_MAIN(tst_frmOptions)
#include "tst_frmOptions.moc"
