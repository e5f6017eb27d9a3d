#include "ModelFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "model/Application.h"

#include <QtTest>

using namespace ModelFixture;

// The object model's root loads the configurations of the database.
class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void loadConfigurations_data() { TestDatabase::AddBackendRows(); }
    void loadConfigurations()
    {
        QFETCH(QString, backend);
        TestEnvironment env;
        TestDatabase db(backend);
        KORAVEL_REQUIRE_BACKEND(db);
        AddSchema();

        Application app;
        QCOMPARE(app.LoadConfigurations(), 0);
        QCOMPARE(app.Configurations().Count(), 0);  // empty, not missing

        Run("INSERT INTO CONFIGURATION (ID, NAME, TITLE) VALUES (5, 'Bench', 'T5')");
        Run("INSERT INTO CONFIGURATION (ID, NAME) VALUES (9, NULL)");
        QCOMPARE(app.LoadConfigurations("ignored"), 0);
        QCOMPARE(app.Configurations().Count(), 2);
        QCOMPARE(app.Configurations().Item(5)->Name(), QString("Bench"));
        QVERIFY(app.Configurations().Item(5)->Title().isEmpty());  // only id and name are read
        QCOMPARE(app.Configurations().Item(9)->Name(), QString());
        QCOMPARE(env.BugLogEntries(), 0);

        // A second load replaces the collection.
        auto held = app.Configurations();
        Run("DELETE FROM CONFIGURATION WHERE ID = 9");
        QCOMPARE(app.LoadConfigurations(), 0);
        QCOMPARE(app.Configurations().Count(), 1);
        QCOMPARE(held.Count(), 2);
    }

    // A read that failed is reported: the explorer would otherwise show a database without a
    // configuration as if it were empty.
    void failureIsLoggedAndReported()
    {
        TestEnvironment env;
        TestDatabase db("sqlite");
        QVERIFY(db.Open());  // no schema: the table is missing
        Application app;
        QCOMPARE(app.LoadConfigurations(), 1);
        QCOMPARE(app.Configurations().Count(), 0);
        QCOMPARE(env.BugLogEntries(), 1);
        QVERIFY(env.BugLog().contains("Error_LoadConfigurations : "));
    }
};

QTEST_GUILESS_MAIN(tst_Application)
#include "tst_Application.moc"
