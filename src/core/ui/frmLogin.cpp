#include "core/ui/frmLogin.h"

#include "core/db/AdoConnection.h"
#include "core/ui/DialogButtons.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/Hourglass.h"
#include "platform/Prompts.h"
#include "platform/Settings.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>

namespace {

const QString kCaption = QStringLiteral("Login");

}  // namespace

frmLogin::frmLogin(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(kCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblLabels[0] = new QLabel(QStringLiteral("&User Name:"), this);
    lblLabels[1] = new QLabel(QStringLiteral("&Password:"), this);
    txtUserName = new QLineEdit(this);
    txtPassword = new QLineEdit(this);
    txtPassword->setEchoMode(QLineEdit::Password);
    lblLabels[0]->setBuddy(txtUserName);
    lblLabels[1]->setBuddy(txtPassword);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdOK->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblLabels[0], 0, 0);
    grid->addWidget(txtUserName, 0, 1);
    grid->addWidget(lblLabels[1], 1, 0);
    grid->addWidget(txtPassword, 1, 1);
    grid->addLayout(ButtonRow({cmdOK, cmdCancel}), 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    txtUserName->setMinimumWidth(200);

    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::cmdCancel_Click);
    Form_Load();
}

void frmLogin::Form_Load()
{
    Hourglass::Reset();
    txtUserName->setText(
        Settings::GetSetting(QStringLiteral("Options"), QStringLiteral("LastUser"), QStringLiteral("Admin")));
    txtPassword->setFocus();
}

void frmLogin::cmdOK_Click()
{
    try {
        QSqlQuery users =
            gConnection().Query(QStringLiteral("SELECT CATEGORY,ID FROM USERS WHERE NAME = ? AND PWD = ?"),
                                {txtUserName->text(), txtPassword->text()});
        if (!users.next()) {
            prompts().Message(QStringLiteral("Invalid Password, try again!"), kCaption, Prompts::Icon::None,
                              Prompts::Buttons::Ok);
            txtPassword->setFocus();
            txtPassword->selectAll();
            return;
        }
        gUserCategory = users.value(0).toInt();
        gUserId = users.value(1).toString();
        LoginSucceeded = true;
        accept();
    } catch (const std::exception& error) {
        prompts().Critical(QStringLiteral("An error has occurred trying to request database."));
        LogError(QStringLiteral("Error_Login:"), error);
    }
}

void frmLogin::cmdCancel_Click()
{
    Hourglass::Reset();
    LoginSucceeded = false;
    reject();
}

void frmLogin::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void frmLogin::Form_Unload()
{
    Settings::SaveSetting(QStringLiteral("Options"), QStringLiteral("LastUser"), txtUserName->text());
    Hourglass::Set();
}
