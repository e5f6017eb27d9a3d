// The report grid without a widget (parents, children, node states and the rows they hide) and
// the item model that shows it to a tree view.

#include "publishing/ReportGrid.h"
#include "publishing/ReportGridModel.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QtTest>

using State = ReportGrid::OutlineState;

namespace {

// Rows, in grid order:
//   1 Plan (node 0)
//   2   S1 (node 1)
//   3     p1
//   4     p2
//   5     S1a (node 2)
//   6       p3
//   7   S2 (node 1)
//   8     p4
void Fill(ReportGrid& grid)
{
    grid.SetColumns({{"Test"}, {"Procedure"}, {"Status"}, {"Key"}});
    grid.AddRow({"Plan"}, true, 0);
    grid.AddRow({"S1"}, true, 1);
    grid.AddRow({"", "p1", "Passed", "k1"}, false);
    grid.AddRow({"", "p2", "Failed", "k2"}, false);
    grid.AddRow({"S1a"}, true, 2);
    grid.AddRow({"", "p3", "Passed", "k3"}, false);
    grid.AddRow({"S2"}, true, 1);
    grid.AddRow({"", "p4", "Warning", "k4"}, false);
}

QString Name(const ReportGrid& grid, int row)
{
    return grid.IsNode(row) ? grid.Cell(row, 0) : grid.Cell(row, 1);
}

// The hidden rows by name, in grid order.
QString HiddenRows(const ReportGrid& grid)
{
    QStringList hidden;
    for (int row = 1; row < grid.RowCount(); ++row)
        if (grid.RowAt(row).hidden)
            hidden << Name(grid, row);
    return hidden.join(' ');
}

// The model's tree as "Plan[S1[p1 p2 S1a] S2]": children in brackets, a node with children not
// shown marked "+".
QString Tree(const ReportGridModel& model, const QModelIndex& parent = {})
{
    QStringList items;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const int gridRow = model.GridRow(index);
        QString text = Name(model.Grid(), gridRow);
        if (model.rowCount(index) > 0)
            text += '[' + Tree(model, index) + ']';
        else if (model.hasChildren(index))
            text += '+';
        items << text;
    }
    return items.join(' ');
}

void SetStates(ReportGrid& grid, const QString& states)
{
    // "S1=c S2=p" or "all=p": e expanded, p partly expanded, c collapsed.
    for (const QString& item : states.split(' ', Qt::SkipEmptyParts)) {
        const QString name = item.section('=', 0, 0);
        const QChar code = item.section('=', 1).at(0);
        const State state = code == 'e' ? State::Expanded : code == 'p' ? State::PartlyExpanded : State::Collapsed;
        if (name == "all") {
            grid.SetAllStates(state);
            continue;
        }
        for (int row = 1; row < grid.RowCount(); ++row)
            if (Name(grid, row) == name)
                grid.SetState(row, state);
    }
}

}  // namespace

class tst_ReportGrid : public QObject
{
    Q_OBJECT

private slots:
    void parentsFollowLevels();
    void childrenInGridOrder();
    void statesHideRows_data();
    void statesHideRows();
    void rowAddedUnderClosedNodeIsHidden();
    void toggleRule_data();
    void toggleRule();
    void revealOpensTheWayUp();

    void modelShowsShownRows_data();
    void modelShowsShownRows();
    void modelPassesTheTester();
    void persistentIndexFollowsItsRow();
    void rowsChangedGroupsByParent();
    void headerAndColours();
    void editableFlags();
    void largeGridIsLinear();
};

void tst_ReportGrid::parentsFollowLevels()
{
    ReportGrid grid;
    grid.SetColumns({{"Test"}, {"Procedure"}});
    QCOMPARE(grid.AddRow({"", "loose"}, false), 1);  // before any node: top level
    grid.AddRow({"Plan"}, true, 0);                  // 2
    grid.AddRow({"A"}, true, 1);                     // 3
    grid.AddRow({"", "a1"}, false);                  // 4: under A
    grid.AddRow({"A3"}, true, 3);                    // 5: level 2 skipped, under A
    grid.AddRow({"A2"}, true, 2);                    // 6: under A again, not under A3
    grid.AddRow({"", "a2"}, false);                  // 7: under A2
    grid.AddRow({"B"}, true, 1);                     // 8: under Plan
    grid.AddRow({"", "b1"}, false);                  // 9: under B, not the deeper A2
    grid.AddRow({"Plan2"}, true, 0);                 // 10: top
    const QList<int> parents = {-1, -1, -1, 2, 3, 3, 3, 6, 2, 8, -1};
    for (int row = 0; row < grid.RowCount(); ++row)
        QVERIFY2(grid.RowAt(row).parent == parents.at(row), qPrintable(QString("row %1").arg(row)));
    QCOMPARE(grid.RowAt(5).level, 3);
    QCOMPARE(grid.RowAt(4).level, 0);  // plain rows keep level 0
    QCOMPARE(grid.RowAt(4).cells.size(), 2);
    QCOMPARE(grid.Cell(0, 1), QString("Procedure"));
}

