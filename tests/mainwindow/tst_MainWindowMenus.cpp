#include "core/HelpFile.h"
#include "core/MainToolbars.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/ProgressBar.h"
#include "core/services/SelectedNode.h"
#include "core/services/WindowServices.h"
#include "mainwindow/MenuTable.h"
#include "mainwindow/PaneDock.h"
#include "mainwindow/WindowServicesInstall.h"
#include "platform/Globals.h"
#include "MainWindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QToolBar>
#include <QtTest>

namespace {

QString Line(int depth, const QAction* action)
{
    if (action->isSeparator())
        return QStringLiteral("%1\t-").arg(depth);
    // Entries whose key acts from the open menu only show it after a tab.
    const QString shortcut = action->shortcut().isEmpty() ? action->text().section('\t', 1)
                                                          : action->shortcut().toString(QKeySequence::PortableText);
    const int topic = action->property("helpTopic").toInt();
    const QString check = action->isCheckable() ? (action->isChecked() ? "checked" : "unchecked") : QString();
    return QStringList{QString::number(depth),
                       action->objectName(),
                       action->text().section('\t', 0, 0),
                       shortcut,
                       topic ? QString::number(topic) : QString(),
                       action->property("iconKey").toString(),
                       check}
        .join('\t');
}

void Walk(const QList<QAction*>& actions, int depth, QStringList& lines)
{
    for (const QAction* action : actions) {
        lines << Line(depth, action);
        if (action->menu())
            Walk(action->menu()->actions(), depth + 1, lines);
    }
}

QStringList MenuNames()
{
    QStringList names;
    for (const MenuEntry& entry : MenuTable())
        if (QLatin1String(entry.name) != QLatin1String("-"))
            names << QString::fromLatin1(entry.name);
    return names;
}

// A tree with one test plan holding two sub-tests, selected on the first.
void SelectSubTest()
{
    ExplorerNodes& nodes = gExplorerNodes();
    nodes.Clear();
    nodes.Add({}, "R", "Database", 1);
    nodes.Add("R", "C", "Bench", 2);
    nodes.Add("C", "T", "Plan", 3);
    nodes.Add("T", "S1", "Alpha", 4);
    nodes.Add("T", "S2", "Beta", 4);
    SetSelectedNode("S1");
}

}  // namespace

