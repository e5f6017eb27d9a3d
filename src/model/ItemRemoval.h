#pragma once

#include "model/LinkOrders.h"
#include "model/ResultKeyRewriter.h"

#include <QList>
#include <QSet>
#include <QString>
#include <utility>

class AdoConnection;

// Removes occurrences and the items that lose their last link, inside the caller's transaction.
// Links go at once; the parents that lost one are renumbered 1..n, and the results of removed
// occurrences go and those of renumbered ones follow, when Finish runs. Every step raises
// KvlError on failure, so the caller's transaction undoes the whole.
class ItemRemoval
{
public:
    explicit ItemRemoval(AdoConnection& connection) : m_connection(connection) {}

    // One link row; its occurrence's results go.
    void RemoveLink(const LinkOrders::Table& table, int parent, int child, int order);
    // A test plan's link to a configuration with the results under it; the plan goes with its
    // last configuration.
    void UnlinkTestPlan(int configuration, int testPlan);
    // The plan, its first-level sub-tests that nothing else holds, its links, pictures, history
    // and results.
    void DeleteTestPlan(int testPlan);
    // True while a test plan or a sub-test still holds the sub-test.
    bool SubTestIsLinked(int id) const;
    // The sub-test with its remaining links, the children and procedures that nothing else holds,
    // and its pictures.
    void DeleteSubTest(int id);
    // Every procedure link of the sub-test; procedures left without a link go.
    void DeleteProcedures(int subTestId);
    // The procedure, its results and pictures, once no link is left to it.
    void DeleteProcedureIfUnlinked(int id);
    // Today's history of this place is recomputed by Finish.
    void NoteHistory(const QString& configurationId, const QString& testPlanId);

    void Finish();

private:
    void TouchParent(const LinkOrders::Table& table, int parent);
    // Removes every link below `parent` with the results of its occurrences; gives the children
    // it held, each once.
    QList<int> RemoveAllChildLinks(const LinkOrders::Table& table, int parent);
    void DeletePictures(int id, int kind);
    bool Deleted(const LinkOrders::Table& table, int parent) const;

    AdoConnection& m_connection;
    ResultKeyRewriter m_rewriter;
    QList<std::pair<const LinkOrders::Table*, int>> m_parents;
    QSet<int> m_deletedPlans;
    QSet<int> m_deletedSubTests;
    QSet<std::pair<QString, QString>> m_history;  // (configuration, test plan)
};
