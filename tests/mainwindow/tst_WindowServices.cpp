#include "TestEnvironment.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/PropertyGrid.h"
#include "core/services/SelectedNode.h"
#include "core/services/WindowServices.h"
#include "mainwindow/MainWindowShell.h"
#include "mainwindow/frmMdi.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

namespace {

// A document window that refuses to close while it holds unsaved edits.
class Document final : public QWidget
{
public:
    bool keepOpen = false;

protected:
    void closeEvent(QCloseEvent* event) override { keepOpen ? event->ignore() : event->accept(); }
};

}  // namespace

// The hooks the core dialogs use reach the real main window while it lives.
class tst_WindowServices : public QObject
{
    Q_OBJECT

private slots:
    void hooksReachTheMainWindow();
};

void tst_WindowServices::hooksReachTheMainWindow()
{
    TestEnvironment env;
    {
        MainWindowShell shell;
        shell.ShowMainWindow();
        frmMdi* main = shell.MainWindow();
        windowServices().ShowDatabaseText("/data/koravel.db");
        QCOMPARE(main->PanelText(2), QStringLiteral("/data/koravel.db"));

        auto* kept = new Document;
        kept->keepOpen = true;
        main->MdiArea()->addSubWindow(kept)->show();
        main->MdiArea()->addSubWindow(new Document)->show();
        QVERIFY(!windowServices().CloseDocuments());
        QCOMPARE(main->MdiArea()->subWindowList().size(), 1);
        kept->keepOpen = false;
        QVERIFY(windowServices().CloseDocuments());
        QVERIFY(main->MdiArea()->subWindowList().isEmpty());

        // The property rows follow the selected node: with none selected they stay, the root's
        // are none.
        gPropertyGrid().SetRows(3);
        SetSelectedNode(QString());
        windowServices().RefreshPropertyRows();
        QCOMPARE(gPropertyGrid().Rows(), 3);
        if (!gExplorerNodes().Exist(NodeKey::kRoot))
            gExplorerNodes().Add({}, NodeKey::kRoot, "Database", kImageRoot);
        SetSelectedNode(NodeKey::kRoot);
        QVERIFY(gSelectedNode());
        windowServices().RefreshPropertyRows();
        QCOMPARE(gPropertyGrid().Rows(), 0);
    }
    // Gone with the window: the hooks act as if no window were open.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!windowServices().CloseDocumentWindows);
    QVERIFY(windowServices().CloseDocuments());
}

QTEST_MAIN(tst_WindowServices)
#include "tst_WindowServices.moc"
