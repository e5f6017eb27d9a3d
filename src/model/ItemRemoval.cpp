#include "model/ItemRemoval.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/ImageItemKind.h"
#include "core/NodeKey.h"
#include "model/History.h"

#include <QSqlQuery>

namespace {

int Count(const AdoConnection& connection, const QString& sql, const QVariantList& values)
{
    return connection.Scalar(sql, values).toInt();
}

}  // namespace

void ItemRemoval::TouchParent(const LinkOrders::Table& table, int parent)
{
    const std::pair<const LinkOrders::Table*, int> key{&table, parent};
    if (!m_parents.contains(key))
        m_parents.append(key);
}

void ItemRemoval::RemoveLink(const LinkOrders::Table& table, int parent, int child, int order)
{
    m_connection.Run(QStringLiteral("DELETE FROM %1 WHERE %2 = ? AND %3 = ? AND %4 = ?")
                         .arg(QLatin1String(table.name), QLatin1String(table.parentColumn),
                              QLatin1String(table.childColumn), QLatin1String(table.orderColumn)),
                     {parent, child, order});
    m_rewriter.Remove(table.place, parent, child, order);
    TouchParent(table, parent);
}

void ItemRemoval::UnlinkTestPlan(int configuration, int testPlan)
{
    m_connection.Run(QStringLiteral("DELETE FROM CONFIGURATION_LINKS WHERE ID_TESTPLAN = ? AND ID_CONFIGURATION = ?"),
                     {testPlan, configuration});
    // Anchored at the key's start and closed by separators: whole segments only.
    const QString place = NodeKey::kConfigurationPrefix + QString::number(configuration) + NodeKey::kSeparator +
                          QString::number(testPlan) + NodeKey::kSeparator + QLatin1Char('%');
    m_connection.Run(QStringLiteral("DELETE FROM RESULT WHERE KEY_NODE LIKE ?"), {place});
    if (Count(m_connection, QStringLiteral("SELECT COUNT(*) FROM CONFIGURATION_LINKS WHERE ID_TESTPLAN = ?"),
              {testPlan}) == 0)
        DeleteTestPlan(testPlan);
}

void ItemRemoval::DeleteTestPlan(int testPlan)
{
    m_deletedPlans.insert(testPlan);
    QList<int> subTests;
    m_connection.ForEachRow(QStringLiteral("SELECT DISTINCT ID_SUBTEST FROM TESTPLAN_LINKS WHERE ID_TESTPLAN = ?"),
                            {testPlan}, [&](const QSqlQuery& links) { subTests.append(links.value(0).toInt()); });
    m_connection.Run(QStringLiteral("DELETE FROM TESTPLAN_LINKS WHERE ID_TESTPLAN = ?"), {testPlan});
    for (int subTest : subTests) {
        if (!SubTestIsLinked(subTest))
            DeleteSubTest(subTest);
    }
    DeletePictures(testPlan, ImageItemKind::TestPlan);
    if (HasHistory())
        m_connection.Run(QStringLiteral("DELETE FROM HISTORY WHERE ID_TESTPLAN = ?"), {testPlan});
    m_connection.Run(QStringLiteral("DELETE FROM RESULT WHERE ID_TESTPLAN = ?"), {testPlan});
    m_connection.Run(QStringLiteral("DELETE FROM TESTPLAN WHERE ID = ?"), {testPlan});
}

// Both kinds of link count: a sub-test under a plan and under another sub-test stays while
// either is left.
bool ItemRemoval::SubTestIsLinked(int id) const
{
    return Count(m_connection, QStringLiteral("SELECT COUNT(*) FROM TESTPLAN_LINKS WHERE ID_SUBTEST = ?"), {id}) +
               Count(m_connection, QStringLiteral("SELECT COUNT(*) FROM SUBTEST_LINKS WHERE ID_SUBTEST_CHILD = ?"),
                     {id}) >
           0;
}

