#include "SchemaFixture.h"
#include "ScriptedPrompts.h"
#include "StartupFakeShell.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/db/kvlDatabase.h"
#include "core/db/OdbcCatalog.h"
#include "core/db/UnixOdbcCatalog.h"
#include "core/services/WindowServices.h"
#include "core/ui/frmConnection.h"
#include "platform/Globals.h"
#include "platform/Settings.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class FakeOdbc final : public OdbcCatalog
{
public:
    QList<DataSource> DataSources() const override
    {
        return {{"Koravel", "PostgreSQL Unicode"}, {"Files", "Some File Driver"}, {"Other", "PostgreSQL Unicode"}};
    }
    QStringList Drivers() const override { return {"PostgreSQL ANSI", "PostgreSQL Unicode"}; }
};

QString Stored(const QString& key)
{
    return Settings::GetSetting(QStringLiteral("DataBase"), key, QStringLiteral("<absent>"));
}

QStringList Entries(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// Records what Apply asked of the main window.
struct WindowHooks
{
    WindowHooks()
    {
        windowServices().CloseDocumentWindows = [this] {
            ++closeCalls;
            return closeAnswer;
        };
        windowServices().ShowDatabase = [this](const QString& text) { shown = text; };
    }
    ~WindowHooks() { windowServices() = WindowServices(); }
    int closeCalls = 0;
    bool closeAnswer = true;
    QString shown = QStringLiteral("<none>");
};

}  // namespace

// The connection dialog against a fake list of data sources, real SQLite files, the test
// PostgreSQL server, and the same server reached through a unixODBC data source.
class tst_frmConnection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsAndModes();
    void storedProvider_data();
    void storedProvider();
    void timeOuts_data();
    void timeOuts();
    void fileModeMissingFile();
    void fileModeLoginAndUpgrades();
    void windowKeptOpenStopsApply();
    void serverMode();
    void odbcMode();

private:
    QTemporaryDir m_odbcDir;
};

void tst_frmConnection::initTestCase()
{
    // unixODBC reads the user data sources from this file for the whole run.
    qputenv("ODBCINI", QFile::encodeName(m_odbcDir.filePath(QStringLiteral("odbc.ini"))));
}

void tst_frmConnection::listsAndModes()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    FakeOdbc odbc;
    setOdbcCatalog(&odbc);
    frmConnection dialog;
    setOdbcCatalog(nullptr);

    QCOMPARE(Entries(dialog.cboDSNList), QStringList({"(None)", "Koravel", "Files", "Other"}));
    QCOMPARE(Entries(dialog.cboDrivers), QStringList({"(None)", "SQLite", "PostgreSQL", "PostgreSQL Unicode",
                                                      "Some File Driver", "PostgreSQL ANSI"}));

    // The server mode follows the driver's name whatever its case.
    dialog.txtDatabase->setText("kept?");
    dialog.cboDrivers->setCurrentIndex(dialog.cboDrivers->findText("PostgreSQL Unicode"));
    dialog.cboDrivers_Click();
    QCOMPARE(dialog.lblServer->text(), QStringLiteral("&Server Name :"));
    QVERIFY(dialog.txtServer->isEnabled());
    QVERIFY(!dialog.cmdDatabaseFile->isEnabled());
    QVERIFY(dialog.txtDatabase->text().isEmpty());
    dialog.cboDrivers->setItemText(3, "postgresql unicode");
    dialog.cboDrivers_Click();
    QCOMPARE(dialog.lblServer->text(), QStringLiteral("&Server Name :"));
    dialog.cboDrivers->setCurrentIndex(dialog.cboDrivers->findText("Some File Driver"));
    dialog.cboDrivers_Click();
    QCOMPARE(dialog.lblServer->text(), QStringLiteral("Database file &path :"));
    QVERIFY(!dialog.txtServer->isEnabled());
    QVERIFY(dialog.cmdDatabaseFile->isEnabled());

    dialog.optODBC->setChecked(true);
    dialog.optODBC_Click();
    QVERIFY(dialog.cboDSNList->isEnabled());
    QVERIFY(!dialog.cboDrivers->isEnabled());
    dialog.cboDSNList->setCurrentIndex(1);
    dialog.cboDSNList_Click();
    QVERIFY(!dialog.txtDatabase->isEnabled());
    dialog.cboDSNList->setCurrentIndex(0);
    dialog.cboDSNList_Click();
    QVERIFY(dialog.txtDatabase->isEnabled() && dialog.cboDrivers->isEnabled());

    // The browse button takes a chosen file and leaves the box alone on cancel.
    prompts.Push(QStringLiteral("/data/chosen.db"));
    dialog.cmdDatabaseFile_Click();
    QCOMPARE(dialog.txtDatabase->text(), QStringLiteral("/data/chosen.db"));
    QCOMPARE(prompts.History().last().kind, QStringLiteral("open"));
    dialog.cmdDatabaseFile_Click();
    QCOMPARE(dialog.txtDatabase->text(), QStringLiteral("/data/chosen.db"));

    // Cancel stores nothing.
    dialog.cmdCancel_Click();
    QCOMPARE(Stored("Provider"), QStringLiteral("<absent>"));
}

