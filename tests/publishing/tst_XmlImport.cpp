// Storing an exchange file's plan as a new test plan: the options, the rows written with their
// names, links, results and history, two imports of one plan, and failures that leave the database
// and the explorer as they were.

#include "FakeDescriptionForm.h"
#include "ModelFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "TreeFixture.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/db/SchemaDefinition.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/ProgressBar.h"
#include "core/services/SelectedNode.h"
#include "core/services/WindowServices.h"
#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/Globals.h"
#include "publishing/HTMLTemplate.h"
#include "publishing/XMLFile.h"
#include "publishing/XmlPlan.h"
#include "publishing/XmlPlanReader.h"

#include <QDir>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using ModelFixture::Scalar;

class tst_XmlImport : public QObject
{
    Q_OBJECT

public:
    // The import's storing step, on a plan built here rather than read from a file.
    static int StorePlan(XMLFile& file, const XmlPlan::Plan& plan) { return file.StorePlan(plan); }

private slots:
    void cleanup()
    {
        XmlPlanReader::SetSizeLimit(XmlPlanReader::kDefaultSizeLimit);
        gExplorerNodes().Clear();
        SetSelectedNode({});
        gUserManagement = false;
        gUserId.clear();
    }
    void options_data();
    void options();
    void storedRows_data();
    void storedRows();
    void sameFileTwice_data() { TestDatabase::AddBackendRows(); }
    void sameFileTwice();
    void failureChangesNothing_data();
    void failureChangesNothing();
    void files_data();
    void files();
};

namespace {

const QDate kToday = QDate::currentDate();

XmlPlan::Procedure NewProcedure(const QString& name, int order)
{
    XmlPlan::Procedure procedure;
    procedure.name = name;
    procedure.title = name + " title";
    procedure.order = order;
    procedure.description = "<P>" + name + "</P>";
    procedure.expectedResult = "<P>" + name + " done</P>";
    return procedure;
}

XmlPlan::SubTest NewSubTest(const QString& name, int order)
{
    XmlPlan::SubTest subTest;
    subTest.name = name;
    subTest.title = name + " title";
    subTest.order = order;
    subTest.description = "<P>" + name + "</P>";
    return subTest;
}

// A plan with two first-level sub-tests (the second given the first one's order), a nested one,
// procedures played, never played and without result values, and two history rows.
XmlPlan::Plan SamplePlan(const QString& configurationId)
{
    XmlPlan::Plan plan;
    plan.name = "Imported plan";
    plan.title = "Imported acceptance";
    plan.css = "BODY { color: navy }";
    plan.configuration.id = configurationId;
    plan.configuration.name = "Imported bench";
    plan.configuration.title = "Bench of the file";
    plan.configuration.equipment1 = "Board rev. C";
    plan.configuration.equipment2 = "Supply 0-30 V";
    plan.description = "<P>Plan &amp; <B>scope</B> \"quoted\" ]]&gt; é</P>";
    plan.history = {{.advancement = 0.25, .workload = 1.5, .date = QDate(2020, 3, 1), .passed = 1, .failed = 2},
                    {.advancement = 0.5,
                     .workload = 2.5,
                     .date = QDate(2020, 3, 2),
                     .passed = 2,
                     .failed = 1,
                     .warning = 1,
                     .canceled = 3}};

    XmlPlan::Procedure measure = NewProcedure("Measure", 1);
    measure.workload = 0.5f;
    measure.status = kPassed;
    measure.comment = "3.31 V";
    measure.iteration = 2;
    measure.firstPlayed = QDate(2020, 2, 10);
    XmlPlan::SubTest rails = NewSubTest("Rails", 1);
    rails.description = "   ";
    rails.procedures = {measure};

    XmlPlan::Procedure banner = NewProcedure("Banner", 3);
    banner.description.reset();
    banner.status = kFailed;
    banner.comment = "";
    banner.iteration = 0;
    banner.firstPlayed = QDate();  // "Unplayed"
    XmlPlan::Procedure echo = NewProcedure("Echo", 3);
    echo.workload = 0.25f;
    echo.status = kWarning;
    echo.comment = "late";
    echo.firstPlayed = QDate(2020, 2, 11);
    XmlPlan::SubTest power = NewSubTest("Power", 2);
    power.children = {rails};
    power.procedures = {banner, echo};

    XmlPlan::Procedure bare;
    bare.order = 1;
    XmlPlan::SubTest link = NewSubTest("Link", 2);
    link.procedures = {bare};

    plan.subTests = {power, link};
    return plan;
}

// Every row of every table, each table's rows sorted.
QStringList Snapshot()
{
    QStringList lines;
    for (const SchemaDefinition::Table& table : SchemaDefinition::Tables()) {
        QStringList rows;
        QSqlQuery query = gConnection().Query("SELECT * FROM " + table.name);
        while (query.next()) {
            QStringList values;
            for (int column = 0; column < query.record().count(); ++column)
                values << (query.isNull(column) ? "<null>" : query.value(column).toString());
            rows << values.join('|');
        }
        rows.sort();
        for (const QString& row : rows)
            lines << table.name + ": " + row;
    }
    return lines;
}

int Count(const QString& table)
{
    return Scalar("SELECT COUNT(*) FROM " + table).toInt();
}

void TextsInto(const ExplorerNode* node, QStringList& texts)
{
    for (const ExplorerNode* child : node->ChildNodes()) {
        texts << child->Text();
        TextsInto(child, texts);
    }
}

// The texts of the nodes below `key`, in tree order.
QStringList Texts(const QString& key)
{
    QStringList texts;
    TextsInto(gExplorerNodes().Item(key), texts);
    return texts;
}

QString Id(const QString& table, const QString& title)
{
    return Scalar(QString("SELECT ID FROM %1 WHERE TITLE = ?").arg(table), {title}).toString();
}

QVariantList Row(const QString& sql, const QVariantList& values)
{
    QSqlQuery query = gConnection().Query(sql, values);
    QVariantList row;
    if (query.next())
        for (int column = 0; column < query.record().count(); ++column)
            row << query.value(column);
    return row;
}

struct Import
{
    explicit Import(const QString& backend) : db(backend) {}

