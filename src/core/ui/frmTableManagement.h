#pragma once

#include <QDialog>

class QPushButton;
class QTableView;
class UsersTableModel;

// "Users Management": the accounts of table USERS in an editable grid, for administrators.
class frmTableManagement : public QDialog
{
    Q_OBJECT

public:
    explicit frmTableManagement(QWidget* parent = nullptr);

    QTableView* grdTable;
    QPushButton* cmdOK;
    QPushButton* cmdApply;
    QPushButton* cmdCancel;

    UsersTableModel* Users() const { return m_users; }

    // 0 stored; 1 refused or failed (message shown, nothing stored).
    int cmdApply_Click();
    // Closes only after a successful Apply, so nothing typed is lost to a failure.
    void cmdOK_Click();
    void cmdCancel_Click();
    // Delete removes the accounts of the selected rows.
    void grdTable_KeyDown(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void grdTable_CurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void grdTable_Clicked(const QModelIndex& index);

    UsersTableModel* m_users;
    bool m_returning = false;
};
