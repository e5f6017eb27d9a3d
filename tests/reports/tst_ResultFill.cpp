#include "ResultFillFixture.h"
#include "ScriptedPrompts.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/KeyHelpers.h"
#include "core/services/ProgressBar.h"

#include <QSignalSpy>
#include <QtTest>

using namespace ResultFillFixture;
using State = ReportGrid::OutlineState;

// The result entry grid of the demonstration plan: its rows, the filter, the outline and the
// selection rules.
class tst_ResultFill : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { gExplorerNodes().Clear(); }
    void gridOfThePlan_data();
    void gridOfThePlan();
    void firstOpeningCreatesTheMissingRows_data() { TestDatabase::AddBackendRows(); }
    void firstOpeningCreatesTheMissingRows();
    void filter_data();
    void filter();
    void outline_data() { TestDatabase::AddBackendRows(); }
    void outline();
    void selectionRules_data();
    void selectionRules();
    void numbers_data();
    void numbers();
    void fillDownTarget_data() { TestDatabase::AddBackendRows(); }
    void fillDownTarget();
    void missingPlanAndBrokenDatabase_data() { TestDatabase::AddBackendRows(); }
    void missingPlanAndBrokenDatabase();
};

void tst_ResultFill::gridOfThePlan_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("users");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::newRow(qPrintable(backend + "-alone")) << backend << false;
        QTest::newRow(qPrintable(backend + "-users")) << backend << true;
    }
}

