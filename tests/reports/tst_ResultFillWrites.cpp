#include "DayWindow.h"
#include "ResultFillFixture.h"
#include "ScriptedPrompts.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/KeyHelpers.h"
#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/TestPlan.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using namespace ResultFillFixture;
using ModelFixture::Run;
using ModelFixture::Scalar;

namespace {

enum Fault {
    NoFault,
    ResultUpdateRefused,
    ResultInsertRefused,
    HistoryRefused,
    WorkLoadRefused,
    // Only the write that stores the demonstration comment "3.31 V" on another row.
    CopiedCommentRefused,
};

// A trigger that makes the engine refuse the statement.
void Refuse(const QString& table, const QString& event, const QString& when = QString())
{
    const QString name = "KVL_FAIL_" + table + "_" + event;
    if (gConnection().Dialect().IsPostgreSQL()) {
        Run("CREATE OR REPLACE FUNCTION KVL_FAIL() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'injected failure'; "
            "END $$ LANGUAGE plpgsql");
        Run(QString("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW %4 EXECUTE FUNCTION KVL_FAIL()")
                .arg(name, event, table, when.isEmpty() ? QString() : "WHEN (" + when + ")"));
    } else {
        Run(QString("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, 'injected failure'); END")
                .arg(name, event, table, when.isEmpty() ? QString() : "WHEN " + when));
    }
}

void Inject(int fault)
{
    switch (fault) {
        case ResultUpdateRefused:
            Refuse("RESULT", "UPDATE");
            break;
        case ResultInsertRefused:
            Refuse("RESULT", "INSERT");
            break;
        case HistoryRefused:
            Refuse("HISTORY", "INSERT");
            Refuse("HISTORY", "UPDATE");
            break;
        case WorkLoadRefused:
            Refuse("PROCEDURES", "UPDATE");
            break;
        case CopiedCommentRefused:
            Refuse("RESULT", "UPDATE", "NEW.COMMENT = '3.31 V'");
            break;
        default:
            break;
    }
}

QStringList Rows(const QString& sql, const QVariantList& values = {})
{
    QStringList rows;
    gConnection().ForEachRow(sql, values, [&](const QSqlQuery& row) {
        QStringList cells;
        for (int i = 0; i < row.record().count(); ++i)
            cells << (row.isNull(i) ? QStringLiteral("<null>") : row.value(i).toString());
        rows << cells.join('|');
    });
    return rows;
}

QString KeyPattern(const QString& configurationId)
{
    return NodeKey::kConfigurationPrefix + configurationId + NodeKey::kSeparator + '%';
}

// What the result entry window may write: results, daily history, work loads.
QStringList Snapshot()
{
    return Rows("SELECT * FROM RESULT ORDER BY KEY_NODE") +
           Rows("SELECT * FROM HISTORY ORDER BY ID_CONFIGURATION, DATE_UPDATE") +
           Rows("SELECT ID, WORKLOAD FROM PROCEDURES ORDER BY ID");
}

QStringList ConfigurationSnapshot(const QString& configurationId)
{
    return Rows("SELECT * FROM RESULT WHERE KEY_NODE LIKE ? ORDER BY KEY_NODE", {KeyPattern(configurationId)}) +
           Rows("SELECT * FROM HISTORY WHERE ID_CONFIGURATION = ? ORDER BY DATE_UPDATE",
                {DbValues::Id(configurationId)});
}

QVariant Stored(const QString& column, const QString& key)
{
    return Scalar("SELECT " + column + " FROM RESULT WHERE KEY_NODE = ?", {key});
}

QDate StoredDate(const QString& column, const QString& key)
{
    return DbValues::ReadDate(Stored(column, key));
}

// The procedure of an occurrence key: the id in its last segment.
QVariant ProcedureId(const QString& key)
{
    return DbValues::Id(key.section(NodeKey::kSeparator, -1).section('|', 1, 1));
}

double StoredWorkLoad(const QString& key)
{
    return Scalar("SELECT WORKLOAD FROM PROCEDURES WHERE ID = ?", {ProcedureId(key)}).toDouble();
}

// Counters that cannot be today's: a write that recomputes the row replaces them.
void SpoilHistory()
{
    QVERIFY(ResultFillFixture::CountRows("HISTORY") > 0);
    Run("UPDATE HISTORY SET COUNT_PASSED = 99, COUNT_FAILED = 99, COUNT_CANCELED = 99, COUNT_WARNING = 99");
}

// Today's passed, failed, canceled and warning counts of the plan under the configuration.
QList<int> HistoryCounts(const QString& planKey)
{
    QList<int> counts;
    for (const QString column : {"COUNT_PASSED", "COUNT_FAILED", "COUNT_CANCELED", "COUNT_WARNING"})
        counts << Scalar("SELECT " + column +
                             " FROM HISTORY WHERE ID_TESTPLAN = ? AND ID_CONFIGURATION = ? AND DATE_UPDATE = ?",
                         {DbValues::Id(TestPlanIdFromKey(planKey)), DbValues::Id(ConfigurationIdFromKey(planKey)),
                          QDate::currentDate().toString(Qt::ISODate)})
                      .toInt();
    return counts;
}

// The same counts taken from the results.
QList<int> ResultCounts(const QString& planKey)
{
    QList<int> counts;
    for (const int status : {kPassed, kFailed, kCanceled, kWarning})
        counts << Scalar("SELECT COUNT(*) FROM RESULT WHERE STATUS = ? AND KEY_NODE LIKE ?",
                         {status, KeyPattern(ConfigurationIdFromKey(planKey))})
                      .toInt();
    return counts;
}

// Links the plan under a second configuration, opens its grid there, which makes its results,
// and gives them values of their own; the configuration's id.
QString SecondConfiguration(const QString& planKey)
{
    Configuration other;
    TestPlan plan;
    if (other.Create() != 0 || plan.Find(TestPlanIdFromKey(planKey)) != 0 ||
        plan.Link(gExplorerNodes().Item(Configuration::NodeKeyOf(other.Id()))) != 0)
        return {};
    ResultFill fill(Configuration::NodeKeyOf(other.Id()) + NodeKey::kSeparator + plan.Id());
    if (fill.LoadResultGrid() != 0 || fill.Grid().RowCount() != 13)
        return {};
    if (!gConnection().Execute(
            "UPDATE RESULT SET STATUS = 2, ITERATION = 5, COMMENT = 'Bench two' WHERE KEY_NODE LIKE ?",
            {KeyPattern(other.Id())}))
        return {};
    return other.Id();
}

QStringList ProcedureKeys(const ResultFill& fill)
{
    QStringList keys;
    for (int row = 1; row < fill.Grid().RowCount(); ++row)
        if (fill.IsProcedureRow(row))
            keys << fill.Grid().Cell(row, ResultFill::colKey);
    return keys;
}

}  // namespace

