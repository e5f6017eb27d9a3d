#include "publishing/XmlPlanWriter.h"

#include "core/db/AdoConnection.h"
#include "core/db/DbHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ProgressBar.h"
#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/OccurrenceKey.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/KvlError.h"
#include "publishing/HTMLTemplate.h"

#include <QSqlQuery>

namespace {

constexpr int kStyleSheetTemplate = 17;
constexpr qsizetype kChunkBytes = 1 << 20;

}  // namespace

XmlPlanWriter::XmlPlanWriter(QIODevice& device, TestPlan& plan)
    : m_device(device), m_buffer(&m_chunk), m_xml(&m_buffer), m_plan(plan), m_configurationId(plan.IdConfiguration())
{
    m_chunk.reserve(kChunkBytes + kChunkBytes / 4);
    m_buffer.open(QIODevice::WriteOnly);
    m_xml.setAutoFormatting(false);
    m_rows.SetRefusalLabel(QStringLiteral("Error_WriteSubTests XML :"));
}

void XmlPlanWriter::Write()
{
    m_xml.writeStartElement(QStringLiteral("testplan"));
    TextElement(QStringLiteral("id"), m_plan.Id());
    TextElement(QStringLiteral("name"), m_plan.Name());
    bool ok = true;
    const QString styleSheet = HTMLTemplate().Load(kStyleSheetTemplate, &ok);
    if (!ok)
        throw KvlError(KvlError::kGeneric, QStringLiteral("The style sheet could not be read."));
    TextElement(QStringLiteral("CSS"), styleSheet);
    TextElement(QStringLiteral("title"), m_plan.Title());

    Configuration configuration;
    if (m_configurationId.isEmpty() || configuration.Find(m_configurationId) != 0)
        throw KvlError(0, QStringLiteral("The configuration '%1' does not exist.").arg(m_configurationId));
    WriteConfiguration(configuration);
    WriteTestPlanDescription();
    WriteTestPlanHistory();

    // The plan's key gives every occurrence below it its own key, and so its own result.
    const QString planKey = Configuration::NodeKeyOf(m_configurationId) + NodeKey::kSeparator + m_plan.Id();
    m_plan.SetKey(planKey);
    if (m_plan.LoadSubTests1(false) != 0)
        throw KvlError(KvlError::kGeneric, QStringLiteral("The sub-tests of the test plan could not be read."));
    const auto subTests = m_plan.SubTests1();
    const int count = subTests.Count();
    if (count > 0) {
        QStringList ids;
        for (const auto& subTest : subTests)
            ids << subTest->Id();
        ReadSubTree(ids);
    }
    int i = 0;
    for (const auto& subTest : subTests) {
        ++i;
        gProgressBar().SetValue(i * 100 / count);
        // The loader gave it the key of its occurrence under the plan; its depth counts from 1.
        subTest->SetLevel(1);
        WriteSubTests(*subTest);
    }
    m_xml.writeEndElement();
    Flush(true);
}

void XmlPlanWriter::Flush(bool end)
{
    if (m_chunk.size() < kChunkBytes && !end)
        return;
    // After a refused write the rest is dropped: the file will not be saved.
    if (!m_deviceFailed && m_device.write(m_chunk) != m_chunk.size())
        m_deviceFailed = true;
    // The allocation stays for the next chunk.
    m_chunk.resize(0);
    m_buffer.seek(0);
}

void XmlPlanWriter::ReadSubTree(const QStringList& subTestIds)
{
    // The deepest level whose children are read: ten levels of sub-tests in all.
    m_rows.Load(subTestIds, OccurrenceKey::kMaxSubTestDepth - 1);
    m_columns.Prefetch(m_rows);
    m_results.Load(m_plan.Id(), m_configurationId);
}

void XmlPlanWriter::WriteConfiguration(const Configuration& configuration)
{
    Trap(QStringLiteral("Error_WriteConfiguration XML :"), [&] {
        m_xml.writeStartElement(QStringLiteral("configuration"));
        TextElement(QStringLiteral("id"), configuration.Id());
        TextElement(QStringLiteral("title"), configuration.Title());
        TextElement(QStringLiteral("name"), configuration.Name());
        TextElement(QStringLiteral("equipment1"), configuration.Equipment1());
        TextElement(QStringLiteral("equipment2"), configuration.Equipment2());
        TextElement(QStringLiteral("equipment3"), configuration.Equipment3());
        WriteDescription(QStringLiteral("Error_WriteConfigurationDescription XML :"),
                         m_columns.configurationDescriptions, configuration.Id(), QStringLiteral("description"));
        m_xml.writeEndElement();
    });
}

void XmlPlanWriter::WriteTestPlanDescription()
{
    WriteDescription(QStringLiteral("Error_WriteTestPlanDescription XML :"), m_columns.planDescriptions, m_plan.Id(),
                     QStringLiteral("description"));
}

void XmlPlanWriter::WriteTestPlanHistory()
{
    Trap(QStringLiteral("Error_WriteTestPlanHistory XML :"), [&] {
        if (!HasHistory())
            return;
        // The day is ISO text, so its order is the days' order.
        gConnection().ForEachRow(
            QStringLiteral("SELECT ADVANCEMENT, WORKLOAD, DATE_UPDATE, COUNT_PASSED, COUNT_FAILED, COUNT_WARNING, "
                           "COUNT_CANCELED FROM HISTORY WHERE ID_TESTPLAN = ? AND ID_CONFIGURATION = ? "
                           "ORDER BY DATE_UPDATE"),
            {DbValues::Id(m_plan.Id()), DbValues::Id(m_configurationId)}, [&](const QSqlQuery& row) {
                m_xml.writeStartElement(QStringLiteral("history"));
                TextElement(QStringLiteral("advancement"), NumberText(row.value(0).toDouble()));
                TextElement(QStringLiteral("workload"), NumberText(row.value(1).toDouble()));
                TextElement(QStringLiteral("Date"), row.value(2).toString());
                TextElement(QStringLiteral("Passed"), NumberText(row.value(3).toDouble()));
                TextElement(QStringLiteral("Failed"), NumberText(row.value(4).toDouble()));
                TextElement(QStringLiteral("Warning"), NumberText(row.value(5).toDouble()));
                TextElement(QStringLiteral("Canceled"), NumberText(row.value(6).toDouble()));
                m_xml.writeEndElement();
            });
    });
}
