#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The login asked for when the database requires users to log in. On success it sets the
// program's user id and category; the caller reads LoginSucceeded after the dialog returns.
class frmLogin : public QDialog
{
    Q_OBJECT

public:
    explicit frmLogin(QWidget* parent = nullptr);

    bool LoginSucceeded = false;

    QLabel* lblLabels[2];
    QLineEdit* txtUserName;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();
    void cmdCancel_Click();

    // Every way of closing (OK, Cancel, Escape, the close box) remembers the typed user name.
    void done(int result) override;

private:
    void Form_Load();
    void Form_Unload();
};