// What the result entry window writes: the cell write rule, the comment dialog, the fill-down
// commands and the two bulk commands, with their failures.
class tst_ResultFillWrites : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_locale = QLocale(); }
    void cleanup()
    {
        QLocale::setDefault(m_locale);
        gExplorerNodes().Clear();
    }
    void workLoad_data();
    void workLoad();
    void cellWrites_data();
    void cellWrites();
    void failedWrites_data();
    void failedWrites();
    void unknownStatusKept_data() { TestDatabase::AddBackendRows(); }
    void unknownStatusKept();
    void commentDialog_data();
    void commentDialog();
    void fillDownCell_data();
    void fillDownCell();
    void fillDownResult_data();
    void fillDownResult();
    void bulkCommands_data();
    void bulkCommands();

private:
    QLocale m_locale;
};

void tst_ResultFillWrites::workLoad_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("stored");  // -1: refused
    QTest::addColumn<QString>("shown");
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(backend + " " + name));
        };
        row("en comma") << backend << "en_US"
                        << "1,5" << 1.5 << "1.5";
        row("en point") << backend << "en_US"
                        << "1.5" << 1.5 << "1.5";
        row("en negative") << backend << "en_US"
                           << "-2" << 2.0 << "2";
        row("fr comma") << backend << "fr_FR"
                        << "1,5" << 1.5 << "1,5";
        row("fr point") << backend << "fr_FR"
                        << "1.5" << 1.5 << "1,5";
        row("fr negative") << backend << "fr_FR"
                           << "-2" << 2.0 << "2";
        row("not a number") << backend << "fr_FR"
                            << "x" << -1.0 << "1";
        row("beyond single precision") << backend << "en_US"
                                       << "1e39" << -1.0 << "1";
    }
}

