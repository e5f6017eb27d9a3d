#include "publishing/PublicationGeneration.h"

#include "core/HtmlPages.h"
#include "core/KeyHelpers.h"
#include "core/OptionDefaults.h"
#include "platform/KvlError.h"

namespace {

bool OptionOn(const QString& key)
{
    return OptionDefaults::Get(key).trimmed() == QLatin1String("1");
}

}  // namespace

Publication::Generation::Generation()
    : storeImage(OptionDefaults::StoreImage()),
      procedurePageBreak(OptionOn(QStringLiteral("ProcedurePageBreak"))),
      subTestTemplate(OptionOn(QStringLiteral("SubTestTemplate")))
{
}

QString Publication::Generation::Template(int id)
{
    const auto known = m_templates.constFind(id);
    if (known != m_templates.constEnd())
        return *known;
    bool ok = true;
    const QString text = m_store.Load(id, &ok);
    if (!ok)
        throw KvlError(KvlError::kGeneric, QStringLiteral("The template %1 could not be read.").arg(id));
    m_templates.insert(id, text);
    return text;
}

const QString& Publication::Generation::PageHead()
{
    if (m_pageHead.isEmpty())
        m_pageHead = HtmlHead(0) + kPageLine;
    return m_pageHead;
}

const TestPlan& Publication::Generation::Plan(const QString& id)
{
    std::shared_ptr<TestPlan>& plan = m_plans[id];
    if (!plan) {
        plan = std::make_shared<TestPlan>();
        if (plan->Find(id) != 0)
            plan = std::make_shared<TestPlan>();
    }
    return *plan;
}

const Configuration* Publication::Generation::FindConfiguration(const QString& id)
{
    if (!m_configurations.contains(id)) {
        auto configuration = std::make_shared<Configuration>();
        m_configurations.insert(id, configuration->Find(id) == 0 ? configuration : nullptr);
    }
    return m_configurations.value(id).get();
}

const SubTest& Publication::Generation::SubTestById(const QString& id)
{
    std::shared_ptr<SubTest>& subTest = m_subTests[id];
    if (!subTest) {
        subTest = std::make_shared<SubTest>();
        if (subTest->Find(id) != 0)
            subTest = std::make_shared<SubTest>();
    }
    return *subTest;
}

Result Publication::Generation::ResultOf(const QString& key)
{
    const QString plan = TestPlanIdFromKey(key);
    const QString configuration = ConfigurationIdFromKey(key);
    if (plan.isEmpty() || configuration.isEmpty())
        return Result::NewRow(key);
    if (!m_resultsRead || plan != m_resultsPlan || configuration != m_resultsConfiguration) {
        m_results.Load(plan, configuration);
        m_resultsRead = true;
        m_resultsPlan = plan;
        m_resultsConfiguration = configuration;
    }
    return m_results.ResultOf(key);
}

void Publication::Generation::ReadSubTrees(const QStringList& subTestIds, int levels)
{
    QStringList unread;
    for (const QString& id : subTestIds)
        if (!rows.Has(id))
            unread << id;
    if (unread.isEmpty())
        return;
    rows.Load(unread, levels);
    Prefetch(rows);
}

Publication::GenerationScope::GenerationScope(Publication& publication, const QString& label)
    : m_publication(publication), m_owner(!publication.m_generation)
{
    if (m_owner) {
        m_publication.m_generation = std::make_unique<Generation>();
        m_publication.m_generation->rows.SetRefusalLabel(label);
    }
}

Publication::GenerationScope::~GenerationScope()
{
    if (m_owner)
        m_publication.m_generation.reset();
}
