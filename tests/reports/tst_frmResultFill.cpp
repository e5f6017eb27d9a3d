// The result entry window, offscreen on the demonstration plan: its texts and commands, the
// outline shown in the tree and its keys, cell editors writing to the database, and an open
// editor written whichever way the window or a command takes the focus from it.

#include "ModelFixture.h"
#include "ResultFillFixture.h"
#include "ScriptedPrompts.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "WhileModal.h"

#include "core/services/ProgressBar.h"
#include "core/services/ReportWindows.h"
#include "core/services/SelectedNode.h"
#include "core/ui/CellButtonEditor.h"
#include "core/ui/Twips.h"
#include "platform/Hourglass.h"
#include "publishing/ReportGridModel.h"
#include "reports/ResultFill.h"
#include "reports/ui/ResultGridView.h"
#include "reports/ui/frmResultFill.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <memory>

using ModelFixture::Scalar;
using ResultFillFixture::RowOf;

namespace {

// The window on the demonstration plan, shown and active.
struct Window
{
    explicit Window(const QString& backend) : db(backend) {}

    bool Open(bool users = false)
    {
        planKey = ResultFillFixture::BuildPlan();
        if (planKey.isEmpty())
            return false;
        management = std::make_unique<ResultFillFixture::UserManagement>(users);
        window = std::make_unique<frmResultFill>(planKey);
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    ResultFill& Fill() const { return window->Fill(); }
    ResultGridView* View() const { return window->grdResult(); }
    ReportGridModel* Model() const { return View()->Model(); }
    int Row(const QString& procedure, int occurrence = 0) const { return RowOf(Fill(), procedure, occurrence); }
    QString Cell(int row, int column) const { return Fill().Grid().Cell(row, column); }
    QVariant Stored(const QString& column, int row) const
    {
        return Scalar("SELECT " + column + " FROM RESULT WHERE KEY_NODE = ?", {Cell(row, ResultFill::colKey)});
    }
    QPoint Centre(int row, int column) const { return View()->visualRect(Model()->IndexOf(row, column)).center(); }
    void Click(int row, int column) const
    {
        QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Centre(row, column));
    }
    QLineEdit* Line() const { return CellButtonEditor::LineOf(View()->Editor()); }
    // The rows the tree shows, top to bottom, by name.
    QStringList ShownRows() const
    {
        QStringList rows;
        for (QModelIndex index = Model()->index(0, 0); index.isValid(); index = View()->indexBelow(index)) {
            const int row = Model()->GridRow(index);
            rows << (Fill().Grid().IsNode(row) ? Cell(row, 0) : Cell(row, 1));
        }
        return rows;
    }
    void ExpandAll() const { QTest::keyClick(View(), Qt::Key_F12); }

    TestEnvironment env;
    TestDatabase db;
    ScriptedPrompts prompts;
    QString planKey;
    std::unique_ptr<ResultFillFixture::UserManagement> management;
    std::unique_ptr<frmResultFill> window;
};

#define OPEN_WINDOW(w)             \
    QFETCH(QString, backend);      \
    Window w(backend);             \
    KORAVEL_REQUIRE_BACKEND(w.db); \
    ModelFixture::AddSchema();     \
    QVERIFY(w.Open())

const QStringList kAllRows{"Demonstration plan",
                           "Power-on",
                           "Read the boot banner",
                           "Supply rails",
                           "Measure the 3.3 V rail",
                           "Self-test",
                           "Run the built-in test",
                           "Communication",
                           "Read the boot banner",
                           "Echo a frame",
                           "Self-test",
                           "Run the built-in test"};

}  // namespace

class tst_frmResultFill : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        gExplorerNodes().Clear();
        reportWindows() = ReportWindows();
    }
    void textsAndCommands_data() { TestDatabase::AddBackendRows(); }
    void textsAndCommands();
    void testerColumn_data();
    void testerColumn();
    void loadStateAndArrows_data() { TestDatabase::AddBackendRows(); }
    void loadStateAndArrows();
    void outlineKeys_data();
    void outlineKeys();
    void statusPickedIsStored_data() { TestDatabase::AddBackendRows(); }
    void statusPickedIsStored();
    void typedNumbers_data();
    void typedNumbers();
    void selectionRule_data() { TestDatabase::AddBackendRows(); }
    void selectionRule();
    void commentButton_data() { TestDatabase::AddBackendRows(); }
    void commentButton();
    void openEditorWrittenFirst_data();
    void openEditorWrittenFirst();
    void fillCommands_data() { TestDatabase::AddBackendRows(); }
    void fillCommands();
    void installedCommandOpensTheWindow_data() { TestDatabase::AddBackendRows(); }
    void installedCommandOpensTheWindow();
};