void tst_frmConnection::storedProvider_data()
{
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QString>("driver");
    QTest::addColumn<bool>("odbc");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("server");
    QTest::newRow("file") << "3"
                          << "SQLite" << false << "/data/a.db"
                          << "";
    QTest::newRow("file, driver not on this machine") << "3"
                                                      << "SQLite" << false << "/data/a.db"
                                                      << "";
    QTest::newRow("server") << "2"
                            << "PostgreSQL Unicode" << false << "koravel"
                            << "db.example:5433";
    QTest::newRow("odbc") << "5"
                          << "(None)" << true << ""
                          << "";
    QTest::newRow("other provider") << "7"
                                    << "SQLite" << false << "/data/a.db"
                                    << "";
}

void tst_frmConnection::storedProvider()
{
    QFETCH(QString, provider);
    QFETCH(QString, driver);
    QFETCH(bool, odbc);
    QFETCH(QString, database);
    QFETCH(QString, server);
    TestEnvironment env;
    ScriptedPrompts prompts;
    FakeOdbc odbc_;
    setOdbcCatalog(&odbc_);
    const QString section = QStringLiteral("DataBase");
    Settings::SaveSetting(section, "Provider", provider);
    Settings::SaveSetting(section, "Driver", QString(QTest::currentDataTag()).contains("not on") ? "Gone" : driver);
    Settings::SaveSetting(section, "DataSource", database);
    Settings::SaveSetting(section, "Server", "db.example:5433");
    Settings::SaveSetting(section, "User", "tester");
    Settings::SaveSetting(section, "LoginTimeOut", "15");
    gConnection().DSN = QStringLiteral("Other");

    frmConnection dialog;
    setOdbcCatalog(nullptr);
    QCOMPARE(dialog.optODBC->isChecked(), odbc);
    QCOMPARE(dialog.optDSNLess->isChecked(), !odbc);
    QCOMPARE(dialog.cboDrivers->currentText(), driver);
    QCOMPARE(dialog.txtDatabase->text(), database);
    QCOMPARE(dialog.txtServer->text(), server);
    QCOMPARE(dialog.txtUID->text(), QStringLiteral("tester"));
    QCOMPARE(dialog.txtLogin->text(), QStringLiteral("15"));
    if (odbc)
        QCOMPARE(dialog.cboDSNList->currentText(), QStringLiteral("Other"));
    // Opening ran the mode handlers, so Apply closes the document windows even unchanged.
    QVERIFY(dialog.Changed());
}

void tst_frmConnection::timeOuts_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << ""
                           << "" << true;
    QTest::newRow("numbers") << "30"
                             << "2.5" << true;
    QTest::newRow("letters in login") << "3O"
                                      << "" << false;
    QTest::newRow("letters in query") << ""
                                      << "abc" << false;
}

