#include "FakeDescriptionWindows.h"
#include "MainWindowFixture.h"
#include "ModelFixture.h"
#include "RecordingListWindow.h"
#include "TreeFixture.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/PropertyGrid.h"
#include "core/services/SelectedNode.h"
#include "core/ui/Twips.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/PaneDock.h"
#include "mainwindow/PropertyGridModel.h"
#include "mainwindow/PropertyGridView.h"
#include "mainwindow/PropertySplitter.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmProperties.h"
#include "model/SelectedProperties.h"
#include "platform/AppFolders.h"
#include "platform/Globals.h"
#include "platform/Settings.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QSplitter>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>
#include <unistd.h>

using ModelFixture::Run;
using ModelFixture::Scalar;
using TreeFixture::K;

namespace {

const QString kConfiguration = "Eqpt1";
const QString kPlan = "Eqpt1~10";
const QString kShared = "Eqpt1~10~10|20|1";                 // level-1 sub-test with a child
const QString kTwice = "Eqpt1~10~10|20|1~20|21|1";          // level-2 sub-test with a parent
const QString kBoot = "Eqpt1~10~10|20|1~20|21|1~21|31|1$";  // procedure 31
const QDate kStoredDay(2024, 3, 5);

PropertyGrid& Grid()
{
    return gPropertyGrid();
}

int RowOf(const QString& caption)
{
    for (int row = 0; row < Grid().Rows(); ++row)
        if (Grid().TextMatrix(row, PropertyGrid::kCaptionCol) == caption)
            return row;
    return -1;
}

QString Value(const QString& caption)
{
    const int row = RowOf(caption);
    return row < 0 ? QString() : Grid().TextMatrix(row, PropertyGrid::kValueCol);
}

QLineEdit* LineOf(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        return line;
    return editor ? editor->findChild<QLineEdit*>() : nullptr;
}

// The main window on the stored tree, shown offscreen, with a node of it clicked.
class PaneFixture
{
public:
    explicit PaneFixture(const QString& backend = TestDatabase::Backends().first()) : window(backend) {}

    bool Open()
    {
        if (!window.Prepare())
            return false;
        TreeFixture::Build();
        if (!window.Load())
            return false;
        window.Window().resize(1000, 700);
        window.Window().show();
        return QTest::qWaitForWindowExposed(&window.Window());
    }
    frmProperties* Pane() { return window.Window().Properties(); }
    PropertyGridView* View() { return Pane()->grdProperties(); }
    void Click(const QString& key)
    {
        frmExplorer* explorer = window.Window().Explorer();
        ExplorerNode* node = explorer->NodeByKey(K(key));
        QVERIFY2(node, qPrintable(key));
        explorer->tvTestPlan_NodeClick(node);
    }
    QModelIndex ValueIndex(const QString& caption)
    {
        return Pane()->Model()->index(RowOf(caption), PropertyGrid::kValueCol);
    }
    // Opens the value cell's editor as a double click does; null when the edit is refused.
    QWidget* StartEdit(const QString& caption)
    {
        const QModelIndex index = ValueIndex(caption);
        View()->setCurrentIndex(index);
        View()->edit(index);
        return View()->Editor();
    }
    // Types `text` over the editor's and presses Enter.
    void Type(const QString& text)
    {
        QLineEdit* line = LineOf(View()->Editor());
        QVERIFY(line);
        line->selectAll();
        QTest::keyClicks(line, text);
        QTest::keyClick(line, Qt::Key_Return);
        // The editor hands its text over once the key is handled.
        QCoreApplication::processEvents();
    }

    MainWindowFixture window;
};

}  // namespace

// The property pane: the rows of the selected item, the help box, the splitter, and edits stored
// from the grid through its editors, buttons and keys.
class tst_frmProperties : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup()
    {
        SetSelectedNode({});
        gExplorerNodes().Clear();
        gUserManagement = false;
        gUserCategory = 0;
    }

    void helpBox_data();
    void helpBox();
    void refreshFollowsTheSelection();
    void splitterClamp_data();
    void splitterClamp();
    void splitterSavedAndFitted();
    void refusedEdits();
    void editorsFollowTheEditKind();
    void numbersKeepTheEditorOpen_data();
    void numbersKeepTheEditorOpen();
    void clickEditsAtOnce();
    void nameEditRenames();
    void typedTextIsStoredAsTyped();
    void cellButtons_data();
    void cellButtons();
    void inputStoresTheTypedTitle();
    void wordTemplate_data() { TestDatabase::AddBackendRows(); }
    void wordTemplate();
    void badTemplateFiles_data();
    void badTemplateFiles();
    void editOfDeletedItem_data() { TestDatabase::AddBackendRows(); }
    void editOfDeletedItem();
    void foldsAndPointer();
};

