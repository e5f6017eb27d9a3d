#include "model/RepairPlan.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/ImageItemKind.h"
#include "core/NodeKey.h"
#include "model/TagLink.h"

#include <QHash>
#include <QSqlQuery>
#include <algorithm>

using Place = ResultKeyRewriter::Place;

QSet<int> RepairPlan::Ids(AdoConnection& connection, const QString& table)
{
    QSet<int> ids;
    QSqlQuery query = connection.Query(QStringLiteral("SELECT ID FROM ") + table);
    while (query.next())
        ids.insert(query.value(0).toInt());
    return ids;
}

QList<int> RepairPlan::Dead(const QSet<int>& all, const QSet<int>& living)
{
    QList<int> dead;
    for (int id : all) {
        if (!living.contains(id))
            dead.append(id);
    }
    std::sort(dead.begin(), dead.end());
    return dead;
}

const RepairPlan::LinkWork& RepairPlan::Work(const LinkOrders::Table& table) const
{
    return m_work[static_cast<int>(table.place)];
}

void RepairPlan::Load(AdoConnection& connection)
{
    m_configurations = Ids(connection, QStringLiteral("CONFIGURATION"));
    m_testPlans = Ids(connection, QStringLiteral("TESTPLAN"));
    m_subTests = Ids(connection, QStringLiteral("SUBTEST"));
    m_procedures = Ids(connection, QStringLiteral("PROCEDURES"));
    m_hasConfigurationLinks = ::HasConfigurationLinks();
    if (m_hasConfigurationLinks) {
        QSqlQuery links =
            connection.Query(QStringLiteral("SELECT ID_TESTPLAN, ID_CONFIGURATION FROM CONFIGURATION_LINKS"));
        while (links.next()) {
            const std::pair<int, int> link{links.value(0).toInt(), links.value(1).toInt()};
            if (m_testPlans.contains(link.first) && m_configurations.contains(link.second)) {
                m_configurationLinks.insert(link);
                m_livingPlans.insert(link.first);
            }
        }
    } else {
        m_livingPlans = m_testPlans;  // without the links table a plan hangs by its own column
    }
    const QList<LinkOrders::Row> planLinks = LinkOrders::ReadAll(connection, LinkOrders::kTestPlanLinks);
    const QList<LinkOrders::Row> subTestLinks = LinkOrders::ReadAll(connection, LinkOrders::kSubTestLinks);
    const QList<LinkOrders::Row> procedureLinks = LinkOrders::ReadAll(connection, LinkOrders::kProcedureLinks);
    KeepSubTests(planLinks, subTestLinks);
    for (const LinkOrders::Row& link : procedureLinks) {
        if (m_livingSubTests.contains(link.parent) && m_procedures.contains(link.child))
            m_livingProcedures.insert(link.child);
    }
    Settle(LinkOrders::kTestPlanLinks, planLinks, m_livingPlans, m_livingSubTests);
    Settle(LinkOrders::kSubTestLinks, subTestLinks, m_livingSubTests, m_livingSubTests);
    Settle(LinkOrders::kProcedureLinks, procedureLinks, m_livingSubTests, m_livingProcedures);
}

// A sub-test lives while a link from a living plan or a living sub-test holds it; each one that
// goes may take the ones below it along, until nothing changes.
void RepairPlan::KeepSubTests(const QList<LinkOrders::Row>& planLinks, const QList<LinkOrders::Row>& subTestLinks)
{
    QHash<int, int> holders;
    QHash<int, QList<int>> children;
    for (const LinkOrders::Row& link : planLinks) {
        if (m_livingPlans.contains(link.parent) && m_subTests.contains(link.child))
            ++holders[link.child];
    }
    for (const LinkOrders::Row& link : subTestLinks) {
        if (m_subTests.contains(link.parent) && m_subTests.contains(link.child)) {
            ++holders[link.child];
            children[link.parent].append(link.child);
        }
    }
    m_livingSubTests = m_subTests;
    QList<int> going;
    for (int id : m_subTests) {
        if (holders.value(id) == 0)
            going.append(id);
    }
    while (!going.isEmpty()) {
        const int id = going.takeLast();
        if (!m_livingSubTests.remove(id))
            continue;
        for (int child : children.value(id)) {
            if (m_livingSubTests.contains(child) && --holders[child] == 0)
                going.append(child);
        }
    }
}