void tst_frmResultFill::textsAndCommands()
{
    OPEN_WINDOW(w);
    frmResultFill* window = w.window.get();
    QCOMPARE(window->windowTitle(), QString("Result Fill In"));

    const QList<std::tuple<QString, QString, bool>> buttons{{"Export", "Export Progress Report", false},
                                                            {"WebPreview", "Print Preview", false},
                                                            {"Print", "Print", false},
                                                            {"FillDownCell", "Fill down cell", true},
                                                            {"FillDownResult", "Fill down result", true},
                                                            {"FillAll", "Fill all", true},
                                                            {"ClearAll", "Clear all", true}};
    const QList<QAction*> actions = window->tlbResult()->actions();
    QCOMPARE(actions.size(), buttons.size());
    for (qsizetype at = 0; at < buttons.size(); ++at) {
        const auto& [key, toolTip, enabled] = buttons.at(at);
        QCOMPARE(actions.at(at)->objectName(), key);
        QCOMPARE(actions.at(at)->toolTip(), toolTip);
        QCOMPARE(actions.at(at)->isEnabled(), enabled);
        QVERIFY2(!actions.at(at)->icon().isNull(), qPrintable(key));
    }
    QMenu* exportMenu = actions.first()->menu();
    QVERIFY(exportMenu);
    QCOMPARE(exportMenu->actions().size(), 2);
    QCOMPARE(exportMenu->actions().at(0)->objectName(), QString("HTML"));
    QCOMPARE(exportMenu->actions().at(0)->text(), QString("Export to &HTML"));
    QCOMPARE(exportMenu->actions().at(1)->objectName(), QString("MSExcel"));
    QCOMPARE(exportMenu->actions().at(1)->text(), QString("Export to &Excel"));

    QAction* close = window->tlbClose()->findChild<QAction*>("Close");
    QVERIFY(close);
    QCOMPARE(close->text(), QString("&Close  "));
    QCOMPARE(close->toolTip(), QString("Close"));
    auto* closeButton = qobject_cast<QToolButton*>(window->tlbClose()->widgetForAction(close));
    QVERIFY(closeButton);
    QCOMPARE(closeButton->text(), QString("&Close  "));

    QComboBox* filter = window->cboFilter();
    QCOMPARE(filter->toolTip(), QString("Filter the procedures"));
    QCOMPARE(filter->currentIndex(), 0);
    QStringList items;
    for (int item = 0; item < filter->count(); ++item)
        items << filter->itemText(item) + "=" + filter->itemData(item).toString();
    QCOMPARE(items, QStringList({"All=-1", "Passed=0", "Warning=3", "Failed=1", "Canceled=2"}));

    const QString hint = "Press F12 to expand all, F11 to collapse all";
    QCOMPARE(window->staStatusBar()->toolTip(), hint);
    auto* info = window->staStatusBar()->findChild<QLabel*>("Info");
    QVERIFY(info);
    QCOMPARE(info->text(), hint);
    QCOMPARE(info->toolTip(), hint);

    ResultGridView* view = w.View();
    QCOMPARE(view->model()->headerData(ResultFill::colWorkLoad, Qt::Horizontal).toString(), QString("WorkLoad"));
    QCOMPARE(view->columnWidth(ResultFill::colTest), Pixels(view, 2500));
    QCOMPARE(view->columnWidth(ResultFill::colStatus), Pixels(view, 1000));
    QVERIFY(view->uniformRowHeights());
    QVERIFY(w.prompts.History().isEmpty());
}

void tst_frmResultFill::testerColumn_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("users");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::newRow(qPrintable(backend + "-alone")) << backend << false;
        QTest::newRow(qPrintable(backend + "-users")) << backend << true;
    }
}

