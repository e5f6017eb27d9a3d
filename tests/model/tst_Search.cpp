#include "RecordingListWindow.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "TreeFixture.h"

#include "core/NodeKey.h"
#include "core/services/ItemList.h"
#include "core/services/SearchLocation.h"
#include "model/Search.h"
#include "model/SubTest.h"
#include "model/SubTestPaths.h"

#include <QtTest>

using TreeFixture::Insert;
using TreeFixture::K;

namespace {

const QDate kDay(2024, 3, 5);

QString Ids(const ItemList& list)
{
    QStringList ids;
    for (const ItemList::Row& row : list.Rows())
        ids << row.tag.mid(4);
    return ids.join(' ');
}

QStringList Tags(const ItemList& list)
{
    QStringList tags;
    for (const ItemList::Row& row : list.Rows())
        tags << QString(row.tag).replace(NodeKey::kSeparator, '~');
    return tags;
}

// Configurations 3 "Three" and 30 "Thirty" with plans 5 and 50; sub-test 2 at orders 1 and 12
// in plan 5 and at 1 in plan 50, holding procedure 7.
void BuildLocations()
{
    for (const auto& [id, name] : {std::pair{3, "Three"}, std::pair{30, "Thirty"}})
        Insert("INSERT INTO CONFIGURATION (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, ?, ?)",
               {id, name, name, kDay, kDay});
    for (const auto& [id, configuration] : {std::pair{5, 3}, std::pair{50, 30}}) {
        Insert(
            "INSERT INTO TESTPLAN (ID, NAME, TITLE, ID_CONFIGURATION, DATE_CREATION, DATE_UPDATE) "
            "VALUES (?, ?, ?, ?, ?, ?)",
            {id, QString("P%1").arg(id), "t", configuration, kDay, kDay});
        Insert("INSERT INTO CONFIGURATION_LINKS (ID_TESTPLAN, ID_CONFIGURATION) VALUES (?, ?)", {id, configuration});
    }
    Insert("INSERT INTO SUBTEST (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (2, 'S2', 't', ?, ?)",
           {kDay, kDay});
    for (const auto& [plan, order] : {std::pair{5, 1}, std::pair{5, 12}, std::pair{50, 1}})
        Insert("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (?, 2, ?)", {plan, order});
    Insert("INSERT INTO PROCEDURES (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (7, 'Pr7', 't', ?, ?)",
           {kDay, kDay});
    Insert("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (2, 7, 1)", {});
}

}  // namespace

class tst_Search : public QObject
{
    Q_OBJECT

private slots:
    void init() { gSearchLocation().Reset(); }
    void cleanup() { gSearchLocation().Reset(); }

    void textIsBoundAsTyped_data();
    void textIsBoundAsTyped();
    void allListsEveryOccurrenceInOrder_data() { TestDatabase::AddBackendRows(); }
    void allListsEveryOccurrenceInOrder();
    void subTestKeepsItsFirstLevelPlaces_data() { TestDatabase::AddBackendRows(); }
    void subTestKeepsItsFirstLevelPlaces();
    void failingSearchKeepsItsRows_data() { TestDatabase::AddBackendRows(); }
    void failingSearchKeepsItsRows();
    void locationFilters_data();
    void locationFilters();
    void locationsFilledAndRefilled_data() { TestDatabase::AddBackendRows(); }
    void locationsFilledAndRefilled();
    void parentsListFollowsLocation_data() { TestDatabase::AddBackendRows(); }
    void parentsListFollowsLocation();
};

void tst_Search::textIsBoundAsTyped_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("ids");
    const QList<std::tuple<const char*, QString, QString>> cases{
        {"quote", "O'Neil", "1"},
        {"ASCII letters without case", "o'neil", "1"},
        {"percent is no wildcard", "50%", "2"},
        {"underscore is no wildcard", "a_b", "4"},
        {"backslash", "C:\\temp", "6"},
        {"ampersand as stored", "R&D", "7"},
        {"markup as typed", "<p>R", "7"},
        {"upper-case description", "calib", "8"},
        {"accents exactly", QString::fromUtf8("é"), ""},
        {"accent as typed", QString::fromUtf8("É"), "9"},
        {"empty lists all", "", "1 2 3 4 5 6 7 8 9 10 11"},
    };
    for (const QString& backend : TestDatabase::Backends())
        for (const auto& [name, text, ids] : cases)
            QTest::newRow(qPrintable(backend + ' ' + name)) << backend << text << ids;
}