void tst_ResultFill::gridOfThePlan()
{
    QFETCH(QString, backend);
    QFETCH(bool, users);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    const QString planKey = BuildPlan();
    QVERIFY(!planKey.isEmpty());
    UserManagement management(users);

    // Opened from a procedure deep in the plan: the whole plan shows.
    ResultFill fill(planKey + NodeKey::kSeparator + "1|2|1");
    QSignalSpy reset(&fill, &ResultFill::GridReset);
    QCOMPARE(fill.LoadResultGrid(), 0);
    QCOMPARE(reset.count(), 1);
    const ReportGrid& grid = fill.Grid();
    QCOMPARE(grid.ColumnCount(), 8);
    QCOMPARE(grid.RowAt(0).cells.mid(0, 7),
             QStringList({"Test", "Procedure", "Status", "WorkLoad", "Iteration", "Tester", "Comment"}));
    QCOMPARE(grid.ColumnAt(ResultFill::colTester).hidden, !users);
    QVERIFY(grid.ColumnAt(ResultFill::colKey).hidden);
    QCOMPARE(grid.ColumnAt(ResultFill::colTest).width, 2500);

    // Name in column 0 for nodes, in column 1 for procedures; a sub-test's procedures before its
    // children; the shared sub-test and procedure listed under each parent with their own keys.
    const QStringList expected{"0 Demonstration plan",
                               "1 Power-on",
                               "- Read the boot banner",
                               "2 Supply rails",
                               "- Measure the 3.3 V rail",
                               "2 Self-test",
                               "- Run the built-in test",
                               "1 Communication",
                               "- Read the boot banner",
                               "- Echo a frame",
                               "2 Self-test",
                               "- Run the built-in test"};
    QStringList shown;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const ReportGrid::Row& line = grid.RowAt(row);
        shown << (line.node ? QString::number(line.level) + " " + line.cells[0] : "- " + line.cells[1]);
    }
    QCOMPARE(shown, expected);
    QCOMPARE(grid.RowAt(1).key, planKey);
    for (const int row : RowsWith(fill, ResultFill::colProcedure, "Run the built-in test")) {
        const QString key = grid.Cell(row, ResultFill::colKey);
        QVERIFY(key.startsWith(planKey + NodeKey::kSeparator));
        QVERIFY(key.endsWith('$'));
        QCOMPARE(grid.RowAt(row).key, key);
        QCOMPARE(grid.Cell(row, ResultFill::colWorkLoad), QLocale().toString(2.0));
        QCOMPARE(grid.Cell(row, ResultFill::colStatus), QString("Failed"));
    }
    QVERIFY(grid.Cell(RowOf(fill, "Run the built-in test", 0), ResultFill::colKey) !=
            grid.Cell(RowOf(fill, "Run the built-in test", 1), ResultFill::colKey));

    const int measure = RowOf(fill, "Measure the 3.3 V rail");
    QCOMPARE(grid.Cell(measure, ResultFill::colStatus), QString("Passed"));
    QCOMPARE(grid.Cell(measure, ResultFill::colComment), QString("3.31 V"));
    QCOMPARE(grid.Cell(measure, ResultFill::colWorkLoad), QLocale().toString(0.5));
    QCOMPARE(grid.Cell(RowOf(fill, "Echo a frame"), ResultFill::colStatus), QString("Warning"));
    // The banner was played under Power-on only.
    QCOMPARE(grid.Cell(RowOf(fill, "Read the boot banner", 0), ResultFill::colStatus), QString("Failed"));
    QCOMPARE(grid.Cell(RowOf(fill, "Read the boot banner", 0), ResultFill::colComment),
             QString("The banner shows no version."));
    QCOMPARE(grid.Cell(RowOf(fill, "Read the boot banner", 1), ResultFill::colComment), QString());
    // Rows made by this opening carry the user who opened it; without user management one blank.
    const QString tester = grid.Cell(RowOf(fill, "Echo a frame"), ResultFill::colTester);
    QCOMPARE(grid.Cell(RowOf(fill, "Run the built-in test"), ResultFill::colTester), users ? QString("Ann") : " ");
    QVERIFY(users ? !tester.trimmed().isEmpty() : tester == " ");

    // The load state: every sub-test shows, no procedure does.
    for (int row = 1; row < grid.RowCount(); ++row)
        QCOMPARE(grid.RowAt(row).hidden, !grid.IsNode(row));
    QCOMPARE(gProgressBar().Value(), 50);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_ResultFill::firstOpeningCreatesTheMissingRows()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    const QString planKey = BuildPlan();
    QCOMPARE(CountRows("RESULT"), 3);
    const int history = CountRows("HISTORY");

    // Hidden by the filter or not, every occurrence gets its row, once.
    ResultFill fill(planKey);
    fill.SetFilter(kPassed);
    QCOMPARE(CountRows("RESULT"), 6);
    QCOMPARE(ModelFixture::Scalar("SELECT COUNT(*) FROM RESULT WHERE STATUS = 1 AND COMMENT IS NULL").toInt(), 3);
    QCOMPARE(CountRows("HISTORY"), qMax(history, 1));
    QCOMPARE(ModelFixture::Scalar("SELECT COUNT_FAILED FROM HISTORY").toInt(), 4);

    ResultFill again(planKey + NodeKey::kSeparator + "1|2|1");
    QCOMPARE(again.LoadResultGrid(), 0);
    QCOMPARE(CountRows("RESULT"), 6);
    QCOMPARE(again.Grid().RowCount(), 13);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_ResultFill::filter_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("procedures");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::newRow(qPrintable(backend + "-all"))
            << backend << -1 << QStringList{"Read the boot banner", "Measure the 3.3 V rail", "Run the built-in test",
                                            "Read the boot banner", "Echo a frame",           "Run the built-in test"};
        QTest::newRow(qPrintable(backend + "-passed")) << backend << 0 << QStringList{"Measure the 3.3 V rail"};
        QTest::newRow(qPrintable(backend + "-warning")) << backend << 3 << QStringList{"Echo a frame"};
        QTest::newRow(qPrintable(backend + "-canceled")) << backend << 2 << QStringList{};
    }
}

void tst_ResultFill::filter()
{
    QFETCH(QString, backend);
    QFETCH(int, status);
    QFETCH(QStringList, procedures);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    ResultFill fill(BuildPlan());
    QCOMPARE(fill.FilterItems().size(), 5);
    QCOMPARE(fill.FilterItems().at(2), qMakePair(QString("Warning"), 3));
    fill.ExpandAllRows();
    fill.SetFilter(status);
    QCOMPARE(fill.Filter(), status);

    QStringList shown;
    int nodes = 0;
    for (int row = 1; row < fill.Grid().RowCount(); ++row) {
        if (fill.Grid().IsNode(row))
            ++nodes;
        else
            shown << fill.Grid().Cell(row, ResultFill::colProcedure);
        // Expand all stays in force through the refill.
        QVERIFY(!fill.Grid().RowAt(row).hidden);
    }
    QCOMPARE(shown, procedures);
    // Sub-test rows are never filtered.
    QCOMPARE(nodes, 6);
}