void tst_ReportGrid::childrenInGridOrder()
{
    ReportGrid grid;
    Fill(grid);
    QCOMPARE(grid.Children(1), (QList<int>{2, 7}));
    QCOMPARE(grid.Children(2), (QList<int>{3, 4, 5}));
    QCOMPARE(grid.Children(5), (QList<int>{6}));
    QCOMPARE(grid.Children(7), (QList<int>{8}));
    QCOMPARE(grid.Children(3), QList<int>());
    grid.Clear();
    QCOMPARE(grid.RowCount(), 1);
    QCOMPARE(grid.Cell(0, 2), QString("Status"));
}

void tst_ReportGrid::statesHideRows_data()
{
    QTest::addColumn<QString>("states");
    QTest::addColumn<QString>("hidden");
    QTest::newRow("as added") << ""
                              << "";
    QTest::newRow("all partly") << "all=p"
                                << "p1 p2 p3 p4";
    QTest::newRow("all collapsed") << "all=c"
                                   << "S1 p1 p2 S1a p3 S2 p4";
    QTest::newRow("plan partly alone") << "Plan=p"
                                       << "";
    QTest::newRow("S1 collapsed") << "S1=c"
                                  << "p1 p2 S1a p3";
    QTest::newRow("S1 partly") << "S1=p"
                               << "p1 p2";
    QTest::newRow("under a collapsed plan") << "Plan=c S1=e"
                                            << "S1 p1 p2 S1a p3 S2 p4";
    QTest::newRow("all partly then S1a") << "all=p S1a=e"
                                         << "p1 p2 p4";
    QTest::newRow("all collapsed then expanded") << "all=c all=e"
                                                 << "";
}

void tst_ReportGrid::statesHideRows()
{
    QFETCH(QString, states);
    QFETCH(QString, hidden);
    ReportGrid grid;
    Fill(grid);
    SetStates(grid, states);
    QCOMPARE(HiddenRows(grid), hidden);
    // A plain row has no state of its own.
    grid.SetState(3, State::Collapsed);
    QCOMPARE(grid.State(3), State::Expanded);
    QCOMPARE(HiddenRows(grid), hidden);
}

void tst_ReportGrid::rowAddedUnderClosedNodeIsHidden()
{
    ReportGrid grid;
    grid.SetColumns({{"Test"}, {"Procedure"}});
    grid.AddRow({"Plan"}, true, 0);
    grid.SetState(1, State::PartlyExpanded);
    const int sub = grid.AddRow({"S"}, true, 1);
    const int plain = grid.AddRow({"", "p"}, false);
    QVERIFY(!grid.RowAt(sub).hidden);
    QVERIFY(!grid.RowAt(plain).hidden);  // S itself is expanded
    grid.SetState(sub, State::Collapsed);
    const int deeper = grid.AddRow({"", "q"}, false);
    QVERIFY(grid.RowAt(deeper).hidden);
}

void tst_ReportGrid::toggleRule_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("expanded") << int(State::Expanded) << int(State::Collapsed);
    QTest::newRow("partly") << int(State::PartlyExpanded) << int(State::Expanded);
    QTest::newRow("collapsed") << int(State::Collapsed) << int(State::Expanded);
}

void tst_ReportGrid::toggleRule()
{
    QFETCH(int, before);
    QFETCH(int, after);
    ReportGrid grid;
    Fill(grid);
    grid.SetState(2, State(before));
    grid.Toggle(2);
    QCOMPARE(int(grid.State(2)), after);
    QCOMPARE(grid.RowAt(3).hidden, State(after) != State::Expanded);
    grid.Toggle(3);  // a plain row: nothing
    QCOMPARE(grid.State(3), State::Expanded);
}

void tst_ReportGrid::revealOpensTheWayUp()
{
    ReportGrid grid;
    Fill(grid);
    grid.SetAllStates(State::Collapsed);
    grid.Reveal(6);
    QCOMPARE(grid.State(1), State::Expanded);
    QCOMPARE(grid.State(2), State::Expanded);
    QCOMPARE(grid.State(5), State::Expanded);
    QCOMPARE(grid.State(7), State::Collapsed);
    QCOMPARE(HiddenRows(grid), QString("p4"));
}

