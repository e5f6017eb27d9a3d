#pragma once

#include "model/SubTreeRows.h"

#include <QString>

class ExplorerNode;
class SubTest;
class TestPlan;

// Adds under the node `strKeyRelated` one node per child sub-test of `objSubTestParent`, each
// filled with its whole subtree. Failures are logged.
void tvTestPlan_AddSubTest(const QString& strKeyRelated, SubTest& objSubTestParent);
// Adds under the node `strKeySubTest` one node per procedure occurrence of `objSubTest`. Failures
// are logged.
void tvTestPlan_AddProcedure(const QString& strKeySubTest, SubTest& objSubTest);

// Fills explorer nodes from the links of whole subtrees, each sub-test's links read once however
// often it shows. A branch nested deeper than the deepest sub-test level is refused, logged once
// per fill; the rest is filled.
class ExplorerFill
{
public:
    // Fills the empty sub-test node `key`, which shows `subTest`, with its child sub-tests (each
    // with its subtree) and its procedures: directly under a test plan the children come first,
    // deeper down the procedures. The sub-test takes the node's key and level. Raises KvlError
    // when the node shows no sub-test or the links cannot be read.
    void FillSubTest(const QString& key, SubTest& subTest);

    // The plan's first-level sub-tests under the plan node `key`, each with its subtree. Raises as
    // FillSubTest does.
    static void AddTestPlanSubTests(const QString& key, TestPlan& plan);

    // Adds the node of a new occurrence, tagged "parent|id|order", among the children of
    // `parent` where a fresh fill of the parent would put it: with the children of its kind, by
    // order and id, the kinds grouped as FillSubTest and AddTestPlanSubTests group them. Raises
    // KvlError as ExplorerNodes::Add does.
    static ExplorerNode* InsertOccurrence(const ExplorerNode& parent, const QString& key, const QString& text,
                                          int image, const QString& tag);

private:
    friend void tvTestPlan_AddSubTest(const QString&, SubTest&);
    friend void tvTestPlan_AddProcedure(const QString&, SubTest&);

    // Gives the sub-test the node's key and level and makes sure its own links are read, with
    // its `subtree` down to the deepest level; returns the node's image.
    int Place(const QString& key, SubTest& subTest, bool subtree);
    void AddChildSubTests(const QString& key, SubTest& parent);
    void AddProcedures(const QString& key, SubTest& subTest);

    SubTreeRows m_rows;
};
