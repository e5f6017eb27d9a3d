#include "FakeDescriptionWindows.h"
#include "ModelFixture.h"
#include "DayWindow.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "TreeFixture.h"

#include "core/services/ExplorerNodes.h"
#include "core/services/PropertyGrid.h"
#include "core/services/SelectedNode.h"
#include "model/Configuration.h"
#include "model/SelectedProperties.h"
#include "platform/Globals.h"

#include <QtTest>

using namespace TreeFixture;
using ModelFixture::Run;
using ModelFixture::Scalar;

namespace {

const QString kConfiguration = "Eqpt1";
const QString kPlan = "Eqpt1~10";
const QString kSubTest = "Eqpt1~10~10|20|1~20|21|1";             // "Twice" at level 2
const QString kProcedure = "Eqpt1~10~10|20|1~20|21|1~21|31|1$";  // "Boot" under it

}  // namespace

// The property rows of the four item kinds: layouts with and without user management, the
// editors each user category gets, and edits stored through the rows.
class tst_Properties : public QObject
{
    Q_OBJECT

private:
    static PropertyGrid& Grid() { return gPropertyGrid(); }

    // The stored tree with its explorer, user 3 "Ann" (author) and user 4 "Tom" (tester) as the
    // writers of every item.
    static void Prepare()
    {
        Run("INSERT INTO USERS (ID, NAME, PWD, DESCRIPTION, CATEGORY) VALUES (3, 'Ann', '', '', 3)");
        Run("INSERT INTO USERS (ID, NAME, PWD, DESCRIPTION, CATEGORY) VALUES (4, 'Tom', '', '', 2)");
        for (const QString table : {"CONFIGURATION", "TESTPLAN", "SUBTEST", "PROCEDURES"})
            Run("UPDATE " + table + " SET ID_USER = 3");
        FillExplorer();
    }
    static void LogIn(bool management, int category)
    {
        gUserManagement = management;
        gUserCategory = category;
        gUserId = category == 2 ? "4" : "3";
    }
    static void Select(const QString& key) { SetSelectedNode(K(key)); }
    static int RowOf(const QString& caption)
    {
        for (int row = 0; row < Grid().Rows(); ++row) {
            if (Grid().TextMatrix(row, PropertyGrid::kCaptionCol) == caption)
                return row;
        }
        return -1;
    }
    // Types `text` into the value cell of `row` of the selected item, as the property window does.
    static bool Edit(int row, const QString& text)
    {
        Refresh_Properties();
        if (BeforeEditSelectedProperty(row, PropertyGrid::kValueCol))
            return false;
        Grid().SetTextMatrix(row, PropertyGrid::kValueCol, text);
        AfterEditSelectedProperty(row, PropertyGrid::kValueCol);
        return true;
    }
    static QString Value(const QString& caption) { return Grid().TextMatrix(RowOf(caption), PropertyGrid::kValueCol); }
    // "caption|editor|value" per row: G group, x refused, p plain, b button, d button with the edit
    // picture, s status list. Each row is asked on a freshly found item.
    static QStringList Dump()
    {
        Refresh_Properties();
        QStringList rows;
        for (int row = 0; row < Grid().Rows(); ++row) {
            const QString caption = Grid().TextMatrix(row, PropertyGrid::kCaptionCol);
            const QString value = Grid().TextMatrix(row, PropertyGrid::kValueCol);
            QString editor;
            if (Grid().IsSubtotal(row) && Grid().CellFontBold(row, PropertyGrid::kCaptionCol))
                editor = "G";
            if (!BeforeEditSelectedProperty(row, PropertyGrid::kValueCol)) {
                const QString kind = Grid().EditKind(row);
                if (kind.isEmpty())
                    editor += "p";
                else if (kind == "...")
                    editor += Grid().CellButtonPicture(row) == PropertyGrid::ButtonPicture::Edit ? "d" : "b";
                else
                    editor += kind == "Passed|Warning|Failed|Canceled" ? "s" : kind;
            } else if (editor.isEmpty()) {
                editor = "x";
            }
            // Refused rows have no editor of their own; values stand left-top.
            if ((editor == "x" || editor == "G") && !Grid().EditKind(row).isEmpty())
                editor += "!" + Grid().EditKind(row);
            if (Grid().CellAlignment(row, PropertyGrid::kValueCol) != (Qt::AlignLeft | Qt::AlignTop))
                editor += "!alignment";
            rows << caption + "|" + editor + "|" + value;
        }
        return rows;
    }
    static QStringList Editable()
    {
        QStringList captions;
        Refresh_Properties();
        for (int row = 0; row < Grid().Rows(); ++row) {
            if (!BeforeEditSelectedProperty(row, PropertyGrid::kValueCol))
                captions << Grid().TextMatrix(row, PropertyGrid::kCaptionCol);
        }
        return captions;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup()
    {
        gExplorerNodes().Clear();
        SetSelectedNode({});
        QLocale::setDefault(QLocale::c());
    }

    void layouts_data();
    void layouts();
    void emptyIdShowsCaptionsOnly();
    void rightsOfTesterAndAuthor_data();
    void rightsOfTesterAndAuthor();
    void shiftedRowStoresEquipment_data();
    void shiftedRowStoresEquipment();
    void renameStoredThenShown_data();
    void renameStoredThenShown();
    void failedSaveShowsStoredName_data() { TestDatabase::AddBackendRows(); }
    void failedSaveShowsStoredName();
    void documentRowOnlySaves_data() { TestDatabase::AddBackendRows(); }
    void documentRowOnlySaves();
    void workLoadInputs_data();
    void workLoadInputs();
    void iterationInputs_data();
    void iterationInputs();
    void statusRaisesIterationCommentDoesNot_data() { TestDatabase::AddBackendRows(); }
    void statusRaisesIterationCommentDoesNot();
};

void tst_Properties::layouts_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("users");
    QTest::addColumn<QStringList>("rows");  // "?" ends a row shown only with user management

