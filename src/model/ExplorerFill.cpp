#include "model/ExplorerFill.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNodes.h"
#include "model/OccurrenceKey.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <tuple>

namespace {

// A child's place in a fresh fill of its parent: the group of its kind, then its link's order and
// its id, read from a tag "parent|id|order" without copying it.
std::tuple<int, qint64, qint64> FillRank(int parentImage, int image, QStringView tag)
{
    // Under a first-level sub-test its child sub-tests come first; elsewhere the procedures do.
    const int group = (parentImage == kImageSubTestFirst) == (image == kImageProcedure) ? 1 : 0;
    const qsizetype first = tag.indexOf(u'|');
    const qsizetype second = first < 0 ? -1 : tag.indexOf(u'|', first + 1);
    if (second < 0)
        return {group, 0, 0};
    return {group, tag.mid(second + 1).toLongLong(), tag.mid(first + 1, second - first - 1).toLongLong()};
}

}  // namespace

int ExplorerFill::Place(const QString& key, SubTest& subTest, bool subtree)
{
    const ExplorerNode* node = gExplorerNodes().Find(key);
    if (!node)
        throw KvlError(ExplorerNodes::kElementNotFound, QStringLiteral("Element not found"));
    const int image = node->Image();
    if (image < kImageSubTestFirst || image > kImageSubTestLast)
        throw KvlError(KvlError::kGeneric, QStringLiteral("The node \"%1\" shows no sub-test.").arg(node->Text()));
    subTest.SetKey(key);
    subTest.SetLevel(image);
    if (!m_rows.Has(subTest.Id()))
        m_rows.Load({subTest.Id()}, subtree ? kImageSubTestLast - image : 0);
    return image;
}

void ExplorerFill::FillSubTest(const QString& key, SubTest& subTest)
{
    const int image = Place(key, subTest, true);
    if (image == kImageSubTestFirst) {
        AddChildSubTests(key, subTest);
        AddProcedures(key, subTest);
    } else {
        AddProcedures(key, subTest);
        AddChildSubTests(key, subTest);
    }
}

void ExplorerFill::AddChildSubTests(const QString& key, SubTest& parent)
{
    parent.FillSubTestChildren(m_rows.ChildrenAt(parent.Id(), parent.Level(), parent.Name()), false);
    ExplorerNodes& tree = gExplorerNodes();
    for (const auto& child : parent.SubTestChildren()) {
        ExplorerNode* node = tree.Add(key, child->Key(), child->Name(), child->Level());
        node->SetTag(OccurrenceKey::Tag(parent.Id(), child->Id(), child->Order()));
        FillSubTest(child->Key(), *child);
    }
}

void ExplorerFill::AddProcedures(const QString& key, SubTest& subTest)
{
    subTest.FillProcedures(m_rows.Procedures(subTest.Id()), false);
    ExplorerNodes& tree = gExplorerNodes();
    for (const auto& procedure : subTest.Procedures()) {
        ExplorerNode* node = tree.Add(key, procedure->Key(), procedure->Name(), kImageProcedure);
        node->SetTag(OccurrenceKey::Tag(subTest.Id(), procedure->Id(), procedure->Order()));
    }
}

void ExplorerFill::AddTestPlanSubTests(const QString& key, TestPlan& plan)
{
    // Whoever fills a plan's node, the explorer must not read it again when it is opened.
    if (ExplorerNode* node = gExplorerNodes().Find(key))
        node->SetFilled(true);
    plan.SetKey(key);
    if (plan.LoadSubTests1(false) != 0)
        return;  // logged by the loader
    QStringList ids;
    for (const auto& subTest : plan.SubTests1())
        ids << subTest->Id();
    ExplorerFill fill;
    // Ten levels from the first: one query per level for the whole plan.
    fill.m_rows.Load(ids, kImageSubTestLast - kImageSubTestFirst);
    ExplorerNodes& tree = gExplorerNodes();
    for (const auto& subTest : plan.SubTests1()) {
        ExplorerNode* node = tree.Add(key, subTest->Key(), subTest->Name(), kImageSubTestFirst);
        node->SetTag(OccurrenceKey::Tag(plan.Id(), subTest->Id(), subTest->Order()));
        fill.FillSubTest(subTest->Key(), *subTest);
    }
}

ExplorerNode* ExplorerFill::InsertOccurrence(const ExplorerNode& parent, const QString& key, const QString& text,
                                             int image, const QString& tag)
{
    const int parentImage = parent.Image();
    const auto rank = FillRank(parentImage, image, tag);
    QString before;
    for (const ExplorerNode* child : parent.ChildNodes()) {
        if (FillRank(parentImage, child->Image(), child->Tag()) > rank) {
            before = child->Key();
            break;
        }
    }
    ExplorerNode* node = gExplorerNodes().Insert(parent.Key(), before, key, text, image);
    node->SetTag(tag);
    return node;
}

void tvTestPlan_AddSubTest(const QString& strKeyRelated, SubTest& objSubTestParent)
{
    try {
        ExplorerFill fill;
        fill.Place(strKeyRelated, objSubTestParent, true);
        fill.AddChildSubTests(strKeyRelated, objSubTestParent);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_tvTestPlan_AddSubTest : "), error);
    }
}

void tvTestPlan_AddProcedure(const QString& strKeySubTest, SubTest& objSubTest)
{
    try {
        ExplorerFill fill;
        fill.Place(strKeySubTest, objSubTest, false);
        fill.AddProcedures(strKeySubTest, objSubTest);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_tvTestPlan_AddProcedure : "), error);
    }
}
