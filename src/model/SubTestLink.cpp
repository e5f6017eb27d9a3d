#include "model/SubTest.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/UpdatedNodes.h"
#include "model/DbValues.h"
#include "model/ExplorerFill.h"
#include "model/LinkGuard.h"
#include "model/LinkPlacement.h"
#include "model/LoadedRows.h"
#include "model/OccurrenceKey.h"
#include "model/Procedure.h"
#include "model/SubTreeRows.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <algorithm>

int SubTest::Link(ExplorerNode* nodParent, const QString& strOrder)
{
    try {
        if (!nodParent)
            throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
        const int parentImage = nodParent->Image();
        const bool underTestPlan = parentImage == kImageTestPlan;
        const QString parentId = underTestPlan ? nodParent->Tag() : KeyId(nodParent->Tag());
        if (!underTestPlan && (parentImage < kImageSubTestFirst || parentImage > kImageSubTestLast))
            throw KvlError(5, QStringLiteral("A sub-test can only be linked under a test plan or a sub-test."));
        LinkGuard::CheckSubTestLink(Id(), parentId, underTestPlan,
                                    underTestPlan ? 0 : parentImage - kImageSubTestFirst + 1);
        const LinkPlacement::Placed placed = LinkPlacement::Place(
            underTestPlan ? LinkOrders::kTestPlanLinks : LinkOrders::kSubTestLinks, parentId, Id(), strOrder);
        m_order = placed.order;
        m_key = OccurrenceKey::SubTest(nodParent->Key(), parentId, Id(), placed.order);
        LinkPlacement::ShowInExplorer(Label(QStringLiteral("Link")),
                                      [&] { ShowNewOccurrences(parentId, parentImage, placed.order); });
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Link")), error);
        return 1;
    }
}

void SubTest::ShowNewOccurrences(const QString& parentId, int parentImage, int order)
{
    ExplorerNodes& tree = gExplorerNodes();
    // A sub-test parent gains the occurrence wherever it shows, at every depth.
    std::vector<ExplorerNode*> places =
        parentImage == kImageTestPlan ? tvTestPlan_UpdatedNodes(parentId, parentImage) : SubTestNodes(parentId);
    // The shallowest place first: the links read for its subtree reach the deepest level, so the
    // other places read nothing more.
    std::stable_sort(places.begin(), places.end(),
                     [](const ExplorerNode* a, const ExplorerNode* b) { return a->Image() < b->Image(); });
    const QString name = LoadedRows::Text(
        gConnection().Scalar(QStringLiteral("SELECT NAME FROM SUBTEST WHERE ID = ?"), {DbValues::Id(Id())}));
    const QString tag = OccurrenceKey::Tag(parentId, Id(), order);
    // One fill for every place: the new sub-test's links are read once. The view takes each new
    // node with its subtree.
    ExplorerFill fill;
    const ExplorerNodes::Batch batch(tree);
    for (const ExplorerNode* place : places) {
        // A plan not read yet reads the new link with the rest when it is first opened.
        if (!place->Filled())
            continue;
        const int image = place->Image() + 1;
        const QString key = OccurrenceKey::SubTest(place->Key(), parentId, Id(), order);
        if (image > kImageSubTestLast || tree.Exist(key))
            continue;
        ExplorerFill::InsertOccurrence(*place, key, name, image, tag);
        SubTest occurrence;
        occurrence.SetId(Id());
        occurrence.SetName(name);
        fill.FillSubTest(key, occurrence);
    }
}

void SubTest::RefreshExplorerNodes(const QString& parentId, int parentImage)
{
    ExplorerNodes& tree = gExplorerNodes();
    // A sub-test parent is redrawn wherever it shows, at every depth.
    const bool testPlan = parentImage == kImageTestPlan;
    QStringList keys;
    for (const ExplorerNode* node : testPlan ? tvTestPlan_UpdatedNodes(parentId, parentImage) : SubTestNodes(parentId))
        keys << node->Key();
    // One fill for every occurrence: the parent's links are read once.
    ExplorerFill fill;
    for (const QString& key : keys) {
        ExplorerNode* node = tree.Find(key);
        if (!node)
            continue;
        while (ExplorerNode* child = node->Child())
            tree.Remove(child->Key());
        if (testPlan) {
            TestPlan plan;
            plan.SetId(node->Tag());
            ExplorerFill::AddTestPlanSubTests(key, plan);
        } else {
            SubTest parent;
            parent.SetId(parentId);
            parent.SetName(node->Text());
            fill.FillSubTest(key, parent);
        }
    }
}

float SubTest::WorkLoad()
{
    SubTreeRows rows;
    try {
        rows.Load({Id()}, OccurrenceKey::kMaxSubTestDepth);
    } catch (const std::exception& error) {
        // Each occurrence then reads its own links.
        LogError(Label(QStringLiteral("WorkLoad")), error);
        rows = SubTreeRows();
    }
    return SumWorkLoad(rows, 0);
}

float SubTest::SumWorkLoad(const SubTreeRows& rows, int depth)
{
    m_workLoad = 0;
    if (rows.Has(Id()))
        FillProcedures(rows.Procedures(Id()), false);
    else
        LoadProcedures(false);
    for (const auto& procedure : m_procedures)
        m_workLoad = procedure->WorkLoad() + m_workLoad;
    if (rows.Has(Id()))
        FillSubTestChildren(rows.Children(Id()), false);
    else
        LoadSubTestChildren(false);
    // Only a cycle stored by an older version goes this deep; it must not recurse for ever.
    if (depth >= OccurrenceKey::kMaxSubTestDepth && m_subTestChildren.Count() > 0) {
        LogError(Label(QStringLiteral("WorkLoad")), 6,
                 QStringLiteral("Sub-tests are nested more than %1 levels deep below \"%2\"; the deeper ones are "
                                "not counted.")
                     .arg(OccurrenceKey::kMaxSubTestDepth)
                     .arg(Name()));
        return m_workLoad;
    }
    for (const auto& child : m_subTestChildren)
        m_workLoad = child->SumWorkLoad(rows, depth + 1) + m_workLoad;
    return m_workLoad;
}
