#include "core/services/PropertyGrid.h"
#include "platform/KvlError.h"

#include <QSignalSpy>
#include <QtTest>

// The property grid's rows without a window: cells, blocks, group rows, editors, repaint.
class tst_PropertyGrid : public QObject
{
    Q_OBJECT

private slots:
    void rowsBlocksAndEditors();
};

void tst_PropertyGrid::rowsBlocksAndEditors()
{
    PropertyGrid grid;
    QSignalSpy changed(&grid, &PropertyGrid::Changed);
    grid.SetRows(4);
    QCOMPARE(grid.Cols(), 3);
    grid.SetTextMatrix(0, PropertyGrid::kCaptionCol, "Main");
    grid.SetIsSubtotal(0, true);
    grid.SetRowOutlineLevel(0, 1);
    grid.SetEditor(2, PropertyGrid::kButtonEditor, PropertyGrid::ButtonPicture::Edit);

    // A block given in either order covers the same cells.
    grid.SetCellFontBold(3, 2, 1, 1, true);
    QVERIFY(grid.CellFontBold(1, 1) && grid.CellFontBold(3, 2) && grid.CellFontBold(2, 2));
    QVERIFY(!grid.CellFontBold(0, 1) && !grid.CellFontBold(1, 0));
    // A block reaching outside the grid changes nothing.
    QVERIFY_THROWS_EXCEPTION(KvlError, grid.SetCellAlignment(0, 2, 4, 2, Qt::AlignRight));
    QVERIFY(grid.CellAlignment(0, 2) != Qt::AlignRight);
    QVERIFY_THROWS_EXCEPTION(KvlError, grid.TextMatrix(0, 3));
    QCOMPARE(changed.count(), 0);

    // Clearing keeps the rows and forgets every cell, group and editor.
    grid.Clear();
    QCOMPARE(grid.Rows(), 4);
    QCOMPARE(grid.TextMatrix(0, PropertyGrid::kCaptionCol), QString());
    QVERIFY(!grid.IsSubtotal(0) && grid.RowOutlineLevel(0) == 0 && !grid.CellFontBold(1, 1));
    QCOMPARE(grid.EditKind(2), QString());
    QCOMPARE(grid.CellButtonPicture(2), PropertyGrid::ButtonPicture::None);

    grid.SetRows(2);
    QVERIFY_THROWS_EXCEPTION(KvlError, grid.SetIsSubtotal(2, true));
    grid.Refresh();
    QCOMPARE(changed.count(), 1);
}

QTEST_GUILESS_MAIN(tst_PropertyGrid)
#include "tst_PropertyGrid.moc"
