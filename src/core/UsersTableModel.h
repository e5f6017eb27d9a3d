#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

// The rows of the users dialog: one per account of table USERS, then the new-user row, which
// turns into an account row when typed into. Deletions reach the database at once; new and
// changed accounts only through Apply.
class UsersTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Marker, Name, Password, Description, Category, Id, ColumnCount };

    explicit UsersTableModel(QObject* parent = nullptr);

    static QString CategoryName(int code);
    static int CategoryCode(const QString& name);
    // The choices of the category column.
    static QStringList CategoryNames();
    // Longest text each column takes while edited (0: not edited).
    static int EditLength(int column);

    // Reads every account: 0 done, 1 after a logged error.
    int LoadUsers();
    // Stores every account row in one transaction: 0 done; 1 when refused or failed, with the
    // message shown and nothing stored.
    int Apply();
    // Deletes the accounts of `rows` (last first), each after its question.
    void DeleteRows(QList<int> rows);

    bool IsNewUserRow(int row) const { return row == rowCount() - 1; }
    // True when no row other than `row` shows "Administrator".
    bool IsLastAdministrator(int row) const;
    // False, with the message shown, when `row` may not be left because its name is empty.
    bool CanLeaveRow(int row) const;
    // Puts "..." on `row` and "*" on the new-user row (-1: no row is being edited).
    void MarkRow(int row);
    // Shows `row` in the highlight colours (-1: none).
    void HighlightRow(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Account
    {
        QString name;
        QString password;
        QString description;
        QString category = QStringLiteral("Tester");
        QString id;
    };

    QString Text(int row, int column) const;
    void AppendNewUserRow();
    void StoreRows(QList<QString>& ids) const;

    QList<Account> m_rows;
    int m_markedRow = -1;
    int m_highlightedRow = -1;
};