void tst_ResultFillWrites::workLoad()
{
    QFETCH(QString, backend);
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, stored);
    QFETCH(QString, shown);
    PlanDatabase plan(backend);
    RESULT_FILL_OPEN_PLAN(plan);
    QLocale::setDefault(QLocale(locale));
    ResultFill fill(plan.planKey);
    QCOMPARE(fill.LoadResultGrid(), 0);
    const QStringList results = Rows("SELECT * FROM RESULT ORDER BY KEY_NODE");
    const QString echo = fill.Grid().Cell(RowOf(fill, "Echo a frame"), ResultFill::colWorkLoad);
    QSignalSpy changed(&fill, &ResultFill::RowsChanged);

    // Edited under Communication: the work load is the procedure's, so both occurrences show it.
    const int edited = RowOf(fill, "Read the boot banner", 1);
    QCOMPARE(fill.grdResult_AfterEdit(edited, ResultFill::colWorkLoad, text), stored < 0 ? 1 : 0);
    const QString key = fill.Grid().Cell(edited, ResultFill::colKey);
    QCOMPARE(StoredWorkLoad(key), stored < 0 ? 1.0 : stored);
    QCOMPARE(fill.Grid().Cell(RowOf(fill, "Read the boot banner", 0), ResultFill::colWorkLoad), shown);
    QCOMPARE(fill.Grid().Cell(edited, ResultFill::colWorkLoad), shown);
    QCOMPARE(fill.Grid().Cell(RowOf(fill, "Echo a frame"), ResultFill::colWorkLoad), echo);
    QVERIFY(!changed.isEmpty());
    // A work load is no result.
    QCOMPARE(Rows("SELECT * FROM RESULT ORDER BY KEY_NODE"), results);
    QCOMPARE(plan.env.BugLog().contains("Error_AfterEdit Result : "), stored < 0);
}

void tst_ResultFillWrites::cellWrites_data()
{
    // On the measure row: Passed, iteration 1, "3.31 V".
    QTest::addColumn<QString>("backend");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("iteration");
    QTest::addColumn<QString>("comment");
    const QString hundred(100, QLatin1Char('c'));
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(backend + " " + name));
        };
        row("same status") << backend << int(ResultFill::colStatus) << "Passed" << 0 << 1 << "3.31 V";
        row("new status") << backend << int(ResultFill::colStatus) << "Warning" << 3 << 2 << "3.31 V";
        row("comment") << backend << int(ResultFill::colComment) << "Re-measured: 3.30 V" << 0 << 1
                       << "Re-measured: 3.30 V";
        row("comment of 100") << backend << int(ResultFill::colComment) << hundred << 0 << 1 << hundred;
        row("fractional iteration") << backend << int(ResultFill::colIteration) << "2.7" << 0 << 2 << "3.31 V";
        row("negative iteration") << backend << int(ResultFill::colIteration) << "-3" << 0 << 3 << "3.31 V";
    }
}

