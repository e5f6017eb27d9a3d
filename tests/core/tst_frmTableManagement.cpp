#include "SchemaFixture.h"
#include "ScriptedPrompts.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/ui/frmTableManagement.h"
#include "core/UsersTableModel.h"
#include "platform/Globals.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

namespace {

using Col = UsersTableModel::Column;

// "id name pwd description category" of every USERS row, by id.
QStringList StoredUsers()
{
    QStringList rows;
    QSqlQuery query = gConnection().Query("SELECT ID, NAME, PWD, DESCRIPTION, CATEGORY FROM USERS ORDER BY ID");
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < 5; ++i)
            fields << query.value(i).toString();
        rows << fields.join(' ');
    }
    return rows;
}

void AddUser(int id, const QString& name, int category)
{
    QVERIFY(gConnection().Execute("INSERT INTO USERS VALUES (?, ?, ?, ?, ?)", {id, name, "pw", "", category}));
}

void Type(UsersTableModel* users, int row, Col column, const QString& text)
{
    QVERIFY(users->setData(users->index(row, column), text));
}

QString Cell(UsersTableModel* users, int row, Col column)
{
    return users->index(row, column).data().toString();
}

}  // namespace

// The users dialog on a real database: loading, typing, Apply in one transaction, and the
// guards that keep an administrator and the logged-in account.
class tst_frmTableManagement : public QObject
{
    Q_OBJECT

private slots:
    void gridLayout();
    void applyStoresRows_data() { TestDatabase::AddBackendRows(); }
    void applyStoresRows();
    void applyRefusals_data() { TestDatabase::AddBackendRows(); }
    void applyRefusals();
    void applyFailureStoresNothing_data() { TestDatabase::AddBackendRows(); }
    void applyFailureStoresNothing();
    void deleteGuards_data() { TestDatabase::AddBackendRows(); }
    void deleteGuards();
};

void tst_frmTableManagement::gridLayout()
{
    TestEnvironment env;
    ScriptedPrompts prompts;
    TestDatabase db("sqlite");
    KORAVEL_REQUIRE_SCHEMA(db);
    frmTableManagement dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Users Management"));
    const int dpi = dialog.logicalDpiX();
    const int twips[] = {280, 1500, 1500, 2000, 1000};
    for (int column = 0; column < 5; ++column)
        QCOMPARE(dialog.grdTable->columnWidth(column), qRound(twips[column] * dpi / 1440.0));
    QVERIFY(dialog.grdTable->isColumnHidden(Col::Id));
    UsersTableModel* users = dialog.Users();
    QCOMPARE(users->headerData(Col::Category, Qt::Horizontal).toString(), QStringLiteral("Category"));

    // The new-user row.
    QCOMPARE(users->rowCount(), 1);
    QCOMPARE(Cell(users, 0, Col::Marker), QStringLiteral("*"));
    QCOMPARE(Cell(users, 0, Col::Category), QStringLiteral("Tester"));

    // Edit lengths, and the category list.
    const struct
    {
        Col column;
        int length;
    } lengths[] = {{Col::Name, 10}, {Col::Password, 10}, {Col::Description, 50}};
    for (const auto& [column, length] : lengths) {
        QWidget* editor = dialog.grdTable->itemDelegate()->createEditor(
            dialog.grdTable->viewport(), QStyleOptionViewItem(), users->index(0, column));
        QCOMPARE(qobject_cast<QLineEdit*>(editor)->maxLength(), length);
        delete editor;
    }
    QWidget* list = dialog.grdTable->itemDelegate()->createEditor(dialog.grdTable->viewport(), QStyleOptionViewItem(),
                                                                  users->index(0, Col::Category));
    auto* box = qobject_cast<QComboBox*>(list);
    QVERIFY(box);
    QCOMPARE(box->count(), 3);
    QCOMPARE(box->itemText(0), QStringLiteral("Administrator"));
    delete list;
    QVERIFY(!(users->flags(users->index(0, Col::Marker)) & Qt::ItemIsEditable));
}

void tst_frmTableManagement::applyStoresRows()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    ScriptedPrompts prompts;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_SCHEMA(db);
    AddUser(3, "admin", 4);
    AddUser(9, "odd", 7);
    QVERIFY(gConnection().Execute("UPDATE USERS SET NAME = ? WHERE ID = ?", {"a-very-long-name-kept", 3}));

    frmTableManagement dialog;
    UsersTableModel* users = dialog.Users();
    QCOMPARE(users->rowCount(), 3);
    QCOMPARE(Cell(users, 1, Col::Category), QStringLiteral("Unknown"));
    QCOMPARE(Cell(users, 0, Col::Name), QStringLiteral("a-very-long-name-kept"));

    // Typing into the new-user row makes it an account and adds a fresh one below.
    Type(users, 2, Col::Name, "carol");
    QCOMPARE(users->rowCount(), 4);
    QCOMPARE(Cell(users, 3, Col::Marker), QStringLiteral("*"));
    Type(users, 2, Col::Password, "");
    Type(users, 2, Col::Category, "Author");
    QCOMPARE(dialog.cmdApply_Click(), 0);
    QCOMPARE(StoredUsers(), QStringList({"3 a-very-long-name-kept pw  4", "9 odd pw  1", "10 carol   3"}));
    QCOMPARE(Cell(users, 2, Col::Id), QStringLiteral("10"));

    // A second Apply updates the new account rather than adding it again.
    Type(users, 2, Col::Description, "QA lead");
    dialog.cmdOK_Click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(StoredUsers().size(), 3);
    QCOMPARE(StoredUsers().last(), QStringLiteral("10 carol  QA lead 3"));
    QVERIFY(prompts.Messages().isEmpty());
}

