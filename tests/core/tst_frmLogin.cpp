#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/KeyHelpers.h"
#include "core/ui/frmLogin.h"
#include "platform/Globals.h"
#include "platform/Settings.h"
#include "ScriptedPrompts.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include <QLineEdit>
#include <QtTest>

class tst_frmLogin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void adminWithEmptyPasswordLogsIn();
    void userOfCategoryTwoLogsInWithoutEditRights();
    void wrongPasswordKeepsDialogOpen();
    void quotesAndCommentsNeverLogIn_data();
    void quotesAndCommentsNeverLogIn();
    void namesWithQuotesAreMatchedAsTyped();
    void lastUserSavedOnEveryClose();
    void databaseErrorKeepsDialogOpen();

private:
    void AddUser(int id, const QString& name, const QString& password, int category);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<TestDatabase> m_db;
};

void tst_frmLogin::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_db = std::make_unique<TestDatabase>("sqlite");
    QVERIFY2(m_db->Open(), qPrintable(m_db->Error()));
    QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);
    AddUser(1, "Admin", "", 4);
    AddUser(2, "Tester", "secret", 2);
}

void tst_frmLogin::cleanup()
{
    m_db.reset();
    m_prompts.reset();
    m_env.reset();
}

void tst_frmLogin::AddUser(int id, const QString& name, const QString& password, int category)
{
    QVERIFY(gConnection().Execute("INSERT INTO USERS (ID, NAME, PWD, DESCRIPTION, CATEGORY) VALUES (?,?,?,?,?)",
                                  {id, name, password, QString("account"), category}));
}

void tst_frmLogin::adminWithEmptyPasswordLogsIn()
{
    frmLogin dialog;
    QCOMPARE(dialog.windowTitle(), QString("Login"));
    QCOMPARE(dialog.txtUserName->text(), QString("Admin"));
    QCOMPARE(dialog.txtPassword->echoMode(), QLineEdit::Password);
    QVERIFY(!dialog.LoginSucceeded);

    dialog.cmdOK_Click();

    QVERIFY(m_prompts->History().isEmpty());
    QVERIFY(dialog.LoginSucceeded);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(gUserId, QString("1"));
    QCOMPARE(gUserCategory, 4);
    QCOMPARE(Settings::GetSetting("Options", "LastUser"), QString("Admin"));
}

void tst_frmLogin::userOfCategoryTwoLogsInWithoutEditRights()
{
    gUserManagement = true;
    frmLogin dialog;
    dialog.txtUserName->setText("Tester");
    dialog.txtPassword->setText("secret");
    dialog.cmdOK_Click();
    QVERIFY(dialog.LoginSucceeded);
    QCOMPARE(gUserId, QString("2"));
    QCOMPARE(gUserCategory, 2);
    QVERIFY(!CanModify());
}

void tst_frmLogin::wrongPasswordKeepsDialogOpen()
{
    frmLogin dialog;
    dialog.show();
    dialog.txtPassword->setText("wrong");
    dialog.cmdOK_Click();
    dialog.cmdOK_Click();

    QCOMPARE(m_prompts->Messages(), QStringList({"Invalid Password, try again!", "Invalid Password, try again!"}));
    const auto& shown = m_prompts->History().first();
    QCOMPARE(shown.caption, QString("Login"));
    QCOMPARE(shown.icon, Prompts::Icon::None);
    QCOMPARE(shown.buttons, Prompts::Buttons::Ok);
    QVERIFY(!dialog.LoginSucceeded);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget(), dialog.txtPassword);
    QCOMPARE(dialog.txtPassword->selectedText(), QString("wrong"));
    QVERIFY(gUserId.isEmpty());

    // The next try with the right password still succeeds.
    dialog.txtPassword->clear();
    dialog.cmdOK_Click();
    QVERIFY(dialog.LoginSucceeded);
}

void tst_frmLogin::quotesAndCommentsNeverLogIn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::newRow("or-true in name") << "' OR '1'='1"
                                     << "";
    QTest::newRow("or-true in both") << "' OR '1'='1"
                                     << "' OR '1'='1";
    QTest::newRow("line comment") << "Admin' --"
                                  << "x";
    QTest::newRow("block comment") << "Admin'/*"
                                   << "*/ OR ''='";
    QTest::newRow("hash comment") << "Tester' #"
                                  << "";
    QTest::newRow("union") << "x' UNION SELECT 4,1 --"
                           << "";
    QTest::newRow("password only") << "Tester"
                                   << "' OR ''='";
}

void tst_frmLogin::quotesAndCommentsNeverLogIn()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    frmLogin dialog;
    dialog.txtUserName->setText(name);
    dialog.txtPassword->setText(password);
    dialog.cmdOK_Click();
    QVERIFY(!dialog.LoginSucceeded);
    QVERIFY(gUserId.isEmpty());
    QCOMPARE(m_prompts->Messages(), QStringList{"Invalid Password, try again!"});
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_frmLogin::namesWithQuotesAreMatchedAsTyped()
{
    AddUser(3, "O'Brien --", "it's/*", 3);
    frmLogin dialog;
    dialog.txtUserName->setText("O'Brien --");
    dialog.txtPassword->setText("it's/*");
    dialog.cmdOK_Click();
    QVERIFY(dialog.LoginSucceeded);
    QCOMPARE(gUserId, QString("3"));
}

void tst_frmLogin::lastUserSavedOnEveryClose()
{
    {
        frmLogin dialog;
        dialog.txtUserName->setText("Tester");
        dialog.txtPassword->setText("wrong");
        dialog.cmdOK_Click();
        dialog.cmdCancel_Click();
        QVERIFY(!dialog.LoginSucceeded);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    QCOMPARE(Settings::GetSetting("Options", "LastUser"), QString("Tester"));

    frmLogin closed;
    QCOMPARE(closed.txtUserName->text(), QString("Tester"));
    closed.show();
    closed.txtUserName->setText("Someone");
    closed.close();
    QVERIFY(!closed.LoginSucceeded);
    QCOMPARE(Settings::GetSetting("Options", "LastUser"), QString("Someone"));
}

void tst_frmLogin::databaseErrorKeepsDialogOpen()
{
    m_db.reset();  // closes the connection
    frmLogin dialog;
    dialog.show();
    dialog.cmdOK_Click();
    QCOMPARE(m_prompts->Messages(), QStringList{"An error has occurred trying to request database."});
    QCOMPARE(m_prompts->History().first().icon, Prompts::Icon::Critical);
    QCOMPARE(m_prompts->History().first().caption, QString("Koravel"));
    QVERIFY(!dialog.LoginSucceeded);
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_env->BugLogEntries(), 1);
    QVERIFY(m_env->BugLog().contains("Error_Login:"));
}

QTEST_MAIN(tst_frmLogin)
#include "tst_frmLogin.moc"