void tst_ReportGrid::modelShowsShownRows_data()
{
    QTest::addColumn<QString>("states");
    QTest::addColumn<QString>("tree");
    QTest::newRow("as added") << ""
                              << "Plan[S1[p1 p2 S1a[p3]] S2[p4]]";
    // A node whose rows are all hidden keeps its arrow.
    QTest::newRow("all partly") << "all=p"
                                << "Plan[S1[S1a+] S2+]";
    QTest::newRow("all collapsed") << "all=c"
                                   << "Plan+";
    QTest::newRow("S1 collapsed") << "S1=c"
                                  << "Plan[S1+ S2[p4]]";
    QTest::newRow("S1 partly") << "S1=p"
                               << "Plan[S1[S1a[p3]] S2[p4]]";
}

void tst_ReportGrid::modelShowsShownRows()
{
    QFETCH(QString, states);
    QFETCH(QString, tree);
    ReportGrid grid;
    Fill(grid);
    ReportGridModel model(grid);
    QSignalSpy layouts(&model, &QAbstractItemModel::layoutChanged);
    SetStates(grid, states);
    model.OutlineChanged();
    QCOMPARE(layouts.size(), 1);
    QCOMPARE(Tree(model), tree);
    // Parents lead back up, and IndexOf finds what index() gives.
    for (int row = 1; row < grid.RowCount(); ++row) {
        const QModelIndex index = model.IndexOf(row, 2);
        QCOMPARE(index.isValid(), !grid.RowAt(row).hidden);
        if (!index.isValid())
            continue;
        QCOMPARE(model.GridRow(index), row);
        QCOMPARE(model.index(index.row(), 2, index.parent()), index);
        QCOMPARE(model.GridRow(index.parent()), grid.RowAt(row).parent);
        QCOMPARE(model.HasShownChildren(row), model.rowCount(index.siblingAtColumn(0)) > 0);
    }
    QVERIFY(!model.IndexOf(0).isValid());
}

void tst_ReportGrid::modelPassesTheTester()
{
    ReportGrid grid;
    Fill(grid);
    ReportGridModel model(grid);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const char* states : {"all=p", "S1=e", "all=c", "S1a=e", "all=e"}) {
        SetStates(grid, states);
        model.OutlineChanged();
        if (QTest::currentTestFailed())
            QFAIL(states);
    }
    grid.SetCell(3, 2, "Canceled");
    model.RowsChanged(1, grid.RowCount() - 1);
    grid.Clear();
    grid.AddRow({"Other plan"}, true, 0);
    model.Reset();
    QCOMPARE(Tree(model), QString("Other plan"));
    grid.Clear();
    model.Reset();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.hasChildren());
}

void tst_ReportGrid::persistentIndexFollowsItsRow()
{
    ReportGrid grid;
    Fill(grid);
    ReportGridModel model(grid);
    const QPersistentModelIndex p4(model.IndexOf(8, 2));
    const QPersistentModelIndex p3(model.IndexOf(6, 1));
    const QPersistentModelIndex s1a(model.IndexOf(5, 0));
    QCOMPARE(p4.row(), 0);
    QCOMPARE(s1a.row(), 2);
    grid.SetState(2, State::PartlyExpanded);
    grid.SetState(5, State::Collapsed);
    model.OutlineChanged();
    QCOMPARE(model.GridRow(p4), 8);
    QCOMPARE(p4.column(), 2);
    QCOMPARE(model.GridRow(s1a), 5);
    QCOMPARE(s1a.row(), 0);
    QVERIFY(!p3.isValid());  // out of view
    // Rows shown again come back at their places, in grid order.
    grid.SetState(2, State::Expanded);
    grid.SetState(5, State::Expanded);
    model.OutlineChanged();
    QCOMPARE(model.IndexOf(6, 1).row(), 0);
    QCOMPARE(model.IndexOf(3, 1).row(), 0);
    QCOMPARE(s1a.row(), 2);
}

void tst_ReportGrid::rowsChangedGroupsByParent()
{
    ReportGrid grid;
    Fill(grid);
    ReportGridModel model(grid);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    grid.SetState(7, State::Collapsed);  // p4 out of view
    model.OutlineChanged();
    model.RowsChanged(3, 8);
    // p1 and p2 under S1, S1a under S1 too, p3 under S1a, S2 at the plan's; p4 not shown.
    QSet<QString> runs;
    for (const QList<QVariant>& signal : changed) {
        const QModelIndex first = signal.at(0).toModelIndex();
        const QModelIndex last = signal.at(1).toModelIndex();
        QCOMPARE(first.parent(), last.parent());
        QCOMPARE(first.column(), 0);
        QCOMPARE(last.column(), 3);
        runs << QString("%1-%2").arg(model.GridRow(first)).arg(model.GridRow(last));
    }
    QCOMPARE(runs, (QSet<QString>{"3-5", "6-6", "7-7"}));
    changed.clear();
    model.RowsChanged(8, 8);
    QCOMPARE(changed.size(), 0);
}

