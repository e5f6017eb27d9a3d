#include "MainWindowFixture.h"
#include "TreeFixture.h"

#include "core/NodeKey.h"
#include "core/services/ExplorerNode.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/ItemList.h"
#include "core/services/SelectedNode.h"
#include "core/services/PropertyGrid.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmList.h"
#include "platform/Globals.h"

#include <QHeaderView>
#include <QTreeView>
#include <QtTest>

using TreeFixture::K;

namespace {

const QString kBoot = "Eqpt1~10~10|20|1~20|21|1~21|31|1$";
const QString kTwiceAgain = "Eqpt1~10~10|20|1~20|21|2";  // its second place

QStringList Column(const frmList& list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.Model()->rowCount(); ++row)
        texts << list.Model()->index(row, column).data().toString();
    return texts;
}

}  // namespace

// The result list: its count, its sorting and the double click that finds a row's occurrence.
class tst_frmList : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetSelectedNode({});
        gExplorerNodes().Clear();
    }

    void countTexts_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << "No items founded.";
        QTest::newRow("one") << 1 << "1 items found.";
        QTest::newRow("three") << 3 << "3 items found.";
    }
    void countTexts()
    {
        QFETCH(int, rows);
        QFETCH(QString, text);
        ItemList items;
        for (int i = 0; i < rows; ++i)
            items.AddRow(QString("Item %1").arg(i), "Bench\\Plan A", "01/02/2026", 14, "x");
        frmList list(items, nullptr);
        QCOMPARE(list.windowTitle(), QString("Item's list"));
        QCOMPARE(list.PanelText(1), text);
        QCOMPARE(list.PanelText(2), QString("Double click on an item to highlight it in the explorer."));
        QCOMPARE(ItemList::Columns(), QStringList({"Item", "Path", "Date"}));
    }

    // The filler's order first; a header click sorts, a second one reverses; dates by the day.
    void headerClicksSort()
    {
        ItemList items;
        items.AddRow("Beta", "B", "01/02/2026", 14, "b", QDate(2026, 1, 2));
        items.AddRow("Alpha", "C", "12/31/2025", 14, "a", QDate(2025, 12, 31));
        items.AddRow("Gamma", "A", "03/15/2025", 14, "c", QDate(2025, 3, 15));
        frmList list(items, nullptr);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(Column(list, 0), QStringList({"Beta", "Alpha", "Gamma"}));
        QHeaderView* header = list.lvwItems()->header();
        const auto click = [&](int column) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        };
        click(2);
        QCOMPARE(Column(list, 0), QStringList({"Gamma", "Alpha", "Beta"}));
        click(2);
        QCOMPARE(Column(list, 0), QStringList({"Beta", "Alpha", "Gamma"}));
        click(1);
        QCOMPARE(Column(list, 0), QStringList({"Gamma", "Beta", "Alpha"}));
        QCOMPARE(list.lvwItems()->columnWidth(0) * 2, list.lvwItems()->columnWidth(1));
    }

    void doubleClickFindsTheOccurrence()
    {
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        QVERIFY(fixture.Load());
        frmExplorer* explorer = fixture.Window().Explorer();
        ItemList items;
        items.AddRow("Boot", "Bench\\Plan A\\Shared\\Twice", "03/05/2024", 14, K(kBoot));
        items.AddRow("Twice", "Bench\\Plan A\\Shared", "03/05/2024", 5, K(kTwiceAgain));
        frmList list(items, &fixture.Window());
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));

        // The tree was built again since the list was filled, and the plan is not read yet.
        explorer->tvTestPlan_Initialize();
        list.lvwItems()->setCurrentIndex(list.Model()->index(0, 0));
        list.lvwItems_DblClick();
        QVERIFY(gSelectedNode());
        QCOMPARE(gSelectedNode()->Key(), K(kBoot));
        QCOMPARE(fixture.Window().PanelText(4), QString("Boot"));
        QCOMPARE(fixture.Window().PanelText(3), QString("Plan A"));
        QCOMPARE(gPropertyGrid().TextMatrix(1, PropertyGrid::kValueCol), QString("Boot"));

        // An occurrence unlinked meanwhile: its nearest remaining ancestor is shown opened, the
        // current node stays, one entry is logged.
        gExplorerNodes().Remove(K(kTwiceAgain));
        list.lvwItems()->setCurrentIndex(list.Model()->index(1, 0));
        list.lvwItems_DblClick();
        QVERIFY(gSelectedNode());
        QCOMPARE(gSelectedNode()->Key(), K(kBoot));
        QCOMPARE(fixture.Window().PanelText(4), QString("Boot"));
        const QModelIndex shown = explorer->tvTestPlan()->currentIndex();
        QCOMPARE(shown.data().toString(), QString("Shared"));
        QVERIFY(explorer->tvTestPlan()->isExpanded(shown));
        QCOMPARE(fixture.Environment.BugLogEntries(), 1);
        QVERIFY(fixture.Environment.BugLog().contains("Error_ListDblClick:"));
    }
};

QTEST_MAIN(tst_frmList)
#include "tst_frmList.moc"
