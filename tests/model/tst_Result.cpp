#include "ModelFixture.h"
#include "DayWindow.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/NodeKey.h"
#include "model/DbValues.h"
#include "model/Procedure.h"
#include "model/Result.h"
#include "platform/Globals.h"

#include <QtTest>

using namespace ModelFixture;

namespace {

// The key of procedure `id` at `order` under sub-test 8, first under test plan 5 of `configuration`.
QString Key(int id, int order = 1, int configuration = 1)
{
    const QString s = NodeKey::kSeparator;
    return QStringLiteral("Eqpt%1").arg(configuration) + s + "5" + s + "5|8|1" + s +
           QStringLiteral("8|%1|%2$").arg(id).arg(order);
}

}  // namespace

// Results of procedure occurrences and the daily history their writes keep.
class tst_Result : public QObject
{
    Q_OBJECT

private:
    static void MakeSchema()
    {
        AddSchema();
        Run("INSERT INTO CONFIGURATION (ID) VALUES (1)");
        Run("INSERT INTO CONFIGURATION (ID) VALUES (12)");
        Run("INSERT INTO TESTPLAN (ID, ID_CONFIGURATION) VALUES (5, 1)");
        Run("INSERT INTO SUBTEST (ID) VALUES (8)");
        const QVariantList workLoads{2.0, 3.0, 4.0, 1.0, QVariant()};
        for (int i = 0; i < workLoads.size(); ++i)
            Run("INSERT INTO PROCEDURES (ID, WORKLOAD) VALUES (?, ?)", {21 + i, workLoads[i]});
    }
    static int ResultRows() { return Scalar("SELECT COUNT(*) FROM RESULT").toInt(); }
    // Plays the occurrence: its result is made on first read, then written.
    static std::shared_ptr<Result> Play(const QString& key, int status, int iteration)
    {
        Procedure procedure;
        procedure.SetKey(key);
        std::shared_ptr<Result> result = procedure.Result();
        result->SetStatus(status);
        result->SetIteration(iteration);
        [&] { QCOMPARE(result->Update(), 0); }();
        return result;
    }

private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void firstReadCreates_data() { TestDatabase::AddBackendRows(); }
    void firstReadCreates();
    void updateDates_data();
    void updateDates();
    void findAndWriteEdges_data() { TestDatabase::AddBackendRows(); }
    void findAndWriteEdges();
    void dateTexts();
    void procedureIdOfKey_data();
    void procedureIdOfKey();
    void history_data() { TestDatabase::AddBackendRows(); }
    void history();
    void historyNeedsItsTable_data() { TestDatabase::AddBackendRows(); }
    void historyNeedsItsTable();
};

void tst_Result::firstReadCreates()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();

    Procedure procedure;
    procedure.SetKey(Key(21));
    std::shared_ptr<Result> result = procedure.Result();
    QCOMPARE(ResultRows(), 1);
    QCOMPARE(Scalar("SELECT STATUS FROM RESULT WHERE KEY_NODE = ?", {Key(21)}).toInt(), 1);
    QCOMPARE(Scalar("SELECT ID_PROCEDURE FROM RESULT").toInt(), 21);
    QCOMPARE(Scalar("SELECT ID_TESTPLAN FROM RESULT").toInt(), 5);
    QVERIFY(Scalar("SELECT ITERATION FROM RESULT").isNull());
    QCOMPARE(result->Key(), Key(21));
    QCOMPARE(result->Status(), 1);
    QCOMPARE(result->Iteration(), 0);
    QCOMPARE(result->IdProcedure(), QString("21"));
    QCOMPARE(result->IdTestPlan(), QString("5"));
    QCOMPARE(result->DateCreation(), QString("Unplayed"));
    QCOMPARE(result->DateUpdate(), QString("Unplayed"));

    // A second occurrence of the same procedure has a result of its own; an object of an occurrence
    // already played finds its row.
    Procedure other;
    other.SetKey(Key(21, 2));
    QVERIFY(other.Result() != result);
    QCOMPARE(ResultRows(), 2);
    Procedure again;
    again.SetKey(Key(21));
    QCOMPARE(again.Result()->Status(), 1);
    QCOMPARE(ResultRows(), 2);
    QCOMPARE(env.BugLogEntries(), 0);

    // The second read goes nowhere near the database: a statement would now fail and be logged.
    gConnection().Close();
    QCOMPARE(procedure.Result(), result);
    QCOMPARE(env.BugLogEntries(), 0);
    Procedure unread;
    unread.SetKey(Key(22));
    unread.Result();
    QVERIFY(env.BugLogEntries() > 0);
}