void tst_ReportGrid::headerAndColours()
{
    ReportGrid grid;
    Fill(grid);
    ReportGridModel model(grid);
    model.SetHeaderShading(0, 2);
    model.SetRowShading(1, 2);
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("Procedure"));
    QVERIFY(!model.headerData(1, Qt::Vertical).isValid());
    const QColor menu = QGuiApplication::palette().color(QPalette::Active, QPalette::Window);
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(), menu);
    QCOMPARE(model.headerData(2, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(), menu);
    QVERIFY(!model.headerData(3, Qt::Horizontal, Qt::BackgroundRole).isValid());
    const QColor grey(240, 240, 240);
    QCOMPARE(model.IndexOf(3, 1).data(Qt::BackgroundRole).value<QColor>(), grey);
    QCOMPARE(model.IndexOf(3, 2).data(Qt::BackgroundRole).value<QColor>(), grey);
    QVERIFY(!model.IndexOf(3, 0).data(Qt::BackgroundRole).isValid());
    QVERIFY(!model.IndexOf(3, 3).data(Qt::BackgroundRole).isValid());
    QVERIFY(!model.IndexOf(2, 1).data(Qt::BackgroundRole).isValid());  // a node row
    QCOMPARE(model.IndexOf(3, 2).data().toString(), QString("Passed"));
    QCOMPARE(model.IndexOf(2, 0).data(Qt::EditRole).toString(), QString("S1"));
}

void tst_ReportGrid::editableFlags()
{
    ReportGrid grid;
    Fill(grid);
    ReportGridModel model(grid);
    QVERIFY(!(model.flags(model.IndexOf(3, 2)) & Qt::ItemIsEditable));
    model.Editable = [](int row, int column) { return row == 3 && column == 2; };
    QVERIFY(model.flags(model.IndexOf(3, 2)) & Qt::ItemIsEditable);
    QVERIFY(!(model.flags(model.IndexOf(4, 2)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.IndexOf(3, 2)) & Qt::ItemNeverHasChildren);
    QVERIFY(!(model.flags(model.IndexOf(2, 0)) & Qt::ItemNeverHasChildren));
    QVERIFY(model.flags(model.IndexOf(2, 0)) & Qt::ItemIsSelectable);
}

void tst_ReportGrid::largeGridIsLinear()
{
    // 50,000 rows: 5,000 sub-tests of nine procedures. Anything quadratic in the rows takes
    // minutes here; the linear work takes well under a second.
    ReportGrid grid;
    grid.SetColumns({{"Test"}, {"Procedure"}});
    grid.Reserve(50001);
    grid.AddRow({"Plan"}, true, 0);
    for (int sub = 0; sub < 5000; ++sub) {
        grid.AddRow({QString("S%1").arg(sub)}, true, 1 + sub % 3);
        for (int procedure = 0; procedure < 9; ++procedure)
            grid.AddRow({"", QString("p%1").arg(procedure)}, false);
    }
    QElapsedTimer clock;
    clock.start();
    ReportGridModel model(grid);
    const int lastNode = grid.RowCount() - 10;
    QPersistentModelIndex last(model.IndexOf(lastNode, 1));
    for (const State state : {State::PartlyExpanded, State::Expanded, State::PartlyExpanded, State::Expanded}) {
        grid.SetAllStates(state);
        model.OutlineChanged();
    }
    grid.Toggle(2);
    model.OutlineChanged();
    // Every shown row's index and parent, as a view walks the tree.
    int seen = 0;
    QList<QModelIndex> stack{QModelIndex()};
    while (!stack.isEmpty()) {
        const QModelIndex parent = stack.takeLast();
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            QCOMPARE(index.parent(), parent);
            ++seen;
            stack.append(index);
        }
    }
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString("%1 ms").arg(clock.elapsed())));
    QCOMPARE(model.GridRow(last), lastNode);
    int shown = 0;
    for (int row = 1; row < grid.RowCount(); ++row)
        shown += grid.RowAt(row).hidden ? 0 : 1;
    QCOMPARE(seen, shown);
    QVERIFY(seen < grid.RowCount() - 1);  // S0's subtree is collapsed
}

QTEST_MAIN(tst_ReportGrid)

#include "tst_ReportGrid.moc"