    bool Prepare()
    {
        if (!db.Open())
            return false;
        ModelFixture::AddSchema();
        gExplorerNodes().Clear();
        gExplorerNodes().Add({}, NodeKey::kRoot, "Test Plan Database", kImageRoot);
        SetSelectedNode(NodeKey::kRoot);
        // The configuration the file came from, already in this database.
        Configuration bench;
        if (bench.Create() != 0)
            return false;
        bench.SetName("Old bench");
        bench.SetEquipment3("Kept console");
        benchId = bench.Id();
        return bench.Update() == 0 && HTMLTemplate().Save(17, "BODY { color: black }") == 0;
    }

    int Store(const XmlPlan::Plan& plan, bool configuration, bool keepName, bool css)
    {
        file.SetConfiguration(configuration);
        file.SetKeepName(keepName);
        file.SetCSS(css);
        return tst_XmlImport::StorePlan(file, plan);
    }

    TestEnvironment env;
    TestDatabase db;
    XMLFile file;
    QString benchId;
};

#define PREPARE(w)                                                               \
    QFETCH(QString, backend);                                                    \
    Import w(backend);                                                           \
    if (w.db.IsPostgres() && !TestDatabase::Server())                            \
        QSKIP("No PostgreSQL test server: run through ctest (label postgres)."); \
    QVERIFY2(w.Prepare(), qPrintable(w.db.Error()))

}  // namespace

void tst_XmlImport::options_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("configuration");
    QTest::addColumn<bool>("matchingId");
    QTest::addColumn<bool>("keepName");
    QTest::addColumn<bool>("css");
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(backend + "-" + name));
        };
        row("configuration updated") << backend << true << true << true << true;
        row("configuration option off") << backend << false << true << true << false;
        row("configuration of another database") << backend << true << false << true << false;
        row("default names") << backend << false << true << false << true;
    }
}