void tst_frmResultFill::testerColumn()
{
    QFETCH(QString, backend);
    QFETCH(bool, users);
    Window w(backend);
    KORAVEL_REQUIRE_BACKEND(w.db);
    ModelFixture::AddSchema();
    QVERIFY(w.Open(users));
    QCOMPARE(w.View()->isColumnHidden(ResultFill::colTester), !users);
    QVERIFY(w.View()->isColumnHidden(ResultFill::colKey));
    // The rest of the window's columns show, whatever the user management.
    for (int column = ResultFill::colTest; column <= ResultFill::colComment; ++column)
        if (column != ResultFill::colTester)
            QVERIFY(!w.View()->isColumnHidden(column));
}

void tst_frmResultFill::loadStateAndArrows()
{
    OPEN_WINDOW(w);
    ResultGridView* view = w.View();
    // Every sub-test shows, no procedure: nodes with shown sub-tests open, the others closed
    // with their arrow.
    QCOMPARE(w.ShownRows(), QStringList({"Demonstration plan", "Power-on", "Supply rails", "Self-test", "Communication",
                                         "Self-test"}));
    const int power = 2;
    const int rails = 4;
    QVERIFY(view->isExpanded(w.Model()->IndexOf(1)));
    QVERIFY(view->isExpanded(w.Model()->IndexOf(power)));
    QVERIFY(!view->isExpanded(w.Model()->IndexOf(rails)));
    QVERIFY(w.Model()->hasChildren(w.Model()->IndexOf(rails)));

    // A press on an arrow toggles the node in the grid: partly expanded opens fully, open closes.
    QSignalSpy outline(&w.Fill(), &ResultFill::OutlineChanged);
    const QRect item = view->visualRect(w.Model()->IndexOf(rails));
    const QPoint arrow(item.left() - view->indentation() / 2, item.center().y());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, arrow);
    QCOMPARE(outline.size(), 1);
    QCOMPARE(w.Fill().Grid().State(rails), ReportGrid::OutlineState::Expanded);
    QVERIFY(w.ShownRows().contains("Measure the 3.3 V rail"));
    QVERIFY(view->isExpanded(w.Model()->IndexOf(rails)));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, arrow);
    QCOMPARE(w.Fill().Grid().State(rails), ReportGrid::OutlineState::Collapsed);
    QVERIFY(!w.ShownRows().contains("Measure the 3.3 V rail"));
    QVERIFY(!view->isExpanded(w.Model()->IndexOf(rails)));

    // A press on Power-on's own name toggles nothing.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, w.Centre(power, ResultFill::colTest));
    QCOMPARE(outline.size(), 2);
    QCOMPARE(w.Fill().Grid().State(power), ReportGrid::OutlineState::PartlyExpanded);
    // Nor do the tree view's own keys.
    view->setCurrentIndex(w.Model()->IndexOf(1));
    QTest::keyClick(view, Qt::Key_Minus);
    QTest::keyClick(view, Qt::Key_Left);
    QVERIFY(view->isExpanded(w.Model()->IndexOf(1)));
    QCOMPARE(outline.size(), 2);
}

void tst_frmResultFill::outlineKeys_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("fromFilter");
    QTest::addColumn<bool>("expand");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::newRow(qPrintable(backend + "-F12-grid")) << backend << false << true;
        QTest::newRow(qPrintable(backend + "-F12-filter")) << backend << true << true;
        QTest::newRow(qPrintable(backend + "-F11-grid")) << backend << false << false;
        QTest::newRow(qPrintable(backend + "-F11-filter")) << backend << true << false;
    }
}

void tst_frmResultFill::outlineKeys()
{
    QFETCH(bool, fromFilter);
    QFETCH(bool, expand);
    OPEN_WINDOW(w);
    QWidget* focus = fromFilter ? static_cast<QWidget*>(w.window->cboFilter()) : w.View();
    focus->setFocus();
    QSignalSpy outline(&w.Fill(), &ResultFill::OutlineChanged);
    QTest::keyClick(focus, expand ? Qt::Key_F12 : Qt::Key_F11);
    QCOMPARE(outline.size(), 1);  // one key press, one command
    QCOMPARE(w.Fill().Expanded(), expand);
    QCOMPARE(w.ShownRows(), expand ? kAllRows : QStringList{"Demonstration plan"});
    QCOMPARE(w.View()->isExpanded(w.Model()->IndexOf(1)), expand);
    QCOMPARE(w.window->cboFilter()->currentIndex(), 0);
}