    const QString day = QLocale().toString(QDate(2024, 3, 5), QLocale::ShortFormat);
    const QStringList configuration{"Main|G|",
                                    "Name|p|Bench",
                                    "Title|b|Bench",
                                    "Description|d|(none)",
                                    "Creation date|x|" + day,
                                    "Update date|x|" + day,
                                    "Author|x|Ann?",
                                    "Equipments|G|",
                                    "First|b|Scope",
                                    "Second|b|",
                                    "Third|b|",
                                    "Links|G|",
                                    "Test plans|b|(list)"};
    const QStringList plan{"Main|G|",
                           "Name|p|Plan A",
                           "Title|b|Plan A",
                           "Description|d|(none)",
                           "Creation date|x|" + day,
                           "Update date|x|" + day,
                           "Author|x|Ann?",
                           "Links|G|",
                           "Configurations|b|(list)",
                           "Subtests|b|(list)",
                           "Publication|G|",
                           "Word template|b|(none)"};
    // Twice hangs under a sub-test only and holds procedures, no sub-tests.
    const QStringList subTest{"Main|G|",
                              "Name|p|Twice",
                              "Title|b|Twice title",
                              "Description|d|(none)",
                              "Creation date|x|" + day,
                              "Update date|x|" + day,
                              "Author|x|Ann?",
                              "Links|G|",
                              "Test plans|x|(none)",
                              "Procedures|b|(list)",
                              "Subtests  parents|b|(list)",
                              "Subtests children|x|(none)",
                              "Advancement|G|",
                              "Workload|x|2"};
    // Never played: showing it creates its result.
    const QStringList procedure{"Main|G|",
                                "Name|p|Boot",
                                "Title|b|Boot",
                                "Description|d|(none)",
                                "Creation date|x|" + day,
                                "Update date|x|" + day,
                                "Workload|p|1.5",
                                "Author|x|Ann?",
                                "Links|G|",
                                "Subtests|b|(list)",
                                "Result|G|",
                                "Expected result|d|(none)",
                                "Status|s|Failed",
                                "Comment|b|",
                                "Iteration|p|0",
                                "First played date|x|Unplayed",
                                "Last played date|x|Unplayed",
                                "Tester|x|Ann?"};
    for (const bool users : {false, true}) {
        const char* state = users ? "users" : "no users";
        QTest::addRow("configuration, %s", state) << "sqlite" << kConfiguration << users << configuration;
        QTest::addRow("test plan, %s", state) << "sqlite" << kPlan << users << plan;
        QTest::addRow("sub-test, %s", state) << "sqlite" << kSubTest << users << subTest;
        QTest::addRow("procedure, %s", state) << "sqlite" << kProcedure << users << procedure;
    }
}