// Which configuration receives the plan, which names the items take, and whether the style sheet
// is replaced; the plan is then shown and selected under its configuration.
void tst_XmlImport::options()
{
    QFETCH(bool, configuration);
    QFETCH(bool, matchingId);
    QFETCH(bool, keepName);
    QFETCH(bool, css);
    PREPARE(w);
    const int configurations = Count("CONFIGURATION");
    QSignalSpy progress(&gProgressBar(), &ProgressBar::ValueChanged);
    HTMLTemplate::InstallStyleSheetLoader();
    FakeDescriptionForm openDescription;

    const XmlPlan::Plan plan = SamplePlan(matchingId ? w.benchId : "999");
    QCOMPARE(w.Store(plan, configuration, keepName, css), 0);
    QVERIFY(w.file.ImportError().isEmpty());
    const QString planId = w.file.ImportedTestPlanId();
    QVERIFY(!planId.isEmpty());

    const bool existing = configuration && matchingId;
    QCOMPARE(Count("CONFIGURATION"), configurations + (existing ? 0 : 1));
    const QString configurationId =
        Scalar("SELECT ID_CONFIGURATION FROM TESTPLAN WHERE ID = ?", {planId.toInt()}).toString();
    QCOMPARE(configurationId == w.benchId, existing);
    QCOMPARE(
        Scalar("SELECT ID_CONFIGURATION FROM CONFIGURATION_LINKS WHERE ID_TESTPLAN = ?", {planId.toInt()}).toString(),
        configurationId);
    // The configuration is named from the file whatever the options; a field the file lacks keeps
    // the stored value, or none for a new configuration.
    Configuration bench;
    QCOMPARE(bench.Find(configurationId), 0);
    QCOMPARE(bench.Name(), QString("Imported bench"));
    QCOMPARE(bench.Title(), QString("Bench of the file"));
    QCOMPARE(bench.Equipment1(), QString("Board rev. C"));
    QCOMPARE(bench.Equipment2(), QString("Supply 0-30 V"));
    QCOMPARE(bench.Equipment3(), existing ? QString("Kept console") : QString());
    QCOMPARE(bench.DateUpdate(), kToday);
    if (!existing) {
        Configuration old;
        QCOMPARE(old.Find(w.benchId), 0);
        QCOMPARE(old.Name(), QString("Old bench"));
    }

    // Names from the file or the defaults of new items; titles always from the file.
    TestPlan stored;
    QCOMPARE(stored.Find(planId), 0);
    QCOMPARE(stored.Name(), keepName ? QString("Imported plan") : TestPlan().NamingPrefix() + planId);
    QCOMPARE(stored.Title(), QString("Imported acceptance"));
    const QString powerId = Id("SUBTEST", "Power title");
    const QString measureId = Id("PROCEDURES", "Measure title");
    SubTest power;
    QCOMPARE(power.Find(powerId), 0);
    QCOMPARE(power.Name(), keepName ? QString("Power") : SubTest().NamingPrefix() + powerId);
    Procedure measure;
    QCOMPARE(measure.Find(measureId), 0);
    QCOMPARE(measure.Name(), keepName ? QString("Measure") : Procedure().NamingPrefix() + measureId);
    // A procedure the file gives neither name nor title keeps the defaults of both.
    const QString bareId = Scalar("SELECT MAX(ID) FROM PROCEDURES").toString();
    Procedure bare;
    QCOMPARE(bare.Find(bareId), 0);
    QCOMPARE(bare.Name(), Procedure().NamingPrefix() + bareId);
    QCOMPARE(bare.Title(), Procedure().NamingPrefix() + bareId);

    QCOMPARE(HTMLTemplate().Load(17), css ? QString("BODY { color: navy }") : QString("BODY { color: black }"));
    // An imported style sheet reaches the open description windows.
    QCOMPARE(openDescription.edit1.StyleSheetText(), css ? QString("BODY { color: navy }") : QString());

    // Shown after the commit: the configuration's node (retitled or added), the plan's node with
    // its subtree, selected.
    const QString configurationKey = Configuration::NodeKeyOf(configurationId);
    const QString planKey = configurationKey + NodeKey::kSeparator + planId;
    QCOMPARE(gExplorerNodes().Item(configurationKey)->Text(), QString("Imported bench"));
    const ExplorerNode* planNode = gExplorerNodes().Item(planKey);
    QCOMPARE(planNode->Text(), stored.Name());
    QCOMPARE(planNode->Tag(), planId);
    QCOMPARE(planNode->Parent()->Key(), configurationKey);
    QCOMPARE(SelectedNodeKey(), planKey);
    const QString bareName = Procedure().NamingPrefix() + bareId;
    const auto name = [&](const char* given, const ItemRecord& kind, const QString& id) {
        return keepName ? QString(given) : kind.NamingPrefix() + id;
    };
    QCOMPARE(Texts(planKey),
             QStringList({name("Power", SubTest(), powerId), name("Rails", SubTest(), Id("SUBTEST", "Rails title")),
                          measure.Name(), name("Banner", Procedure(), Id("PROCEDURES", "Banner title")),
                          name("Echo", Procedure(), Id("PROCEDURES", "Echo title")),
                          name("Link", SubTest(), Id("SUBTEST", "Link title")), bareName}));

    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().first().toInt(), 100);
    QCOMPARE(gProgressBar().Value(), 100);
    QCOMPARE(w.env.BugLogEntries(), 0);
}

