#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box of the Help menu: the program's title and version, a legal warning, the contact
// labels (mail and web, clickable) and a button that starts the desktop's system information tool.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* lblTitle;
    QLabel* lblDescription;
    QLabel* lblInfo;
    QLabel* lblMail;
    QLabel* lblWeb;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    // Starts the first system information tool found on the PATH; a message when there is none
    // or it does not start.
    void StartSysInfo();

    void cmdOK_Click();
    void cmdSysInfo_Click();
    void lblMail_Click();
    void lblWeb_Click();

    static QString MailAddress();
    static QString WebAddress();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
};