void tst_frmResultFill::statusPickedIsStored()
{
    OPEN_WINDOW(w);
    w.ExpandAll();
    const int measure = w.Row("Measure the 3.3 V rail");
    const int iteration = w.Stored("ITERATION", measure).toInt();
    QVERIFY(w.View()->SetCurrentCell(measure, ResultFill::colStatus));
    QTest::keyClick(w.View(), Qt::Key_F2);
    auto* list = qobject_cast<QComboBox*>(w.View()->Editor());
    QVERIFY(list);
    QStringList items;
    for (int item = 0; item < list->count(); ++item)
        items << list->itemText(item);
    QCOMPARE(items, ResultFill::StatusList());
    QCOMPARE(list->currentText(), QString("Passed"));
    // The next item of the list is the choice: written at once.
    QTest::keyClick(list, Qt::Key_Down);
    QTRY_VERIFY(!w.View()->Editor());
    QCOMPARE(w.Stored("STATUS", measure).toInt(), 3);
    QCOMPARE(w.Stored("ITERATION", measure).toInt(), iteration + 1);
    QCOMPARE(w.Cell(measure, ResultFill::colStatus), QString("Warning"));
    QCOMPARE(w.Model()->IndexOf(measure, ResultFill::colStatus).data().toString(), QString("Warning"));
}

void tst_frmResultFill::typedNumbers_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("stored");
    for (const QString& backend : TestDatabase::Backends()) {
        const QString half = QLocale().toString(0.5);
        QTest::newRow(qPrintable(backend + "-workload comma"))
            << backend << 3 << "2,5" << QLocale().toString(2.5) << 2.5;
        QTest::newRow(qPrintable(backend + "-workload point"))
            << backend << 3 << "1.25" << QLocale().toString(1.25) << 1.25;
        QTest::newRow(qPrintable(backend + "-workload refused")) << backend << 3 << "abc" << half << 0.5;
        QTest::newRow(qPrintable(backend + "-iteration")) << backend << 4 << "7"
                                                          << "7" << 7.0;
        QTest::newRow(qPrintable(backend + "-iteration refused")) << backend << 4 << "7x"
                                                                  << "1" << 1.0;
    }
}

void tst_frmResultFill::typedNumbers()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(double, stored);
    OPEN_WINDOW(w);
    w.ExpandAll();
    const int measure = w.Row("Measure the 3.3 V rail");
    // One click opens the editor, the caret after the text.
    w.Click(measure, column);
    QLineEdit* line = w.Line();
    QVERIFY(line);
    QCOMPARE(line->cursorPosition(), line->text().size());
    QVERIFY(!line->hasSelectedText());
    line->selectAll();
    QTest::keyClicks(line, typed);
    QTest::keyClick(line, Qt::Key_Return);
    QTRY_VERIFY(!w.View()->Editor());
    QCOMPARE(w.Cell(measure, column), shown);
    const QVariant value = column == ResultFill::colWorkLoad
                               ? Scalar("SELECT WORKLOAD FROM PROCEDURES WHERE NAME = ?", {"Measure the 3.3 V rail"})
                               : w.Stored("ITERATION", measure);
    QCOMPARE(value.toDouble(), stored);
}

void tst_frmResultFill::selectionRule()
{
    OPEN_WINDOW(w);
    w.ExpandAll();
    ResultGridView* view = w.View();
    const int ping = w.Row("Echo a frame");
    w.Click(ping, ResultFill::colComment);
    QCOMPARE(view->CurrentRow(), ping);
    QVERIFY(!view->Editor());  // a comment opens on a double click or a key, not on one click
    // A sub-test's WorkLoad opens nothing and hands the selection to the plan's Test cell.
    const int communication = w.Row("Echo a frame") - 2;
    QCOMPARE(w.Cell(communication, ResultFill::colTest), QString("Communication"));
    w.Click(communication, ResultFill::colWorkLoad);
    QVERIFY(!view->Editor());
    QCOMPARE(view->CurrentRow(), 1);
    QCOMPARE(view->CurrentColumn(), int(ResultFill::colTest));
    QCOMPARE(view->selectionModel()->selectedIndexes(), QModelIndexList{w.Model()->IndexOf(1, 0)});
    // So does a procedure's Test cell, and a key that lands on a sub-test.
    w.Click(ping, ResultFill::colTest);
    QCOMPARE(view->CurrentRow(), 1);
    QVERIFY(view->SetCurrentCell(w.Row("Measure the 3.3 V rail"), ResultFill::colStatus));
    QTest::keyClick(view, Qt::Key_Up);
    QCOMPARE(view->CurrentRow(), 1);
    QCOMPARE(view->CurrentColumn(), int(ResultFill::colTest));
}