void tst_frmProperties::helpBox_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    const QList<std::pair<const char*, const char*>> rows = {
        {"Name", "Identifies a test plan component."},
        {"Title", "Title of a test plan component used in the test plan publication."},
        {"Description", "Describes a test plan component."},
        {"Test plans", "Lists test plans directly linked to the test plan component."},
        {"Procedures", "Lists procedures (test cases) linked to the test plan component."},
        {"Subtests  parents", "Lists subtests parents linked to the test plan component."},
        {"Subtests children", "Lists subtests children linked to the test plan component."},
        {"Expected result", "Describes procedure's result expected."},
        {"Subtests", "Lists subtests linked to the test plan component."},
        {"Workload", "Estimated time to realize the test plan item."},
        {"Status", "Test Plan item's status."},
        {"Word template", "Test Plan microsoft word template (dot file) used in RTF and Word publication."},
        {"CSS", "Cascading Style Sheet inserted in the HTML documents."},
        {"Comment", "Result comment."},
        {"Creation date", "Date of creation."},
        {"Update date", "Date of the last modification."},
        {"Equipments", "List of equipments related to the test configuration."},
        {"First", "First equipment."},
        {"Second", "Second equipment."},
        {"Third", "Third equipment."},
        {"Iteration", "Number of times the procedure was played."},
        {"First played date", "Date of the first time the procedure was played."},
        {"Last played date", "Date of the last time the procedure was played."},
        {"Tester", "Person who played the procedure."},
        {"Author", "Testplan's item author."},
        {"Configurations", "Lists test configurations linked to the test plan."},
    };
    for (const auto& [caption, help] : rows)
        QTest::newRow(caption) << caption << QString(caption) + "\n" + help;
    QTest::newRow("group") << "Main"
                           << "Main\n";
    QTest::newRow("one blank between the words is another caption") << "Subtests parents"
                                                                    << "Subtests parents\n";
    QTest::newRow("markup stays text") << "<b>x</b>"
                                       << "<b>x</b>\n";
}

void tst_frmProperties::helpBox()
{
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    Grid().SetRows(2);
    Grid().SetTextMatrix(0, PropertyGrid::kCaptionCol, "Main");
    Grid().SetIsSubtotal(0, true);
    Grid().SetTextMatrix(1, PropertyGrid::kCaptionCol, caption);
    Grid().Refresh();
    const int row = caption == "Main" ? 0 : 1;
    pane.View()->setCurrentIndex(pane.Pane()->Model()->index(row, PropertyGrid::kValueCol));
    QTextEdit* box = pane.Pane()->txtDescription();
    QCOMPARE(box->toPlainText(), shown);
    // The caption line is bold, the help text is not.
    QTextCursor cursor(box->document());
    cursor.setPosition(1);
    QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
    if (shown.size() > caption.size() + 1) {
        cursor.movePosition(QTextCursor::End);
        QVERIFY(cursor.charFormat().fontWeight() != int(QFont::Bold));
    }
    // The current caption is marked, the other is not.
    PropertyGridModel* model = pane.Pane()->Model();
    QCOMPARE(model->CurrentRow(), row);
    QCOMPARE(model->index(row, PropertyGrid::kCaptionCol).data(Qt::BackgroundRole).value<QColor>(),
             QGuiApplication::palette().color(QPalette::Highlight));
    QCOMPARE(model->index(1 - row, PropertyGrid::kCaptionCol).data(Qt::ForegroundRole).value<QColor>(),
             QColor(Qt::black));
}