void tst_Result::updateDates_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<int>("iteration");
    QTest::addColumn<QString>("held");      // first played date held before the write
    QTest::addColumn<bool>("playedToday");  // DATE_CREATION written is the day of the play
    QTest::addColumn<QDate>("stored");      // otherwise, the DATE_CREATION written
    for (const QString& engine : TestDatabase::Backends()) {
        const QByteArray bytes = engine.toUtf8();
        const char* backend = bytes.constData();
        QTest::addRow("%s first play 0", backend) << backend << 0 << "2020-01-02" << true << QDate();
        QTest::addRow("%s first play 1", backend) << backend << 1 << "2020-01-02" << true << QDate();
        QTest::addRow("%s replay keeps", backend) << backend << 3 << "2020-01-02" << false << QDate(2020, 1, 2);
        QTest::addRow("%s replay never played", backend) << backend << 2 << "" << false << QDate();
    }
}

void tst_Result::updateDates()
{
    QFETCH(QString, backend);
    QFETCH(int, iteration);
    QFETCH(QString, held);
    QFETCH(bool, playedToday);
    QFETCH(QDate, stored);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    const DayWindow today;

    Procedure procedure;
    procedure.SetKey(Key(22));
    std::shared_ptr<Result> result = procedure.Result();
    result->SetDateCreation(held);
    result->SetIteration(iteration);
    result->SetStatus(0);
    result->SetComment("slow start");
    QCOMPARE(result->Update(), 0);

    const QString where = QStringLiteral(" FROM RESULT WHERE KEY_NODE = ?");
    const QDate created = DbValues::ReadDate(Scalar("SELECT DATE_CREATION" + where, {Key(22)}));
    if (playedToday) {
        KORAVEL_COMPARE_DAY(today, created);
        stored = created;
    }
    QCOMPARE(created, stored);
    KORAVEL_COMPARE_DAY(today, DbValues::ReadDate(Scalar("SELECT DATE_UPDATE" + where, {Key(22)})));
    QCOMPARE(Scalar("SELECT ITERATION" + where, {Key(22)}).toInt(), iteration);
    QCOMPARE(Scalar("SELECT STATUS" + where, {Key(22)}).toInt(), 0);
    QCOMPARE(Scalar("SELECT COMMENT" + where, {Key(22)}).toString(), QString("slow start"));
    KORAVEL_COMPARE_DAY_TEXT(today, result->DateUpdate(),
                             [](const QDate& day) { return QLocale().toString(day, QLocale::ShortFormat); });
    QCOMPARE(result->IdTester(), QString("0"));

    Result found;
    QCOMPARE(found.Find(Key(22)), 0);
    QCOMPARE(found.Iteration(), iteration);
    QCOMPARE(found.Comment(), QString("slow start"));
    QCOMPARE(found.DateCreation(), stored.isValid() ? QLocale().toString(stored, QLocale::ShortFormat) : "Unplayed");
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_Result::findAndWriteEdges()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    Run("INSERT INTO USERS (ID, NAME, CATEGORY) VALUES (3, 'Ann', 2)");

    Result result;
    QCOMPARE(result.Find(""), 1);
    QCOMPARE(result.Find(Key(21)), 1);
    QCOMPARE(result.Key(), Key(21));
    QCOMPARE(env.BugLogEntries(), 0);

    // A row whose key has gone is not written, and the caller hears of it.
    QCOMPARE(result.Update(), 1);
    QVERIFY(env.BugLog().contains("Error_Update Result : "));
    QCOMPARE(ResultRows(), 0);

    // A key whose last segment holds no procedure id leaves ID_PROCEDURE alone.
    const QString s = NodeKey::kSeparator;
    const QString odd = "Eqpt1" + s + "5" + s + "5|8|1" + s + "8$";
    Run("INSERT INTO RESULT (KEY_NODE, ID_PROCEDURE, ID_TESTPLAN, STATUS) VALUES (?, 21, 5, 1)", {odd});
    Result oddResult;
    QCOMPARE(oddResult.Find(odd), 0);
    oddResult.SetStatus(3);
    QCOMPARE(oddResult.Update(), 0);
    QCOMPARE(Scalar("SELECT ID_PROCEDURE FROM RESULT WHERE KEY_NODE = ?", {odd}).toInt(), 21);
    QCOMPARE(Scalar("SELECT STATUS FROM RESULT WHERE KEY_NODE = ?", {odd}).toInt(), 3);

    // The tester is written and read only while user management is on.
    gUserManagement = true;
    gUserId = "3";
    Result created;
    created.SetKey(Key(23));
    QCOMPARE(created.Create(), 0);
    QCOMPARE(created.Tester(), QString("Ann"));
    QCOMPARE(Scalar("SELECT ID_USER FROM RESULT WHERE KEY_NODE = ?", {Key(23)}).toInt(), 3);
    // A second row for one key is refused.
    env.ClearBugLog();
    Result twice;
    twice.SetKey(Key(23));
    QCOMPARE(twice.Create(), 1);
    QVERIFY(env.BugLog().contains("Error_Create Result : "));
    gUserManagement = false;
    Result reader;
    QCOMPARE(reader.Find(Key(23)), 0);
    QVERIFY(reader.IdTester().isEmpty());
}