void tst_ResultFillWrites::cellWrites()
{
    QFETCH(QString, backend);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(int, iteration);
    QFETCH(QString, comment);
    PlanDatabase plan(backend);
    RESULT_FILL_OPEN_PLAN(plan);
    UserManagement management(true);
    ResultFill fill(plan.planKey);
    QCOMPARE(fill.LoadResultGrid(), 0);
    const int measure = RowOf(fill, "Measure the 3.3 V rail");
    const QString key = fill.Grid().Cell(measure, ResultFill::colKey);
    QVERIFY(fill.Grid().Cell(measure, ResultFill::colTester) != "Ann");
    Run("UPDATE RESULT SET DATE_UPDATE = ? WHERE KEY_NODE = ?", {DbValues::Date(QDate(2020, 1, 2)), key});
    SpoilHistory();
    const DayWindow days;

    // Every write stores the row, even one that changes nothing: date, user and history follow.
    QCOMPARE(fill.grdResult_AfterEdit(measure, column, text), 0);
    QCOMPARE(Stored("STATUS", key).toInt(), status);
    QCOMPARE(Stored("ITERATION", key).toInt(), iteration);
    QCOMPARE(Stored("COMMENT", key).toString(), comment);
    QCOMPARE(Stored("ID_USER", key).toInt(), 3);
    KORAVEL_COMPARE_DAY(days, StoredDate("DATE_UPDATE", key));
    if (!days.Changed())
        QCOMPARE(HistoryCounts(plan.planKey), ResultCounts(plan.planKey));
    const ReportGrid& grid = fill.Grid();
    QCOMPARE(grid.Cell(measure, ResultFill::colStatus), StatusName(status));
    QCOMPARE(grid.Cell(measure, ResultFill::colIteration), QString::number(iteration));
    QCOMPARE(grid.Cell(measure, ResultFill::colComment), comment);
    QCOMPARE(grid.Cell(measure, ResultFill::colTester), QString("Ann"));
    QCOMPARE(plan.env.BugLogEntries(), 0);
}

void tst_ResultFillWrites::failedWrites_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<int>("fault");
    QTest::addColumn<bool>("procedureGone");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(backend + " " + name));
        };
        row("procedure gone") << backend << int(NoFault) << true << int(ResultFill::colComment) << "Played";
        row("result refused") << backend << int(ResultUpdateRefused) << false << int(ResultFill::colStatus)
                              << "Warning";
        row("history refused") << backend << int(HistoryRefused) << false << int(ResultFill::colStatus) << "Warning";
        row("comment of 101") << backend << int(NoFault) << false << int(ResultFill::colComment)
                              << QString(101, QLatin1Char('c'));
        row("iteration not a number") << backend << int(NoFault) << false << int(ResultFill::colIteration) << "x";
        row("iteration beyond 32 bits") << backend << int(NoFault) << false << int(ResultFill::colIteration)
                                        << "3000000000";
    }
}

void tst_ResultFillWrites::failedWrites()
{
    QFETCH(QString, backend);
    QFETCH(int, fault);
    QFETCH(bool, procedureGone);
    QFETCH(int, column);
    QFETCH(QString, text);
    PlanDatabase plan(backend);
    RESULT_FILL_OPEN_PLAN(plan);
    ResultFill fill(plan.planKey);
    QCOMPARE(fill.LoadResultGrid(), 0);
    const int measure = RowOf(fill, "Measure the 3.3 V rail");
    const QString key = fill.Grid().Cell(measure, ResultFill::colKey);
    SpoilHistory();
    if (procedureGone) {
        // Another tester deleted the procedure meanwhile.
        const QVariant id = ProcedureId(key);
        Run("DELETE FROM RESULT WHERE ID_PROCEDURE = ?", {id});
        Run("DELETE FROM PROCEDURE_LINKS WHERE ID_PROCEDURE = ?", {id});
        Run("DELETE FROM PROCEDURES WHERE ID = ?", {id});
    }
    Inject(fault);
    const QStringList before = Snapshot();

    // Nothing half written; the row shows what is stored.
    QCOMPARE(fill.grdResult_AfterEdit(measure, column, text), 1);
    QCOMPARE(Snapshot(), before);
    QVERIFY(plan.env.BugLog().contains(procedureGone ? "Error_AfterEdit Result : 0\r\n" : "Error_AfterEdit Result : "));
    if (procedureGone)
        return;
    const ReportGrid& grid = fill.Grid();
    QCOMPARE(grid.Cell(measure, ResultFill::colStatus), QString("Passed"));
    QCOMPARE(grid.Cell(measure, ResultFill::colIteration), QString("1"));
    QCOMPARE(grid.Cell(measure, ResultFill::colComment), QString("3.31 V"));
}

