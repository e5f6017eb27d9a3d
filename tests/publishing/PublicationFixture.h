#pragma once

#include "Golden.h"
#include "ModelFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/DemonstrationPlan.h"
#include "model/TestPlan.h"
#include "platform/Settings.h"
#include "publishing/HTMLTemplate.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// The demonstration plan with fixed dates and templates that show every kind of field, so that
// generated pages can be compared with stored ones.
namespace PublicationFixture {

inline QString Placeholder(const QString& name)
{
    return "<IMG src=\"" + name + ".tag\">";
}

// Plan, sub-test, procedure and sheet templates holding the fields each fills.
inline void SaveTemplates()
{
    HTMLTemplate store;
    QCOMPARE(store.Save(3, "<H1>" + Placeholder("TESTPLANNAME") + "</H1><P>" + Placeholder("TESTPLANTITLE") + " on " +
                               Placeholder("CONFIGURATIONNAME") + " (" + Placeholder("CONFIGURATIONFIRST") + ")</P>" +
                               Placeholder("TESTPLANTOC") + Placeholder("TESTPLANDESCRIPTION")),
             0);
    QCOMPARE(store.Save(4, "<P>" + Placeholder("SUBTESTNAME") + ": " + Placeholder("SUBTESTDESCRIPTION") + "</P>"), 0);
    QCOMPARE(store.Save(14, "<P><B>" + Placeholder("PROCEDURENAME") + "</B> " + Placeholder("PROCEDURESTATUS") + " " +
                                Placeholder("PROCEDURECOMMENT") + " " + Placeholder("PROCEDUREWORKLOAD") + "</P>" +
                                Placeholder("PROCEDUREDESCRIPTION") + Placeholder("PROCEDUREEXPECTEDRESULT")),
             0);
    QCOMPARE(store.Save(20, "<H2>" + Placeholder("PROCEDURETITLE") + "</H2><P>" + Placeholder("SUBTESTNAME") + " / " +
                                Placeholder("TESTPLANNAME") + " / " + Placeholder("CONFIGURATIONNAME") + "</P><P>" +
                                Placeholder("PROCEDURESTATUS") + " " + Placeholder("PROCEDURECOMMENT") + "</P>" +
                                Placeholder("PROCEDUREDESCRIPTION") + Placeholder("PROCEDUREEXPECTEDRESULT")),
             0);
    QCOMPARE(store.Save(17, "BODY { font-family: sans-serif }"), 0);
}

// Builds the demonstration plan with dates that do not move and the templates above; gives the
// plan's node key.
inline QString BuildPlan()
{
    gExplorerNodes().Clear();
    if (BuildDemonstrationPlan() != 0)
        return {};
    for (const char* table : {"CONFIGURATION", "TESTPLAN", "SUBTEST", "PROCEDURES"})
        ModelFixture::Run(QString("UPDATE %1 SET DATE_CREATION = ?, DATE_UPDATE = ?").arg(table),
                          {QDate(2026, 1, 15), QDate(2026, 2, 20)});
    SaveTemplates();
    HTMLTemplate::InstallStyleSheetLoader();
    Settings::SaveSetting("Options", "StoreImage", "0");
    const QString configuration = ModelFixture::Scalar("SELECT MIN(ID) FROM CONFIGURATION").toString();
    const QString plan = ModelFixture::Scalar("SELECT MIN(ID) FROM TESTPLAN").toString();
    return NodeKey::kConfigurationPrefix + configuration + NodeKey::kSeparator + plan;
}

using Golden::ReadFile;
using Golden::SameAsGolden;

inline int Count(const QString& table)
{
    return ModelFixture::Scalar("SELECT COUNT(*) FROM " + table).toInt();
}

// The lowest id of the items of `table` named `name`.
inline QString Id(const QString& table, const QString& name)
{
    return ModelFixture::Scalar(QString("SELECT MIN(ID) FROM %1 WHERE NAME = ?").arg(table), {name}).toString();
}

// What reading a plan's results must leave as it was.
struct Counts
{
    int results = Count("RESULT");
    int history = Count("HISTORY");
    bool operator==(const Counts&) const = default;
};

}  // namespace PublicationFixture

// The demonstration plan on the row's back end: `env`, `db`, `planKey` and `plan` found by id.
#define OPEN_PLAN()                      \
    QFETCH(QString, backend);            \
    TestEnvironment env;                 \
    TestDatabase db(backend);            \
    KORAVEL_REQUIRE_BACKEND(db);         \
    ModelFixture::AddSchema();           \
    const QString planKey = BuildPlan(); \
    QVERIFY(!planKey.isEmpty());         \
    TestPlan plan;                       \
    QCOMPARE(plan.Find(TestPlanIdFromKey(planKey)), 0)