void tst_Result::dateTexts()
{
    Result result;
    result.SetDateCreation("no date");
    QCOMPARE(result.DateCreation(), QString("Unplayed"));
    const QDate day(2026, 3, 27);
    result.SetDateCreation(QLocale().toString(day, QLocale::ShortFormat));
    QCOMPARE(result.DateCreation(), QLocale().toString(day, QLocale::ShortFormat));
    result.SetDateCreation("2026-03-27");
    QCOMPARE(result.DateCreation(), QLocale().toString(day, QLocale::ShortFormat));
}

void tst_Result::procedureIdOfKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("id");
    const QString s = NodeKey::kSeparator;
    QTest::newRow("procedure") << Key(21, 2) << "21";
    QTest::newRow("sub-test: its own id") << "Eqpt1" + s + "5" + s + "5|8|1"
                                          << "8";
    QTest::newRow("more parts") << "Eqpt1" + s + "5" + s + "8|21|2|9$"
                                << "21";
    QTest::newRow("two parts") << "Eqpt1" + s + "5" + s + "8|21$"
                               << "";
    QTest::newRow("no link") << "Eqpt1" + s + "5" + s + "8$"
                             << "";
    QTest::newRow("test plan") << "Eqpt1" + s + "5"
                               << "";
    QTest::newRow("one segment") << "8|21|2$"
                                 << "";
    QTest::newRow("separator only") << s + "$"
                                    << "";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_Result::procedureIdOfKey()
{
    QFETCH(QString, key);
    QFETCH(QString, id);
    QCOMPARE(Result::ProcedureIdOfKey(key), id);
}