// Keeps the rows whose parent and child live on, renumbers each parent's survivors in their
// stored sequence and notes the parents whose rows change.
void RepairPlan::Settle(const LinkOrders::Table& table, const QList<LinkOrders::Row>& rows, const QSet<int>& parents,
                        const QSet<int>& children)
{
    LinkWork& work = m_work[static_cast<int>(table.place)];
    for (qsizetype start = 0; start < rows.size();) {
        const int parent = rows[start].parent;
        qsizetype end = start;
        QList<LinkOrders::Row> kept;
        while (end < rows.size() && rows[end].parent == parent) {
            if (parents.contains(parent) && children.contains(rows[end].child))
                kept.append(rows[end]);
            ++end;
        }
        const bool dropped = kept.size() != end - start;
        if (LinkOrders::Renumber(table, kept, m_rewriter) || dropped) {
            work.parents.append(parent);
            work.rows += kept;
        }
        for (const LinkOrders::Row& row : kept)
            m_places.insert({table.place, row.parent, row.child, row.order});
        start = end;
    }
}

bool RepairPlan::NamesPlace(const NodeKey& key) const
{
    if (!key.IsProcedure() || key.Count() < 3)
        return false;
    bool ok = false;
    const int configuration = key.ConfigurationId().toInt(&ok);
    if (!ok || !m_configurations.contains(configuration))
        return false;
    int parent = key.TestPlanId().toInt(&ok);
    if (!ok || !m_livingPlans.contains(parent))
        return false;
    if (m_hasConfigurationLinks && !m_configurationLinks.contains({parent, configuration}))
        return false;
    for (int i = 2; i < key.Count(); ++i) {
        TagLink link;
        // Each step hangs below the item of the step before it.
        if (!TagLink::TryParse(key.Segment(i), link) || link.parent != parent)
            return false;
        Place place = Place::UnderSubTest;
        ResultKeyRewriter::PlaceOf(i, key.Count(), true, &place);
        if (!m_places.contains({place, link.parent, link.child, link.order}))
            return false;
        parent = link.child;
    }
    return true;
}

QList<int> RepairPlan::DeadPictures(AdoConnection& connection) const
{
    QList<int> dead;
    QSqlQuery pictures =
        connection.Query(QStringLiteral("SELECT ID, ITEM, ID_ITEM FROM IMAGEFILE WHERE ITEM IN (?, ?, ?, ?, ?)"),
                         {ImageItemKind::Configuration, ImageItemKind::TestPlan, ImageItemKind::SubTest,
                          ImageItemKind::Procedure, ImageItemKind::ProcedureExpectedResult});
    while (pictures.next()) {
        bool ok = false;
        // The owner's id is kept as text; it is read back as the integer it stands for.
        const int owner = pictures.value(2).toString().trimmed().toInt(&ok);
        const int kind = pictures.value(1).toInt();
        const QSet<int>& living = kind == ImageItemKind::Configuration ? m_configurations
                                  : kind == ImageItemKind::TestPlan    ? m_livingPlans
                                  : kind == ImageItemKind::SubTest     ? m_livingSubTests
                                                                       : m_livingProcedures;
        if (!ok || !living.contains(owner))
            dead.append(pictures.value(0).toInt());
    }
    return dead;
}

QList<int> RepairPlan::DeadHistory(AdoConnection& connection) const
{
    QList<int> dead;
    if (!::HasHistory())
        return dead;
    QSqlQuery plans = connection.Query(QStringLiteral("SELECT DISTINCT ID_TESTPLAN FROM HISTORY"));
    while (plans.next()) {
        if (!m_livingPlans.contains(plans.value(0).toInt()))
            dead.append(plans.value(0).toInt());
    }
    return dead;
}