void tst_frmResultFill::commentButton()
{
    OPEN_WINDOW(w);
    w.ExpandAll();
    const int measure = w.Row("Measure the 3.3 V rail");
    QVERIFY(w.View()->SetCurrentCell(measure, ResultFill::colComment));
    QTest::keyClick(w.View(), Qt::Key_F2);
    QLineEdit* line = w.Line();
    QVERIFY(line);
    QCOMPARE(line->maxLength(), ResultFill::kCommentLength);
    auto* button = w.View()->Editor()->findChild<QToolButton*>("cellButton");
    QVERIFY(button);
    w.prompts.Push(QString("Measured twice"));
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(!w.View()->Editor());
    QCOMPARE(w.prompts.History().size(), 1);
    QCOMPARE(w.prompts.History().first().kind, QString("input"));
    QCOMPARE(w.prompts.History().first().caption, QString("Fill result comment"));
    QCOMPARE(w.prompts.History().first().defaultText, QString("3.31 V"));
    QCOMPARE(w.prompts.History().first().maxLength, ResultFill::kCommentLength);
    QCOMPARE(w.Stored("COMMENT", measure).toString(), QString("Measured twice"));
    QCOMPARE(w.Cell(measure, ResultFill::colComment), QString("Measured twice"));
}

void tst_frmResultFill::openEditorWrittenFirst_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("closes");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::newRow(qPrintable(backend + "-Close button")) << backend << "Close button" << true;
        QTest::newRow(qPrintable(backend + "-close box")) << backend << "close box" << true;
        QTest::newRow(qPrintable(backend + "-F12")) << backend << "F12" << false;
        QTest::newRow(qPrintable(backend + "-F11")) << backend << "F11" << false;
        QTest::newRow(qPrintable(backend + "-Fill all")) << backend << "FillAll" << false;
    }
}

void tst_frmResultFill::openEditorWrittenFirst()
{
    QFETCH(QString, path);
    QFETCH(bool, closes);
    OPEN_WINDOW(w);
    w.ExpandAll();
    const int ping = w.Row("Echo a frame");
    w.Click(ping, ResultFill::colIteration);
    QLineEdit* line = w.Line();
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, "9");
    if (path == "Close button") {
        QAction* close = w.window->tlbClose()->findChild<QAction*>("Close");
        QTest::mouseClick(w.window->tlbClose()->widgetForAction(close), Qt::LeftButton);
    } else if (path == "close box") {
        w.window->close();
    } else if (path == "F12" || path == "F11") {
        QTest::keyClick(line, path == "F12" ? Qt::Key_F12 : Qt::Key_F11);
    } else {
        w.window->tlbResult()->findChild<QAction*>(path)->trigger();
    }
    QCOMPARE(w.Stored("ITERATION", ping).toInt(), 9);
    QCOMPARE(w.window->isVisible(), !closes);
    QVERIFY(!w.View()->Editor());
    if (path == "FillAll") {
        // Asked after the write; the user's No leaves the rest alone.
        QCOMPARE(w.prompts.Messages(), QStringList{"Do you want to set Passed the test plan results ?"});
    }
}

