// Figures 8 and 9: the explorer window itself, offscreen, against the node-model figures 1 and 2
// that do the same reading without a window. Figures 10 and 11: a click in the opened plan shows
// the item's properties in the property pane, against one read of the item's row. Figures 12
// and 13: the Item commands on the big plan in the window, against reading what they add to.
#include "BenchClock.h"
#include "BenchFloors.h"
#include "BenchRun.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/PropertyGrid.h"
#include "core/services/SelectedNode.h"
#include "core/services/ExplorerNodes.h"
#include "mainwindow/ExplorerTreeModel.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmMdi.h"
#include "model/ExplorerFill.h"
#include "model/SelectedProperties.h"
#include "model/TestPlan.h"

#include <QApplication>

namespace {

// The view has laid out every row down to the last one and painted what shows.
void LaidOut(ExplorerTreeView* tree, const QModelIndex& last)
{
    tree->scrollTo(last);
    QApplication::processEvents();
}

}  // namespace

QList<BenchFigure> BenchRun::WindowFigures(const BenchFigure& topLevels, const BenchFigure& subtree)
{
    BenchFigure build{QStringLiteral("8"), QStringLiteral("explorer window built (floor: figure 1)"),
                      QStringLiteral("100 ms, x1.5")};
    BenchFigure open{QStringLiteral("9"),
                     QStringLiteral("big plan clicked and expanded whole in the window (floor: figure 2)"),
                     QStringLiteral("300 ms, x2")};
    build.floor = topLevels.value;
    open.floor = subtree.value;

    frmMdi window;
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
    frmExplorer* explorer = window.Explorer();
    ExplorerTreeView* tree = explorer->tvTestPlan();
    ExplorerTreeModel* model = explorer->Model();

    build.value = BenchClock::MedianMs(m_runs, [&] {
        explorer->tvTestPlan_Initialize();
        const QModelIndex root = model->index(0, 0);
        tree->scrollTo(model->index(model->rowCount(root) - 1, 0, root));
    });
    const qint64 plans = qint64(m_shape.configurations) * m_shape.plansPerConfiguration + 1;
    Expect(gExplorerNodes().Count() == 1 + m_shape.configurations + plans,
           QStringLiteral("figure 8: the window shows %1 nodes").arg(gExplorerNodes().Count()));

    const QString key = PlanKey();
    open.value = BenchClock::MedianMs(
        m_runs, [&] { explorer->tvTestPlan_Initialize(); },
        [&] {
            ExplorerNode* plan = gExplorerNodes().Find(key);
            explorer->tvTestPlan_NodeClick(plan);
            const QModelIndex index = model->IndexOf(plan);
            tree->expandRecursively(index);
            QModelIndex last = index;
            while (model->rowCount(last) > 0)
                last = model->index(model->rowCount(last) - 1, 0, last);
            LaidOut(tree, last);
        });
    const ExplorerNode* plan = gExplorerNodes().Find(key);
    const qint64 expected = m_shape.BigPlanOccurrences() + m_shape.PlanSubTestOccurrences(m_shape.bigPlanDepth);
    Expect(plan && Subtree(plan) == expected,
           QStringLiteral("figure 9: the window shows %1 nodes below the plan for %2 occurrences")
               .arg(plan ? Subtree(plan) : 0)
               .arg(expected));
    QList<BenchFigure> figures{build, open};
    figures << PropertiesShown(plan) << ItemCommandFigures(window);
    window.hide();
    return figures;
}

