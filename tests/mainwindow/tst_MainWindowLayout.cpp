#include "core/MainToolbars.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/SelectedNode.h"
#include "core/ui/Twips.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/PaneDock.h"
#include "platform/Settings.h"
#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QToolBar>
#include <QtTest>

namespace {

const QString kUnwritten = QStringLiteral("unwritten");
const QStringList kUnloadKeys = {"MainLeft",          "MainTop",         "MainWidth",       "MainHeight",
                                 "RightWidth",        "LeftWidth",       "PropertiesAlign", "ExplorerAlign",
                                 "PropertiesVisible", "ExplorerVisible", "LastNode"};

QString Stored(const QString& key)
{
    return Settings::GetSetting("Settings", key, kUnwritten);
}

void Store(const QString& key, const QString& value)
{
    Settings::SaveSetting("Settings", key, value);
}

// A child window that refuses to close while `keep` is set.
class StubbornChild : public QWidget
{
public:
    bool keep = true;

protected:
    void closeEvent(QCloseEvent* event) override { keep ? event->ignore() : event->accept(); }
};

}  // namespace

class tst_MainWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetSelectedNode({});
        gExplorerNodes().Clear();
        gMainToolbars() = MainToolbars();
    }

    void firstStart()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        QCOMPARE(window->pos(), QPoint(Pixels(window, 1000), Pixels(window, 1000, Qt::Vertical)));
        QCOMPARE(window->size(), QSize(Pixels(window, 6500), Pixels(window, 6500, Qt::Vertical)));
        QCOMPARE(window->dockWidgetArea(window->Pane("frmProperties")), Qt::RightDockWidgetArea);
        QCOMPARE(window->dockWidgetArea(window->Pane("frmExplorer")), Qt::LeftDockWidgetArea);
        QCOMPARE(window->dockWidgetArea(window->Pane("frmSelection")), Qt::BottomDockWidgetArea);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->Pane("frmProperties")->isVisible());
        QVERIFY(window->Pane("frmExplorer")->isVisible());
        QVERIFY(!window->Pane("frmSelection")->isVisible());
        QVERIFY(window->Action("mnuViewProperties")->isChecked());
        QVERIFY(window->Action("mnuViewTestPlanExplorer")->isChecked());
        QVERIFY(window->Action("Properties")->isChecked());
        // Panes never float.
        QVERIFY(!(window->Pane("frmExplorer")->features() & QDockWidget::DockWidgetFloatable));
        QCOMPARE(window->PanelText(3), QString("Current test plan"));
        QCOMPARE(fixture.Environment.BugLogEntries(), 0);
        // Editing commands are off until a description opens.
        QVERIFY(!window->Action("mnuEditCut")->isEnabled());
    }

    void sideWidthHasAMinimum_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("twips");
        QTest::newRow("200") << "200" << 500.0;
        QTest::newRow("500") << "500" << 500.0;
        QTest::newRow("501") << "501" << 501.0;
        QTest::newRow("4000") << "4000" << 4000.0;
    }

    void sideWidthHasAMinimum()
    {
        QFETCH(QString, stored);
        QFETCH(double, twips);
        MainWindowFixture fixture;
        Store("RightWidth", stored);
        Store("LeftWidth", stored);
        Store("MainWidth", "10000");
        QCOMPARE(MainLayout::Read().RightWidth, twips);
        QCOMPARE(MainLayout::Read().LeftWidth, twips);
        // The window is measured on the right side alone: both wide sides would squeeze the middle.
        Store("LeftWidth", "500");
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        PaneDock* pane = window->Pane("frmProperties");
        const int wanted = std::max(Pixels(window, twips), pane->minimumSizeHint().width());
        QTRY_COMPARE(pane->width(), wanted);
    }

    void unloadWritesItsMatrix_data()
    {
        QTest::addColumn<int>("propertiesSide");
        QTest::addColumn<bool>("propertiesShown");
        QTest::addColumn<int>("explorerSide");
        QTest::addColumn<bool>("explorerShown");
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<QStringList>("written");
        const QStringList always = {"PropertiesVisible", "ExplorerVisible", "LastNode"};
        const QStringList place = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
        QTest::newRow("both shown on their sides")
            << 4 << true << 3 << true << false
            << (always + place + QStringList{"RightWidth", "LeftWidth", "PropertiesAlign", "ExplorerAlign"});
        QTest::newRow("properties hidden")
            << 4 << false << 3 << true << false << (always + place + QStringList{"LeftWidth", "ExplorerAlign"});
        QTest::newRow("properties at the bottom")
            << 2 << true << 3 << true << false
            << (always + place + QStringList{"LeftWidth", "PropertiesAlign", "ExplorerAlign"});
        QTest::newRow("properties on top, explorer hidden")
            << 1 << true << 3 << false << false << (always + place + QStringList{"PropertiesAlign"});
        QTest::newRow("both on the left")
            << 3 << true << 3 << true << false
            << (always + place + QStringList{"LeftWidth", "PropertiesAlign", "ExplorerAlign"});
        QTest::newRow("minimized") << 4 << true << 3 << true << true
                                   << (always + QStringList{"PropertiesAlign", "ExplorerAlign"});
    }

    void unloadWritesItsMatrix()
    {
        QFETCH(int, propertiesSide);
        QFETCH(bool, propertiesShown);
        QFETCH(int, explorerSide);
        QFETCH(bool, explorerShown);
        QFETCH(bool, minimized);
        QFETCH(QStringList, written);
        MainWindowFixture fixture;
        Store("PropertiesAlign", QString::number(propertiesSide));
        Store("ExplorerAlign", QString::number(explorerSide));
        Store("PropertiesVisible", propertiesShown ? "-1" : "0");
        Store("ExplorerVisible", explorerShown ? "-1" : "0");
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (minimized)
            window->setWindowState(Qt::WindowMinimized);
        for (const QString& key : kUnloadKeys)
            Store(key, kUnwritten);
        QVERIFY(window->close());
        for (const QString& key : kUnloadKeys)
            QVERIFY2((Stored(key) != kUnwritten) == written.contains(key), qPrintable(key + " = " + Stored(key)));
        QCOMPARE(Stored("PropertiesVisible"), QString(propertiesShown ? "-1" : "0"));
        QCOMPARE(Stored("ExplorerVisible"), QString(explorerShown ? "-1" : "0"));
        // The build left the root as the current node.
        QCOMPARE(Stored("LastNode"), QString("Root"));
        if (written.contains("PropertiesAlign"))
            QCOMPARE(Stored("PropertiesAlign"), QString::number(propertiesSide));
        if (written.contains("ExplorerAlign"))
            QCOMPARE(Stored("ExplorerAlign"), QString::number(explorerSide));
        for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight", "RightWidth", "LeftWidth"})
            if (written.contains(key))
                QVERIFY2(SettingNumber(Stored(key)).has_value(), qPrintable(key));
    }

    void unloadKeepsTheSizeItRestored()
    {
        MainWindowFixture fixture;
        Store("MainLeft", "1500");
        Store("MainWidth", "9000");
        Store("RightWidth", "4000");
        Store("LeftWidth", "500");
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_COMPARE(window->Pane("frmProperties")->width(), Pixels(window, 4000));
        SelectSubTestNode();
        QVERIFY(window->close());
        // Pixels round: what comes back lies within one pixel of what was stored.
        const double pixel = Twips(window, 1);
        QVERIFY(std::abs(SettingNumber(Stored("MainLeft")).value() - 1500) <= pixel);
        QVERIFY(std::abs(SettingNumber(Stored("MainWidth")).value() - 9000) <= pixel);
        QVERIFY(std::abs(SettingNumber(Stored("RightWidth")).value() - 4000) <= pixel);
        QCOMPARE(Stored("LastNode"), QString("S1"));
    }

    void badStoredValue_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("logged");
        QTest::newRow("top not a number") << "MainTop"
                                          << "abc" << 1;
        QTest::newRow("width not a number") << "MainWidth"
                                            << "6500twips" << 1;
        QTest::newRow("visibility not a number") << "PropertiesVisible"
                                                 << "yes" << 1;
        QTest::newRow("side width not a number") << "RightWidth"
                                                 << "wide" << 1;
        QTest::newRow("side out of range") << "PropertiesAlign"
                                           << "9" << 0;
        QTest::newRow("side not a number") << "PropertiesAlign"
                                           << "right" << 1;
    }

    // A bad value costs its own key only: the rest of the load runs.
    void badStoredValue()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, logged);
        MainWindowFixture fixture;
        Store(key, value);
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        QCOMPARE(fixture.Environment.BugLogEntries(), logged);
        if (logged)
            QVERIFY(fixture.Environment.BugLog().contains("Error_MDIForm_Load : "));
        QCOMPARE(window->dockWidgetArea(window->Pane("frmProperties")), Qt::RightDockWidgetArea);
        QCOMPARE(window->dockWidgetArea(window->Pane("frmExplorer")), Qt::LeftDockWidgetArea);
        QVERIFY(window->Action("mnuViewProperties")->isChecked());
        QVERIFY(!window->Commands().Enabled("mnuEditCut"));
        QCOMPARE(window->findChild<QComboBox*>("cboFontSize")->count(), 7);
        QCOMPARE(window->size(), QSize(Pixels(window, 6500), Pixels(window, 6500, Qt::Vertical)));
    }

    void windowComesBackOnTheScreen()
    {
        MainWindowFixture fixture;
        Store("MainLeft", "-900000");
        Store("MainTop", "900000");
        Store("MainWidth", "9000000");
        Store("MainHeight", "400");
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        const QRect screen = window->screen()->availableGeometry();
        QVERIFY(window->width() <= screen.width());
        QVERIFY2(screen.intersects(QRect(window->pos(), window->size())),
                 qPrintable(QString("%1,%2").arg(window->x()).arg(window->y())));
        QCOMPARE(fixture.Environment.BugLogEntries(), 0);
    }

    void paneClosedByItsButton_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("command");
        QTest::newRow("properties") << "frmProperties"
                                    << "mnuViewProperties";
        QTest::newRow("explorer") << "frmExplorer"
                                  << "mnuViewTestPlanExplorer";
        QTest::newRow("search") << "frmSelection"
                                << "";
    }

    void paneClosedByItsButton()
    {
        QFETCH(QString, pane);
        QFETCH(QString, command);
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        PaneDock* dock = window->Pane(pane);
        dock->show();
        auto* button = dock->findChild<QAbstractButton*>("qt_dockwidget_closebutton");
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(!dock->isVisible());
        QCOMPARE(window->Action("mnuViewProperties")->isChecked(), pane != "frmProperties");
        QCOMPARE(window->Action("Properties")->isChecked(), pane != "frmProperties");
        QCOMPARE(window->Action("mnuViewTestPlanExplorer")->isChecked(), pane != "frmExplorer");
        if (command.isEmpty())
            return;
        // Its View item brings it back, checked.
        window->Action(command)->trigger();
        QVERIFY(dock->isVisible());
        QVERIFY(window->Action(command)->isChecked());
    }

    void tableBandOnItsOwnRow()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        window->resize(1200, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QToolBar* format = window->Band("tlbFormat");
        QToolBar* table = window->Band("tlbTable");
        QVERIFY(!table->isVisible());
        QVERIFY(!window->Action("mnuViewToolBarTable")->isChecked());
        QVERIFY(!gMainToolbars().mnuViewToolBarTable);
        for (int round = 0; round < 2; ++round) {
            window->Action("mnuViewToolBarTable")->trigger();
            QVERIFY(table->isVisible());
            QVERIFY(gMainToolbars().mnuViewToolBarTable);
            QVERIFY(window->toolBarBreak(table));
            QTRY_VERIFY(table->y() >= format->y() + format->height());
            window->Action("mnuViewToolBarTable")->trigger();
            QVERIFY(!table->isVisible());
            QVERIFY(!gMainToolbars().mnuViewToolBarTable);
        }
        // The Edit band's flag follows its check mark too.
        window->Action("mnuviewToolBarEdit")->trigger();
        QVERIFY(!window->Band("tlbEdit")->isVisible());
        QVERIFY(!gMainToolbars().mnuviewToolBarEdit);
    }

    void childWindowThatStaysOpenCancelsTheExit()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        window->show();
        auto* first = new StubbornChild;
        first->keep = false;
        auto* second = new StubbornChild;
        auto* third = new StubbornChild;
        third->keep = false;
        for (QWidget* child :
             {static_cast<QWidget*>(first), static_cast<QWidget*>(second), static_cast<QWidget*>(third)})
            window->MdiArea()->addSubWindow(child)->show();
        for (const QString& key : kUnloadKeys)
            Store(key, kUnwritten);
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        // Newest first: the third went, the second stayed, the first was not asked.
        QCOMPARE(window->MdiArea()->subWindowList().size(), 2);
        for (const QString& key : kUnloadKeys)
            QCOMPARE(Stored(key), kUnwritten);
        second->keep = false;
        QVERIFY(window->close());
        QCOMPARE(Stored("ExplorerVisible"), QString("-1"));
    }

private:
    static void SelectSubTestNode()
    {
        gExplorerNodes().Clear();
        gExplorerNodes().Add({}, "R", "Database", 1);
        gExplorerNodes().Add("R", "S1", "Alpha", 4);
        SetSelectedNode("S1");
    }
};

QTEST_MAIN(tst_MainWindowLayout)
#include "tst_MainWindowLayout.moc"