void tst_frmProperties::refreshFollowsTheSelection()
{
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    QCOMPARE(Grid().Rows(), 0);
    QAbstractItemModelTester tester(pane.Pane()->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);

    // No node: the pane keeps what it shows.
    SetSelectedNode({});
    Grid().SetRows(1);
    Grid().SetTextMatrix(0, PropertyGrid::kCaptionCol, "Kept");
    Grid().Refresh();
    pane.View()->setCurrentIndex(pane.Pane()->Model()->index(0, PropertyGrid::kValueCol));
    Refresh_Properties();
    QCOMPARE(Grid().Rows(), 1);
    QCOMPARE(pane.Pane()->txtDescription()->toPlainText(), QString("Kept\n"));

    // The root: no rows, an empty box.
    pane.Click("Root");
    QCOMPARE(Grid().Rows(), 0);
    QCOMPARE(pane.Pane()->Model()->rowCount(), 0);
    QVERIFY(pane.Pane()->txtDescription()->toPlainText().isEmpty());

    const QList<std::tuple<QString, int, QString, QString>> kinds = {{kConfiguration, 12, "Bench", "Scope"},
                                                                     {kPlan, 12, "Plan A", ""},
                                                                     {kTwice, 13, "Twice", ""},
                                                                     {kBoot, 17, "Boot", ""}};
    for (const auto& [key, rows, name, first] : kinds) {
        pane.Click(key);
        QCOMPARE(pane.Pane()->Model()->rowCount(), Grid().Rows());
        QVERIFY2(Grid().Rows() >= 10, qPrintable(key));
        QCOMPARE(Value("Name"), name);
        QCOMPARE(pane.Pane()->Model()->index(RowOf("Name"), PropertyGrid::kValueCol).data().toString(), name);
        QCOMPARE(pane.window.Window().PanelText(4), name);
        if (!first.isEmpty())
            QCOMPARE(Value("First"), first);
    }
    // Showing the pane again sets the grid up anew and shows the current item.
    Grid().SetTextMatrix(RowOf("Name"), PropertyGrid::kValueCol, "stale");
    pane.window.Window().mnuViewProperties_Click();
    QVERIFY(!pane.window.Window().Pane("frmProperties")->isVisible());
    pane.window.Window().mnuViewProperties_Click();
    QVERIFY(pane.window.Window().Pane("frmProperties")->isVisible());
    QCOMPARE(Value("Name"), QString("Boot"));
    QCOMPARE(pane.View()->columnWidth(PropertyGrid::kCaptionCol), Pixels(pane.Pane(), 1400));
    QCOMPARE(pane.window.Environment.BugLogEntries(), 0);
}

void tst_frmProperties::splitterClamp_data()
{
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("inner");
    QTest::addColumn<double>("outer");
    QTest::addColumn<double>("top");
    QTest::newRow("within") << 4000.0 << 5000.0 << 5300.0 << 4000.0;
    QTest::newRow("far up stops 1120 above the inner bottom") << 100.0 << 5000.0 << 5300.0 << 3880.0;
    QTest::newRow("at the upper limit") << 3880.0 << 5000.0 << 5300.0 << 3880.0;
    QTest::newRow("far down stops 360 above the outer bottom") << 5200.0 << 5000.0 << 5300.0 << 4940.0;
    QTest::newRow("at the lower limit") << 4940.0 << 5000.0 << 5300.0 << 4940.0;
    QTest::newRow("a low pane keeps the strip above its bottom") << 700.0 << 800.0 << 1000.0 << 640.0;
}

void tst_frmProperties::splitterClamp()
{
    QFETCH(double, y);
    QFETCH(double, inner);
    QFETCH(double, outer);
    QFETCH(double, top);
    QCOMPARE(PropertySplitter::Clamp(y, inner, outer), top);
}

void tst_frmProperties::splitterSavedAndFitted()
{
    {
        // A value that is not a number reads as the default frame.
        PaneFixture pane;
        Settings::SaveSetting("Settings", "Splitter", "tall");
        QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
        QCOMPARE(pane.Pane()->FrameHeight(), 1400.0);

        // Every move is clamped and saved as the frame's height.
        frmProperties* properties = pane.Pane();
        const double inner = Twips(properties, properties->height(), Qt::Vertical);
        properties->SizeControls(inner - 700);
        QCOMPARE(pane.Pane()->FrameHeight(), 620.0);
        QCOMPARE(Settings::GetSetting("Settings", "Splitter"), QString("620"));
        QCOMPARE(pane.Pane()->Splitter()->sizes().at(1), Pixels(properties, 620, Qt::Vertical));
        properties->SizeControls(0);
        QCOMPARE(Settings::GetSetting("Settings", "Splitter"), QString("1040"));
    }
    {
        // A saved frame taller than the pane is cut to it at load, and not saved.
        PaneFixture pane;
        Settings::SaveSetting("Settings", "Splitter", "90000");
        QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
        frmProperties* properties = pane.Pane();
        const double inner = Twips(properties, properties->height(), Qt::Vertical);
        QCOMPARE(properties->FrameHeight(), inner - 120);
        QCOMPARE(Settings::GetSetting("Settings", "Splitter"), QString("90000"));
    }
}

