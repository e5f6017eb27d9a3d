#include "MainWindowFixture.h"
#include "ModelFixture.h"
#include "TreeFixture.h"

#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/SearchLocation.h"
#include "core/services/SelectedNode.h"
#include "core/ui/Twips.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/PaneDock.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmList.h"
#include "mainwindow/frmSelection.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using ModelFixture::Run;
using TreeFixture::K;

namespace {

QStringList Tags(const frmList* list)
{
    QStringList tags;
    for (int row = 0; row < list->Model()->rowCount(); ++row)
        tags << QString(list->Model()->RowAt(row).tag).replace(NodeKey::kSeparator, '~');
    return tags;
}

int IndexOfText(const QComboBox* combo, const QString& text)
{
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).trimmed() == text)
            return i;
    return -1;
}

}  // namespace

// The search pane in the main window: its combos, a search per result window, the location it
// narrows the lists to, and closing it.
class tst_frmSelection : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetSelectedNode({});
        gExplorerNodes().Clear();
        gSearchLocation().Reset();
    }

    void searchesFromThePane()
    {
        MainWindowFixture fixture;
        QVERIFY2(fixture.Prepare(), qPrintable(fixture.Error()));
        TreeFixture::Build();
        Run("UPDATE PROCEDURES SET DESCRIPTION = ? WHERE ID = 30", {QString("<P>Made by R&amp;D</P>")});
        QVERIFY(fixture.Load());
        frmMdi& main = fixture.Window();
        main.resize(1000, 700);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        frmSelection* pane = main.Selection();
        QVERIFY(!main.Pane("frmSelection")->isVisible());
        QCOMPARE(pane->size(), QSize(Pixels(pane, 6450), Pixels(pane, 2595, Qt::Vertical)));

        main.mnuTestPlanFind_Click();
        QVERIFY(main.Pane("frmSelection")->isVisible());
        QCOMPARE(pane->cboItem()->count(), 5);
        QCOMPARE(pane->cboItem()->currentText(), QString("All"));
        QCOMPARE(pane->cboDevice()->itemText(0), QString("Test Plan Database"));
        QCOMPARE(pane->cboDevice()->currentIndex(), 0);
        QVERIFY(IndexOfText(pane->cboDevice(), "Plan B") > 0);

        // Enter in the text box searches; a window of its own for every search.
        pane->txtFind()->setText("R&D");
        QTest::keyClick(pane->txtFind(), Qt::Key_Return);
        QCOMPARE(pane->ResultWindows().size(), 1);
        QCOMPARE(Tags(pane->ResultWindows().first()),
                 QStringList({"Eqpt1~10~10|20|1~20|30|1$", "Eqpt1~11~11|20|1~20|30|1$"}));
        QCOMPARE(pane->ResultWindows().first()->PanelText(1), QString("2 items found."));

        // A location narrows the search, and the lists the property grid opens.
        pane->cboDevice()->setCurrentIndex(IndexOfText(pane->cboDevice(), "Plan B"));
        emit pane->cboDevice()->activated(pane->cboDevice()->currentIndex());
        pane->cmdFind_Click();
        QCOMPARE(pane->ResultWindows().size(), 2);
        QCOMPARE(Tags(pane->ResultWindows().last()), QStringList({"Eqpt1~11~11|20|1~20|30|1$"}));

        // A rebuilt tree keeps the chosen location while it exists.
        main.Explorer()->tvTestPlan_Initialize();
        QCOMPARE(pane->cboDevice()->currentText().trimmed(), QString("Plan B"));
        QCOMPARE(gSearchLocation().Text(), QString("Plan B"));

        // Cancel closes the pane and goes back to the whole database.
        pane->cmdCancel_Click();
        QVERIFY(!main.Pane("frmSelection")->isVisible());
        QVERIFY(gSearchLocation().Key().isEmpty() || gSearchLocation().Key() == "Root");
        main.mnuTestPlanFind_Click();
        QCOMPARE(pane->cboDevice()->currentIndex(), 0);

        // The result windows have no owner; they close with the main window.
        QList<QPointer<frmList>> windows;
        for (frmList* window : pane->ResultWindows())
            windows << window;
        QVERIFY(main.close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<frmList>& window : windows)
            QVERIFY(!window || !window->isVisible());
        QCOMPARE(fixture.Environment.BugLogEntries(), 0);
    }
};

QTEST_MAIN(tst_frmSelection)
#include "tst_frmSelection.moc"