void tst_Search::textIsBoundAsTyped()
{
    QFETCH(QString, backend);
    QFETCH(QString, text);
    QFETCH(QString, ids);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    TreeFixture::MakeSchema();
    const QStringList descriptions{"Call O'Neil today",
                                   "Load 50% max",
                                   "Load 50 x max",
                                   "a_b",
                                   "axb",
                                   "C:\\temp\\file",
                                   "<p>R&amp;D</p>",
                                   "CALIBRATION",
                                   QString::fromUtf8("<b>É</b>"),
                                   QString(),
                                   "C:/temp"};
    for (int i = 0; i < descriptions.size(); ++i)
        Insert(
            "INSERT INTO CONFIGURATION (ID, NAME, TITLE, DESCRIPTION, DATE_CREATION, DATE_UPDATE) "
            "VALUES (?, ?, 't', ?, ?, ?)",
            {i + 1, QString("C%1").arg(i + 1), descriptions[i].isNull() ? QVariant() : descriptions[i], kDay, kDay});
    ItemList list;
    QCOMPARE(Search(list).Find(text, Search::kConfiguration), 0);
    QCOMPARE(Ids(list), ids);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_Search::allListsEveryOccurrenceInOrder()
{
    OPEN_STORED_TREE(env, db);
    ItemList list;
    QCOMPARE(Search(list).Find(QString(), Search::kAll), 0);
    const QString date = QLocale().toString(kDay, QLocale::ShortFormat);
    const QStringList expected{
        "Plan A|Bench|3|Eqpt1~10",
        "Plan B|Bench|3|Eqpt1~11",
        "Bench||2|Eqpt1",
        // A procedure right under a first-level sub-test: no "\" after the sub-test.
        "Power|Bench\\Plan A\\Shared|14|Eqpt1~10~10|20|1~20|30|1$",
        "Power|Bench\\Plan B\\Shared|14|Eqpt1~11~11|20|1~20|30|1$",
        "Boot|Bench\\Plan A\\Shared\\Twice|14|Eqpt1~10~10|20|1~20|21|1~21|31|1$",
        "Boot|Bench\\Plan A\\Shared\\Twice|14|Eqpt1~10~10|20|1~20|21|2~21|31|1$",
        "Boot|Bench\\Plan B\\Shared\\Twice|14|Eqpt1~11~11|20|1~20|21|1~21|31|1$",
        "Boot|Bench\\Plan B\\Shared\\Twice|14|Eqpt1~11~11|20|1~20|21|2~21|31|1$",
        "Reset|Bench\\Plan A\\Shared\\Twice|14|Eqpt1~10~10|20|1~20|21|1~21|32|2$",
        "Reset|Bench\\Plan A\\Shared\\Twice|14|Eqpt1~10~10|20|1~20|21|2~21|32|2$",
        "Reset|Bench\\Plan A\\Other|14|Eqpt1~10~10|22|2~22|32|1$",
        "Reset|Bench\\Plan B\\Shared\\Twice|14|Eqpt1~11~11|20|1~20|21|1~21|32|2$",
        "Reset|Bench\\Plan B\\Shared\\Twice|14|Eqpt1~11~11|20|1~20|21|2~21|32|2$",
        "Shared|Bench\\Plan A|4|Eqpt1~10~10|20|1",
        "Shared|Bench\\Plan B|4|Eqpt1~11~11|20|1",
        "Twice|Bench\\Plan A\\Shared|5|Eqpt1~10~10|20|1~20|21|1",
        "Twice|Bench\\Plan A\\Shared|5|Eqpt1~10~10|20|1~20|21|2",
        "Twice|Bench\\Plan B\\Shared|5|Eqpt1~11~11|20|1~20|21|1",
        "Twice|Bench\\Plan B\\Shared|5|Eqpt1~11~11|20|1~20|21|2",
        "Other|Bench\\Plan A|4|Eqpt1~10~10|22|2",
    };
    QStringList rows;
    for (const ItemList::Row& row : list.Rows()) {
        rows << QStringList{row.text, row.path, QString::number(row.icon),
                            QString(row.tag).replace(NodeKey::kSeparator, '~')}
                    .join('|');
        QCOMPARE(row.date, date);
        QCOMPARE(row.day, kDay);
    }
    QCOMPARE(rows, expected);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_Search::subTestKeepsItsFirstLevelPlaces()
{
    OPEN_STORED_TREE(env, db);
    // Twice, under Shared twice, is also a first-level sub-test of Plan B.
    Insert("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (11, 21, 2)", {});
    SubTest twice;
    twice.SetId("21");
    twice.SetName("Twice");
    ItemList list;
    ListView_AddSubtestParent(list, twice, "d");
    QCOMPARE(Tags(list), QStringList({"Eqpt1~10~10|20|1~20|21|1", "Eqpt1~10~10|20|1~20|21|2",
                                      "Eqpt1~11~11|20|1~20|21|1", "Eqpt1~11~11|20|1~20|21|2", "Eqpt1~11~11|21|2"}));
    QCOMPARE(list.Rows().last().path, QString("Bench\\Plan B"));
    QCOMPARE(list.Rows().last().icon, 4);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_Search::failingSearchKeepsItsRows()
{
    OPEN_STORED_TREE(env, db);
    // Sub-tests 101 and 102 hold each other, with procedure 33 below: foreign data only.
    for (int id : {101, 102})
        Insert("INSERT INTO SUBTEST (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (?, 'Loop', 't', ?, ?)",
               {id, kDay, kDay});
    Insert("INSERT INTO PROCEDURES (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (33, 'Late', 't', ?, ?)",
           {kDay, kDay});
    Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (101, 102, 1)", {});
    Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (102, 101, 1)", {});
    Insert("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (101, 33, 1)", {});

    ItemList list;
    QCOMPARE(Search(list).Find(QString(), Search::kAll), 1);
    QStringList names;
    for (const ItemList::Row& row : list.Rows())
        names << row.text;
    names.removeDuplicates();
    QCOMPARE(names, QStringList({"Plan A", "Plan B", "Bench", "Power", "Boot", "Reset", "Shared", "Twice", "Other"}));
    QCOMPARE(env.BugLogEntries(), 2);
    QVERIFY(env.BugLog().contains("Error_SearchProcedures : "));
    QVERIFY(env.BugLog().contains("Error_SearchSubTest : "));
}

void tst_Search::locationFilters_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("tags");
    const QStringList all{"Eqpt3~5",
                          "Eqpt30~50",
                          "Eqpt3",
                          "Eqpt30",
                          "Eqpt3~5~5|2|1~2|7|1$",
                          "Eqpt3~5~5|2|12~2|7|1$",
                          "Eqpt30~50~50|2|1~2|7|1$",
                          "Eqpt3~5~5|2|1",
                          "Eqpt3~5~5|2|12",
                          "Eqpt30~50~50|2|1"};
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(backend + ' ' + name)) << backend;
        };
        row("whole database") << "Test Plan Database"
                              << "Root" << all;
        row("configuration 3 is not 30")
            << "Three"
            << "KeyId:Eqpt3"
            << QStringList{"Eqpt3~5",       "Eqpt3",         "Eqpt3~5~5|2|1~2|7|1$", "Eqpt3~5~5|2|12~2|7|1$",
                           "Eqpt3~5~5|2|1", "Eqpt3~5~5|2|12"};
        row("test plan") << "P50" << K("KeyId:Eqpt30~50")
                         << QStringList{"Eqpt30~50", "Eqpt30", "Eqpt30~50~50|2|1~2|7|1$", "Eqpt30~50~50|2|1"};
        row("sub-test at order 1 is not 12")
            << "S2" << K("KeyId:Eqpt3~5~5|2|1")
            << QStringList{"Eqpt3~5", "Eqpt3", "Eqpt3~5~5|2|1~2|7|1$", "Eqpt3~5~5|2|1"};
        row("no key") << ""
                      << "" << all;
        row("deleted item") << "Gone"
                            << "KeyId:Eqpt99" << QStringList();
    }
}

