// The connection dialog's handlers: filling and switching the modes, and Apply.
#include "core/ui/frmConnection.h"

#include "core/db/AdoConnection.h"
#include "core/db/OdbcCatalog.h"
#include "core/LoginAndUpgrade.h"
#include "core/services/WindowServices.h"
#include "platform/AppFolders.h"
#include "platform/BugLog.h"
#include "platform/Hourglass.h"
#include "platform/Prompts.h"
#include "platform/Settings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

const QString kDataBase = QStringLiteral("DataBase");
const QString kNone = QStringLiteral("(None)");
const QString kFileLabel = QStringLiteral("Database file &path :");

QString Stored(const QString& key, const QString& defaultValue = QString())
{
    return Settings::GetSetting(kDataBase, key, defaultValue);
}

// Selects the entry whose text is `text`; false when the list has none.
bool SelectText(QComboBox* list, const QString& text)
{
    const int index = list->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    list->setCurrentIndex(index);
    return true;
}

}  // namespace

void frmConnection::Form_Load()
{
    SSTab1->setCurrentIndex(0);
    FillLists();
    txtUID->setText(Stored(QStringLiteral("User")));
    txtPWD->setText(Stored(QStringLiteral("Password")));
    txtLogin->setText(Stored(QStringLiteral("LoginTimeOut")));
    txtQuery->setText(Stored(QStringLiteral("QueryTimeOut")));

    const QString provider = Stored(QStringLiteral("Provider"), QStringLiteral("3"));
    if (provider == QLatin1String("5")) {
        optODBC->setChecked(true);
        optODBC_Click();
        if (SelectText(cboDSNList, gConnection().DSN))
            cboDSNList_Click();
        return;
    }
    if (provider == QLatin1String("3") || provider == QLatin1String("2")) {
        optDSNLess->setChecked(true);
        optDSNLess_Click();
        // A stored driver that this machine lacks falls back to the built-in one of the provider,
        // so that the mode always matches the stored database.
        if (SelectText(cboDrivers, Stored(QStringLiteral("Driver"))) ||
            SelectText(cboDrivers, provider == QLatin1String("2") ? ServerDriver : FileDriver))
            cboDrivers_Click();
        txtDatabase->setText(Stored(QStringLiteral("DataSource")));
        if (provider == QLatin1String("2"))
            txtServer->setText(Stored(QStringLiteral("Server")));
        return;
    }
    optDSNLess->setChecked(true);
    cboDrivers->setCurrentIndex(1);
    cboDrivers_Click();
    txtDatabase->setText(Stored(QStringLiteral("DataSource"), txtDatabase->text()));
}