void tst_Properties::layouts()
{
    QFETCH(QString, key);
    QFETCH(bool, users);
    QFETCH(QStringList, rows);
    OPEN_STORED_TREE(env, db);
    Prepare();
    LogIn(users, 3);

    QStringList expected;
    for (const QString& row : rows) {
        if (!row.endsWith('?'))
            expected << row;
        else if (users)
            expected << row.chopped(1);
    }
    Select(key);
    QCOMPARE(Dump(), expected);
    if (key == kProcedure)
        QCOMPARE(Scalar("SELECT STATUS FROM RESULT WHERE KEY_NODE = ?", {K(key)}).toInt(), 1);
    QCOMPARE(env.BugLogEntries(), 0);

    // The root shows nothing.
    Select("Root");
    Refresh_Properties();
    QCOMPARE(Grid().Rows(), 0);
}

void tst_Properties::emptyIdShowsCaptionsOnly()
{
    TestEnvironment env;
    TestDatabase db("sqlite");
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    Configuration configuration;
    configuration.Properties();
    QCOMPARE(Grid().Rows(), 12);
    QCOMPARE(Grid().TextMatrix(6, PropertyGrid::kCaptionCol), QString("Equipments"));
    for (int row = 0; row < Grid().Rows(); ++row)
        QCOMPARE(Grid().TextMatrix(row, PropertyGrid::kValueCol), QString());
}

void tst_Properties::rightsOfTesterAndAuthor_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("category");
    QTest::addColumn<QStringList>("editable");

    const QStringList none;
    QTest::newRow("configuration, tester") << "sqlite" << kConfiguration << 2 << none;
    QTest::newRow("configuration, author")
        << "sqlite" << kConfiguration << 3
        << QStringList{"Name", "Title", "Description", "First", "Second", "Third", "Test plans"};
    QTest::newRow("test plan, tester") << "sqlite" << kPlan << 2 << none;
    QTest::newRow("sub-test, tester") << "sqlite" << kSubTest << 2 << none;
    QTest::newRow("procedure, tester") << "sqlite" << kProcedure << 2 << QStringList{"Status", "Comment", "Iteration"};
    QTest::newRow("procedure, administrator")
        << "sqlite" << kProcedure << 4
        << QStringList{"Name",   "Title",   "Description", "Workload", "Subtests", "Expected result",
                       "Status", "Comment", "Iteration"};
}

void tst_Properties::rightsOfTesterAndAuthor()
{
    QFETCH(QString, key);
    QFETCH(int, category);
    QFETCH(QStringList, editable);
    OPEN_STORED_TREE(env, db);
    Prepare();
    LogIn(true, category);
    Select(key);
    QCOMPARE(Editable(), editable);
    // The value column alone is edited.
    QVERIFY(BeforeEditSelectedProperty(RowOf("Name"), PropertyGrid::kCaptionCol));
}