void tst_frmTableManagement::applyRefusals()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    ScriptedPrompts prompts;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_SCHEMA(db);
    AddUser(1, "root", 4);
    AddUser(2, "tess", 2);
    const QStringList before = StoredUsers();

    frmTableManagement dialog;
    UsersTableModel* users = dialog.Users();
    // Demoting the only administrator: refused, nothing stored, the dialog stays open.
    Type(users, 0, Col::Category, "Author");
    Type(users, 1, Col::Description, "changed");
    dialog.cmdOK_Click();
    QCOMPARE(prompts.Messages(), QStringList{"At least one account must be an Administrator."});
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(StoredUsers(), before);

    // An account row without a name is refused as well, and may not be left.
    prompts.ClearHistory();
    Type(users, 1, Col::Category, "Administrator");
    Type(users, 1, Col::Name, "");
    QCOMPARE(dialog.cmdApply_Click(), 1);
    QCOMPARE(prompts.Messages(), QStringList{"You must fill the name."});
    QCOMPARE(StoredUsers(), before);
    QVERIFY(!users->CanLeaveRow(1));
    QVERIFY(users->CanLeaveRow(0));
    QVERIFY(users->CanLeaveRow(users->rowCount() - 1));

    prompts.ClearHistory();
    Type(users, 1, Col::Name, "tess");
    QCOMPARE(dialog.cmdApply_Click(), 0);
    QCOMPARE(StoredUsers(), QStringList({"1 root pw  3", "2 tess pw changed 4"}));
}

void tst_frmTableManagement::applyFailureStoresNothing()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    ScriptedPrompts prompts;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_SCHEMA(db);
    AddUser(1, "root", 4);
    AddUser(2, "gone", 2);

    frmTableManagement dialog;
    UsersTableModel* users = dialog.Users();
    Type(users, 0, Col::Password, "new");
    Type(users, 2, Col::Name, "dave");
    // Another session removes an account the grid still shows.
    QVERIFY(gConnection().Execute("DELETE FROM USERS WHERE ID = ?", {2}));
    env.ClearBugLog();

    dialog.cmdOK_Click();
    QCOMPARE(prompts.Messages(), QStringList{"An error has occurred while applying  the changes you requested."});
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_ChangeUser:"));
    // Nothing half done: the first row's password and the new account are not stored.
    QCOMPARE(StoredUsers(), QStringList({"1 root pw  4"}));
    QVERIFY(Cell(users, 2, Col::Id).isEmpty());
}

void tst_frmTableManagement::deleteGuards()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    ScriptedPrompts prompts;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_SCHEMA(db);
    AddUser(1, "boss", 4);
    AddUser(2, "author", 3);
    AddUser(3, "second", 4);
    QVERIFY(gConnection().Execute("INSERT INTO CONFIGURATION (ID, NAME, ID_USER) VALUES (?, ?, ?)", {1, "c", 2}));
    gUserManagement = true;
    gUserId = "1";

    frmTableManagement dialog;
    UsersTableModel* users = dialog.Users();
    const QString refusedOwn = "You can not remove the account you are logged in with.";
    const QString question = "Do you want to remove the user definitively from database ?";
    const QString linked = "The user can not be removed from database because it is linked to items.";

    // From the bottom up: the new-user row is skipped, the referenced author stays, and the
    // logged-in administrator may not remove their own account.
    prompts.Push(Prompts::Answer::Yes);
    users->DeleteRows({0, 1, 3});
    QCOMPARE(prompts.Messages(), QStringList({question, linked, refusedOwn}));
    QCOMPARE(users->rowCount(), 4);
    QCOMPARE(StoredUsers().size(), 3);

    // Answering No keeps the account; Yes removes it.
    prompts.ClearHistory();
    users->DeleteRows({2});
    QCOMPARE(users->rowCount(), 4);
    prompts.Push(Prompts::Answer::Yes);
    users->DeleteRows({2});
    QCOMPARE(prompts.Messages(), QStringList({question, question}));
    QCOMPARE(users->rowCount(), 3);
    QCOMPARE(StoredUsers(), QStringList({"1 boss pw  4", "2 author pw  3"}));

    // The last administrator stays, whatever the logged-in account; a row never stored just goes.
    gUserId = "2";
    prompts.ClearHistory();
    users->DeleteRows({0});
    QCOMPARE(prompts.Messages(), QStringList{"Can not remove last administrator account."});
    Type(users, 2, Col::Name, "draft");
    QCOMPARE(users->rowCount(), 4);
    prompts.ClearHistory();
    users->DeleteRows({2});
    QVERIFY(prompts.Messages().isEmpty());
    QCOMPARE(users->rowCount(), 3);
    // The check reads the grid: with the other administrator demoted on screen, neither goes.
    Type(users, 0, Col::Category, "Tester");
    QVERIFY(users->IsLastAdministrator(1));
}

QTEST_MAIN(tst_frmTableManagement)
#include "tst_frmTableManagement.moc"
