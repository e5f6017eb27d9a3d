#pragma once

#include <QString>

// What the engine itself needs for the rows a figure handles: one plain query reading them, every
// column read from every row. Each gives the number of rows read.
namespace BenchFloors {

// One item's column written by id; raises when no row took it.
void UpdateColumn(const QString& table, const QString& column, const QString& id, const QString& value);
// Every configuration with its test plans.
qint64 TopLevels();
// Every sub-test and procedure occurrence below a test plan.
qint64 PlanSubtree(const QString& planId);
// The results of a test plan under a configuration, every column.
qint64 PlanResults(const QString& planId, const QString& configurationId);
// Fill all's two statements alone, in one transaction: every result of the plan under the
// configuration Passed, its iteration raised. Gives the rows changed.
qint64 SetAllPassed(const QString& planId, const QString& configurationId);
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
// The ids of the configurations, test plans, sub-tests and procedures whose DESCRIPTION matches
// `pattern`, a LIKE pattern with "\" as its escape character.
qint64 DescriptionMatches(const QString& pattern);
// Every procedure link with its procedure's name and update date: one row per occurrence below a
// sub-test.
qint64 ProcedureLinks();
// The configurations, the test plans of each and their first-level links, one query each.
qint64 SearchLocations();

// What a publication of a test plan reads: the plan and its configuration, the sub-test
// occurrences below the plan with their descriptions, the procedure links below them, each
// procedure's row once with its description and expected result, and the plan's results.
struct PublicationRows
{
    qint64 subTestOccurrences = 0;
    qint64 procedureOccurrences = 0;
    qint64 subTests = 0;        // distinct
    qint64 procedurePages = 0;  // distinct pairs of a sub-test and a procedure it holds
    qint64 procedures = 0;      // distinct
    qint64 results = 0;
};
PublicationRows PlanPublication(const QString& planId, const QString& configurationId);

}  // namespace BenchFloors