void tst_Properties::shiftedRowStoresEquipment_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("users");
    QTest::addColumn<int>("groupRow");
    QTest::addColumn<int>("firstRow");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::addRow("%s, no users", qPrintable(backend)) << backend << false << 6 << 7;
        QTest::addRow("%s, users", qPrintable(backend)) << backend << true << 7 << 8;
    }
}

void tst_Properties::shiftedRowStoresEquipment()
{
    QFETCH(bool, users);
    QFETCH(int, groupRow);
    QFETCH(int, firstRow);
    OPEN_STORED_TREE(env, db);
    Prepare();
    LogIn(users, 3);
    Select(kConfiguration);

    QVERIFY(!Edit(groupRow, "Probe"));
    QVERIFY(Edit(firstRow, "Probe"));
    QCOMPARE(Scalar("SELECT EQUIPMENT1 FROM CONFIGURATION WHERE ID = 1").toString(), QString("Probe"));
    QCOMPARE(Scalar("SELECT EQUIPMENT2 FROM CONFIGURATION WHERE ID = 1").isNull(), true);
    QCOMPARE(Grid().TextMatrix(firstRow, PropertyGrid::kValueCol), QString("Probe"));
    QCOMPARE(Grid().Rows(), 12 + (users ? 1 : 0));
}

void tst_Properties::renameStoredThenShown_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("imageFirst");  // the images of the item's kind
    QTest::addColumn<int>("imageLast");
    QTest::addColumn<int>("nodes");  // how many nodes show the item
    QTest::addColumn<QString>("kind");

    for (const QString& backend : TestDatabase::Backends()) {
        const QByteArray name = backend.toUtf8();
        const char* b = name.constData();
        QTest::addRow("%s, configuration", b) << backend << kConfiguration << "CONFIGURATION"
                                              << "1" << 2 << 2 << 1 << "Configuration";
        QTest::addRow("%s, test plan", b) << backend << kPlan << "TESTPLAN"
                                          << "10" << 3 << 3 << 1 << "TestPlan";
        // Twice is also linked straight under plan B: selected at level 2, renamed at level 1 too.
        QTest::addRow("%s, sub-test", b) << backend << kSubTest << "SUBTEST"
                                         << "21" << 4 << 13 << 5 << "SubTest";
        QTest::addRow("%s, procedure", b) << backend << "Eqpt1~10~10|22|2~22|32|1$"
                                          << "PROCEDURES"
                                          << "32" << 14 << 14 << 6 << "Procedure";
    }
}