void tst_frmProperties::refusedEdits()
{
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    frmProperties* properties = pane.Pane();
    pane.Click(kBoot);
    const int name = RowOf("Name");
    QVERIFY(!properties->grdProperties_BeforeEdit(name, PropertyGrid::kValueCol));
    QVERIFY(properties->grdProperties_BeforeEdit(name, PropertyGrid::kMarginCol));
    QVERIFY(properties->grdProperties_BeforeEdit(name, PropertyGrid::kCaptionCol));
    pane.View()->edit(pane.Pane()->Model()->index(name, PropertyGrid::kCaptionCol));
    QVERIFY(!pane.View()->Editor());
    SetSelectedNode({});
    QVERIFY(properties->grdProperties_BeforeEdit(name, PropertyGrid::kValueCol));
    QVERIFY(!pane.StartEdit("Name"));

    // A tester plays procedures but does not rename them.
    pane.Click(kBoot);
    gUserManagement = true;
    gUserCategory = 2;
    QVERIFY(!pane.StartEdit("Name"));
    QVERIFY(!pane.StartEdit("Workload"));
    QVERIFY(pane.StartEdit("Iteration"));
}

void tst_frmProperties::editorsFollowTheEditKind()
{
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    pane.Click(kBoot);
    QWidget* editor = pane.StartEdit("Name");
    QVERIFY(qobject_cast<QLineEdit*>(editor));
    QCOMPARE(LineOf(editor)->text(), QString("Boot"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!pane.View()->Editor());

    // A button cell: the text stays typeable next to the button.
    editor = pane.StartEdit("Title");
    QVERIFY(editor && editor->findChild<QToolButton*>("cellButton"));
    QVERIFY(LineOf(editor) && !LineOf(editor)->isReadOnly());
    QTest::keyClick(LineOf(editor), Qt::Key_Escape);

    auto* status = qobject_cast<QComboBox*>(pane.StartEdit("Status"));
    QVERIFY(status);
    QCOMPARE(status->count(), 4);
    QCOMPARE(status->currentText(), Value("Status"));
    // A pick is stored at once and counts as one more run.
    const int iteration = Scalar("SELECT ITERATION FROM RESULT WHERE ID_PROCEDURE = 31").toInt();
    status->setCurrentIndex(status->findText("Passed"));
    emit status->activated(status->currentIndex());
    QCOMPARE(Value("Status"), QString("Passed"));
    QCOMPARE(Scalar("SELECT STATUS FROM RESULT WHERE ID_PROCEDURE = 31").toInt(), 0);
    QCOMPARE(Scalar("SELECT ITERATION FROM RESULT WHERE ID_PROCEDURE = 31").toInt(), iteration + 1);
    QVERIFY(!pane.View()->Editor());
}

void tst_frmProperties::numbersKeepTheEditorOpen_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("typed");
    for (const char* caption : {"Workload", "Iteration"}) {
        for (const char* typed : {"abc", "12abc", "1e400", "inf", "nan", ""})
            QTest::newRow(qPrintable(QString("%1 '%2'").arg(caption, typed))) << caption << typed;
    }
}

void tst_frmProperties::numbersKeepTheEditorOpen()
{
    QFETCH(QString, caption);
    QFETCH(QString, typed);
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    pane.Click(kBoot);
    const QString stored = Value(caption);
    QWidget* editor = pane.StartEdit(caption);
    QVERIFY(editor);
    LineOf(editor)->setText(typed);
    // Neither Enter, Tab nor a click on another cell takes the text.
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClick(editor, Qt::Key_Tab);
    const QRect other = pane.View()->visualRect(pane.ValueIndex("Name"));
    QTest::mouseClick(pane.View()->viewport(), Qt::LeftButton, {}, other.center());
    pane.View()->setCurrentIndex(pane.ValueIndex("Name"));
    QCOMPARE(pane.View()->Editor(), editor);
    QCOMPARE(LineOf(editor)->text(), typed);
    QCOMPARE(Value(caption), stored);

    // A number is taken and stored.
    LineOf(editor)->setText("12");
    QTest::keyClick(LineOf(editor), Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(!pane.View()->Editor());
    QCOMPARE(Value(caption), QString("12"));
    const QString column = caption == "Workload" ? "SELECT WORKLOAD FROM PROCEDURES WHERE ID = 31"
                                                 : "SELECT ITERATION FROM RESULT WHERE ID_PROCEDURE = 31";
    QCOMPARE(Scalar(column).toDouble(), 12.0);
}

void tst_frmProperties::clickEditsAtOnce()
{
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    pane.Click(kBoot);
    PropertyGridView* view = pane.View();
    const auto click = [&](const QString& caption) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(pane.ValueIndex(caption)).center());
    };
    click("Title");
    QVERIFY(!view->Editor());
    QCOMPARE(view->currentIndex(), pane.ValueIndex("Title"));
    click("Name");
    QLineEdit* line = LineOf(view->Editor());
    QVERIFY(line);
    QCOMPARE(line->cursorPosition(), 4);
    QVERIFY(!line->hasSelectedText());
    QTest::keyClick(line, Qt::Key_Escape);

    // A click on a caption selects its value.
    QTest::mouseClick(
        view->viewport(), Qt::LeftButton, {},
        view->visualRect(pane.Pane()->Model()->index(RowOf("Comment"), PropertyGrid::kCaptionCol)).center());
    QCOMPARE(view->currentIndex(), pane.ValueIndex("Comment"));
    QVERIFY(!view->Editor());

    // A sub-test's work load is summed, not typed.
    pane.Click(kTwice);
    click("Workload");
    QVERIFY(!view->Editor());
}