void tst_frmResultFill::fillCommands()
{
    OPEN_WINDOW(w);
    w.ExpandAll();
    ResultGridView* view = w.View();
    auto run = [&](const QString& key) { w.window->tlbResult()->findChild<QAction*>(key)->trigger(); };

    // The banner under Power-on failed; filled down past Supply rails into its procedure.
    const int banner = w.Row("Read the boot banner");
    const int measure = w.Row("Measure the 3.3 V rail");
    QVERIFY(view->SetCurrentCell(banner, ResultFill::colStatus));
    run("FillDownCell");
    QCOMPARE(view->CurrentRow(), measure);
    QCOMPARE(view->CurrentColumn(), int(ResultFill::colStatus));
    QCOMPARE(w.Stored("STATUS", measure).toInt(), 1);

    // A whole result past Self-test into its procedure: Procedure to Comment selected.
    const int builtIn = w.Row("Run the built-in test");
    QVERIFY(view->SetCurrentCell(banner, ResultFill::colWorkLoad));
    run("FillDownResult");
    QCOMPARE(view->CurrentRow(), measure);
    QVERIFY(view->SetCurrentCell(measure, ResultFill::colWorkLoad));
    run("FillDownResult");
    QCOMPARE(view->CurrentRow(), builtIn);
    QCOMPARE(view->CurrentColumn(), int(ResultFill::colWorkLoad));
    QCOMPARE(w.Stored("COMMENT", builtIn).toString(), QString("The banner shows no version."));
    auto selectedColumns = [&](int row) {
        QList<int> columns;
        for (const QModelIndex& index : view->selectionModel()->selectedIndexes())
            columns << (w.Model()->GridRow(index) == row ? index.column() : -1);
        std::sort(columns.begin(), columns.end());
        return columns;
    };
    QCOMPARE(selectedColumns(builtIn), (QList<int>{1, 2, 3, 4, 5, 6}));
    // Into the row directly below: Procedure to Tester.
    const int secondBanner = w.Row("Read the boot banner", 1);
    const int ping = w.Row("Echo a frame");
    QCOMPARE(ping, secondBanner + 1);
    QCOMPARE(w.Stored("STATUS", ping).toInt(), 3);
    QVERIFY(view->SetCurrentCell(secondBanner, ResultFill::colStatus));
    run("FillDownResult");
    QCOMPARE(view->CurrentRow(), ping);
    QCOMPARE(w.Stored("STATUS", ping), w.Stored("STATUS", secondBanner));
    QCOMPARE(selectedColumns(ping), (QList<int>{1, 2, 3, 4, 5}));

    // Fill all, answered Yes: every result Passed, the grid refilled in its load state. No printer
    // is asked for.
    w.prompts.Push(Prompts::Answer::Yes);
    run("FillAll");
    QCOMPARE(Scalar("SELECT COUNT(*) FROM RESULT WHERE STATUS <> 0").toInt(), 0);
    QCOMPARE(w.Cell(w.Row("Echo a frame"), ResultFill::colStatus), QString("Passed"));
    QCOMPARE(w.ShownRows().size(), 6);
    QCOMPARE(w.prompts.Messages(), QStringList{"Do you want to set Passed the test plan results ?"});
    QVERIFY(view->hasFocus());
}

void tst_frmResultFill::installedCommandOpensTheWindow()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    ScriptedPrompts prompts;
    const QString planKey = ResultFillFixture::BuildPlan();
    QVERIFY(!planKey.isEmpty());
    reportWindows() = ReportWindows();
    frmResultFill::Install();
    QVERIFY(reportWindows().ResultFill);
    SetSelectedNode(planKey);

    QSignalSpy shown(&gProgressBar(), &ProgressBar::VisibleChanged);
    QSignalSpy progress(&gProgressBar(), &ProgressBar::ValueChanged);
    bool checked = false;
    const bool opened = WhileModal<frmResultFill>(reportWindows().ResultFill, [&](frmResultFill* window) {
        QVERIFY(window->isModal());
        QCOMPARE(window->Fill().Grid().Cell(1, ResultFill::colTest), QString("Demonstration plan"));
        // Loaded: the strip hidden again, the pointer back.
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).at(0).toBool(), true);
        QVERIFY(!gProgressBar().Visible());
        QVERIFY(!Hourglass::IsSet());
        QCOMPARE(progress.last().at(0).toInt(), 100);
        checked = true;
    });
    QVERIFY(opened);
    QVERIFY(checked);
    SetSelectedNode(QString());
}

QTEST_MAIN(tst_frmResultFill)

#include "tst_frmResultFill.moc"
