#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

// Chooses the database: a SQLite file, a PostgreSQL server or an ODBC data source. Apply reopens
// the program's connection, logs in, upgrades the schema and stores the choice in section DataBase.
class frmConnection : public QDialog
{
    Q_OBJECT

public:
    explicit frmConnection(QWidget* parent = nullptr);

    // The built-in drivers of the DSN-less mode, listed before the ODBC drivers.
    static const QString FileDriver;    // "SQLite"
    static const QString ServerDriver;  // "PostgreSQL"

    QTabWidget* SSTab1;
    QGroupBox* Frame1;
    QRadioButton* optODBC;
    QLabel* lblDataSource;
    QComboBox* cboDSNList;
    QRadioButton* optDSNLess;
    QLabel* Label2;
    QComboBox* cboDrivers;
    QLabel* lblServer;
    QLineEdit* txtServer;
    QLineEdit* txtDatabase;
    QPushButton* cmdDatabaseFile;
    QGroupBox* Frame2;
    QLabel* Label3;
    QLineEdit* txtUID;
    QLabel* Label4;
    QLineEdit* txtPWD;
    QGroupBox* Frame3;
    QLabel* Label5;
    QLineEdit* txtLogin;
    QLabel* Label6;
    QLineEdit* txtQuery;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdApply;

    // Set by the mode and list handlers; when set, Apply first closes the document windows.
    bool Changed() const { return m_changed; }

    void cboDrivers_Click();
    void cboDSNList_Click();
    void optODBC_Click();
    void optDSNLess_Click();
    void cmdDatabaseFile_Click();
    // False, with the message shown, when the box holds text that is not a number.
    bool ValidateTimeOut(QLineEdit* box);
    // 0 connected; 1 refused, failed or login refused (the settings are stored in every case
    // but a refused time-out or a document window that stayed open).
    int cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildConnectionPage();
    QWidget* BuildAuthenticationPage();
    QWidget* BuildMiscellaneousPage();
    void WatchFocus();
    void Form_Load();
    void FillLists();
    // A PostgreSQL driver in the DSN-less mode: a server, else a database file.
    bool ServerDriverChosen() const;
    bool OpenByMode();
    void SaveSettings() const;

    bool m_changed = false;
    bool m_loginRefused = false;
};