void tst_ResultFillWrites::unknownStatusKept()
{
    QFETCH(QString, backend);
    PlanDatabase plan(backend);
    RESULT_FILL_OPEN_PLAN(plan);
    // A status this program does not know, from another version; the daily count has no counter
    // for it, so the plan keeps no history here.
    Run("UPDATE RESULT SET STATUS = 7 WHERE COMMENT = '3.31 V'");
    Run("DELETE FROM INFORMATION WHERE VERSION = '3.2'");
    ResultFill fill(plan.planKey);
    QCOMPARE(fill.LoadResultGrid(), 0);
    const int measure = RowOf(fill, "Measure the 3.3 V rail");
    const QString key = fill.Grid().Cell(measure, ResultFill::colKey);
    QCOMPARE(fill.Grid().Cell(measure, ResultFill::colStatus), QString());

    QCOMPARE(fill.grdResult_AfterEdit(measure, ResultFill::colComment, "Checked"), 0);
    QCOMPARE(Stored("COMMENT", key).toString(), QString("Checked"));
    QCOMPARE(Stored("STATUS", key).toInt(), 7);
    QCOMPARE(Stored("ITERATION", key).toInt(), 1);
    QCOMPARE(fill.Grid().Cell(measure, ResultFill::colStatus), QString());
    QCOMPARE(plan.env.BugLogEntries(), 0);

    // Its empty cell names no status: written back or copied down it would store Passed.
    QVERIFY(!fill.ValidateEdit(measure, ResultFill::colStatus, QString()));
    QVERIFY(fill.ValidateEdit(measure, ResultFill::colStatus, "Warning"));
    const QStringList before = Snapshot();
    QCOMPARE(fill.grdResult_AfterEdit(measure, ResultFill::colStatus, QString()), 1);
    const int builtIn = RowOf(fill, "Run the built-in test");
    QCOMPARE(fill.FillDownCell(measure, ResultFill::colStatus), builtIn);
    QCOMPARE(Snapshot(), before);
    QCOMPARE(fill.Grid().Cell(measure, ResultFill::colStatus), QString());
    QCOMPARE(fill.Grid().Cell(builtIn, ResultFill::colStatus), QString("Failed"));
}

void tst_ResultFillWrites::commentDialog_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<QString>("comment");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::newRow(qPrintable(backend + " confirmed"))
            << backend << QVariant("Typed in the box") << "Typed in the box";
        QTest::newRow(qPrintable(backend + " cancelled")) << backend << QVariant() << "3.31 V";
    }
}

void tst_ResultFillWrites::commentDialog()
{
    QFETCH(QString, backend);
    QFETCH(QVariant, answer);
    QFETCH(QString, comment);
    PlanDatabase plan(backend);
    RESULT_FILL_OPEN_PLAN(plan);
    UserManagement management(true);
    ResultFill fill(plan.planKey);
    QCOMPARE(fill.LoadResultGrid(), 0);
    const int measure = RowOf(fill, "Measure the 3.3 V rail");
    const QString key = fill.Grid().Cell(measure, ResultFill::colKey);
    Run("UPDATE RESULT SET DATE_UPDATE = ? WHERE KEY_NODE = ?", {DbValues::Date(QDate(2020, 1, 2)), key});
    const DayWindow days;
    ScriptedPrompts prompts;

    // Only the Comment cell has the button.
    QCOMPARE(fill.grdResult_CellButtonClick(measure, ResultFill::colStatus), 1);
    QVERIFY(prompts.History().isEmpty());

    prompts.Push(answer);
    QCOMPARE(fill.grdResult_CellButtonClick(measure, ResultFill::colComment), 0);
    QCOMPARE(prompts.History().size(), 1);
    const ScriptedPrompts::Shown& shown = prompts.History().first();
    QCOMPARE(shown.kind, QString("input"));
    QCOMPARE(shown.caption, QString("Fill result comment"));
    QCOMPARE(shown.maxLength, 100);
    QCOMPARE(shown.defaultText, QString("3.31 V"));
    // Cancelled, the unchanged comment is still written.
    QCOMPARE(Stored("COMMENT", key).toString(), comment);
    KORAVEL_COMPARE_DAY(days, StoredDate("DATE_UPDATE", key));
    QCOMPARE(fill.Grid().Cell(measure, ResultFill::colComment), comment);
    QCOMPARE(fill.Grid().Cell(measure, ResultFill::colTester), QString("Ann"));
    QCOMPARE(plan.env.BugLogEntries(), 0);
}

