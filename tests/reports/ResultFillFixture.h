#pragma once

#include "ModelFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/DemonstrationPlan.h"
#include "platform/Globals.h"
#include "reports/ResultFill.h"

#include <QtTest>

// The demonstration plan written into the open test database, and the grid rows found by text.
namespace ResultFillFixture {

// The demonstration plan's node key ("Eqpt<configuration>¤<plan>").
inline QString BuildPlan()
{
    gExplorerNodes().Clear();
    if (BuildDemonstrationPlan() != 0)
        return {};
    const QString configuration = ModelFixture::Scalar("SELECT MIN(ID) FROM CONFIGURATION").toString();
    const QString plan = ModelFixture::Scalar("SELECT MIN(ID) FROM TESTPLAN").toString();
    return NodeKey::kConfigurationPrefix + configuration + NodeKey::kSeparator + plan;
}

// A test row's own world and database, to hold the demonstration plan.
struct PlanDatabase
{
    explicit PlanDatabase(const QString& backend) : db(backend) {}
    TestEnvironment env;
    TestDatabase db;
    QString planKey;
};

inline int CountRows(const QString& table)
{
    return ModelFixture::Scalar("SELECT COUNT(*) FROM " + table).toInt();
}

// Grid rows whose cell in `column` reads `text`, in grid order.
inline QList<int> RowsWith(const ResultFill& fill, int column, const QString& text)
{
    QList<int> rows;
    for (int row = 1; row < fill.Grid().RowCount(); ++row)
        if (fill.Grid().Cell(row, column) == text)
            rows << row;
    return rows;
}

inline int RowOf(const ResultFill& fill, const QString& procedure, int occurrence = 0)
{
    return RowsWith(fill, ResultFill::colProcedure, procedure).value(occurrence, -1);
}

// Turns user management on with a user of its own for one test.
struct UserManagement
{
    explicit UserManagement(bool on, const QString& name = QStringLiteral("Ann"))
    {
        if (!on)
            return;
        ModelFixture::Run("INSERT INTO USERS (ID, NAME, CATEGORY) VALUES (3, ?, 2)", {name});
        gUserManagement = true;
        gUserId = QStringLiteral("3");
    }
    ~UserManagement()
    {
        gUserManagement = false;
        gUserId.clear();
    }
};

}  // namespace ResultFillFixture

// Opens the PlanDatabase's back end (skipping the row without its server) and writes the schema
// and the demonstration plan.
#define RESULT_FILL_OPEN_PLAN(plan)                      \
    do {                                                 \
        KORAVEL_REQUIRE_BACKEND((plan).db);              \
        ModelFixture::AddSchema();                       \
        (plan).planKey = ResultFillFixture::BuildPlan(); \
        QVERIFY(!(plan).planKey.isEmpty());              \
    } while (false)