void tst_Properties::renameStoredThenShown()
{
    QFETCH(QString, key);
    QFETCH(QString, table);
    QFETCH(QString, id);
    QFETCH(int, imageFirst);
    QFETCH(int, imageLast);
    QFETCH(int, nodes);
    QFETCH(QString, kind);
    OPEN_STORED_TREE(env, db);
    Run("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (11, 21, 2)");
    Prepare();
    QHash<QString, QString> before;
    for (int i = 1; i <= gExplorerNodes().Count(); ++i)
        before.insert(gExplorerNodes().Item(i)->Key(), gExplorerNodes().Item(i)->Text());
    // The item's description window, and two that only look alike.
    FakeDescriptionWindows windows;
    const QStringList titles{"Description " + kind + " : " + id + " ", "Description " + kind + " : " + id + "0 ",
                             "Description " + QString(kind == "TestPlan" ? "SubTest" : "TestPlan") + " : " + id + " "};
    for (const QString& title : titles) {
        DescriptionForm* form = windows.Create();
        form->mstrTitle = title;
        form->SetCaption("Old");
    }
    Select(key);

    // A name longer than the column is cut to it, stored, then shown.
    const QString name = QString("Renamed ").leftJustified(60, 'x');
    QVERIFY(Edit(1, name));
    const QString stored = Scalar("SELECT NAME FROM " + table + " WHERE ID = ?", {id.toInt()}).toString();
    QCOMPARE(stored, name.left(50));
    QCOMPARE(Value("Name"), stored);
    int shown = 0;
    for (int i = 1; i <= gExplorerNodes().Count(); ++i) {
        const ExplorerNode* node = gExplorerNodes().Item(i);
        const QString nodeId = node->Image() <= 3 ? node->Tag() : node->Tag().section('|', 1, 1);
        const bool item = node->Image() >= imageFirst && node->Image() <= imageLast && nodeId == id;
        QCOMPARE(node->Text(), item ? stored : before.value(node->Key()));
        shown += item ? 1 : 0;
    }
    QCOMPARE(shown, nodes);
    QCOMPARE(windows.Forms()[0]->Caption(), stored);
    QCOMPARE(windows.Forms()[1]->Caption(), QString("Old"));
    QCOMPARE(windows.Forms()[2]->Caption(), QString("Old"));
    QVERIFY(windows.TakeEvents().contains("tabs"));

    QVERIFY(Edit(2, name));
    QCOMPARE(Scalar("SELECT TITLE FROM " + table + " WHERE ID = ?", {id.toInt()}).toString(), name.left(50));
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_Properties::failedSaveShowsStoredName()
{
    OPEN_STORED_TREE(env, db);
    Prepare();
    Configuration created;
    QCOMPARE(created.Create(), 0);
    const QString key = Configuration::NodeKeyOf(created.Id());
    Select(key);
    Refresh_Properties();
    QVERIFY(!BeforeEditSelectedProperty(1, PropertyGrid::kValueCol));

    // The row goes between finding the item and storing the edit.
    Configuration configuration;
    QCOMPARE(configuration.Find(created.Id()), 0);
    Run("DELETE FROM CONFIGURATION WHERE ID = ?", {created.Id().toInt()});
    Grid().SetTextMatrix(1, PropertyGrid::kValueCol, "Lost");
    configuration.AfterEditProperty(1, PropertyGrid::kValueCol);

    QCOMPARE(gExplorerNodes().Item(key)->Text(), created.Name());
    QCOMPARE(Value("Name"), created.Name());
    QVERIFY(env.BugLog().contains("Error_Update Configuration : "));
}

void tst_Properties::documentRowOnlySaves()
{
    OPEN_STORED_TREE(env, db);
    const DayWindow days;
    Prepare();
    Run("UPDATE CONFIGURATION SET DESCRIPTION = '<p>x</p>' WHERE ID = 1");
    Select(kConfiguration);
    QVERIFY(Edit(3, "typed over"));
    QCOMPARE(Value("Description"), QString("(document)"));
    QCOMPARE(Scalar("SELECT DESCRIPTION FROM CONFIGURATION WHERE ID = 1").toString(), QString("<p>x</p>"));
    QCOMPARE(Scalar("SELECT NAME FROM CONFIGURATION WHERE ID = 1").toString(), QString("Bench"));
    KORAVEL_COMPARE_DAY_TEXT(days, Value("Update date"),
                             [](const QDate& day) { return QLocale().toString(day, QLocale::ShortFormat); });
}

void tst_Properties::workLoadInputs_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("shown");
    for (const QString& backend : TestDatabase::Backends()) {
        for (const auto& [locale, half] : {std::pair{"en_US", "1.5"}, std::pair{"fr_FR", "1,5"}}) {
            for (const QString typed : {"1.5", "1,5"})
                QTest::addRow("%s, %s, %s", qPrintable(backend), locale, qPrintable(typed))
                    << backend << QString(locale) << typed << 1.5 << QString(half);
            QTest::addRow("%s, %s, -2", qPrintable(backend), locale)
                << backend << QString(locale) << "-2" << 2.0 << QString("2");
        }
    }
    QTest::newRow("sqlite, not a number") << "sqlite"
                                          << "en_US"
                                          << "abc" << 4.0 << QString();
}

