// The options dialog's filling, storing and user-management switch.
#include "core/ui/frmOptions.h"

#include "core/HelpFile.h"
#include "core/OptionDefaults.h"
#include "core/services/WindowServices.h"
#include "core/ShowLogin.h"
#include "core/UserManagementSwitch.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/Hourglass.h"
#include "platform/Prompts.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

constexpr int kAdministrator = 4;

// A stored value that is not a number counts as the key's default.
bool Checked(const QString& key)
{
    bool ok = false;
    const int value = OptionDefaults::Get(key).trimmed().toInt(&ok);
    return ok ? value != 0 : OptionDefaults::Default(key) != QLatin1String("0");
}

void Store(const QString& key, const QString& value)
{
    Settings::SaveSetting(OptionDefaults::Section, key, value);
}

void Store(const QString& key, const QCheckBox* box)
{
    Store(key, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

// Cancelling the picker keeps the folder the box shows.
void PickFolder(QLineEdit* box)
{
    const QString folder = prompts().Folder(QStringLiteral("Select a folder"), box->text());
    if (!folder.isEmpty())
        box->setText(folder);
}

}  // namespace

void frmOptions::Form_Load()
{
    chkUserManagement->setChecked(gUserManagement);
    chkUserManagement->setEnabled(!gUserManagement || gUserCategory == kAdministrator);
    txtTempPath->setText(OptionDefaults::Get(QStringLiteral("TempPath")));
    txtImagePath->setText(OptionDefaults::Get(QStringLiteral("ImagePath")));
    txtHelp->setText(OptionDefaults::Get(QStringLiteral("HelpPath")));
    chkStoreImage->setChecked(Checked(QStringLiteral("StoreImage")));
    chkUseSubTestTemplate->setChecked(Checked(QStringLiteral("SubTestTemplate")));
    chkPageBreak->setChecked(Checked(QStringLiteral("ProcedurePageBreak")));
    chkMultiPages->setChecked(Checked(QStringLiteral("MultiPages")));
    txtCharset->setText(OptionDefaults::Get(QStringLiteral("Charset")));
    txtConfTemplate->setText(OptionDefaults::Get(QStringLiteral("Configuration")));
    txtTesplanTemplate->setText(OptionDefaults::Get(QStringLiteral("TestPlan")));
    txtSubtestTemplate->setText(OptionDefaults::Get(QStringLiteral("SubTest")));
    txtProcedureTemplate->setText(OptionDefaults::Get(QStringLiteral("Procedure")));
}

void frmOptions::chkStoreImage_Click()
{
    if (chkStoreImage->isChecked() && isVisible())
        prompts().Information(QStringLiteral("Only SQLite and PostgreSQL databases manage file storage."));
}

void frmOptions::cmdTempFolder_Click()
{
    PickFolder(txtTempPath);
}

void frmOptions::cmdImageFolder_Click()
{
    PickFolder(txtImagePath);
}

void frmOptions::cmdHelp_Click()
{
    const QString file =
        prompts().OpenFile(QStringLiteral("Select help file"), HelpFile(), QStringLiteral("hlp (*.hlp)"));
    if (file.isEmpty()) {
        LogError(QStringLiteral("Error_Help : "), 32755, QStringLiteral("Cancel was selected."));
        return;
    }
    txtHelp->setText(file);
}

int frmOptions::cmdApply_Click()
{
    Store(QStringLiteral("TempPath"), txtTempPath->text());
    gTempPath = txtTempPath->text();
    Store(QStringLiteral("HelpPath"), txtHelp->text());
    SetHelpFile(txtHelp->text());
    Store(QStringLiteral("ImagePath"), txtImagePath->text());
    gImagePath = txtImagePath->text();
    Store(QStringLiteral("SubTestTemplate"), chkUseSubTestTemplate);
    Store(QStringLiteral("ProcedurePageBreak"), chkPageBreak);
    Store(QStringLiteral("MultiPages"), chkMultiPages);
    Store(QStringLiteral("Configuration"), txtConfTemplate->text());
    Store(QStringLiteral("TestPlan"), txtTesplanTemplate->text());
    Store(QStringLiteral("SubTest"), txtSubtestTemplate->text());
    Store(QStringLiteral("Procedure"), txtProcedureTemplate->text());
    Store(QStringLiteral("Charset"), txtCharset->text());
    Store(QStringLiteral("StoreImage"), chkStoreImage);
    return UpdateUserManagement();
}

void frmOptions::cmdOK_Click()
{
    cmdApply_Click();
    if (!m_loginRefused)
        accept();
}

void frmOptions::cmdCancel_Click()
{
    reject();
}

int frmOptions::UpdateUserManagement()
{
    const bool wanted = chkUserManagement->isChecked();
    if (wanted == gUserManagement)
        return 0;
    try {
        if (wanted)
            return SwitchUserManagementOn();
        UserManagementSwitch::SwitchOff();
        gUserManagement = false;
        windowServices().RefreshPropertyRows();
        return 0;
    } catch (const std::exception& error) {
        Hourglass::Reset();
        prompts().Critical(QStringLiteral("An error has occurred when applying the users' management change."));
        LogError(QStringLiteral("Error_UpdateUserManagement :"), error);
        return 1;
    }
}

int frmOptions::SwitchUserManagementOn()
{
    // The editors close first, each with its own question, so that a refused login further on
    // ends the program with nothing left unsaved. One kept open stops the switch; Apply retries.
    if (!windowServices().CloseDocuments())
        return 1;
    Hourglass::Set();
    const UserManagementSwitch::Outcome outcome = UserManagementSwitch::SwitchOn();
    Hourglass::Reset();
    if (outcome == UserManagementSwitch::Outcome::NoUserTable) {
        prompts().Critical(QStringLiteral("Can not update the database to manage users."));
        gUserManagement = false;
        return 1;
    }
    QString text = QStringLiteral("You must connect to take into account the users management.");
    if (outcome == UserManagementSwitch::Outcome::AdminCreated)
        text += QStringLiteral("\nThe default account is Admin with an empty password.");
    prompts().Information(text);
    Store(QStringLiteral("LastUser"), QStringLiteral("Admin"));
    if (!ShowLogin()) {
        // ShowLogin has closed the main window: the program ends through its normal shutdown.
        m_loginRefused = true;
        reject();
        return 1;
    }
    gUserManagement = true;
    windowServices().RefreshPropertyRows();
    Hourglass::Reset();
    return 0;
}