void ItemRemoval::DeleteSubTest(int id)
{
    if (m_deletedSubTests.contains(id))
        return;  // a cycle stored by an older version
    m_deletedSubTests.insert(id);
    const QList<int> children = RemoveAllChildLinks(LinkOrders::kSubTestLinks, id);
    for (int child : children) {
        if (!SubTestIsLinked(child))
            DeleteSubTest(child);
    }
    // Links left above it (a caller deleting it outright): they go, and their parents close up.
    for (const LinkOrders::Table* table : {&LinkOrders::kSubTestLinks, &LinkOrders::kTestPlanLinks}) {
        const QList<LinkOrders::Row> rows = LinkOrders::ReadChild(m_connection, *table, id);
        for (const LinkOrders::Row& row : rows)
            RemoveLink(*table, row.parent, row.child, row.order);
    }
    DeleteProcedures(id);
    DeletePictures(id, ImageItemKind::SubTest);
    m_connection.Run(QStringLiteral("DELETE FROM SUBTEST WHERE ID = ?"), {id});
}

void ItemRemoval::DeleteProcedures(int subTestId)
{
    const QList<int> procedures = RemoveAllChildLinks(LinkOrders::kProcedureLinks, subTestId);
    for (int procedure : procedures)
        DeleteProcedureIfUnlinked(procedure);
}

QList<int> ItemRemoval::RemoveAllChildLinks(const LinkOrders::Table& table, int parent)
{
    QList<int> children;
    for (const LinkOrders::Row& row : LinkOrders::Read(m_connection, table, parent)) {
        m_rewriter.Remove(table.place, parent, row.child, row.order);
        if (!children.contains(row.child))
            children.append(row.child);
    }
    m_connection.Run(
        QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(QLatin1String(table.name), QLatin1String(table.parentColumn)),
        {parent});
    return children;
}

void ItemRemoval::DeleteProcedureIfUnlinked(int id)
{
    if (Count(m_connection, QStringLiteral("SELECT COUNT(*) FROM PROCEDURE_LINKS WHERE ID_PROCEDURE = ?"), {id}) > 0)
        return;
    m_connection.Run(QStringLiteral("DELETE FROM RESULT WHERE ID_PROCEDURE = ?"), {id});
    DeletePictures(id, ImageItemKind::Procedure);
    DeletePictures(id, ImageItemKind::ProcedureExpectedResult);
    m_connection.Run(QStringLiteral("DELETE FROM PROCEDURES WHERE ID = ?"), {id});
}

void ItemRemoval::DeletePictures(int id, int kind)
{
    m_connection.Run(QStringLiteral("DELETE FROM IMAGEFILE WHERE ID_ITEM = ? AND ITEM = ?"),
                     {QString::number(id), kind});
}

void ItemRemoval::NoteHistory(const QString& configurationId, const QString& testPlanId)
{
    m_history.insert({configurationId, testPlanId});
}

bool ItemRemoval::Deleted(const LinkOrders::Table& table, int parent) const
{
    return &table == &LinkOrders::kTestPlanLinks ? m_deletedPlans.contains(parent) : m_deletedSubTests.contains(parent);
}

void ItemRemoval::Finish()
{
    for (const auto& [table, parent] : m_parents) {
        if (Deleted(*table, parent))
            continue;
        QList<LinkOrders::Row> rows = LinkOrders::Read(m_connection, *table, parent);
        LinkOrders::Span changed;
        if (LinkOrders::Renumber(*table, rows, m_rewriter, &changed))
            LinkOrders::ReplaceSpan(m_connection, *table, parent, rows, changed);
    }
    const ResultKeyRewriter::Outcome outcome = m_rewriter.Run(m_connection);
    // Every place that lost results gets today's figures, not only the one the user acted on.
    QSet<std::pair<QString, QString>> places = m_history + outcome.places;
    for (const auto& [configuration, testPlan] : places) {
        bool planOk = false;
        bool configurationOk = false;
        const int plan = testPlan.toInt(&planOk);
        configuration.toInt(&configurationOk);
        // A key left behind by an older version may name a plan that no longer exists.
        if (!planOk || !configurationOk || m_deletedPlans.contains(plan) ||
            Count(m_connection, QStringLiteral("SELECT COUNT(*) FROM TESTPLAN WHERE ID = ?"), {plan}) == 0)
            continue;
        UpdateHistory(testPlan, configuration);
    }
}
