#include "core/ui/frmConnection.h"

#include "core/ui/DialogButtons.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

const QString frmConnection::FileDriver = QStringLiteral("SQLite");
const QString frmConnection::ServerDriver = QStringLiteral("PostgreSQL");

frmConnection::frmConnection(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Connection"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    SSTab1 = new QTabWidget(this);
    SSTab1->addTab(BuildConnectionPage(), QStringLiteral("&Connection"));
    SSTab1->addTab(BuildAuthenticationPage(), QStringLiteral("&Authentication"));
    SSTab1->addTab(BuildMiscellaneousPage(), QStringLiteral("&Miscelleanous"));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdApply = new QPushButton(QStringLiteral("&Apply"), this);
    cmdOK->setDefault(true);
    LayOutDialog(this, SSTab1, {cmdOK, cmdCancel, cmdApply});

    connect(optODBC, &QRadioButton::clicked, this, &frmConnection::optODBC_Click);
    connect(optDSNLess, &QRadioButton::clicked, this, &frmConnection::optDSNLess_Click);
    connect(cboDrivers, &QComboBox::activated, this, &frmConnection::cboDrivers_Click);
    connect(cboDSNList, &QComboBox::activated, this, &frmConnection::cboDSNList_Click);
    connect(cmdDatabaseFile, &QPushButton::clicked, this, &frmConnection::cmdDatabaseFile_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmConnection::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmConnection::cmdCancel_Click);
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    WatchFocus();
    Form_Load();
}

QWidget* frmConnection::BuildConnectionPage()
{
    auto* page = new QWidget;
    Frame1 = new QGroupBox(QStringLiteral("Source of Data"), page);
    optODBC = new QRadioButton(QStringLiteral("Use &ODBC Connection"), Frame1);
    lblDataSource = new QLabel(QStringLiteral("Data Sou&rce :"), Frame1);
    cboDSNList = new QComboBox(Frame1);
    optDSNLess = new QRadioButton(QStringLiteral("Use DSN-Less &Connection String"), Frame1);
    Label2 = new QLabel(QStringLiteral("&Driver :"), Frame1);
    cboDrivers = new QComboBox(Frame1);
    lblServer = new QLabel(QStringLiteral("Database file &path :"), Frame1);
    txtServer = new QLineEdit(Frame1);
    txtDatabase = new QLineEdit(Frame1);
    cmdDatabaseFile = new QPushButton(QStringLiteral("..."), Frame1);
    lblDataSource->setBuddy(cboDSNList);
    Label2->setBuddy(cboDrivers);
    lblServer->setBuddy(txtDatabase);

    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(optODBC, 0, 0, 1, 3);
    grid->addWidget(lblDataSource, 1, 0);
    grid->addWidget(cboDSNList, 1, 1, 1, 2);
    grid->addWidget(optDSNLess, 2, 0, 1, 3);
    grid->addWidget(Label2, 3, 0);
    grid->addWidget(cboDrivers, 3, 1, 1, 2);
    grid->addWidget(lblServer, 4, 0);
    grid->addWidget(txtServer, 4, 1, 1, 2);
    grid->addWidget(txtDatabase, 5, 1);
    grid->addWidget(cmdDatabaseFile, 5, 2);
    txtDatabase->setMinimumWidth(280);
    (new QVBoxLayout(page))->addWidget(Frame1);
    return page;
}

QWidget* frmConnection::BuildAuthenticationPage()
{
    auto* page = new QWidget;
    Frame2 = new QGroupBox(QStringLiteral("Authentication Information"), page);
    Label3 = new QLabel(QStringLiteral("&User :"), Frame2);
    txtUID = new QLineEdit(Frame2);
    Label4 = new QLabel(QStringLiteral("&Password"), Frame2);
    txtPWD = new QLineEdit(Frame2);
    txtPWD->setEchoMode(QLineEdit::Password);
    Label3->setBuddy(txtUID);
    Label4->setBuddy(txtPWD);
    auto* grid = new QGridLayout(Frame2);
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(txtUID, 0, 1);
    grid->addWidget(Label4, 1, 0);
    grid->addWidget(txtPWD, 1, 1);
    grid->setRowStretch(2, 1);
    (new QVBoxLayout(page))->addWidget(Frame2);
    return page;
}

QWidget* frmConnection::BuildMiscellaneousPage()
{
    auto* page = new QWidget;
    Frame3 = new QGroupBox(QStringLiteral("&Timeout"), page);
    Label5 = new QLabel(QStringLiteral("Login timeout :"), Frame3);
    txtLogin = new QLineEdit(Frame3);
    Label6 = new QLabel(QStringLiteral("Query timeout :"), Frame3);
    txtQuery = new QLineEdit(Frame3);
    auto* grid = new QGridLayout(Frame3);
    grid->addWidget(Label5, 0, 0);
    grid->addWidget(txtLogin, 0, 1);
    grid->addWidget(Label6, 1, 0);
    grid->addWidget(txtQuery, 1, 1);
    grid->setRowStretch(2, 1);
    (new QVBoxLayout(page))->addWidget(Frame3);
    return page;
}

void frmConnection::WatchFocus()
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{cboDSNList, cboDrivers, txtDatabase, txtServer, cmdDatabaseFile, optODBC,
                                         txtUID, txtPWD, txtLogin, txtQuery})
        control->installEventFilter(this);
}

bool frmConnection::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtUID || watched == txtPWD)
            SSTab1->setCurrentIndex(1);
        else if (watched == txtLogin)
            SSTab1->setCurrentIndex(2);
        else if (watched != txtQuery)
            SSTab1->setCurrentIndex(0);
    } else if (event->type() == QEvent::FocusOut && (watched == txtLogin || watched == txtQuery)) {
        auto* box = static_cast<QLineEdit*>(watched);
        // Switching to another window or opening a menu is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return QDialog::eventFilter(watched, event);
        // Cancel leaves without the check: the dialog is dropped unsaved.
        if (!cmdCancel->underMouse() && !ValidateTimeOut(box))
            QTimer::singleShot(0, box, [box] { box->setFocus(); });
    }
    return QDialog::eventFilter(watched, event);
}