void tst_ResultFillWrites::fillDownCell_data()
{
    // From the measure row (Passed, 0.5, iteration 1, "3.31 V") past the Self-test row to the
    // built-in test (Failed, 2, never played, no comment).
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("edit");  // typed in the source cell first
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("stored");  // the number the target stores in the column
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(backend + " " + name));
        };
        row("status") << backend << "en_US" << int(ResultFill::colStatus) << ""
                      << "Passed" << 0.0;
        row("iteration") << backend << "en_US" << int(ResultFill::colIteration) << "4"
                         << "4" << 4.0;
        row("comment") << backend << "en_US" << int(ResultFill::colComment) << ""
                       << "3.31 V" << 0.0;
        row("work load en") << backend << "en_US" << int(ResultFill::colWorkLoad) << "1234.5"
                            << "1234.5" << 1234.5;
        row("work load de") << backend << "de_DE" << int(ResultFill::colWorkLoad) << "1234,5"
                            << "1234,5" << 1234.5;
        row("work load of eight digits") << backend << "de_DE" << int(ResultFill::colWorkLoad) << "16777215"
                                         << "16777215" << 16777215.0;
    }
}

void tst_ResultFillWrites::fillDownCell()
{
    QFETCH(QString, backend);
    QFETCH(QString, locale);
    QFETCH(int, column);
    QFETCH(QString, edit);
    QFETCH(QString, shown);
    QFETCH(double, stored);
    PlanDatabase plan(backend);
    RESULT_FILL_OPEN_PLAN(plan);
    QLocale::setDefault(QLocale(locale));
    ResultFill fill(plan.planKey);
    QCOMPARE(fill.LoadResultGrid(), 0);
    const int measure = RowOf(fill, "Measure the 3.3 V rail");
    const int builtIn = RowOf(fill, "Run the built-in test");
    const QString key = fill.Grid().Cell(builtIn, ResultFill::colKey);
    if (!edit.isEmpty())
        QCOMPARE(fill.grdResult_AfterEdit(measure, column, edit), 0);
    QCOMPARE(fill.Grid().Cell(measure, column), shown);

    QCOMPARE(fill.FillDownCell(measure, column), builtIn);
    QCOMPARE(fill.Grid().Cell(builtIn, column), shown);
    switch (column) {
        case ResultFill::colStatus:
            QCOMPARE(Stored("STATUS", key).toDouble(), stored);
            // The status changed: played once more.
            QCOMPARE(Stored("ITERATION", key).toInt(), 1);
            QCOMPARE(fill.Grid().Cell(builtIn, ResultFill::colIteration), QString("1"));
            break;
        case ResultFill::colIteration:
            QCOMPARE(Stored("ITERATION", key).toDouble(), stored);
            break;
        case ResultFill::colComment:
            QCOMPARE(Stored("COMMENT", key).toString(), shown);
            break;
        case ResultFill::colWorkLoad:
            QCOMPARE(StoredWorkLoad(key), stored);
            QCOMPARE(fill.Grid().Cell(RowOf(fill, "Run the built-in test", 1), column), shown);
            break;
    }
    QCOMPARE(plan.env.BugLogEntries(), 0);
}

void tst_ResultFillWrites::fillDownResult_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<int>("fault");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::newRow(qPrintable(backend + " copied")) << backend << int(NoFault);
        QTest::newRow(qPrintable(backend + " status refused")) << backend << int(HistoryRefused);
        QTest::newRow(qPrintable(backend + " work load refused")) << backend << int(WorkLoadRefused);
        QTest::newRow(qPrintable(backend + " comment refused")) << backend << int(CopiedCommentRefused);
    }
}