void tst_Properties::workLoadInputs()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(double, stored);
    QFETCH(QString, shown);
    OPEN_STORED_TREE(env, db);
    Prepare();
    Run("UPDATE PROCEDURES SET WORKLOAD = 4 WHERE ID = 31");
    QLocale::setDefault(QLocale(locale));
    Select(kProcedure);
    QVERIFY(Edit(6, typed));
    QCOMPARE(Scalar("SELECT WORKLOAD FROM PROCEDURES WHERE ID = 31").toDouble(), stored);
    if (shown.isEmpty()) {
        QVERIFY(env.BugLog().contains("Error_AfterEditProperty Procedure : "));
    } else {
        QCOMPARE(Value("Workload"), shown);
        QCOMPARE(env.BugLogEntries(), 0);
    }
}

void tst_Properties::iterationInputs_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::addRow("%s, -3", qPrintable(backend)) << backend << "-3" << 3;
        QTest::addRow("%s, 2.7", qPrintable(backend)) << backend << "2.7" << 2;
    }
}

void tst_Properties::iterationInputs()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    OPEN_STORED_TREE(env, db);
    Prepare();
    QLocale::setDefault(QLocale("en_US"));
    // A tester may enter results.
    LogIn(true, 2);
    Select(kProcedure);
    Refresh_Properties();
    QVERIFY(Edit(RowOf("Iteration"), typed));
    QCOMPARE(Scalar("SELECT ITERATION FROM RESULT WHERE KEY_NODE = ?", {K(kProcedure)}).toInt(), stored);
    QCOMPARE(Value("Iteration"), QString::number(stored));
    QCOMPARE(Value("Tester"), QString("Tom"));
}

void tst_Properties::statusRaisesIterationCommentDoesNot()
{
    OPEN_STORED_TREE(env, db);
    Prepare();
    Select(kProcedure);
    Refresh_Properties();
    const int status = RowOf("Status");
    const int comment = RowOf("Comment");
    const auto iteration = [] {
        return Scalar("SELECT ITERATION FROM RESULT WHERE KEY_NODE = ?", {K(kProcedure)}).toInt();
    };

    QVERIFY(Edit(status, "Passed"));
    QCOMPARE(Scalar("SELECT STATUS FROM RESULT WHERE KEY_NODE = ?", {K(kProcedure)}).toInt(), 0);
    QCOMPARE(iteration(), 1);
    QVERIFY(Edit(status, "Warning"));
    QCOMPARE(iteration(), 2);
    QCOMPARE(Value("Status"), QString("Warning"));

    // A comment longer than its column is cut to it.
    const QString text = QString("Slow boot ").leftJustified(120, '.');
    QVERIFY(Edit(comment, text));
    QCOMPARE(Scalar("SELECT COMMENT FROM RESULT WHERE KEY_NODE = ?", {K(kProcedure)}).toString(), text.left(100));
    QCOMPARE(iteration(), 2);
    QCOMPARE(Value("Status"), QString("Warning"));
    // A character of two units at the limit is left out whole, not split into half a character.
    const QString wide = QString(99, 'c') + QString::fromUtf8("\xF0\x9F\x98\x80") + "d";
    QVERIFY(Edit(comment, wide));
    QCOMPARE(Scalar("SELECT COMMENT FROM RESULT WHERE KEY_NODE = ?", {K(kProcedure)}).toString(), QString(99, 'c'));
    QVERIFY(Edit(comment, wide.left(98) + wide.mid(99)));
    QCOMPARE(Scalar("SELECT COMMENT FROM RESULT WHERE KEY_NODE = ?", {K(kProcedure)}).toString(),
             wide.left(98) + wide.mid(99, 2));
    // The result is written, the procedure not.
    QCOMPARE(Scalar("SELECT DATE_UPDATE FROM PROCEDURES WHERE ID = 31").toDate(), QDate(2024, 3, 5));
    QCOMPARE(env.BugLogEntries(), 0);
}

QTEST_GUILESS_MAIN(tst_Properties)
#include "tst_Properties.moc"