void tst_frmProperties::nameEditRenames()
{
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    pane.Click(kBoot);
    // An unchanged text stores nothing.
    QVERIFY(pane.StartEdit("Name"));
    QTest::keyClick(pane.View()->Editor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(Scalar("SELECT DATE_UPDATE FROM PROCEDURES WHERE ID = 31").toDate(), kStoredDay);

    QVERIFY(pane.StartEdit("Name"));
    pane.Type("Cold boot");
    QVERIFY(!pane.View()->Editor());
    QCOMPARE(Scalar("SELECT NAME FROM PROCEDURES WHERE ID = 31").toString(), QString("Cold boot"));
    QCOMPARE(Scalar("SELECT DATE_UPDATE FROM PROCEDURES WHERE ID = 31").toDate(), QDate::currentDate());
    QCOMPARE(gExplorerNodes().Find(K(kBoot))->Text(), QString("Cold boot"));
    QCOMPARE(pane.window.Window().PanelText(4), QString("Cold boot"));
    QCOMPARE(Value("Name"), QString("Cold boot"));
    QCOMPARE(Value("Update date"), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    QCOMPARE(pane.window.Environment.BugLogEntries(), 0);
}

void tst_frmProperties::typedTextIsStoredAsTyped()
{
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    pane.Click(kPlan);
    const QString typed = "<b>A</b> 'quoted' \"too\"; DROP TABLE TESTPLAN;--";
    QVERIFY(pane.StartEdit("Title"));
    pane.Type(typed);
    QCOMPARE(Scalar("SELECT TITLE FROM TESTPLAN WHERE ID = 10").toString(), typed.left(50));
    QCOMPARE(Value("Title"), typed.left(50));
    // Shown as text, not as markup.
    QCOMPARE(pane.ValueIndex("Title").data().toString(), typed.left(50));

    const QString longName = QString(3000, QChar('n'));
    QVERIFY(pane.StartEdit("Name"));
    pane.Type(longName);
    QCOMPARE(Scalar("SELECT NAME FROM TESTPLAN WHERE ID = 10").toString(), longName.left(50));
    // A title typed in its button cell is kept when the focus goes elsewhere.
    QApplication::setActiveWindow(&pane.window.Window());
    QVERIFY(QTest::qWaitForWindowActive(&pane.window.Window()));
    QWidget* editor = pane.StartEdit("Title");
    QVERIFY(editor && editor->findChild<QToolButton*>("cellButton"));
    LineOf(editor)->setFocus();
    QVERIFY(LineOf(editor)->hasFocus());
    LineOf(editor)->setText("Left by a click");
    pane.window.Window().Explorer()->tvTestPlan()->setFocus();
    QCoreApplication::processEvents();
    QVERIFY(!pane.View()->Editor());
    QCOMPARE(Scalar("SELECT TITLE FROM TESTPLAN WHERE ID = 10").toString(), QString("Left by a click"));
    QCOMPARE(pane.window.Environment.BugLogEntries(), 0);
}

void tst_frmProperties::cellButtons_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("action");
    const QString conf = kConfiguration;
    QTest::newRow("configuration description") << conf << "CONFIGURATION"
                                               << "1"
                                               << "Description"
                                               << "document";
    QTest::newRow("configuration test plans") << conf << "CONFIGURATION"
                                              << "1"
                                              << "Test plans"
                                              << "list";
    QTest::newRow("configuration title") << conf << "CONFIGURATION"
                                         << "1"
                                         << "Title"
                                         << "input Fill Configuration title 50";
    QTest::newRow("configuration first") << conf << "CONFIGURATION"
                                         << "1"
                                         << "First"
                                         << "input Fill Configuration first equipment 100";
    QTest::newRow("configuration second") << conf << "CONFIGURATION"
                                          << "1"
                                          << "Second"
                                          << "input Fill Configuration second equipment 100";
    QTest::newRow("configuration third") << conf << "CONFIGURATION"
                                         << "1"
                                         << "Third"
                                         << "input Fill Configuration third equipment 100";
    QTest::newRow("procedure description") << kBoot << "PROCEDURES"
                                           << "31"
                                           << "Description"
                                           << "document";
    QTest::newRow("procedure expected result") << kBoot << "PROCEDURES"
                                               << "31"
                                               << "Expected result"
                                               << "document";
    QTest::newRow("procedure subtests") << kBoot << "PROCEDURES"
                                        << "31"
                                        << "Subtests"
                                        << "list";
    QTest::newRow("procedure title") << kBoot << "PROCEDURES"
                                     << "31"
                                     << "Title"
                                     << "input Fill procedure title 50";
    QTest::newRow("procedure comment") << kBoot << "PROCEDURES"
                                       << "31"
                                       << "Comment"
                                       << "input Fill result Comment 100";
    QTest::newRow("plan description") << kPlan << "TESTPLAN"
                                      << "10"
                                      << "Description"
                                      << "document";
    QTest::newRow("plan subtests") << kPlan << "TESTPLAN"
                                   << "10"
                                   << "Subtests"
                                   << "list";
    QTest::newRow("plan configurations") << kPlan << "TESTPLAN"
                                         << "10"
                                         << "Configurations"
                                         << "list";
    QTest::newRow("plan title") << kPlan << "TESTPLAN"
                                << "10"
                                << "Title"
                                << "input Fill test plan title 50";
    QTest::newRow("plan word template") << kPlan << "TESTPLAN"
                                        << "10"
                                        << "Word template"
                                        << "open Ouvrir";
    QTest::newRow("sub-test description") << kTwice << "SUBTEST"
                                          << "21"
                                          << "Description"
                                          << "document";
    QTest::newRow("sub-test test plans") << kShared << "SUBTEST"
                                         << "20"
                                         << "Test plans"
                                         << "list";
    QTest::newRow("sub-test procedures") << kTwice << "SUBTEST"
                                         << "21"
                                         << "Procedures"
                                         << "list";
    QTest::newRow("sub-test parents") << kTwice << "SUBTEST"
                                      << "21"
                                      << "Subtests  parents"
                                      << "list";
    QTest::newRow("sub-test children") << kShared << "SUBTEST"
                                       << "20"
                                       << "Subtests children"
                                       << "list";
    QTest::newRow("sub-test title") << kTwice << "SUBTEST"
                                    << "21"
                                    << "Title"
                                    << "input Fill sub test title 50";
}

// Each button through the grid's own editor; the popups are cancelled, which stores nothing.
void tst_frmProperties::cellButtons()
{
    QFETCH(QString, key);
    QFETCH(QString, table);
    QFETCH(QString, id);
    QFETCH(QString, caption);
    QFETCH(QString, action);
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    FakeDescriptionWindows documents;
    RecordingListWindow lists;
    pane.Click(key);
    const QString value = Value(caption);
    QWidget* editor = pane.StartEdit(caption);
    QVERIFY(editor);
    auto* button = editor->findChild<QToolButton*>("cellButton");
    QVERIFY(button);
    button->click();
    QCoreApplication::processEvents();
    QVERIFY(!pane.View()->Editor());

    QStringList done;
    if (!documents.events.filter(QRegularExpression("^show ")).isEmpty())
        done << "document";
    if (!lists.shown.isEmpty())
        done << "list";
    for (const ScriptedPrompts::Shown& shown : pane.window.Prompts.History()) {
        if (shown.kind == "input")
            done << QString("input %1 %2").arg(shown.caption).arg(shown.maxLength);
        else if (shown.kind == "open")
            done << "open " + shown.caption;
        else
            done << shown.kind + " " + shown.text;
    }
    QCOMPARE(done.join(", "), action);
    if (action.startsWith("input"))
        QCOMPARE(pane.window.Prompts.History().first().defaultText, value);
    if (action.startsWith("open")) {
        QCOMPARE(pane.window.Prompts.History().first().filter, QString("dot (*.dot)"));
        QCOMPARE(pane.window.Environment.BugLogEntries(), 1);
        QVERIFY(pane.window.Environment.BugLog().contains("Error_CellButtonClick : 32755"));
    }
    QCOMPARE(Scalar(QString("SELECT DATE_UPDATE FROM %1 WHERE ID = %2").arg(table, id)).toDate(), kStoredDay);
    QCOMPARE(Value(caption), value);
}

void tst_frmProperties::inputStoresTheTypedTitle()
{
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    pane.Click(kConfiguration);
    // The same text again stores nothing; a new one is stored, cut to its column.
    pane.window.Prompts.Push(QString("Bench"));
    pane.Pane()->grdProperties_CellButtonClick(RowOf("Title"), PropertyGrid::kValueCol);
    QCOMPARE(Scalar("SELECT DATE_UPDATE FROM CONFIGURATION WHERE ID = 1").toDate(), kStoredDay);
    pane.window.Prompts.Push(QString(80, QChar('e')));
    pane.Pane()->grdProperties_CellButtonClick(RowOf("First"), PropertyGrid::kValueCol);
    QCOMPARE(Scalar("SELECT EQUIPMENT1 FROM CONFIGURATION WHERE ID = 1").toString(), QString(50, QChar('e')));
    QCOMPARE(Value("First"), QString(50, QChar('e')));
    QCOMPARE(Scalar("SELECT DATE_UPDATE FROM CONFIGURATION WHERE ID = 1").toDate(), QDate::currentDate());

    pane.Click(kBoot);
    pane.window.Prompts.Push(QString("3.29 V"));
    pane.Pane()->grdProperties_CellButtonClick(RowOf("Comment"), PropertyGrid::kValueCol);
    QCOMPARE(Scalar("SELECT COMMENT FROM RESULT WHERE ID_PROCEDURE = 31").toString(), QString("3.29 V"));
    QCOMPARE(Value("Comment"), QString("3.29 V"));
    QCOMPARE(pane.window.Environment.BugLogEntries(), 0);
}

void tst_frmProperties::wordTemplate()
{
    QFETCH(QString, backend);
    PaneFixture pane(backend);
    KORAVEL_REQUIRE_BACKEND(pane.window.Database());
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    QByteArray bytes;
    for (int i = 0; i < 70000; ++i)
        bytes.append(char(i * 7 % 256));
    const QString file = pane.window.Environment.Path("plan.dot");
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    pane.Click(kPlan);
    QCOMPARE(Value("Word template"), QString("(none)"));
    pane.window.Prompts.Push(file);
    pane.Pane()->grdProperties_CellButtonClick(RowOf("Word template"), PropertyGrid::kValueCol);
    QCOMPARE(Scalar("SELECT WORDTEMPLATE FROM TESTPLAN WHERE ID = 10").toByteArray(), bytes);
    QCOMPARE(Value("Word template"), QString("(document)"));
    QCOMPARE(pane.window.Prompts.History().first().folder, AppFolders::DefaultDocumentsPath());

    // A cancelled dialog logs and keeps the template.
    pane.Pane()->grdProperties_CellButtonClick(RowOf("Word template"), PropertyGrid::kValueCol);
    QCOMPARE(pane.window.Environment.BugLogEntries(), 1);
    QCOMPARE(Scalar("SELECT WORDTEMPLATE FROM TESTPLAN WHERE ID = 10").toByteArray(), bytes);

    const auto pressDelete = [&](const QString& caption) {
        pane.View()->setCurrentIndex(pane.ValueIndex(caption));
        QTest::keyClick(pane.View(), Qt::Key_Delete);
    };
    // Delete elsewhere does nothing; on the template row it asks first.
    pane.window.Prompts.ClearHistory();
    pressDelete("Title");
    QVERIFY(pane.window.Prompts.History().isEmpty());
    pressDelete("Word template");
    QCOMPARE(pane.window.Prompts.Messages(), QStringList{"Do you really want to delete the Word template ?"});
    QCOMPARE(Scalar("SELECT WORDTEMPLATE FROM TESTPLAN WHERE ID = 10").toByteArray(), bytes);

    // A tester is neither asked nor heard.
    gUserManagement = true;
    gUserCategory = 2;
    pane.window.Prompts.ClearHistory();
    pane.window.Prompts.Push(Prompts::Answer::Yes);
    pressDelete("Word template");
    QVERIFY(pane.window.Prompts.History().isEmpty());
    QCOMPARE(Scalar("SELECT WORDTEMPLATE FROM TESTPLAN WHERE ID = 10").toByteArray(), bytes);
    gUserManagement = false;

    pressDelete("Word template");
    QVERIFY(Scalar("SELECT WORDTEMPLATE FROM TESTPLAN WHERE ID = 10").isNull());
    QCOMPARE(Value("Word template"), QString("(none)"));
    QCOMPARE(pane.window.Environment.BugLogEntries(), 1);
}

void tst_frmProperties::badTemplateFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "gone.dot" << qint64(-1) << "does not exist";
    QTest::newRow("a folder") << "folder.dot" << qint64(-2) << "is not a file";
    QTest::newRow("empty") << "empty.dot" << qint64(0) << "is empty";
    QTest::newRow("over 32 MB") << "big.dot" << qint64(32 * 1024 * 1024 + 1) << "larger than 32 MB";
    QTest::newRow("unreadable") << "locked.dot" << qint64(-3) << "cannot be read";
}

