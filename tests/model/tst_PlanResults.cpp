#include "DayWindow.h"
#include "ModelFixture.h"
#include "OrderFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "model/DbValues.h"
#include "model/PlanResults.h"
#include "model/Result.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using namespace ModelFixture;
using OrderFixture::K;
using OrderFixture::Rows;

namespace {

// The key of procedure `id` at `order` under sub-test 8, first under test plan `plan` of
// `configuration`.
QString Key(int id, int order = 1, int configuration = 1, int plan = 5)
{
    return K(QStringLiteral("Eqpt%1~%2~%2|8|1~8|%3|%4$").arg(configuration).arg(plan).arg(id).arg(order));
}

void Store(const QString& key, int status, const QVariant& iteration, const QVariant& created = QVariant(),
           const QVariant& user = QVariant(), int plan = 5)
{
    const QString procedure = key.section('|', -2, -2);
    Run("INSERT INTO RESULT (KEY_NODE, ID_PROCEDURE, ID_TESTPLAN, STATUS, ITERATION, DATE_CREATION, ID_USER) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)",
        {key, procedure.toInt(), plan, status, iteration, created, user});
}

QStringList ResultRows()
{
    return Rows("SELECT KEY_NODE, STATUS, ITERATION, COMMENT, DATE_CREATION, DATE_UPDATE, ID_USER FROM RESULT");
}

QStringList HistoryRows()
{
    return Rows(
        "SELECT ID_TESTPLAN, ID_CONFIGURATION, DATE_UPDATE, COUNT_PASSED, COUNT_FAILED, COUNT_CANCELED, "
        "COUNT_WARNING FROM HISTORY");
}

// The first row of a query, its values joined by blanks; "none" without a row.
QString Line(const QString& sql, const QVariantList& values)
{
    QSqlQuery query = gConnection().Query(sql, values);
    if (!query.next())
        return QStringLiteral("none");
    QStringList line;
    for (int i = 0; i < query.record().count(); ++i)
        line << (query.isNull(i) ? QString() : query.value(i).toString());
    return line.join(' ');
}

// "status iteration creation update user" of one result.
QString Row(const QString& key)
{
    return Line("SELECT STATUS, ITERATION, DATE_CREATION, DATE_UPDATE, ID_USER FROM RESULT WHERE KEY_NODE = ?", {key});
}

QString Today(const DayWindow& days)
{
    return days.Expected(QDate::currentDate()).toString(Qt::ISODate);
}

// Today's history counts of plan 5 under configuration 1: passed, failed, canceled, warning.
QString TodaysCounts(const DayWindow& days)
{
    return Line(
        "SELECT COUNT_PASSED, COUNT_FAILED, COUNT_CANCELED, COUNT_WARNING FROM HISTORY WHERE ID_TESTPLAN = 5 "
        "AND ID_CONFIGURATION = 1 AND DATE_UPDATE = ?",
        {Today(days)});
}

void AddUserRows()
{
    QTest::addColumn<bool>("users");
    QTest::newRow("") << false;
    QTest::newRow("users") << true;
}

}  // namespace