void tst_Search::locationFilters()
{
    QFETCH(QString, backend);
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(QStringList, tags);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    TreeFixture::MakeSchema();
    BuildLocations();
    gSearchLocation().Choose(text, key);
    ItemList list;
    QCOMPARE(Search(list).Find(QString(), Search::kAll), 0);
    QCOMPARE(Tags(list), tags);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_Search::locationsFilledAndRefilled()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    TreeFixture::MakeSchema();
    BuildLocations();
    SearchLocation& location = gSearchLocation();
    QCOMPARE(location.Fill(), 0);
    QStringList entries;
    for (const SearchLocation::Entry& entry : location.Entries())
        entries << QString("%1 %2 %3 %4")
                       .arg(entry.text, QString(entry.key).replace(NodeKey::kSeparator, '~'))
                       .arg(entry.image)
                       .arg(entry.indentation);
    QCOMPARE(entries,
             QStringList({"Test Plan Database Root 1 0", "Three KeyId:Eqpt3 2 1", "P5 KeyId:Eqpt3~5 3 2",
                          "S2 KeyId:Eqpt3~5~5|2|1 4 3", "S2 KeyId:Eqpt3~5~5|2|12 4 3", "Thirty KeyId:Eqpt30 2 1",
                          "P50 KeyId:Eqpt30~50 3 2", "S2 KeyId:Eqpt30~50~50|2|1 4 3"}));
    QCOMPARE(location.ChosenIndex(), 0);
    QCOMPARE(location.Text(), QString("Test Plan Database"));

    // A new configuration before it moves the chosen plan down; it stays chosen.
    location.Choose(6);
    Insert("INSERT INTO CONFIGURATION (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (4, 'Four', 't', ?, ?)",
           {kDay, kDay});
    QCOMPARE(location.Refill(), 0);
    QCOMPARE(location.ChosenIndex(), 7);
    QCOMPARE(location.Key(), K("KeyId:Eqpt30~50"));

    // Once the plan has left the configuration, the whole database is the location again.
    Insert("DELETE FROM CONFIGURATION_LINKS WHERE ID_TESTPLAN = 50", {});
    QCOMPARE(location.Refill(), 0);
    QCOMPARE(location.ChosenIndex(), 0);
    QCOMPARE(location.Key(), QString("Root"));
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_Search::parentsListFollowsLocation()
{
    OPEN_STORED_TREE(env, db);
    RecordingListWindow window;
    SubTest twice;
    twice.SetId("21");
    twice.SetLevel(5);
    QCOMPARE(twice.LoadSubTestParents(true), 0);
    gSearchLocation().Choose("Plan A", K("KeyId:Eqpt1~10"));
    QCOMPARE(twice.LoadSubTestParents(true), 0);
    QCOMPARE(window.shown.size(), 2);
    QCOMPARE(window.shown[0].size(), 4);
    QCOMPARE(window.shown[1].size(), 2);
    for (const ItemList::Row& row : window.shown[1]) {
        QCOMPARE(row.text, QString("Shared"));
        QCOMPARE(row.path, QString("Bench\\Plan A"));
        QCOMPARE(row.tag, K("Eqpt1~10~10|20|1"));
        QCOMPARE(row.day, kDay);
    }
    QCOMPARE(env.BugLogEntries(), 0);
}

QTEST_GUILESS_MAIN(tst_Search)
#include "tst_Search.moc"