void tst_frmConnection::timeOuts()
{
    QFETCH(QString, login);
    QFETCH(QString, query);
    QFETCH(bool, accepted);
    TestEnvironment env;
    ScriptedPrompts prompts;
    WindowHooks hooks;
    frmConnection dialog;
    dialog.txtDatabase->setText(env.Path("missing.db"));
    dialog.txtLogin->setText(login);
    dialog.txtQuery->setText(query);

    QCOMPARE(dialog.ValidateTimeOut(dialog.txtLogin) && dialog.ValidateTimeOut(dialog.txtQuery), accepted);
    prompts.ClearHistory();
    dialog.cmdApply_Click();
    if (accepted) {
        QCOMPARE(Stored("LoginTimeOut"), login);
        QCOMPARE(Stored("QueryTimeOut"), query);
        return;
    }
    // Refused before anything happens: no connection attempt, nothing stored.
    QCOMPARE(prompts.Messages(), QStringList{"Please insert a numeric value in the field."});
    QCOMPARE(Stored("Provider"), QStringLiteral("<absent>"));
    QCOMPARE(hooks.closeCalls, 0);
    QCOMPARE(dialog.SSTab1->currentIndex(), 2);
}

void tst_frmConnection::fileModeMissingFile()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    WindowHooks hooks;
    frmConnection dialog;
    const QString missing = env.Path("nowhere.db");
    dialog.txtDatabase->setText(missing);
    dialog.txtUID->setText("me");
    dialog.txtPWD->setText("s3cret");

    QCOMPARE(dialog.cmdApply_Click(), 1);
    QCOMPARE(prompts.Messages(), QStringList{"The connection to database failed."});
    QCOMPARE(prompts.History().first().icon, Prompts::Icon::Critical);
    QVERIFY(!QFile::exists(missing));
    QVERIFY(!gConnection().IsOpen());
    QCOMPARE(hooks.closeCalls, 1);
    QCOMPARE(hooks.shown, missing);
    // Stored all the same, so the next start tries this database again.
    QCOMPARE(Stored("Provider"), QStringLiteral("3"));
    QCOMPARE(Stored("DataSource"), missing);
    QCOMPARE(Stored("Driver"), QStringLiteral("SQLite"));
    QCOMPARE(Stored("User"), QStringLiteral("me"));
    QCOMPARE(Stored("Password"), QStringLiteral("s3cret"));
    QCOMPARE(QFile::permissions(Settings::FilePath()) & 0x0077, QFileDevice::Permissions());
}

void tst_frmConnection::fileModeLoginAndUpgrades()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    WindowHooks hooks;
    StartupFakeShell shell;
    shell.shown = true;
    TestDatabase db("sqlite");
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);
    // An older database: no history table yet, and users must log in.
    QVERIFY(gConnection().Execute("DROP TABLE HISTORY"));
    QVERIFY(gConnection().Execute("DELETE FROM INFORMATION WHERE VERSION = ?", {"3.2"}));
    QVERIFY(gConnection().Execute("INSERT INTO INFORMATION VALUES (?, ?)", {"2.1", "Users managed"}));
    gConnection().Close();

    {
        frmConnection dialog;
        dialog.txtDatabase->setText(db.FilePath());
        shell.logins.enqueue(true);
        QCOMPARE(dialog.cmdApply_Click(), 0);
        QVERIFY(prompts.Messages().isEmpty());
        QCOMPARE(shell.loginCalls, 1);
        QVERIFY(gUserManagement);
        QVERIFY(HasHistory());
        QCOMPARE(gConnection().ProviderType(), 3);
    }
    {
        // A refused login ends the program: the windows go, the choice is still stored.
        Settings::SaveSetting("DataBase", "DataSource", "");
        frmConnection dialog;
        dialog.txtDatabase->setText(db.FilePath());
        QCOMPARE(dialog.cmdApply_Click(), 1);
        QCOMPARE(shell.loginCalls, 2);
        QCOMPARE(shell.unloadCalls, 1);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(prompts.Messages().isEmpty());
        QCOMPARE(Stored("DataSource"), db.FilePath());
    }
}

