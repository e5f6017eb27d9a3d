#include "model/ExplorerFill.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNodes.h"
#include "model/OccurrenceKey.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"

namespace {

void TakePlace(const QString& key, SubTest& subTest)
{
    subTest.SetKey(key);
    const ExplorerNode* node = gExplorerNodes().Find(key);
    if (node && node->Image() >= kImageSubTestFirst && node->Image() <= kImageSubTestLast)
        subTest.SetLevel(node->Image());
}

}  // namespace

ExplorerFill::ExplorerFill(const QStringList& rootIds)
{
    try {
        m_rows.Load(rootIds, OccurrenceKey::kMaxSubTestDepth);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_tvTestPlan_AddSubTest : "), error);
        m_rows = SubTreeRows();
    }
}

void ExplorerFill::AddProcedures(const QString& key, SubTest& subTest)
{
    TakePlace(key, subTest);
    if (m_rows.Has(subTest.Id()))
        subTest.FillProcedures(m_rows.Procedures(subTest.Id()), false);
    else
        subTest.LoadProcedures(false);
    ExplorerNodes& tree = gExplorerNodes();
    for (const auto& procedure : subTest.Procedures()) {
        ExplorerNode* node = tree.Add(key, procedure->Key(), procedure->Name(), kImageProcedure);
        node->SetTag(OccurrenceKey::Tag(subTest.Id(), procedure->Id(), procedure->Order()));
    }
}

void ExplorerFill::AddSubTests(const QString& key, SubTest& parent)
{
    TakePlace(key, parent);
    // The loader refuses children beyond the deepest level, so this recursion ends even on a
    // cycle stored by an older version.
    if (m_rows.Has(parent.Id()))
        parent.FillSubTestChildren(m_rows.Children(parent.Id()), false);
    else
        parent.LoadSubTestChildren(false);
    ExplorerNodes& tree = gExplorerNodes();
    for (const auto& child : parent.SubTestChildren()) {
        ExplorerNode* node = tree.Add(key, child->Key(), child->Name(), child->Level());
        node->SetTag(OccurrenceKey::Tag(parent.Id(), child->Id(), child->Order()));
        AddProcedures(child->Key(), *child);
        AddSubTests(child->Key(), *child);
    }
}

void ExplorerFill::AddTestPlanSubTests(const QString& key, TestPlan& plan)
{
    plan.SetKey(key);
    plan.LoadSubTests1(false);
    QStringList ids;
    for (const auto& subTest : plan.SubTests1())
        ids << subTest->Id();
    ExplorerFill fill(ids);
    ExplorerNodes& tree = gExplorerNodes();
    for (const auto& subTest : plan.SubTests1()) {
        ExplorerNode* node = tree.Add(key, subTest->Key(), subTest->Name(), kImageSubTestFirst);
        node->SetTag(OccurrenceKey::Tag(plan.Id(), subTest->Id(), subTest->Order()));
        fill.AddProcedures(subTest->Key(), *subTest);
        fill.AddSubTests(subTest->Key(), *subTest);
    }
}

void tvTestPlan_AddSubTest(const QString& strKeyRelated, SubTest& objSubTestParent)
{
    try {
        ExplorerFill(QStringList{objSubTestParent.Id()}).AddSubTests(strKeyRelated, objSubTestParent);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_tvTestPlan_AddSubTest : "), error);
    }
}

void tvTestPlan_AddProcedure(const QString& strKeySubTest, SubTest& objSubTest)
{
    try {
        ExplorerFill(QStringList{}).AddProcedures(strKeySubTest, objSubTest);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_tvTestPlan_AddProcedure : "), error);
    }
}
