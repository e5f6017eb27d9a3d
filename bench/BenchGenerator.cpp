#include "BenchGenerator.h"

#include "BoundInsert.h"

#include "core/db/AdoConnection.h"
#include "core/NodeKey.h"
#include "platform/KvlError.h"

#include <QDate>

namespace {

const QDate kCreated(2024, 1, 15);
const QDate kUpdated(2024, 2, 20);

}  // namespace

BenchGenerator::BenchGenerator(const BenchShape& shape) : m_shape(shape), m_random(shape.seed) {}

BenchGenerator::~BenchGenerator() = default;

void BenchGenerator::Write()
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    BoundInsert configurations(QStringLiteral("CONFIGURATION"),
                               {"ID", "NAME", "TITLE", "EQUIPMENT1", "DATE_CREATION", "DATE_UPDATE"});
    BoundInsert plans(QStringLiteral("TESTPLAN"),
                      {"ID", "NAME", "TITLE", "ID_CONFIGURATION", "DATE_CREATION", "DATE_UPDATE"});
    BoundInsert configurationLinks(QStringLiteral("CONFIGURATION_LINKS"), {"ID_TESTPLAN", "ID_CONFIGURATION"});
    BoundInsert planLinks(QStringLiteral("TESTPLAN_LINKS"), {"ID_TESTPLAN", "ID_SUBTEST", "ORDER_SUBTEST"});
    BoundInsert subTests(QStringLiteral("SUBTEST"), {"ID", "NAME", "TITLE", "DATE_CREATION", "DATE_UPDATE"});
    BoundInsert procedures(QStringLiteral("PROCEDURES"),
                           {"ID", "NAME", "TITLE", "WORKLOAD", "DATE_CREATION", "DATE_UPDATE"});
    BoundInsert subTestLinks(QStringLiteral("SUBTEST_LINKS"),
                             {"ID_SUBTEST_PARENT", "ID_SUBTEST_CHILD", "ORDER_SUBTEST"});
    BoundInsert procedureLinks(QStringLiteral("PROCEDURE_LINKS"), {"ID_SUBTEST", "ID_PROCEDURE", "ORDER_PROCEDURE"});
    BoundInsert results(QStringLiteral("RESULT"), {"ID_PROCEDURE", "KEY_NODE", "STATUS", "ID_TESTPLAN", "DATE_UPDATE",
                                                   "DATE_CREATION", "COMMENT", "ITERATION"});
    m_subTestRows = &subTests;
    m_procedureRows = &procedures;
    m_subTestLinks = &subTestLinks;
    m_procedureLinks = &procedureLinks;
    m_results = &results;

    for (int c = 1; c <= m_shape.configurations; ++c) {
        const QString name = QStringLiteral("Configuration %1").arg(c);
        configurations.Add({c, name, name, QStringLiteral("Bench %1").arg(c), kCreated, kUpdated});
        // The big plan comes first, in the first configuration.
        const int count = m_shape.plansPerConfiguration + (c == 1 ? 1 : 0);
        for (int p = 0; p < count; ++p) {
            const bool big = c == 1 && p == 0;
            const int plan = m_nextPlan++;
            const QString planName = QStringLiteral("Test plan %1").arg(plan);
            plans.Add({plan, planName, planName, c, kCreated, kUpdated});
            configurationLinks.Add({plan, c});
            const int levels = big ? m_shape.bigPlanDepth : m_shape.depth;
            const QString planKey =
                NodeKey::kConfigurationPrefix + QString::number(c) + NodeKey::kSeparator + QString::number(plan);
            for (int order = 1; order <= m_shape.fanOut; ++order) {
                const int subTest = SubTestOfHeight(levels);
                planLinks.Add({plan, subTest, order});
                WriteResults(
                    planKey + NodeKey::kSeparator +
                        NodeKey::FormatLink(QString::number(plan), QString::number(subTest), QString::number(order)),
                    subTest, plan);
            }
        }
    }
    for (BoundInsert* rows : {&configurations, &plans, &configurationLinks, &subTests, &procedures, &planLinks,
                              &subTestLinks, &procedureLinks, &results})
        rows->Flush();
    m_resultRows = results.Rows();
    if (!transaction.Commit())
        throw KvlError(3251, QStringLiteral("The generated database could not be committed."));
}

int BenchGenerator::SubTestOfHeight(int height)
{
    const QList<int>& written = m_byHeight.value(height);
    if (!written.isEmpty() && m_random.generateDouble() < m_shape.sharedSubTests)
        return written[m_random.bounded(static_cast<int>(written.size()))];
    return NewSubTest(height);
}

int BenchGenerator::NewSubTest(int height)
{
    const int id = m_nextSubTest++;
    const QString name = QStringLiteral("Sub-test %1").arg(id);
    m_subTestRows->Add({id, name, name, kCreated, kUpdated});
    SubTestRow row;
    if (height > 1) {
        for (int order = 1; order <= m_shape.fanOut; ++order) {
            const int child = SubTestOfHeight(height - 1);
            m_subTestLinks->Add({id, child, order});
            row.children.append({child, order});
        }
    } else {
        for (int order = 1; order <= m_shape.proceduresPerSubTest; ++order) {
            const int procedure = ProcedureFor();
            m_procedureLinks->Add({id, procedure, order});
            row.procedures.append({procedure, order});
        }
    }
    m_subTests.insert(id, row);
    m_byHeight[height].append(id);
    return id;
}

int BenchGenerator::ProcedureFor()
{
    if (!m_procedures.isEmpty() && m_random.generateDouble() < m_shape.sharedProcedures)
        return m_procedures[m_random.bounded(static_cast<int>(m_procedures.size()))];
    const int id = m_nextProcedure++;
    const QString name = QStringLiteral("Procedure %1").arg(id);
    // Quarter hours from a quarter to four hours.
    const double workLoad = (1 + m_random.bounded(16)) / 4.0;
    m_procedureRows->Add({id, name, name, workLoad, kCreated, kUpdated});
    m_procedures.append(id);
    return id;
}

void BenchGenerator::WriteResults(const QString& key, int subTestId, int planId)
{
    const SubTestRow row = m_subTests.value(subTestId);
    const QString parent = QString::number(subTestId);
    for (const Link& child : row.children)
        WriteResults(key + NodeKey::kSeparator +
                         NodeKey::FormatLink(parent, QString::number(child.id), QString::number(child.order)),
                     child.id, planId);
    for (const Link& procedure : row.procedures) {
        if (m_random.generateDouble() >= m_shape.results)
            continue;
        const QString procedureKey =
            key + NodeKey::kSeparator +
            NodeKey::FormatLink(parent, QString::number(procedure.id), QString::number(procedure.order)) +
            QLatin1Char('$');
        m_results->Add({procedure.id, procedureKey, static_cast<int>(m_random.bounded(4)), planId, kUpdated, kCreated,
                        QStringLiteral("Played"), 1});
    }
}