void tst_XmlImport::storedRows_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("users");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::newRow(qPrintable(backend)) << backend << false;
        QTest::newRow(qPrintable(backend + "-user management")) << backend << true;
    }
}

// The rows as the file gives them: descriptions, work loads, link orders by the placement rule,
// results with their keys and dates, the file's history and today's, dated today by the user.
void tst_XmlImport::storedRows()
{
    QFETCH(bool, users);
    PREPARE(w);
    if (users) {
        ModelFixture::Run("INSERT INTO USERS (ID, NAME, CATEGORY) VALUES (3, 'Ann', 2)");
        gUserManagement = true;
        gUserId = "3";
    }
    XmlPlan::Plan plan = SamplePlan(w.benchId);
    plan.warnings << "description at line 40: missing"
                  << "history at line 9: a second row of 2020-03-02";
    QCOMPARE(w.Store(plan, false, true, true), 0);
    const QString planId = w.file.ImportedTestPlanId();
    const QString configurationId =
        Scalar("SELECT ID_CONFIGURATION FROM TESTPLAN WHERE ID = ?", {planId.toInt()}).toString();
    const QVariant author = users ? QVariant(3) : QVariant();

    const auto item = [&](const QString& table, const QString& id) {
        return Row(QString("SELECT DESCRIPTION, DATE_CREATION, DATE_UPDATE, ID_USER FROM %1 WHERE ID = ?").arg(table),
                   {id.toInt()});
    };
    const auto checkItem = [&](const QString& table, const QString& id, const QVariant& description) {
        const QVariantList row = item(table, id);
        QCOMPARE(row.size(), 4);
        QCOMPARE(row[0].isNull(), description.isNull());
        QCOMPARE(row[0].toString(), description.toString());
        QCOMPARE(DbValues::ReadDate(row[1]), kToday);
        QCOMPARE(DbValues::ReadDate(row[2]), kToday);
        QCOMPARE(row[3].isNull(), !users);
        QCOMPARE(row[3].toInt(), author.toInt());
    };
    const QString power = Id("SUBTEST", "Power title");
    const QString rails = Id("SUBTEST", "Rails title");
    const QString link = Id("SUBTEST", "Link title");
    const QString measure = Id("PROCEDURES", "Measure title");
    const QString banner = Id("PROCEDURES", "Banner title");
    const QString echo = Id("PROCEDURES", "Echo title");
    const QString bare = Scalar("SELECT MAX(ID) FROM PROCEDURES").toString();
    checkItem("TESTPLAN", planId, plan.description.value());
    checkItem("CONFIGURATION", configurationId, QVariant());
    checkItem("SUBTEST", power, "<P>Power</P>");
    // A blank description is stored empty, a missing one not at all.
    checkItem("SUBTEST", rails, "");
    checkItem("PROCEDURES", measure, "<P>Measure</P>");
    checkItem("PROCEDURES", banner, QVariant());
    QCOMPARE(Scalar("SELECT RESULT FROM PROCEDURES WHERE ID = ?", {banner.toInt()}).toString(),
             QString("<P>Banner done</P>"));
    QVERIFY(Scalar("SELECT RESULT FROM PROCEDURES WHERE ID = ?", {bare.toInt()}).isNull());
    // The work load the file gives, else the 1 of a new procedure.
    const auto workLoad = [](const QString& id) {
        return Scalar("SELECT WORKLOAD FROM PROCEDURES WHERE ID = ?", {id.toInt()}).toDouble();
    };
    QCOMPARE(workLoad(measure), 0.5);
    QCOMPARE(workLoad(banner), 1.0);
    QCOMPARE(workLoad(echo), 0.25);

    // A given order taken by an earlier child of the same parent goes after the last child.
    const auto order = [](const QString& sql, const QString& parent, const QString& child) {
        return Scalar(sql, {parent.toInt(), child.toInt()}).toInt();
    };
    const QString planLink = "SELECT ORDER_SUBTEST FROM TESTPLAN_LINKS WHERE ID_TESTPLAN = ? AND ID_SUBTEST = ?";
    const QString procedureLink =
        "SELECT ORDER_PROCEDURE FROM PROCEDURE_LINKS WHERE ID_SUBTEST = ? AND ID_PROCEDURE = ?";
    QCOMPARE(order(planLink, planId, power), 2);
    QCOMPARE(order(planLink, planId, link), 3);
    QCOMPARE(order("SELECT ORDER_SUBTEST FROM SUBTEST_LINKS WHERE ID_SUBTEST_PARENT = ? AND ID_SUBTEST_CHILD = ?",
                   power, rails),
             1);
    QCOMPARE(order(procedureLink, rails, measure), 1);
    QCOMPARE(order(procedureLink, power, banner), 3);
    QCOMPARE(order(procedureLink, power, echo), 4);
    QCOMPARE(order(procedureLink, link, bare), 1);

    // One result per occurrence under the key the explorer gives it.
    const QString planKey = NodeKey::kConfigurationPrefix + configurationId + NodeKey::kSeparator + planId;
    const QString powerKey = planKey + NodeKey::kSeparator + planId + "|" + power + "|2";
    const QString railsKey = powerKey + NodeKey::kSeparator + power + "|" + rails + "|1";
    const QString linkKey = planKey + NodeKey::kSeparator + planId + "|" + link + "|3";
    const auto procedureKey = [](const QString& parentKey, const QString& parent, const QString& id, int at) {
        return parentKey + NodeKey::kSeparator + parent + "|" + id + "|" + QString::number(at) + "$";
    };
    struct Expected
    {
        QString key;
        QString procedure;
        int status;
        int iteration;
        QString comment;
        QDate firstPlayed;
    };
    const QList<Expected> expected{
        {procedureKey(railsKey, rails, measure, 1), measure, kPassed, 2, "3.31 V", QDate(2020, 2, 10)},
        // Never played: no dates, whatever a result update would write.
        {procedureKey(powerKey, power, banner, 3), banner, kFailed, 0, "", QDate()},
        // A status other than a new result's without an iteration counts one play.
        {procedureKey(powerKey, power, echo, 4), echo, kWarning, 1, "late", QDate(2020, 2, 11)},
        {procedureKey(linkKey, link, bare, 1), bare, kFailed, 0, "", QDate()}};
    QCOMPARE(Count("RESULT"), expected.size());
    for (const Expected& result : expected) {
        const QVariantList row =
            Row("SELECT ID_TESTPLAN, ID_PROCEDURE, STATUS, ITERATION, COMMENT, DATE_CREATION, "
                "DATE_UPDATE, ID_USER FROM RESULT WHERE KEY_NODE = ?",
                {result.key});
        QVERIFY2(row.size() == 8, qPrintable(result.key));
        QCOMPARE(row[0].toString(), planId);
        QCOMPARE(row[1].toString(), result.procedure);
        QCOMPARE(row[2].toInt(), result.status);
        QCOMPARE(row[3].toInt(), result.iteration);
        QCOMPARE(row[4].toString(), result.comment);
        QCOMPARE(DbValues::ReadDate(row[5]), result.firstPlayed);
        QCOMPARE(DbValues::ReadDate(row[6]), result.firstPlayed.isValid() ? kToday : QDate());
        QCOMPARE(row[7].toInt(), author.toInt());
    }

    // The file's rows, and today's counted from the imported results.
    QStringList history;
    QSqlQuery query = gConnection().Query(
        "SELECT DATE_UPDATE, ADVANCEMENT, WORKLOAD, COUNT_PASSED, COUNT_FAILED, COUNT_CANCELED, COUNT_WARNING FROM "
        "HISTORY WHERE ID_TESTPLAN = ? AND ID_CONFIGURATION = ? ORDER BY DATE_UPDATE",
        {planId.toInt(), configurationId.toInt()});
    while (query.next()) {
        QStringList values;
        for (int column = 0; column < 7; ++column)
            values << (column == 0 ? query.value(0).toString() : QString::number(query.value(column).toDouble()));
        history << values.join(' ');
    }
    QCOMPARE(history,
             QStringList({"2020-03-01 0.25 1.5 1 2 0 0", "2020-03-02 0.5 2.5 2 1 3 1",
                          kToday.toString(Qt::ISODate) + " " + QString::number(0.75 / 2.75) + " 1.25 1 2 0 1"}));

    // The reader's warnings, one entry each.
    QCOMPARE(w.env.BugLogEntries(), 2);
    for (const QString& warning : plan.warnings)
        QVERIFY(w.env.BugLog().contains("Warning_Import XML : 0\r\n" + warning));
}