void tst_ResultFillWrites::fillDownResult()
{
    QFETCH(QString, backend);
    QFETCH(int, fault);
    PlanDatabase plan(backend);
    RESULT_FILL_OPEN_PLAN(plan);
    ResultFill fill(plan.planKey);
    QCOMPARE(fill.LoadResultGrid(), 0);
    const int measure = RowOf(fill, "Measure the 3.3 V rail");
    const int builtIn = RowOf(fill, "Run the built-in test");
    const QString key = fill.Grid().Cell(builtIn, ResultFill::colKey);
    QCOMPARE(fill.grdResult_AfterEdit(measure, ResultFill::colIteration, "4"), 0);
    SpoilHistory();
    Inject(fault);
    const QStringList before = Snapshot();

    // The status raises the target's iteration, the copied iteration then replaces it.
    QCOMPARE(fill.FillDownResult(measure, ResultFill::colProcedure), builtIn);
    const ReportGrid& grid = fill.Grid();
    const int otherBuiltIn = RowOf(fill, "Run the built-in test", 1);
    if (fault == NoFault) {
        QCOMPARE(Stored("STATUS", key).toInt(), 0);
        QCOMPARE(Stored("ITERATION", key).toInt(), 4);
        QCOMPARE(Stored("COMMENT", key).toString(), QString("3.31 V"));
        QCOMPARE(StoredWorkLoad(key), 0.5);
        QCOMPARE(HistoryCounts(plan.planKey), ResultCounts(plan.planKey));
        QCOMPARE(grid.RowAt(builtIn).cells.mid(ResultFill::colStatus, 5),
                 QStringList({"Passed", QLocale().toString(0.5), "4", " ", "3.31 V"}));
        QCOMPARE(grid.Cell(otherBuiltIn, ResultFill::colWorkLoad), QLocale().toString(0.5));
        QCOMPARE(plan.env.BugLogEntries(), 0);
        return;
    }
    // One failed write takes the others back.
    QCOMPARE(Snapshot(), before);
    QCOMPARE(grid.RowAt(builtIn).cells.mid(ResultFill::colStatus, 5),
             QStringList({"Failed", QLocale().toString(2.0), "0", " ", ""}));
    QCOMPARE(grid.Cell(otherBuiltIn, ResultFill::colWorkLoad), QLocale().toString(2.0));
    QVERIFY(plan.env.BugLog().contains("Error_AfterEdit Result : "));
}

void tst_ResultFillWrites::bulkCommands_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("users");
    QTest::addColumn<int>("fault");
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(backend + " " + name));
        };
        row("fill all") << backend << false << true << false << int(NoFault);
        row("fill all by a user") << backend << false << true << true << int(NoFault);
        row("fill all answered no") << backend << false << false << false << int(NoFault);
        row("fill all refused") << backend << false << true << false << int(ResultUpdateRefused);
        row("fill all history refused") << backend << false << true << true << int(HistoryRefused);
        row("clear all") << backend << true << true << false << int(NoFault);
        row("clear all answered no") << backend << true << false << false << int(NoFault);
        row("clear all creation refused") << backend << true << true << false << int(ResultInsertRefused);
        row("clear all history refused") << backend << true << true << false << int(HistoryRefused);
    }
}

