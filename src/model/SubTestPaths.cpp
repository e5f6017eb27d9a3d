#include "model/SubTestPaths.h"

#include "core/db/DbHelpers.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ItemList.h"
#include "model/OccurrenceKey.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

namespace {

// One link on the way up: the sub-test below, the one above and the order of the link.
struct Step
{
    QString parentId;
    QString parentName;
    QString childId;
    int order = 0;
};

class PathWalk
{
public:
    PathWalk(ItemList& list, SubTest& subTest, const QString& date) : m_list(list), m_subTest(subTest), m_date(date) {}

    // Climbs from `id` to every test plan above it; `steps` holds the links already climbed,
    // nearest the listed sub-test first.
    void Climb(const QString& id, QList<Step> steps)
    {
        if (steps.size() >= OccurrenceKey::kMaxSubTestDepth)
            throw KvlError(6, QStringLiteral("The sub-test \"%1\" lies more than %2 levels deep or under itself.")
                                  .arg(m_subTest.Name())
                                  .arg(OccurrenceKey::kMaxSubTestDepth));
        SubTest current;
        current.SetId(id);
        current.LoadTestPlans(false, true);
        for (const auto& plan : current.TestPlans())
            AddRow(*plan, plan->SubTests1().begin()->get()->Order(), steps);
        current.LoadSubTestParents(false);
        for (const auto& parent : current.SubTestParents()) {
            QList<Step> up = steps;
            up.append({parent->Id(), parent->Name(), id, parent->SubTestChildren().begin()->get()->Order()});
            Climb(parent->Id(), up);
        }
    }

private:
    void AddRow(const TestPlan& plan, int order, const QList<Step>& steps)
    {
        const QString configuration = plan.IdConfiguration();
        QStringList names{ConfigurationName(configuration), plan.Name()};
        QString key = NodeKey::kConfigurationPrefix + configuration + NodeKey::kSeparator + plan.Id();
        const QString top = steps.isEmpty() ? m_subTest.Id() : steps.last().parentId;
        key = OccurrenceKey::SubTest(key, plan.Id(), top, order);
        for (qsizetype i = steps.size() - 1; i >= 0; --i) {
            names << steps[i].parentName;
            key = OccurrenceKey::SubTest(key, steps[i].parentId, steps[i].childId, steps[i].order);
        }
        names << m_subTest.Name();
        const QString path = names.join(QLatin1Char('\\'));
        m_subTest.SetFullPath(path);
        m_list.AddRow(m_subTest.Name(), path, m_date, kImageSubTestFirst + static_cast<int>(steps.size()), key);
    }

    ItemList& m_list;
    SubTest& m_subTest;
    QString m_date;
};

}  // namespace

void ListView_AddSubtestParent(ItemList& list, SubTest& objSubTest, const QString& strDate)
{
    try {
        PathWalk(list, objSubTest, strDate).Climb(objSubTest.Id(), {});
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_ListView_AddSubtestParent : "), error);
    }
}