// Each import makes a plan of its own, with new items, links, results and history, under the one
// configuration that both name.
void tst_XmlImport::sameFileTwice()
{
    PREPARE(w);
    const XmlPlan::Plan plan = SamplePlan(w.benchId);
    QCOMPARE(w.Store(plan, true, true, false), 0);
    const QString first = w.file.ImportedTestPlanId();
    const QStringList firstResults = Snapshot().filter("RESULT: ");
    QCOMPARE(w.Store(plan, true, true, false), 0);
    const QString second = w.file.ImportedTestPlanId();
    QVERIFY(first != second);

    QCOMPARE(Count("CONFIGURATION"), 1);
    QCOMPARE(Count("TESTPLAN"), 2);
    QCOMPARE(Count("SUBTEST"), 6);
    QCOMPARE(Count("PROCEDURES"), 8);
    QCOMPARE(Count("PROCEDURE_LINKS"), 8);
    QCOMPARE(Scalar("SELECT COUNT(DISTINCT ID_SUBTEST) FROM TESTPLAN_LINKS").toInt(), 4);
    QCOMPARE(Count("RESULT"), 8);
    const QStringList rows = Snapshot();
    for (const QString& row : firstResults)
        QVERIFY2(rows.contains(row), qPrintable(row));
    for (const QString& id : {first, second})
        QCOMPARE(Scalar("SELECT COUNT(*) FROM HISTORY WHERE ID_TESTPLAN = ?", {id.toInt()}).toInt(), 3);

    const QString configurationKey = Configuration::NodeKeyOf(w.benchId);
    QCOMPARE(gExplorerNodes().Item(configurationKey)->Children(), 2);
    // The same names, but for the default name of the procedure the file leaves unnamed.
    const QStringList firstTree = Texts(configurationKey + NodeKey::kSeparator + first);
    const QStringList secondTree = Texts(configurationKey + NodeKey::kSeparator + second);
    QCOMPARE(firstTree.size(), 7);
    QCOMPARE(firstTree.mid(0, 6), secondTree.mid(0, 6));
    QVERIFY(firstTree.last() != secondTree.last());
    QCOMPARE(SelectedNodeKey(), configurationKey + NodeKey::kSeparator + second);
}