void tst_ResultFill::outline()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    ResultFill fill(BuildPlan());
    QCOMPARE(fill.LoadResultGrid(), 0);
    QSignalSpy outline(&fill, &ResultFill::OutlineChanged);
    const ReportGrid& grid = fill.Grid();
    const int power = RowsWith(fill, ResultFill::colTest, "Power-on").first();
    const int banner = RowOf(fill, "Read the boot banner");
    const int measure = RowOf(fill, "Measure the 3.3 V rail");

    // A partly expanded node opens whole; its child sub-tests keep their own state.
    fill.ToggleRow(power);
    QCOMPARE(grid.State(power), State::Expanded);
    QVERIFY(!grid.RowAt(banner).hidden);
    QVERIFY(grid.RowAt(measure).hidden);
    fill.ToggleRow(power);
    QCOMPARE(grid.State(power), State::Collapsed);
    QVERIFY(grid.RowAt(banner).hidden);
    QVERIFY(grid.RowAt(power + 2).hidden);  // Supply rails
    fill.ToggleRow(banner);                 // a procedure row has no state
    QCOMPARE(outline.count(), 2);

    fill.ExpandAllRows();
    QVERIFY(fill.Expanded());
    for (int row = 1; row < grid.RowCount(); ++row)
        QVERIFY(!grid.RowAt(row).hidden);
    fill.CollapseAllRows();
    QVERIFY(!fill.Expanded());
    for (int row = 2; row < grid.RowCount(); ++row)
        QVERIFY(grid.RowAt(row).hidden);
    // After collapse all a refill is back in the load state.
    fill.SetFilter(ResultFill::kNoFilter);
    QCOMPARE(grid.State(1), State::PartlyExpanded);
    QVERIFY(!grid.RowAt(power).hidden);
    QVERIFY(grid.RowAt(banner).hidden);
}

void tst_ResultFill::selectionRules_data()
{
    // Rows of the demonstration grid: 1 the plan, 2 Power-on, 3 a procedure, 4 a sub-test, 5 a
    // procedure.
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<int>("selectedColumn");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<bool>("opensOnClick");
    QTest::newRow("status") << 3 << 2 << 3 << 2 << true << false;
    QTest::newRow("workload") << 5 << 3 << 5 << 3 << true << true;
    QTest::newRow("iteration") << 3 << 4 << 3 << 4 << true << true;
    QTest::newRow("comment") << 5 << 6 << 5 << 6 << true << false;
    QTest::newRow("procedure name") << 3 << 1 << 3 << 1 << false << false;
    QTest::newRow("tester") << 3 << 5 << 3 << 5 << false << false;
    QTest::newRow("test column") << 3 << 0 << 1 << 0 << false << false;
    QTest::newRow("key column") << 3 << 7 << 1 << 0 << false << false;
    QTest::newRow("sub-test workload") << 4 << 3 << 1 << 0 << false << false;
    QTest::newRow("plan row") << 1 << 2 << 1 << 0 << false << false;
    QTest::newRow("header") << 0 << 2 << 1 << 0 << false << false;
    QTest::newRow("past the end") << 40 << 2 << 1 << 0 << false << false;
}

void tst_ResultFill::selectionRules()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, selectedRow);
    QFETCH(int, selectedColumn);
    QFETCH(bool, editable);
    QFETCH(bool, opensOnClick);
    TestEnvironment env;
    TestDatabase db("sqlite");
    QVERIFY(db.Open());
    ModelFixture::AddSchema();
    ResultFill fill(BuildPlan());
    QCOMPARE(fill.LoadResultGrid(), 0);
    QCOMPARE(fill.SelectableCell(row, column), qMakePair(selectedRow, selectedColumn));
    QCOMPARE(fill.IsEditable(row, column), editable);
    QCOMPARE(fill.OpensOnClick(row, column), opensOnClick);
}

void tst_ResultFill::numbers_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("workLoad");  // -1: refused
    QTest::addColumn<int>("iteration");    // -1: refused
    for (const QString locale : {"en_US", "fr_FR"}) {
        const auto row = [&](const char* name) -> QTestData& { return QTest::newRow(qPrintable(locale + "-" + name)); };
        row("comma") << locale << "1,5" << 1.5 << 1;
        row("point") << locale << "1.5" << 1.5 << 1;
        row("negative") << locale << "-2" << -2.0 << 2;
        row("fraction") << locale << "2.7" << 2.7 << 2;
        row("blanks") << locale << " 3 " << 3.0 << 3;
        row("text") << locale << "x" << -1.0 << -1;
        row("empty") << locale << "" << -1.0 << -1;
        row("grouped") << locale << "1,234.5" << -1.0 << -1;
        row("infinity") << locale << "inf" << -1.0 << -1;
        row("nan") << locale << "nan" << -1.0 << -1;
        row("beyond single precision") << locale << "1e39" << -1.0 << -1;
        row("beyond 32 bits") << locale << "3000000000" << 3e9 << -1;
    }
}