void tst_Result::history()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();
    const DayWindow days;

    Play(Key(21), 0, 2);  // work load 2: spent 4, planned and realized 2
    Play(Key(22), 1, 1);  // 3: spent 3, planned 3
    Play(Key(23), 2, 1);  // 4, canceled: spent 4 only
    Procedure unplayed;   // 1, never played: no iteration, planned 1
    unplayed.SetKey(Key(24));
    QCOMPARE(unplayed.Result()->Status(), 1);
    // Configuration 12 holds the same plan; its results are not those of configuration 1.
    Play(Key(21, 1, 12), 0, 1);
    // A change of locale on the same day keeps one row per day.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Play(Key(25), 3, 1);  // no work load: counted only

    // The latest day's row counts every result; a run across midnight leaves a row per day.
    const auto latest = [&] {
        return Scalar("SELECT MAX(DATE_UPDATE) FROM HISTORY WHERE ID_CONFIGURATION = 1").toString();
    };
    const auto iso = [](const QDate& day) { return day.toString(Qt::ISODate); };
    KORAVEL_COMPARE_DAY_TEXT(days, latest(), iso);
    if (!days.Changed())
        QCOMPARE(Scalar("SELECT COUNT(*) FROM HISTORY WHERE ID_CONFIGURATION = 1").toInt(), 1);
    QVariantList row{5, 1, latest()};
    const QString where = QStringLiteral(
        " FROM HISTORY WHERE ID_TESTPLAN = ? AND ID_CONFIGURATION = ? AND "
        "DATE_UPDATE = ?");
    QCOMPARE(Scalar("SELECT COUNT_PASSED" + where, row).toInt(), 1);
    QCOMPARE(Scalar("SELECT COUNT_FAILED" + where, row).toInt(), 2);
    QCOMPARE(Scalar("SELECT COUNT_CANCELED" + where, row).toInt(), 1);
    QCOMPARE(Scalar("SELECT COUNT_WARNING" + where, row).toInt(), 1);
    QCOMPARE(Scalar("SELECT WORKLOAD" + where, row).toDouble(), 11.0);
    QVERIFY(qAbs(Scalar("SELECT ADVANCEMENT" + where, row).toDouble() - 1.0 / 3.0) < 1e-6);
    QCOMPARE(Scalar("SELECT COUNT_PASSED FROM HISTORY WHERE ID_CONFIGURATION = 12").toInt(), 1);
    QCOMPARE(Scalar("SELECT COUNT_FAILED FROM HISTORY WHERE ID_CONFIGURATION = 12").toInt(), 0);
    QCOMPARE(env.BugLogEntries(), 0);

    // The row follows the latest write of the day.
    Play(Key(22), 0, 2);
    KORAVEL_COMPARE_DAY_TEXT(days, latest(), iso);
    row = {5, 1, latest()};
    QCOMPARE(Scalar("SELECT COUNT_PASSED" + where, row).toInt(), 2);
    QCOMPARE(Scalar("SELECT COUNT_FAILED" + where, row).toInt(), 1);
    QCOMPARE(Scalar("SELECT WORKLOAD" + where, row).toDouble(), 14.0);
    if (!days.Changed())
        QCOMPARE(Scalar("SELECT COUNT(*) FROM HISTORY").toInt(), 2);
}

void tst_Result::historyNeedsItsTable()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    MakeSchema();

    // A key without a test plan has no history to keep.
    Result keyless;
    QCOMPARE(keyless.Update(), 1);
    QCOMPARE(env.BugLogEntries(), 1);

    Run("DELETE FROM INFORMATION WHERE VERSION = '3.2'");
    Play(Key(21), 0, 1);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM HISTORY").toInt(), 0);
    // Nor is it stored without the history: nothing is written, and the failure is reported.
    QCOMPARE(keyless.Update(), 1);
    QCOMPARE(env.BugLogEntries(), 2);

    // A history that cannot be written takes the result write back with it.
    Procedure procedure;
    procedure.SetKey(Key(22));
    std::shared_ptr<Result> result = procedure.Result();
    QCOMPARE(ResultRows(), 2);
    Run("INSERT INTO INFORMATION (VERSION, COMMENT) VALUES ('3.2', 'History table implemented')");
    Run("DROP TABLE HISTORY");
    result->SetStatus(3);
    result->SetIteration(1);
    QCOMPARE(result->Update(), 1);
    QCOMPARE(Scalar("SELECT STATUS FROM RESULT WHERE KEY_NODE = ?", {Key(22)}).toInt(), 1);
    QCOMPARE(result->DateUpdate(), QString("Unplayed"));
    Procedure unplayed;
    unplayed.SetKey(Key(23));
    unplayed.Result();
    QCOMPARE(ResultRows(), 2);
    QVERIFY(env.BugLog().contains("Error_Create Result : "));
}

QTEST_GUILESS_MAIN(tst_Result)
#include "tst_Result.moc"