// A test plan's results under one configuration: read at once without writing, created in bulk,
// filled and cleared.
class tst_PlanResults : public QObject
{
    Q_OBJECT

private:
    static void MakeSchema()
    {
        AddSchema();
        Run("INSERT INTO CONFIGURATION (ID) VALUES (1)");
        Run("INSERT INTO CONFIGURATION (ID) VALUES (12)");
        Run("INSERT INTO TESTPLAN (ID, ID_CONFIGURATION) VALUES (5, 1)");
        Run("INSERT INTO TESTPLAN (ID, ID_CONFIGURATION) VALUES (6, 1)");
        Run("INSERT INTO USERS (ID, NAME, CATEGORY) VALUES (3, 'Ann', 2)");
        for (int id = 21; id <= 25; ++id)
            Run("INSERT INTO PROCEDURES (ID, WORKLOAD) VALUES (?, 1)", {id});
    }
    static void Users(bool on)
    {
        gUserManagement = on;
        gUserId = on ? QStringLiteral("3") : QString();
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestDatabase> m_db;

private slots:
    void initTestCase_data() { TestDatabase::AddBackendRows(); }
    void init()
    {
        QFETCH_GLOBAL(QString, backend);
        m_env = std::make_unique<TestEnvironment>();
        m_db = std::make_unique<TestDatabase>(backend);
        KORAVEL_REQUIRE_BACKEND(*m_db);
        MakeSchema();
    }
    void cleanup()
    {
        Users(false);
        m_db.reset();
        m_env.reset();
    }

    void load_data() { AddUserRows(); }
    void load();
    void createMissing_data() { AddUserRows(); }
    void createMissing();
    void createMany();
    void setAllPassed_data() { AddUserRows(); }
    void setAllPassed();
    void clearAll_data() { AddUserRows(); }
    void clearAll();
    void failureUndoes_data();
    void failureUndoes();
};

void tst_PlanResults::load()
{
    QFETCH(bool, users);
    Users(users);
    Store(Key(21), 3, 2, QDate(2020, 1, 2), 3);
    Run("UPDATE RESULT SET COMMENT = 'slow', DATE_UPDATE = ?", {QDate(2020, 1, 3)});
    Store(Key(22), 1, QVariant());
    Store(Key(21, 1, 12), 0, 5);
    Store(Key(21, 1, 1, 6), 0, 5, QVariant(), QVariant(), 6);
    const QStringList before = ResultRows() + HistoryRows();

    PlanResults results;
    results.Load("5", "1");
    QVERIFY(results.Has(Key(21)));
    QVERIFY(results.Has(Key(22)));
    QVERIFY(!results.Has(Key(23)));
    QVERIFY(!results.Has(Key(21, 1, 12)));
    QVERIFY(!results.Has(Key(21, 1, 1, 6)));

    const QString day2 = QLocale().toString(QDate(2020, 1, 2), QLocale::ShortFormat);
    const QString day3 = QLocale().toString(QDate(2020, 1, 3), QLocale::ShortFormat);
    const auto fields = [](const Result& r) {
        return QStringList{r.Key(),
                           QString::number(r.Status()),
                           QString::number(r.Iteration()),
                           r.Comment(),
                           r.DateCreation(),
                           r.DateUpdate(),
                           r.IdProcedure(),
                           r.IdTestPlan(),
                           r.IdTester()};
    };
    const QString noTester = users ? "0" : "";
    const QString me = users ? "3" : "";
    QCOMPARE(fields(results.ResultOf(Key(21))),
             QStringList({Key(21), "3", "2", "slow", day2, day3, "21", "5", users ? "3" : ""}));
    QCOMPARE(fields(results.ResultOf(Key(22))),
             QStringList({Key(22), "1", "0", "", "Unplayed", "Unplayed", "22", "5", noTester}));
    // A missing row reads as the one a first access would create, and none is created.
    QCOMPARE(fields(results.ResultOf(Key(23, 2))),
             QStringList({Key(23, 2), "1", "0", "", "Unplayed", "Unplayed", "23", "5", me}));
    QCOMPARE(ResultRows() + HistoryRows(), before);

    // Find reads a row as the plan's load does.
    for (const QString& key : {Key(21), Key(22)}) {
        Result found;
        QCOMPARE(found.Find(key), 0);
        QCOMPARE(fields(found), fields(results.ResultOf(key)));
    }

    // A second load replaces the first.
    results.Load("5", "12");
    QVERIFY(results.Has(Key(21, 1, 12)));
    QVERIFY(!results.Has(Key(21)));
    QVERIFY_THROWS_EXCEPTION(KvlError, results.Load("5", "x"));
    QVERIFY(results.Has(Key(21, 1, 12)));
    QCOMPARE(ResultRows() + HistoryRows(), before);
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_PlanResults::createMissing()
{
    QFETCH(bool, users);
    Users(users);
    const DayWindow days;
    Store(Key(21), 3, 2, QDate(2020, 1, 2));
    Store(Key(21, 1, 12), 0, 5);

    const QStringList keys{Key(21), Key(22), Key(23), Key(22), Key(24, 2)};
    QCOMPARE(PlanResults::CreateMissing("5", "1", keys), 3);
    const QString created = QStringLiteral("1    ") + (users ? "3" : "");
    QCOMPARE(Row(Key(21)), QString("3 2 2020-01-02  "));
    QCOMPARE(Row(Key(22)), created);
    QCOMPARE(Row(Key(23)), created);
    QCOMPARE(Row(Key(24, 2)), created);
    QCOMPARE(Rows("SELECT ID_PROCEDURE, ID_TESTPLAN FROM RESULT WHERE ITERATION IS NULL"),
             QStringList({"22 5", "23 5", "24 5"}));
    QCOMPARE(TodaysCounts(days), QString("0 3 0 1"));

    // Nothing left to create: no row, and the history is not written again.
    const QStringList before = ResultRows() + HistoryRows();
    QCOMPARE(PlanResults::CreateMissing("5", "1", keys), 0);
    QCOMPARE(ResultRows() + HistoryRows(), before);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM HISTORY").toInt(), 1);
    QCOMPARE(Row(Key(21, 1, 12)), QString("0 5   "));
}

void tst_PlanResults::createMany()
{
    const DayWindow days;

    // More keys than one statement takes, and not a multiple of it.
    QStringList keys;
    for (int order = 1; order <= 8003; ++order)
        keys << Key(21 + order % 5, order);
    Store(keys[100], 0, 1);
    QCOMPARE(PlanResults::CreateMissing("5", "1", keys), 8002);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM RESULT").toInt(), 8003);
    QCOMPARE(TodaysCounts(days), QString("1 8002 0 0"));
    PlanResults results;
    results.Load("5", "1");
    for (const QString& key : {keys.first(), keys[100], keys.last()})
        QVERIFY(results.Has(key));
    QCOMPARE(results.ResultOf(keys.last()).IdProcedure(), QString::number(21 + 8003 % 5));
}

void tst_PlanResults::setAllPassed()
{
    QFETCH(bool, users);
    Users(users);
    const DayWindow days;
    Store(Key(21), 1, 3, QDate(2020, 1, 2));
    Store(Key(22), 2, 0);
    Store(Key(23), 3, QVariant());
    Store(Key(21, 1, 12), 1, 0);
    Store(Key(21, 1, 1, 6), 1, 3, QVariant(), QVariant(), 6);
    const QString otherConfiguration = Row(Key(21, 1, 12));
    const QString otherPlan = Row(Key(21, 1, 1, 6));

    PlanResults::SetAllPassed("5", "1");
    const QString today = Today(days);
    const QString user = users ? "3" : "";
    QCOMPARE(Row(Key(21)), QString("0 4 2020-01-02 %1 %2").arg(today, user));
    // Never played, with or without an iteration: played once today.
    QCOMPARE(Row(Key(22)), QString("0 1 %1 %1 %2").arg(today, user));
    QCOMPARE(Row(Key(23)), QString("0 1 %1 %1 %2").arg(today, user));
    QCOMPARE(Row(Key(21, 1, 12)), otherConfiguration);
    QCOMPARE(Row(Key(21, 1, 1, 6)), otherPlan);
    QCOMPARE(TodaysCounts(days), QString("3 0 0 0"));
    QCOMPARE(Scalar("SELECT COUNT(*) FROM HISTORY").toInt(), 1);
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_PlanResults::clearAll()
{
    QFETCH(bool, users);
    Users(users);
    const DayWindow days;
    Store(Key(21), 0, 2, QDate(2020, 1, 2), 3);
    Store(Key(25), 3, 1);  // an occurrence no longer in the plan
    Store(Key(21, 1, 12), 0, 5);
    Store(Key(21, 1, 1, 6), 0, 5, QVariant(), QVariant(), 6);
    const QString otherConfiguration = Row(Key(21, 1, 12));
    const QString otherPlan = Row(Key(21, 1, 1, 6));

    PlanResults::ClearAll("5", "1", {Key(21), Key(22)});
    const QString fresh = QStringLiteral("1    ") + (users ? "3" : "");
    QCOMPARE(Row(Key(21)), fresh);
    QCOMPARE(Row(Key(22)), fresh);
    QCOMPARE(Row(Key(25)), QString("none"));
    QCOMPARE(Row(Key(21, 1, 12)), otherConfiguration);
    QCOMPARE(Row(Key(21, 1, 1, 6)), otherPlan);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM RESULT").toInt(), 4);
    QCOMPARE(TodaysCounts(days), QString("0 2 0 0"));
}

void tst_PlanResults::failureUndoes_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("historyFails");
    QTest::newRow("create, history fails") << "create" << true;
    QTest::newRow("create, key without procedure") << "create keyless" << false;
    QTest::newRow("passed, history fails") << "passed" << true;
    QTest::newRow("clear, history fails") << "clear" << true;
    QTest::newRow("clear, key of another configuration") << "clear foreign" << false;
}

void tst_PlanResults::failureUndoes()
{
    QFETCH(QString, command);
    QFETCH(bool, historyFails);
    Store(Key(21), 3, 2, QDate(2020, 1, 2));
    Store(Key(23), 1, 0);
    Store(Key(21, 1, 12), 0, 5);
    if (historyFails)
        OrderFixture::InjectFailure("HISTORY", "INSERT", m_db->IsPostgres());
    const QStringList before = ResultRows() + HistoryRows();

    // The bad key comes last, so the rows before it have been written when it raises.
    const QString keyless = K("Eqpt1~5~5|8|1~8$");
    if (command == "create")
        QVERIFY_THROWS_EXCEPTION(KvlError, PlanResults::CreateMissing("5", "1", {Key(21), Key(22)}));
    else if (command == "create keyless")
        QVERIFY_THROWS_EXCEPTION(KvlError, PlanResults::CreateMissing("5", "1", {Key(22), keyless}));
    else if (command == "passed")
        QVERIFY_THROWS_EXCEPTION(KvlError, PlanResults::SetAllPassed("5", "1"));
    else if (command == "clear")
        QVERIFY_THROWS_EXCEPTION(KvlError, PlanResults::ClearAll("5", "1", {Key(21), Key(22)}));
    else
        QVERIFY_THROWS_EXCEPTION(KvlError, PlanResults::ClearAll("5", "1", {Key(21), Key(21, 1, 12)}));
    QCOMPARE(ResultRows() + HistoryRows(), before);
    QVERIFY(!gConnection().InTransaction());

    // The connection goes on working after the failure.
    Run("DROP TRIGGER IF EXISTS KVL_FAIL" + QString(m_db->IsPostgres() ? " ON HISTORY" : ""));
    QCOMPARE(PlanResults::CreateMissing("5", "1", {Key(21), Key(22)}), 1);
}

QTEST_GUILESS_MAIN(tst_PlanResults)
#include "tst_PlanResults.moc"