void frmConnection::FillLists()
{
    cboDSNList->clear();
    cboDrivers->clear();
    cboDSNList->addItem(kNone);
    cboDrivers->addItems({kNone, FileDriver, ServerDriver});
    const OdbcCatalog& catalog = odbcCatalog();
    QStringList drivers;
    for (const OdbcCatalog::DataSource& source : catalog.DataSources()) {
        cboDSNList->addItem(source.name);
        drivers.append(source.driver);
    }
    drivers += catalog.Drivers();
    for (const QString& driver : drivers) {
        if (!driver.isEmpty() && cboDrivers->findText(driver, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
            cboDrivers->addItem(driver);
    }
}

bool frmConnection::ServerDriverChosen() const
{
    return cboDrivers->currentText().toUpper().contains(QLatin1String("POSTGRESQL"));
}

void frmConnection::cboDrivers_Click()
{
    m_changed = true;
    const bool server = ServerDriverChosen();
    lblServer->setText(server ? QStringLiteral("&Server Name :") : kFileLabel);
    lblServer->setBuddy(server ? txtServer : txtDatabase);
    txtServer->setEnabled(server);
    cmdDatabaseFile->setEnabled(!server);
    txtDatabase->clear();
}

void frmConnection::cboDSNList_Click()
{
    m_changed = true;
    const bool none = cboDSNList->currentText() == kNone;
    txtServer->setEnabled(none);
    txtDatabase->setEnabled(none);
    cboDrivers->setEnabled(none);
}

void frmConnection::optODBC_Click()
{
    m_changed = true;
    cboDSNList->setEnabled(true);
    for (QWidget* control : std::initializer_list<QWidget*>{cboDrivers, txtServer, txtDatabase, cmdDatabaseFile})
        control->setEnabled(false);
}

void frmConnection::optDSNLess_Click()
{
    m_changed = true;
    cboDSNList->setEnabled(false);
    for (QWidget* control : std::initializer_list<QWidget*>{cboDrivers, txtServer, txtDatabase, cmdDatabaseFile})
        control->setEnabled(true);
}

void frmConnection::cmdDatabaseFile_Click()
{
    const QString file =
        prompts().OpenFile(QString(), AppFolders::DefaultDatabaseFolder(), QStringLiteral("SQLite Files (*.db)"));
    if (!file.isEmpty())
        txtDatabase->setText(file);
}

bool frmConnection::ValidateTimeOut(QLineEdit* box)
{
    const QString text = box->text().trimmed();
    bool number = true;
    if (!text.isEmpty())
        text.toDouble(&number);
    if (number)
        return true;
    SSTab1->setCurrentIndex(2);
    prompts().Information(QStringLiteral("Please insert a numeric value in the field."));
    return false;
}

bool frmConnection::OpenByMode()
{
    AdoConnection& connection = gConnection();
    if (optODBC->isChecked()) {
        connection.DSN = cboDSNList->currentText();
        connection.SetProviderType(5);
        return connection.DataOpen();
    }
    if (!ServerDriverChosen()) {
        connection.DataSource = txtDatabase->text();
        connection.SetProviderType(3);
        return connection.OpenAccess(txtDatabase->text(), QString());
    }
    connection.SetProviderType(2);
    return connection.OpenSQLServer(txtServer->text(), txtDatabase->text(), txtUID->text(), txtPWD->text(), false);
}

int frmConnection::cmdApply_Click()
{
    if (!ValidateTimeOut(txtLogin) || !ValidateTimeOut(txtQuery))
        return 1;
    Hourglass::Set();
    // An editor left open would later save into the database chosen now.
    if (m_changed && !windowServices().CloseDocuments()) {
        Hourglass::Reset();
        return 1;
    }
    gConnection().Password = txtPWD->text();
    gConnection().UserID = txtUID->text();

    int status = 1;
    m_loginRefused = false;
    if (OpenByMode()) {
        try {
            m_loginRefused = !LoginAndUpgrade();
            status = m_loginRefused ? 1 : 0;
        } catch (const std::exception& error) {
            // Opened, but not a database this program can read.
            LogError(QStringLiteral("Error_cmdApply_Click : "), error);
        }
    }
    if (status != 0 && !m_loginRefused) {
        prompts().Critical(QStringLiteral("The connection to database failed."));
    }
    windowServices().ShowDatabaseText(txtDatabase->text());
    SaveSettings();
    Hourglass::Reset();
    // The windows are gone and the program ends.
    if (m_loginRefused)
        reject();
    return status;
}

void frmConnection::SaveSettings() const
{
    const AdoConnection& connection = gConnection();
    Settings::SaveSetting(kDataBase, QStringLiteral("Provider"), QString::number(connection.ProviderType()));
    Settings::SaveSetting(kDataBase, QStringLiteral("DataSource"), txtDatabase->text());
    Settings::SaveSetting(kDataBase, QStringLiteral("Server"), txtServer->text());
    Settings::SaveSetting(kDataBase, QStringLiteral("Driver"), cboDrivers->currentText());
    Settings::SaveSetting(kDataBase, QStringLiteral("User"), txtUID->text());
    // Kept as plain text, as start-up needs it; the settings file is readable by its owner only.
    Settings::SaveSetting(kDataBase, QStringLiteral("Password"), txtPWD->text());
    Settings::SaveSetting(kDataBase, QStringLiteral("LoginTimeOut"), txtLogin->text());
    Settings::SaveSetting(kDataBase, QStringLiteral("QueryTimeOut"), txtQuery->text());
    Settings::SaveSetting(kDataBase, QStringLiteral("DSN"), connection.DSN);
}

void frmConnection::cmdOK_Click()
{
    // A refused time-out keeps the dialog open for the correction.
    if (!ValidateTimeOut(txtLogin) || !ValidateTimeOut(txtQuery))
        return;
    cmdApply_Click();
    if (!m_loginRefused)
        accept();
}

void frmConnection::cmdCancel_Click()
{
    reject();
}
