#include "publishing/XMLFile.h"

#include "core/HtmlPages.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/ProgressBar.h"
#include "core/services/SelectedNode.h"
#include "core/services/WindowServices.h"
#include "model/Configuration.h"
#include "model/ExplorerFill.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"
#include "publishing/XmlPlan.h"
#include "publishing/XmlPlanReader.h"
#include "publishing/XmlPlanStore.h"

namespace {

const QString kImportLabel = QStringLiteral("Error_Import XML : ");
// What the import left out or changed and went on.
const QString kWarningLabel = QStringLiteral("Warning_Import XML : ");

// Shows the committed plan: its configuration's node added or retitled, the plan's node with its
// whole subtree, selected with its properties. The plan stays stored whatever happens here, so a
// failure is logged and not reported.
void ShowImported(const XmlPlanStore::Stored& stored)
{
    const QString configurationKey = Configuration::NodeKeyOf(stored.configurationId);
    const QString planKey = configurationKey + NodeKey::kSeparator + stored.testPlanId;
    try {
        ExplorerNodes& tree = gExplorerNodes();
        const ExplorerNodes::Batch batch(tree);
        if (ExplorerNode* node = tree.Find(configurationKey))
            node->SetText(stored.configurationName);
        else
            tree.Add(NodeKey::kRoot, configurationKey, stored.configurationName, kImageConfiguration)
                ->SetTag(stored.configurationId);
        tree.Add(configurationKey, planKey, stored.testPlanName, kImageTestPlan)->SetTag(stored.testPlanId);
        TestPlan plan;
        plan.SetId(stored.testPlanId);
        plan.SetName(stored.testPlanName);
        ExplorerFill::AddTestPlanSubTests(planKey, plan);
    } catch (const std::exception& error) {
        LogError(kImportLabel, error);
        return;
    }
    // Without an explorer window the node is still the current one.
    if (!windowServices().Select(planKey))
        SetSelectedNode(planKey);
    windowServices().RefreshPropertyRows();
}

}  // namespace

int XMLFile::ImportFailed(long number, const QString& reason)
{
    m_importError = reason;
    LogError(kImportLabel, number, reason);
    return 1;
}

int XMLFile::Import()
{
    m_importedTestPlanId.clear();
    QString reason;
    // Read and checked whole before anything is stored.
    const std::optional<XmlPlan::Plan> plan = XmlPlanReader::Read(m_fileName, &reason);
    if (!plan)
        return ImportFailed(0, reason);
    return StorePlan(*plan);
}

int XMLFile::StorePlan(const XmlPlan::Plan& plan)
{
    m_importError.clear();
    m_importedTestPlanId.clear();
    XmlPlanStore::Stored stored;
    try {
        XmlPlanStore::Options options;
        options.css = m_css;
        options.keepName = m_keepName;
        options.configuration = m_configuration;
        stored = XmlPlanStore::Store(plan, options, [](int percent) { gProgressBar().SetValue(percent); });
    } catch (const KvlError& error) {
        return ImportFailed(error.Number(), error.Description());
    } catch (const std::exception& error) {
        return ImportFailed(KvlError::kGeneric, QString::fromStdString(error.what()));
    }
    for (const QString& warning : plan.warnings + stored.warnings)
        LogError(kWarningLabel, 0, warning);
    ShowImported(stored);
    if (stored.styleSheet)
        RefreshStyle();
    gProgressBar().SetValue(100);
    m_importedTestPlanId = stored.testPlanId;
    return 0;
}