void tst_XmlImport::failureChangesNothing_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("fault");
    const QStringList faults{"procedure order 0",
                             "first-level sub-test without title",
                             "first-level sub-test without its kept name",
                             "status outside the known ones",
                             "configuration id not a number",
                             "sub-tests nested past ten levels",
                             "database refuses the results"};
    for (const QString& backend : TestDatabase::Backends())
        for (const QString& fault : faults)
            QTest::newRow(qPrintable(backend + "-" + fault)) << backend << fault;
}

// A failure at any point leaves every table, the explorer and the selection as they were, with
// one log entry giving the reason.
void tst_XmlImport::failureChangesNothing()
{
    QFETCH(QString, fault);
    PREPARE(w);
    // Something of every kind already stored, so that a partial write would show.
    QCOMPARE(w.Store(SamplePlan(w.benchId), true, true, false), 0);
    w.env.ClearBugLog();

    XmlPlan::Plan plan = SamplePlan(w.benchId);
    XmlPlan::SubTest& power = plan.subTests[0];
    power.line = 17;
    if (fault == "procedure order 0") {
        power.children[0].procedures[0].order = 0;
    } else if (fault == "first-level sub-test without title") {
        plan.subTests[1].title.reset();
    } else if (fault == "first-level sub-test without its kept name") {
        power.name.reset();
    } else if (fault == "status outside the known ones") {
        power.procedures[1].status = 4;
    } else if (fault == "configuration id not a number") {
        plan.configuration.id = "1); DELETE FROM RESULT; --";
    } else if (fault == "sub-tests nested past ten levels") {
        XmlPlan::SubTest nested = NewSubTest("Deepest", 1);
        for (int level = 10; level > 1; --level) {
            XmlPlan::SubTest parent = NewSubTest("Level " + QString::number(level), 1);
            parent.children = {nested};
            nested = parent;
        }
        power.children[0].children = {nested};
    } else {
        // The last rows written before the commit.
        if (w.db.IsPostgres()) {
            ModelFixture::Run(
                "CREATE FUNCTION REFUSE_ROW() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION "
                "'refused by the test'; END $$ LANGUAGE plpgsql");
            ModelFixture::Run(
                "CREATE TRIGGER REFUSE_RESULT BEFORE INSERT ON RESULT FOR EACH ROW EXECUTE FUNCTION "
                "REFUSE_ROW()");
        } else {
            ModelFixture::Run(
                "CREATE TRIGGER REFUSE_RESULT BEFORE INSERT ON RESULT BEGIN SELECT RAISE(ABORT, "
                "'refused by the test'); END");
        }
    }
    const QStringList rows = Snapshot();
    const QStringList tree = TreeFixture::Dump("Root");
    const QString selected = SelectedNodeKey();
    QSignalSpy progress(&gProgressBar(), &ProgressBar::ValueChanged);
    gProgressBar().SetValue(0);
    progress.clear();

    QCOMPARE(w.Store(plan, true, true, true), 1);
    QCOMPARE(Snapshot(), rows);
    QCOMPARE(TreeFixture::Dump("Root"), tree);
    QCOMPARE(SelectedNodeKey(), selected);
    QVERIFY(w.file.ImportedTestPlanId().isEmpty());
    QVERIFY(!w.file.ImportError().isEmpty());
    QCOMPARE(w.env.BugLogEntries(), 1);
    QVERIFY(w.env.BugLog().contains("Error_Import XML : "));
    QVERIFY(w.env.BugLog().contains(w.file.ImportError()));
    if (fault.startsWith("first-level sub-test without its"))
        QVERIFY2(w.file.ImportError().contains("line 17"), qPrintable(w.file.ImportError()));
    QVERIFY(progress.isEmpty() || progress.last().first().toInt() < 100);
}