class tst_MainWindowMenus : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetSelectedNode({});
        gExplorerNodes().Clear();
        gUserManagement = false;
        SetHelpFile({});
        gMainToolbars() = MainToolbars();
    }

    void menusMatchTheirTable()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        QStringList lines;
        Walk(window->menuBar()->actions(), 0, lines);
        QFile golden(KORAVEL_MENUS_GOLDEN);
        QVERIFY(golden.open(QIODevice::ReadOnly));
        const QStringList expected = QString::fromUtf8(golden.readAll()).split('\n', Qt::SkipEmptyParts);
        for (int i = 0; i < std::min(lines.size(), expected.size()); ++i)
            QCOMPARE(lines[i], expected[i]);
        QCOMPARE(lines.size(), expected.size());
        QCOMPARE(fixture.Environment.BugLogEntries(), 0);
    }

    void commandWithoutHandlerStaysDisabled()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        // The style sheet editor is not built: its rule enables it, its missing handler does not.
        window->mnuTools_Click();
        QVERIFY(window->Commands().Enabled("mnuToolsCSS"));
        QVERIFY(!window->Action("mnuToolsCSS")->isEnabled());
        QVERIFY(!window->Action("Connect")->isEnabled());
        fixture.Record({"mnuToolsCSS", "mnuDatabaseOpen"});
        QVERIFY(window->Action("mnuToolsCSS")->isEnabled());
        QVERIFY(window->Action("Connect")->isEnabled());
        window->Action("Connect")->trigger();
        window->Action("mnuToolsCSS")->trigger();
        QCOMPARE(fixture.Ran, QStringList({"mnuDatabaseOpen", "mnuToolsCSS"}));
        // The rule wins where it disables.
        gUserManagement = true;
        gUserCategory = 2;
        window->mnuTools_Click();
        QVERIFY(!window->Action("mnuToolsCSS")->isEnabled());
        // The menus run their rules as they drop down.
        gUserManagement = false;
        emit window->Menu("mnuTools")->aboutToShow();
        QVERIFY(window->Action("mnuToolsCSS")->isEnabled());
        gUserManagement = true;
        emit window->Menu("mnuFile")->aboutToShow();
        QVERIFY(!window->Commands().Enabled("mnuFileImport"));
    }

    void editModeSwitchesExactlyItsList()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        InstallWindowServices(window);
        QStringList expected = {"mnuFileSave",
                                "mnuFileSaveAll",
                                "mnuEditCopy",
                                "mnuEditCut",
                                "mnuEditFind",
                                "mnuEditInsert",
                                "mnuEditPaste",
                                "mnuEditSelectAll",
                                "mnuEditProperties",
                                "mnuEditUndo",
                                "mnuEditRedo",
                                "mnuIns",
                                "mnuRemoveTable",
                                "mnuMergeCells",
                                "mnuSplitCells",
                                "mnuFormatBackGround",
                                "mnuFormatBullet",
                                "mnuFormatFont",
                                "mnuFormatIndent",
                                "mnuFormatNumbers",
                                "mnuFormatOutdent",
                                "HTMLView",
                                "Save",
                                "SaveAll"};
        expected.sort();
        // The load switched edit mode off.
        for (const QString& name : expected)
            QVERIFY2(!window->Commands().Enabled(name), qPrintable(name));
        for (const bool on : {true, false}) {
            QSignalSpy changed(&window->Commands(), &CommandStates::Changed);
            windowServices().EditMode(on);
            QStringList names;
            for (const QList<QVariant>& call : changed)
                names << call[0].toString();
            names.sort();
            QCOMPARE(names, expected);
            const MainToolbars& bars = gMainToolbars();
            for (const ToolbarModel* toolbar : {&bars.tlbEdit, &bars.tlbFormat, &bars.tlbTable})
                for (const QString& key : toolbar->Keys())
                    QCOMPARE(toolbar->Enabled(key), on);
            for (const ComboModel* combo : {&bars.cboFontName, &bars.cboFontSize, &bars.cboStyles})
                QCOMPARE(combo->Enabled(), on);
        }
    }

    void oneKeyRunsOneCommand_data()
    {
        QTest::addColumn<bool>("typing");  // the focus is in a text box of a pane
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("command");
        QTest::newRow("Del while typing") << true << QKeySequence(Qt::Key_Delete) << "";
        QTest::newRow("Ctrl+U while typing") << true << QKeySequence(Qt::CTRL | Qt::Key_U) << "";
        QTest::newRow("Ctrl+D while typing") << true << QKeySequence(Qt::CTRL | Qt::Key_D) << "";
        QTest::newRow("Del in the window") << false << QKeySequence(Qt::Key_Delete) << "";
        QTest::newRow("F5 while typing") << true << QKeySequence(Qt::Key_F5) << "mnuFilePreview";
        QTest::newRow("F4") << false << QKeySequence(Qt::Key_F4) << "mnuViewProperties";
        QTest::newRow("Ctrl+R") << false << QKeySequence(Qt::CTRL | Qt::Key_R) << "mnuViewTestPlanExplorer";
        QTest::newRow("F7") << false << QKeySequence(Qt::Key_F7) << "mnuExportHTML";
    }

    void oneKeyRunsOneCommand()
    {
        QFETCH(bool, typing);
        QFETCH(QKeySequence, key);
        QFETCH(QString, command);
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        SelectSubTest();
        window->mnuTestPlan_Click();
        fixture.Record(MenuNames());
        auto* box = new QLineEdit(window->Pane("frmProperties"));
        window->Pane("frmProperties")->setWidget(box);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->activateWindow();
        QWidget* target = window;
        if (typing) {
            box->setFocus();
            QTRY_VERIFY(box->hasFocus());
            target = box;
        }
        QTest::keySequence(target, key);
        QCOMPARE(fixture.Ran, command.isEmpty() ? QStringList() : QStringList{command});
    }

    void itemKeysActFromTheOpenMenu()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        SelectSubTest();
        fixture.Record({"mnuItemDelete", "mnuItemUp", "mnuItemDown"});
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QMenu* item = window->Menu("mnuItem");
        window->mnuTestPlan_Click();
        item->popup(window->mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(item->isVisible());
        // The first sub-test cannot move up: its key does nothing.
        QTest::keyClick(item, Qt::Key_U, Qt::ControlModifier);
        QVERIFY(fixture.Ran.isEmpty());
        QTest::keyClick(item, Qt::Key_Delete);
        QCOMPARE(fixture.Ran, QStringList{"mnuItemDelete"});
        QTRY_VERIFY(!item->isVisible());
    }

    void standardButtonsRunTheirMenuCommands()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        fixture.Record({"mnuFilePreview", "mnuDatabaseOpen", "mnuFilePrint", "mnuFileSave"});
        for (const char* key : {"Preview", "Connect", "Print", "Save", "Unknown"})
            window->tlbStandard_ButtonClick(key);
        QCOMPARE(fixture.Ran, QStringList({"mnuFilePreview", "mnuDatabaseOpen", "mnuFilePrint", "mnuFileSave"}));
        // Save stays off until a description opens; Properties shows and hides the pane.
        QVERIFY(!window->Action("Save")->isEnabled());
        QVERIFY(window->Action("Properties")->isChecked());
        window->Action("Properties")->trigger();
        QVERIFY(!window->Action("Properties")->isChecked());
        QVERIFY(!window->Action("mnuViewProperties")->isChecked());
        QVERIFY(window->Pane("frmProperties")->isHidden());
    }

    void helpOpensTheHelpFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("message");
        QTest::newRow("no help file") << "" << false << true;
        QTest::newRow("opened") << "/usr/share/doc/koravel/help.html" << true << false;
        QTest::newRow("desktop cannot open it") << "/usr/share/doc/koravel/help.html" << false << true;
    }

    void helpOpensTheHelpFile()
    {
        QFETCH(QString, file);
        QFETCH(bool, opens);
        QFETCH(bool, message);
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        SetHelpFile(file);
        fixture.Desktop.OpenAnswer = opens;
        const QString text = "Unable to display Help Contents. There is no Help associated with this project.";
        for (const char* command : {"mnuHelpContents", "mnuHelpSearchForHelpOn"}) {
            fixture.Prompts.ClearHistory();
            fixture.Desktop.Clear();
            window->Action(command)->trigger();
            QCOMPARE(fixture.Prompts.Messages(), message ? QStringList{text} : QStringList());
            QCOMPARE(fixture.Desktop.Opened(), file.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl::fromLocalFile(file)});
        }
        if (!message)
            return;
        QCOMPARE(fixture.Prompts.History().last().icon, Prompts::Icon::Information);
        QCOMPARE(fixture.Prompts.History().last().caption, QString("Koravel"));
    }

    void f1OnAMenuEntryOpensTheHelpFile()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        SetHelpFile("/usr/share/doc/koravel/help.html");
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QMenu* view = window->Menu("mnuView");
        view->popup(window->mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(view->isVisible());
        view->setActiveAction(window->Action("mnuViewProperties"));
        QTest::keyClick(view, Qt::Key_F1);
        QCOMPARE(fixture.Desktop.Opened(), QList<QUrl>{QUrl::fromLocalFile("/usr/share/doc/koravel/help.html")});
    }

    void aboutBoxIsModal()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        QString title;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box)
                return;
            title = box->windowTitle();
            box->close();
        });
        window->Action("mnuHelpAbout")->trigger();
        QCOMPARE(title, QString(" About Koravel"));
    }

    void progressStripShowsTheProgressBar()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        window->resize(1200, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto* strip = window->findChild<QWidget*>("picProgress");
        auto* bar = window->findChild<QProgressBar*>("prgProgress");
        QVERIFY(strip && bar);
        QVERIFY(!strip->isVisible());
        gProgressBar().SetVisible(true);
        gProgressBar().SetValue(40);
        QTRY_VERIFY(strip->isVisible());
        QCOMPARE(bar->value(), 40);
        gProgressBar().SetVisible(false);
        QTRY_VERIFY(!strip->isVisible());
    }

    void editingBandsShowTheirModel()
    {
        MainWindowFixture fixture;
        frmMdi* window = fixture.Load();
        QVERIFY2(window, qPrintable(fixture.Error()));
        auto* sizes = window->findChild<QComboBox*>("cboFontSize");
        QCOMPARE(sizes->count(), 7);
        QCOMPARE(sizes->currentText(), QString("10"));
        QCOMPARE(sizes->toolTip(), QString("Font size"));
        QCOMPARE(window->findChild<QComboBox*>("cboFontName")->toolTip(), QString("Font name"));
        fixture.Record({"Bold", "cboFontSize"});
        window->InstallHandler("Italic", {});
        window->SetEditMode(true);
        QVERIFY(window->Action("Bold")->isEnabled());
        QVERIFY(!window->Action("Italic")->isEnabled());  // no handler
        QVERIFY(sizes->isEnabled());
        MainToolbars& bars = gMainToolbars();
        bars.tlbFormat.SetPressed("Bold", true);
        bars.cboFontSize.SetListIndex(4);
        bars.NotifyChanged();
        QVERIFY(window->Action("Bold")->isChecked());
        QCOMPARE(sizes->currentText(), QString("18"));
    }
};

QTEST_MAIN(tst_MainWindowMenus)
#include "tst_MainWindowMenus.moc"
