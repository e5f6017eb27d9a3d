#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

// "Options": the settings of section Options (folders, help file, naming prefixes, pictures,
// publication rules, character set) and user management of the connected database.
class frmOptions : public QDialog
{
    Q_OBJECT

public:
    explicit frmOptions(QWidget* parent = nullptr);

    QTabWidget* sstOptions;
    QCheckBox* chkUserManagement;
    QLineEdit* txtTesplanTemplate;
    QLineEdit* txtConfTemplate;
    QLineEdit* txtSubtestTemplate;
    QLineEdit* txtProcedureTemplate;
    QCheckBox* chkStoreImage;
    QCheckBox* chkMultiPages;
    QLineEdit* txtCharset;
    QCheckBox* chkPageBreak;
    QCheckBox* chkUseSubTestTemplate;
    QLineEdit* txtHelp;
    QPushButton* cmdHelp;
    QLineEdit* txtTempPath;
    QPushButton* cmdTempFolder;
    QLineEdit* txtImagePath;
    QPushButton* cmdImageFolder;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdApply;

    // Stores every setting, then switches user management: 0 done, 1 when the switch failed
    // or was refused.
    int cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdTempFolder_Click();
    void cmdImageFolder_Click();
    void cmdHelp_Click();
    void chkStoreImage_Click();

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildItemsPage();
    QWidget* BuildPublicationPage();
    QWidget* BuildFoldersPage();
    void Form_Load();
    int UpdateUserManagement();
    int SwitchUserManagementOn();

    bool m_loginRefused = false;
};