void tst_ResultFillWrites::bulkCommands()
{
    QFETCH(QString, backend);
    QFETCH(bool, clear);
    QFETCH(bool, yes);
    QFETCH(bool, users);
    QFETCH(int, fault);
    PlanDatabase plan(backend);
    RESULT_FILL_OPEN_PLAN(plan);
    UserManagement management(users);
    const QString second = SecondConfiguration(plan.planKey);
    QVERIFY(!second.isEmpty());
    ResultFill fill(plan.planKey);
    QCOMPARE(fill.LoadResultGrid(), 0);
    const QString measure = fill.Grid().Cell(RowOf(fill, "Measure the 3.3 V rail"), ResultFill::colKey);
    const QString echo = fill.Grid().Cell(RowOf(fill, "Echo a frame"), ResultFill::colKey);
    const QString builtIn = fill.Grid().Cell(RowOf(fill, "Run the built-in test"), ResultFill::colKey);
    const QDate firstPlayed(2020, 1, 2);
    Run("UPDATE RESULT SET ITERATION = 3, DATE_CREATION = ? WHERE KEY_NODE = ?",
        {DbValues::Date(firstPlayed), measure});
    Run("UPDATE RESULT SET ITERATION = 0, DATE_CREATION = NULL WHERE KEY_NODE = ?", {echo});
    QVERIFY(Stored("ITERATION", builtIn).isNull());
    SpoilHistory();
    Inject(fault);
    const QStringList before = Snapshot();
    const QStringList otherBefore = ConfigurationSnapshot(second);
    const DayWindow days;
    ScriptedPrompts prompts;
    if (yes)
        prompts.Push(Prompts::Answer::Yes);
    QSignalSpy reset(&fill, &ResultFill::GridReset);

    QCOMPARE(clear ? fill.ClearAll() : fill.FillAll(), fault == NoFault ? 0 : 1);
    QCOMPARE(prompts.Messages(), QStringList{clear ? "Do you want to clear all the test plan results ?"
                                                   : "Do you want to set Passed the test plan results ?"});
    QCOMPARE(prompts.History().first().caption, Prompts::ProgramTitle());
    QCOMPARE(prompts.History().first().icon, Prompts::Icon::Question);
    QCOMPARE(prompts.History().first().buttons, Prompts::Buttons::YesNo);
    if (!yes || fault != NoFault) {
        QCOMPARE(Snapshot(), before);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(plan.env.BugLog().contains("Error_tlbResult: "), fault != NoFault);
        return;
    }

    const QString pattern = KeyPattern(ConfigurationIdFromKey(plan.planKey));
    const QStringList keys = ProcedureKeys(fill);
    QCOMPARE(keys.size(), 6);
    const int results = Scalar("SELECT COUNT(*) FROM RESULT WHERE KEY_NODE LIKE ?", {pattern}).toInt();
    if (clear) {
        // Every occurrence has a fresh row, and only those.
        QCOMPARE(results, 6);
        for (const QString& key : keys) {
            QCOMPARE(Stored("STATUS", key).toInt(), int(kFailed));
            QVERIFY(Stored("COMMENT", key).toString().isEmpty());
            QVERIFY(Stored("ITERATION", key).isNull());
            QVERIFY(Stored("DATE_UPDATE", key).isNull());
        }
    } else {
        // Every result of the plan here Passed and played once more, a Null iteration counting
        // as none; a first play is dated today.
        QCOMPARE(Scalar("SELECT COUNT(*) FROM RESULT WHERE STATUS = 0 AND KEY_NODE LIKE ?", {pattern}).toInt(),
                 results);
        QCOMPARE(Stored("ITERATION", measure).toInt(), 4);
        QCOMPARE(StoredDate("DATE_CREATION", measure), firstPlayed);
        for (const QString& key : {echo, builtIn}) {
            QCOMPARE(Stored("ITERATION", key).toInt(), 1);
            KORAVEL_COMPARE_DAY(days, StoredDate("DATE_CREATION", key));
        }
        for (const QString& key : keys) {
            KORAVEL_COMPARE_DAY(days, StoredDate("DATE_UPDATE", key));
            if (users)
                QCOMPARE(Stored("ID_USER", key).toInt(), 3);
        }
        if (!users)
            QVERIFY(Stored("ID_USER", measure).isNull());
    }
    if (!days.Changed())
        QCOMPARE(HistoryCounts(plan.planKey), clear ? QList<int>({0, results, 0, 0}) : QList<int>({results, 0, 0, 0}));
    // The plan under the other configuration keeps its own results and history.
    QCOMPARE(ConfigurationSnapshot(second), otherBefore);

    // The grid is read again.
    QCOMPARE(reset.count(), 1);
    QCOMPARE(ProcedureKeys(fill), keys);
    for (int row = 1; row < fill.Grid().RowCount(); ++row) {
        if (!fill.IsProcedureRow(row))
            continue;
        QCOMPARE(fill.Grid().Cell(row, ResultFill::colStatus), StatusName(clear ? kFailed : kPassed));
        if (clear)
            QCOMPARE(fill.Grid().Cell(row, ResultFill::colComment), QString());
    }
    const int measureRow = RowOf(fill, "Measure the 3.3 V rail");
    QCOMPARE(fill.Grid().Cell(measureRow, ResultFill::colIteration), QString(clear ? "0" : "4"));
    QCOMPARE(fill.Grid().Cell(measureRow, ResultFill::colComment), QString(clear ? "" : "3.31 V"));
    QCOMPARE(plan.env.BugLogEntries(), 0);
}

QTEST_GUILESS_MAIN(tst_ResultFillWrites)
#include "tst_ResultFillWrites.moc"