QList<BenchFigure> BenchRun::PropertiesShown(const ExplorerNode* plan)
{
    BenchFigure procedure{QStringLiteral("10"), QStringLiteral("procedure's properties shown (floor: its row read)"),
                          QStringLiteral("30 ms")};
    BenchFigure subTest{QStringLiteral("11"),
                        QStringLiteral("plan's first sub-test's properties shown (floor: its row read)"),
                        QStringLiteral("30 ms")};
    const ExplorerNode* first = gExplorerNodes().Find(FirstSubTestKey());
    const ExplorerNode* leaf = first;
    while (leaf && leaf->Image() != kImageProcedure)
        leaf = leaf->ChildNodes().empty() ? nullptr : leaf->ChildNodes().back();
    Expect(plan && first && leaf, QStringLiteral("figures 10 and 11: the plan's first sub-test and a procedure "
                                                 "below it are in the window"));
    if (!first || !leaf)
        return {procedure, subTest};
    const QList<std::tuple<BenchFigure*, const ExplorerNode*, QString, QString>> shown = {
        {&procedure, leaf, QStringLiteral("PROCEDURES"), KeyIdShort(leaf->Tag())},
        {&subTest, first, QStringLiteral("SUBTEST"), KeyId(first->Tag())}};
    for (const auto& [figure, node, table, id] : shown) {
        figure->floor = BenchClock::MedianMs(m_runs, [&] { BenchFloors::ItemRow(table, id); });
        figure->value = BenchClock::MedianMs(m_runs, [&] {
            SetSelectedNode(node->Key());
            Refresh_Properties();
            QApplication::processEvents();
        });
        Expect(gPropertyGrid().Rows() > 10 && gPropertyGrid().TextMatrix(1, PropertyGrid::kValueCol) == node->Text(),
               QStringLiteral("figure %1: the pane shows the item's rows").arg(figure->number));
    }
    SetSelectedNode({});
    return {procedure, subTest};
}

void BenchRun::RestorePlanNodes()
{
    FillTopLevels();
    TestPlan plan;
    plan.SetId(m_bigPlanId);
    ExplorerFill::AddTestPlanSubTests(PlanKey(), plan);
}

QList<BenchFigure> BenchRun::ItemCommandFigures(frmMdi& window)
{
    BenchFigure added{QStringLiteral("12"),
                      QStringLiteral("Add Subtest on the big plan (floor: its first-level links read)"),
                      QStringLiteral("100 ms")};
    BenchFigure pasted{QStringLiteral("13"),
                       QStringLiteral("plan's first sub-test pasted under another plan (floor: its subtree read)"),
                       QStringLiteral("200 ms")};
    frmExplorer* explorer = window.Explorer();
    ExplorerNode* plan = gExplorerNodes().Find(PlanKey());
    const ExplorerNode* first = gExplorerNodes().Find(FirstSubTestKey());
    QString otherKey;
    for (const ExplorerNode* sibling : plan ? plan->Parent()->ChildNodes() : std::vector<ExplorerNode*>())
        if (sibling != plan && otherKey.isEmpty())
            otherKey = sibling->Key();
    Expect(plan && first && !otherKey.isEmpty(),
           QStringLiteral("figures 12 and 13: the big plan, its first sub-test and another plan are shown"));
    if (!plan || !first || otherKey.isEmpty())
        return {added, pasted};

    const int children = plan->Children();
    added.floor = BenchClock::MedianMs(m_runs, [&] { BenchFloors::PlanLinks(m_bigPlanId); });
    added.value = BenchClock::MedianMs(m_runs, [&] {
        explorer->SelectNode(PlanKey());
        window.mnuAddSubtest_Click();
        QApplication::processEvents();
    });
    const ExplorerNode* current = gSelectedNode();
    Expect(plan->Children() == children + m_runs && current && current->Parent() == plan &&
               current == plan->ChildNodes().back(),
           QStringLiteral("figure 12: the new sub-tests are not the plan's last nodes"));

    const QString firstId = KeyId(first->Tag());
    const int below = Subtree(first);
    pasted.floor = BenchClock::MedianMs(m_runs, [&] { BenchFloors::SubTestSubtree(firstId); });
    explorer->SelectNode(first->Key());
    window.mnuItemCopy_Click();
    pasted.value = BenchClock::MedianMs(m_runs, [&] {
        explorer->SelectNode(otherKey);
        window.mnuItemPaste_Click();
        QApplication::processEvents();
    });
    current = gSelectedNode();
    Expect(
        current && current->Parent() && current->Parent()->Key() == otherKey && Subtree(current) == below && below > 0,
        QStringLiteral("figure 13: the pasted occurrence does not show the sub-test's subtree"));
    return {added, pasted};
}
