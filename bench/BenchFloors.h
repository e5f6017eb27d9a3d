#pragma once

#include <QString>

// What the engine itself needs for the rows a figure handles: one plain query reading them, every
// column read from every row. Each gives the number of rows read.
namespace BenchFloors {

// Every configuration with its test plans.
qint64 TopLevels();
// Every sub-test and procedure occurrence below a test plan.
qint64 PlanSubtree(const QString& planId);
// Every sub-test and procedure occurrence below a sub-test.
qint64 SubTestSubtree(const QString& subTestId);
// Every procedure occurrence below a sub-test, with its work load; `workLoad` receives the sum.
qint64 SubTestWorkLoad(const QString& subTestId, double& workLoad);
// The procedure links of a sub-test with the results of their occurrences under `keyPrefix`.
qint64 ChildrenWithResults(const QString& subTestId);
// The first-level links of a test plan.
qint64 PlanLinks(const QString& planId);
// One item's row of `table`, every column.
qint64 ItemRow(const QString& table, const QString& id);
// Every link row and result of the database.
qint64 AllLinksAndResults();

}  // namespace BenchFloors