void tst_ResultFill::numbers()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, workLoad);
    QFETCH(int, iteration);
    const QLocale kept;
    QLocale::setDefault(QLocale(locale));
    const std::optional<double> read = ResultFill::ReadWorkLoad(text);
    const std::optional<int> count = ResultFill::ReadIteration(text);
    QLocale::setDefault(kept);
    QCOMPARE(read.value_or(-1.0), workLoad);
    QCOMPARE(count.value_or(-1), iteration);

    // The column's text reads back as the same number in every locale, without group separators.
    for (const float value : {1234.5f, 2500.0f, 1234567.0f, 0.1f}) {
        QLocale::setDefault(QLocale(locale));
        const QString shown = ResultFill::WorkLoadText(value);
        const std::optional<double> back = ResultFill::ReadWorkLoad(shown);
        QLocale::setDefault(kept);
        QVERIFY2(back && static_cast<float>(*back) == value, qPrintable(shown));
    }
}

void tst_ResultFill::fillDownTarget()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    ResultFill fill(BuildPlan());
    QCOMPARE(fill.LoadResultGrid(), 0);
    const ReportGrid& grid = fill.Grid();
    const int banner = RowOf(fill, "Read the boot banner");
    const int measure = RowOf(fill, "Measure the 3.3 V rail");
    const int builtIn = RowOf(fill, "Run the built-in test", 0);
    const int lastBuiltIn = RowOf(fill, "Run the built-in test", 1);
    fill.ToggleRow(banner - 1);

    // From the last procedure of a sub-test the walk passes the next sub-test, expanding it.
    QSignalSpy outline(&fill, &ResultFill::OutlineChanged);
    QCOMPARE(fill.FillDownTarget(banner), measure);
    QCOMPARE(grid.State(measure - 1), State::Expanded);
    QVERIFY(!grid.RowAt(measure).hidden);
    QCOMPARE(outline.count(), 1);
    // The next row a procedure: nothing to expand.
    const int secondBanner = RowOf(fill, "Read the boot banner", 1);
    fill.ToggleRow(secondBanner - 1);
    outline.clear();
    QCOMPARE(fill.FillDownTarget(secondBanner), secondBanner + 1);
    QCOMPARE(outline.count(), 0);
    // Past a collapsed branch, whatever its depth.
    fill.CollapseAllRows();
    fill.ToggleRow(1);
    fill.ToggleRow(banner - 1);
    QCOMPARE(fill.FillDownTarget(banner), measure);
    QVERIFY(!grid.RowAt(measure).hidden);
    QCOMPARE(fill.FillDownTarget(measure), builtIn);
    QVERIFY(!grid.RowAt(builtIn).hidden);
    QCOMPARE(fill.FillDownTarget(lastBuiltIn), -1);
    QCOMPARE(fill.FillDownCell(lastBuiltIn, ResultFill::colStatus), -1);
    QCOMPARE(fill.FillDownCell(0, ResultFill::colStatus), -1);
    QCOMPARE(fill.FillDownCell(banner, ResultFill::colProcedure), -1);
    QCOMPARE(fill.FillDownCell(banner, ResultFill::colTester), -1);
}

void tst_ResultFill::missingPlanAndBrokenDatabase()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    const QString planKey = BuildPlan();

    // A plan that is gone leaves the header row alone, without a message.
    ResultFill gone(NodeKey::kConfigurationPrefix + "1" + NodeKey::kSeparator + "999");
    QCOMPARE(gone.LoadResultGrid(), 0);
    QCOMPARE(gone.Grid().RowCount(), 1);
    QCOMPARE(gone.SelectableCell(1, 2), qMakePair(0, 0));
    QCOMPARE(env.BugLogEntries(), 0);

    // Results that cannot be created: logged, the grid keeps what was read, nothing inserted.
    ModelFixture::Run("ALTER TABLE RESULT RENAME TO RESULT_GONE");
    ResultFill broken(planKey);
    QCOMPARE(broken.LoadResultGrid(), 1);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_LoadResultGrid : "));
    QVERIFY(broken.Grid().RowCount() >= 2);
    ModelFixture::Run("ALTER TABLE RESULT_GONE RENAME TO RESULT");
    QCOMPARE(CountRows("RESULT"), 3);
}

QTEST_GUILESS_MAIN(tst_ResultFill)
#include "tst_ResultFill.moc"