void tst_frmProperties::badTemplateFiles()
{
    QFETCH(QString, name);
    QFETCH(qint64, size);
    QFETCH(QString, message);
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    const QString path = pane.window.Environment.Path(name);
    if (size == -2) {
        QVERIFY(QDir().mkpath(path));
    } else if (size >= 0 || size == -3) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        if (size > 0)
            QVERIFY(out.resize(size));
        else if (size == -3)
            out.write("template");
    }
    if (size == -3) {
        QFile::setPermissions(path, {});
        if (geteuid() == 0)
            QSKIP("the superuser reads every file");
    }
    Run("UPDATE TESTPLAN SET WORDTEMPLATE = ? WHERE ID = 10", {QByteArray("kept")});
    pane.Click(kPlan);
    pane.window.Prompts.Push(path);
    pane.Pane()->grdProperties_CellButtonClick(RowOf("Word template"), PropertyGrid::kValueCol);
    const QStringList messages = pane.window.Prompts.Messages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(message) && messages.first().contains(QDir::toNativeSeparators(path)),
             qPrintable(messages.first()));
    QCOMPARE(pane.window.Prompts.History().last().icon, Prompts::Icon::Critical);
    QCOMPARE(Scalar("SELECT WORDTEMPLATE FROM TESTPLAN WHERE ID = 10").toByteArray(), QByteArray("kept"));
}

