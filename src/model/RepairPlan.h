#pragma once

#include "model/LinkOrders.h"
#include "model/ResultKeyRewriter.h"

#include <QList>
#include <QSet>
#include <QString>

class AdoConnection;
class NodeKey;

// What a database repair changes, worked out in memory from one read of the items and links:
// the items that no link keeps (repeated until nothing changes), the link rows left dangling,
// each parent's children renumbered 1..n in their stored sequence, and the result keys that the
// renumbering moves.
class RepairPlan
{
public:
    // Reads everything and works the plan out. Raises KvlError.
    void Load(AdoConnection& connection);

    // The link rows to write back per table: every parent whose rows change, and their rows.
    struct LinkWork
    {
        QList<int> parents;
        QList<LinkOrders::Row> rows;
    };
    const LinkWork& Work(const LinkOrders::Table& table) const;

    const ResultKeyRewriter& Rewriter() const { return m_rewriter; }
    // True when a result key, after its rewrite, still names a place that exists.
    bool NamesPlace(const NodeKey& key) const;

    QList<int> DeadTestPlans() const { return Dead(m_testPlans, m_livingPlans); }
    QList<int> DeadSubTests() const { return Dead(m_subTests, m_livingSubTests); }
    QList<int> DeadProcedures() const { return Dead(m_procedures, m_livingProcedures); }
    // IMAGEFILE ids whose owner (integer id of the given kind) does not live on.
    QList<int> DeadPictures(AdoConnection& connection) const;
    // Test-plan ids named by HISTORY rows whose plan does not live on.
    QList<int> DeadHistory(AdoConnection& connection) const;
    bool HasConfigurationLinks() const { return m_hasConfigurationLinks; }

private:
    static QSet<int> Ids(AdoConnection& connection, const QString& table);
    static QList<int> Dead(const QSet<int>& all, const QSet<int>& living);
    void KeepSubTests(const QList<LinkOrders::Row>& planLinks, const QList<LinkOrders::Row>& subTestLinks);
    void Settle(const LinkOrders::Table& table, const QList<LinkOrders::Row>& rows, const QSet<int>& parents,
                const QSet<int>& children);

    QSet<int> m_configurations;
    QSet<int> m_testPlans;
    QSet<int> m_subTests;
    QSet<int> m_procedures;
    QSet<int> m_livingPlans;
    QSet<int> m_livingSubTests;
    QSet<int> m_livingProcedures;
    QSet<std::pair<int, int>> m_configurationLinks;  // (test plan, configuration)
    bool m_hasConfigurationLinks = false;
    LinkWork m_work[3];
    QSet<ResultKeyRewriter::Step> m_places;  // the links that remain, after renumbering
    ResultKeyRewriter m_rewriter;
};
