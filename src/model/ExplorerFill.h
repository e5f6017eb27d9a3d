#pragma once

#include "model/SubTreeRows.h"

#include <QString>

class SubTest;
class TestPlan;

// Adds under the node `strKeyRelated` one node per child sub-test of `objSubTestParent`, each
// filled with its procedures and then its own child sub-tests, down the whole subtree.
void tvTestPlan_AddSubTest(const QString& strKeyRelated, SubTest& objSubTestParent);
// Adds under the node `strKeySubTest` one node per procedure occurrence of `objSubTest`.
void tvTestPlan_AddProcedure(const QString& strKeySubTest, SubTest& objSubTest);

// Fills explorer nodes from the links of a whole subtree read at once. Several occurrences of
// the same sub-test can share one fill.
class ExplorerFill
{
public:
    // Reads the links below `rootIds`; when that fails (logged) each node reads its own.
    explicit ExplorerFill(const QStringList& rootIds);

    // The occurrence's Key becomes `key`; a node showing a sub-test gives it its Level.
    void AddSubTests(const QString& key, SubTest& parent);
    void AddProcedures(const QString& key, SubTest& subTest);
    // The plan's first-level sub-tests under the plan node `key`, each with its subtree.
    static void AddTestPlanSubTests(const QString& key, TestPlan& plan);

private:
    SubTreeRows m_rows;
};