void tst_frmConnection::windowKeptOpenStopsApply()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    WindowHooks hooks;
    hooks.closeAnswer = false;
    TestDatabase db("sqlite");
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    frmConnection dialog;
    dialog.txtDatabase->setText(env.Path("other.db"));
    QCOMPARE(dialog.cmdApply_Click(), 1);
    QCOMPARE(hooks.closeCalls, 1);
    // The open editor still saves into the database it came from.
    QVERIFY(gConnection().IsOpen());
    QCOMPARE(gConnection().DataSource, db.FilePath());
    QCOMPARE(Stored("Provider"), QStringLiteral("<absent>"));
}

void tst_frmConnection::serverMode()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    WindowHooks hooks;
    TestDatabase db("postgres");
    KORAVEL_REQUIRE_SCHEMA(db);
    gConnection().Close();
    const PgServer server = *TestDatabase::Server();

    frmConnection dialog;
    dialog.cboDrivers->setCurrentIndex(dialog.cboDrivers->findText(frmConnection::ServerDriver));
    dialog.cboDrivers_Click();
    dialog.txtServer->setText(server.DataSource());
    dialog.txtDatabase->setText(server.database);
    dialog.txtUID->setText(server.user);
    dialog.txtPWD->setText(server.password);
    QCOMPARE(dialog.cmdApply_Click(), 0);
    QVERIFY(prompts.Messages().isEmpty());
    QVERIFY(gConnection().IsOpen());
    QVERIFY(gConnection().Dialect().IsPostgreSQL());
    QVERIFY(!gUserManagement);
    QCOMPARE(hooks.shown, server.database);
    QCOMPARE(Stored("Provider"), QStringLiteral("2"));
    QCOMPARE(Stored("Server"), server.DataSource());
    QCOMPARE(Stored("DataSource"), server.database);

    // A wrong password fails with the message and is stored as typed.
    dialog.txtPWD->setText("wrong");
    QCOMPARE(dialog.cmdApply_Click(), 1);
    QCOMPARE(prompts.Messages(), QStringList{"The connection to database failed."});
    QCOMPARE(Stored("Password"), QStringLiteral("wrong"));
}

void tst_frmConnection::odbcMode()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    WindowHooks hooks;
    TestDatabase db("postgres");
    KORAVEL_REQUIRE_SCHEMA(db);
    gConnection().Close();
    const PgServer server = *TestDatabase::Server();
    QFile ini(qEnvironmentVariable("ODBCINI"));
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(QStringLiteral("[Koravel Test]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so\n"
                             "Servername=%1\nPort=%2\nDatabase=%3\n")
                  .arg(server.host)
                  .arg(server.port)
                  .arg(server.database)
                  .toUtf8());
    ini.close();
    if (!QFile::exists("/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so"))
        QSKIP("The PostgreSQL ODBC driver is not installed.");

    // The real driver manager lists the data source of the temporary odbc.ini.
    const QList<OdbcCatalog::DataSource> sources = UnixOdbcCatalog().DataSources();
    QVERIFY(std::any_of(sources.begin(), sources.end(),
                        [](const OdbcCatalog::DataSource& source) { return source.name == "Koravel Test"; }));

    frmConnection dialog;
    QVERIFY(dialog.cboDSNList->findText("Koravel Test") > 0);
    dialog.optODBC->setChecked(true);
    dialog.optODBC_Click();
    dialog.cboDSNList->setCurrentIndex(dialog.cboDSNList->findText("Koravel Test"));
    dialog.cboDSNList_Click();
    dialog.txtUID->setText(server.user);
    dialog.txtPWD->setText(server.password);
    QVERIFY2(dialog.cmdApply_Click() == 0, qPrintable(gConnection().LastOpenError() + env.BugLog()));
    QVERIFY(prompts.Messages().isEmpty());
    QCOMPARE(gConnection().ProviderType(), 5);
    QVERIFY(HasHistory());
    QCOMPARE(Stored("Provider"), QStringLiteral("5"));
    QCOMPARE(Stored("DSN"), QStringLiteral("Koravel Test"));
}

QTEST_MAIN(tst_frmConnection)
#include "tst_frmConnection.moc"
