#include "ModelFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "TreeFixture.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNodes.h"
#include "model/Configuration.h"
#include "model/DemonstrationPlan.h"
#include "model/ExplorerFill.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"

#include <QtTest>

// The demonstration plan of the sample database, read back through the loaders.
class tst_DemonstrationPlan : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { gExplorerNodes().Clear(); }
    void readsBack_data() { TestDatabase::AddBackendRows(); }
    void readsBack();
    void failureStoresNothing();
    void shippedSampleHoldsThePlan();
};

void tst_DemonstrationPlan::readsBack()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    QCOMPARE(BuildDemonstrationPlan(), 0);
    QCOMPARE(env.BugLogEntries(), 0);

    // Read back from the database alone, into a fresh explorer.
    gExplorerNodes().Clear();
    Configuration bench;
    QCOMPARE(bench.Find("1"), 0);
    QCOMPARE(bench.Name(), QString("Demonstration bench"));
    QVERIFY(!bench.Equipment1().isEmpty() && !bench.Equipment2().isEmpty() && !bench.Equipment3().isEmpty());
    QCOMPARE(bench.LoadTestPlans(), 0);
    QCOMPARE(bench.TestPlans().Count(), 1);
    const auto plan = *bench.TestPlans().begin();

    gExplorerNodes().Add({}, "Root", "Database", 1);
    gExplorerNodes().Add("Root", "Eqpt1", bench.Name(), 2)->SetTag("1");
    const QString planKey = TreeFixture::K("Eqpt1~" + plan->Id());
    gExplorerNodes().Add("Eqpt1", planKey, plan->Name(), 3)->SetTag(plan->Id());
    ExplorerFill::AddTestPlanSubTests(planKey, *plan);
    QCOMPARE(plan->SubTests1().Count(), 2);

    QMap<QString, int> shown;
    int deepest = 0;
    for (int i = 1; i <= gExplorerNodes().Count(); ++i) {
        const ExplorerNode* node = gExplorerNodes().Item(i);
        ++shown[node->Text()];
        if (node->Image() < 14)
            deepest = qMax(deepest, node->Image());
    }
    QCOMPARE(deepest, 5);  // two levels of sub-tests
    QCOMPARE(shown.value("Self-test"), 2);
    QCOMPARE(shown.value("Read the boot banner"), 2);
    QCOMPARE(shown.value("Run the built-in test"), 2);

    // Procedures carry their documents; results were played.
    for (int i = 1; i <= gExplorerNodes().Count(); ++i) {
        const ExplorerNode* node = gExplorerNodes().Item(i);
        if (node->Image() != 14)
            continue;
        Procedure procedure;
        QCOMPARE(procedure.Find(KeyIdShort(node->Tag())), 0);
        QVERIFY(procedure.HasDescription());
        QVERIFY(procedure.HasExpectedResult());
    }
    QCOMPARE(ModelFixture::Scalar("SELECT COUNT(*) FROM RESULT").toInt(), 3);
    QCOMPARE(ModelFixture::Scalar("SELECT COUNT(*) FROM RESULT WHERE STATUS = 0").toInt(), 1);

    SubTest power;
    QCOMPARE(power.Find(plan->SubTests1().begin()->get()->Id()), 0);
    // 1 (banner) + 0.5 (rail, one level down) + 2 (built-in test under the shared self-test).
    QCOMPARE(power.WorkLoad(), 3.5f);
}

void tst_DemonstrationPlan::failureStoresNothing()
{
    TestEnvironment env;
    TestDatabase db("sqlite");
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    // A configuration node already in the way makes the build fail after its first rows.
    gExplorerNodes().Add({}, "Root", "Database", 1);
    gExplorerNodes().Add("Root", "Eqpt1", "In the way", 2);
    QCOMPARE(BuildDemonstrationPlan(), 1);
    QVERIFY(env.BugLog().contains("Error_BuildDemonstrationPlan : "));
    for (const char* table : {"CONFIGURATION", "TESTPLAN", "SUBTEST", "PROCEDURES", "RESULT"})
        QCOMPARE(ModelFixture::Scalar(QString("SELECT COUNT(*) FROM ") + table).toInt(), 0);
}

void tst_DemonstrationPlan::shippedSampleHoldsThePlan()
{
    TestEnvironment env;
    const QString copy = env.Path("demo.db");
    QVERIFY(QFile::copy(KORAVEL_SAMPLE_DB, copy));
    QVERIFY(gConnection().OpenAccess(copy));
    Configuration bench;
    QCOMPARE(bench.Find("1"), 0);
    QCOMPARE(bench.LoadTestPlans(), 0);
    QCOMPARE(bench.TestPlans().Count(), 1);
    const auto plan = *bench.TestPlans().begin();
    plan->SetKey(TreeFixture::K("Eqpt1~" + plan->Id()));
    QCOMPARE(plan->LoadSubTests1(), 0);
    QCOMPARE(plan->SubTests1().Count(), 2);
    gConnection().Close();
    QCOMPARE(env.BugLogEntries(), 0);
}

QTEST_GUILESS_MAIN(tst_DemonstrationPlan)
#include "tst_DemonstrationPlan.moc"