void tst_frmProperties::editOfDeletedItem()
{
    QFETCH(QString, backend);
    PaneFixture pane(backend);
    KORAVEL_REQUIRE_BACKEND(pane.window.Database());
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    pane.Click(kBoot);
    QVERIFY(pane.StartEdit("Name"));
    // Another user removes the procedure meanwhile.
    Run("DELETE FROM PROCEDURE_LINKS WHERE ID_PROCEDURE = 31");
    Run("DELETE FROM RESULT WHERE ID_PROCEDURE = 31");
    Run("DELETE FROM PROCEDURES WHERE ID = 31");
    pane.Type("Renamed");
    QCOMPARE(pane.window.Prompts.Messages(), QStringList{"Can't find the item in database."});
    QCOMPARE(pane.window.Prompts.History().first().icon, Prompts::Icon::Critical);
    QVERIFY(pane.window.Environment.BugLog().contains("Error_AfterEdit : "));
    // The rows are read again: the item has none.
    QCOMPARE(Grid().Rows(), 0);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM PROCEDURES WHERE ID = 31").toInt(), 0);
    QCOMPARE(gExplorerNodes().Find(K(kBoot))->Text(), QString("Boot"));
}

void tst_frmProperties::foldsAndPointer()
{
    PaneFixture pane;
    QVERIFY2(pane.Open(), qPrintable(pane.window.Error()));
    pane.Click(kBoot);
    PropertyGridView* view = pane.View();
    PropertyGridModel* model = pane.Pane()->Model();
    const int links = RowOf("Links");
    const QModelIndex margin = model->index(links, PropertyGrid::kMarginCol);
    QCOMPARE(margin.data().toString(), QString("\u2212"));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(margin).center());
    QCOMPARE(margin.data().toString(), QString("+"));
    QVERIFY(view->isRowHidden(RowOf("Subtests")));
    QVERIFY(!view->isRowHidden(RowOf("Result")));
    QVERIFY(!view->isRowHidden(RowOf("Status")));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(margin).center());
    QVERIFY(!view->isRowHidden(RowOf("Subtests")));

    using P = std::optional<Qt::CursorShape>;
    const auto at = [](const QString& caption, int col = PropertyGrid::kValueCol) {
        return frmProperties::PointerFor(RowOf(caption), col, caption);
    };
    QCOMPARE(at("Name"), P(Qt::IBeamCursor));
    QCOMPARE(at("Name", PropertyGrid::kCaptionCol), P(Qt::ArrowCursor));
    QCOMPARE(at("Workload"), P(Qt::IBeamCursor));
    QCOMPARE(at("Title"), P(Qt::ArrowCursor));
    gUserManagement = true;
    gUserCategory = 2;
    QCOMPARE(at("Name"), P());
    QCOMPARE(at("Workload"), P(Qt::ArrowCursor));
    QCOMPARE(at("Iteration"), P(Qt::IBeamCursor));
    gUserManagement = false;
    pane.Click(kTwice);
    QCOMPARE(at("Workload"), P(Qt::ArrowCursor));
}

QTEST_MAIN(tst_frmProperties)
#include "tst_frmProperties.moc"