void tst_XmlImport::files_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("sizeLimit");
    for (const QString& backend : TestDatabase::Backends()) {
        // The reader's seeds and every input its fuzzing kept: hostile, broken and good files.
        for (const char* folder : {"corpus", "regressions"}) {
            const QDir dir(QStringLiteral(KORAVEL_FUZZ_DIR "/") + folder);
            for (const QString& name : dir.entryList(QDir::Files))
                QTest::newRow(qPrintable(backend + "-" + folder + "/" + name))
                    << backend << dir.filePath(name) << XmlPlanReader::kDefaultSizeLimit;
        }
        QTest::newRow(qPrintable(backend + "-missing file"))
            << backend << "missing.xml" << XmlPlanReader::kDefaultSizeLimit;
        QTest::newRow(qPrintable(backend + "-file over the size limit"))
            << backend << QStringLiteral(KORAVEL_FUZZ_DIR "/corpus/good-plan.xml") << qint64(100);
    }
}

// A file is imported when the reader reads it; else the import fails with one log entry giving
// the reader's reason, and nothing changes.
void tst_XmlImport::files()
{
    QFETCH(QString, path);
    QFETCH(qint64, sizeLimit);
    PREPARE(w);
    QCOMPARE(w.Store(SamplePlan(w.benchId), true, true, false), 0);
    w.env.ClearBugLog();
    XmlPlanReader::SetSizeLimit(sizeLimit);
    QString reason;
    const bool readable = XmlPlanReader::Read(path, &reason).has_value();
    const QStringList rows = Snapshot();
    const QStringList tree = TreeFixture::Dump("Root");
    const int plans = Count("TESTPLAN");

    w.file.SetFileName(path);
    w.file.SetConfiguration(true);
    w.file.SetKeepName(false);
    w.file.SetCSS(true);
    if (readable) {
        QCOMPARE(w.file.Import(), 0);
        QCOMPARE(Count("TESTPLAN"), plans + 1);
        QVERIFY(gExplorerNodes().Exist(SelectedNodeKey()));
        QCOMPARE(gExplorerNodes().Item(SelectedNodeKey())->Tag(), w.file.ImportedTestPlanId());
        return;
    }
    QCOMPARE(w.file.Import(), 1);
    QCOMPARE(w.file.ImportError(), reason);
    QCOMPARE(w.env.BugLogEntries(), 1);
    QVERIFY(w.env.BugLog().contains("Error_Import XML : 0\r\n" + reason));
    QCOMPARE(Snapshot(), rows);
    QCOMPARE(TreeFixture::Dump("Root"), tree);
}

QTEST_GUILESS_MAIN(tst_XmlImport)
#include "tst_XmlImport.moc"
