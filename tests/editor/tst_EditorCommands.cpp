#include "EditorWindowFixture.h"
#include "ModelFixture.h"

#include "core/ActiveEditor.h"
#include "core/MainToolbars.h"
#include "core/TableDialog.h"
#include "editor/frmDescription.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/WindowServicesInstall.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmProperties.h"
#include "model/SubTest.h"
#include "platform/Globals.h"
#include "platform/Settings.h"
#include "publishing/modEdition.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QtTest>

namespace {

// Records the fields the table dialog would show.
class RecordingTableDialog : public TableDialog
{
public:
    static QList<TableDialogFields>& Shown()
    {
        static QList<TableDialogFields> shown;
        return shown;
    }
    void ShowModal(const TableDialogFields& fields) override { Shown().append(fields); }
};

const QString kCritical = QStringLiteral("Koravel");

// The commands that changed the document, with their options and arguments: the combos' refresh
// and the style list read the caret's font and style on the way, which are no edits.
QList<std::tuple<int, int, QVariant>> Edits(const FakeHtmlEditor* editor)
{
    QList<std::tuple<int, int, QVariant>> edits;
    for (int i = 0; i < editor->ExecutedCommands().size(); ++i) {
        const auto [command, option] = editor->ExecutedCommands().at(i);
        if (command < Decmd::GETBACKCOLOR || command > Decmd::GETFORECOLOR)
            edits.append({command, option, editor->ExecutedArguments().at(i)});
    }
    return edits;
}

}  // namespace

// The Edit, Insert, Format and Table commands of the main window on scripted description panes.
class tst_EditorCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetEditorPaneFactory(FakeEditorPane); }
    void cleanupTestCase() { SetEditorPaneFactory({}); }
    void init();
    void cleanup();

    void routing_data();
    void routing();
    void pasteRefusesExplorerItems();
    void insertedFragments_data();
    void insertedFragments();
    void screenShots();
    void cancelledAndFailedDialogs_data();
    void cancelledAndFailedDialogs();
    void editMenuOpening_data();
    void editMenuOpening();
    void tableMenuOpening();
    void explorerCopyAndPaste();
    void tableProperties();

private:
    FakeHtmlEditor* OpenFocused() { return OpenFocusedSubTest(m_window); }
    void FocusExplorer()
    {
        m_window->Explorer()->tvTestPlan()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), m_window->Explorer()->tvTestPlan());
    }
    void OpenMenu(const char* name) { emit m_window->Menu(QLatin1String(name))->aboutToShow(); }
    bool Enabled(const QString& name) const { return m_window->Commands().Enabled(name); }

    std::unique_ptr<MainWindowFixture> m_fixture;
    frmMdi* m_window = nullptr;
};

void tst_EditorCommands::init()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    m_window = ShowEditorWindow(*m_fixture, QStringLiteral("<P>first</P>"));
    QVERIFY2(m_window, qPrintable(m_fixture->Error()));
    QGuiApplication::clipboard()->clear();
    RecordingTableDialog::Shown().clear();
}

void tst_EditorCommands::cleanup()
{
    for (FakeHtmlEditor* editor : FakeEditors())
        editor->SetDirty(false);
    if (m_window)
        QVERIFY(m_window->CloseChildWindows());
    m_window = nullptr;
    m_fixture.reset();
}

void tst_EditorCommands::routing_data()
{
    QTest::addColumn<QString>("name");  // a command's objectName, or a combo's
    QTest::addColumn<int>("entry");     // the combo entry chosen
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("option");
    QTest::addColumn<QVariant>("argument");
    const QList<std::tuple<const char*, int, int>> plain = {{"mnuEditUndo", 5049, 0},
                                                            {"mnuEditRedo", 5033, 0},
                                                            {"mnuEditCut", 5003, 0},
                                                            {"mnuEditCopy", 5002, 0},
                                                            {"mnuEditPaste", 5032, 0},
                                                            {"mnuEditSelectAll", 5035, 0},
                                                            {"mnuEditFind", 5008, 0},
                                                            {"mnuEditHyperlink", 5016, 0},
                                                            {"mnuInsertPicture", 5017, 1},
                                                            {"mnuFormatFont", 5009, 1},
                                                            {"mnuFormatBullet", 5051, 0},
                                                            {"mnuFormatNumbers", 5030, 0},
                                                            {"mnuFormatIndent", 5018, 0},
                                                            {"mnuFormatOutdent", 5031, 0},
                                                            {"mnuInsertTableRow", 5021, 0},
                                                            {"mnuInsertTableColum", 5020, 0},
                                                            {"mnuInsertTableCell", 5019, 0},
                                                            {"mnuRemoveTableRows", 5007, 0},
                                                            {"mnuRemoveTableColumns", 5006, 0},
                                                            {"mnuRemoveTableCells", 5005, 0},
                                                            {"mnuMergeCells", 5029, 0},
                                                            {"mnuSplitCells", 5047, 0},
                                                            {"Undo", 5049, 0},
                                                            {"Redo", 5033, 0},
                                                            {"Cut", 5003, 0},
                                                            {"Copy", 5002, 0},
                                                            {"Paste", 5032, 0},
                                                            {"Find", 5008, 0},
                                                            {"Bold", 5000, 2},
                                                            {"Italic", 5023, 2},
                                                            {"Underline", 5048, 2},
                                                            {"LeftJustify", 5025, 2},
                                                            {"Center", 5024, 2},
                                                            {"RightJustify", 5026, 2},
                                                            {"Numbers", 5030, 2},
                                                            {"Bullets", 5051, 2},
                                                            {"Outdent", 5031, 2},
                                                            {"Indent", 5018, 2},
                                                            {"InsertColumn", 5020, 0},
                                                            {"InsertRow", 5021, 0},
                                                            {"InsertCell", 5019, 0},
                                                            {"RemoveColumn", 5006, 0},
                                                            {"RemoveRow", 5007, 0},
                                                            {"RemoveCell", 5005, 0},
                                                            {"MergeCell", 5029, 0},
                                                            {"SplitCell", 5047, 0}};
    for (const auto& [name, command, option] : plain)
        QTest::newRow(name) << name << -1 << command << option << QVariant();
    // Colours are asked for (#FF8000 is picked) and sent as text, red first.
    QTest::newRow("mnuFormatBackGround") << "mnuFormatBackGround" << -1 << 5042 << 2 << QVariant("#FF8000");
    QTest::newRow("Color") << "Color" << -1 << 5046 << 2 << QVariant("#FF8000");
    QTest::newRow("style") << "cboStyles" << 1 << 5043 << 0 << QVariant("Heading 1");
    QTest::newRow("size 8") << "cboFontSize" << 0 << 5045 << 2 << QVariant(1);
    QTest::newRow("size 36") << "cboFontSize" << 6 << 5045 << 2 << QVariant(7);
    QTest::newRow("font name") << "cboFontName" << 0 << 5044 << 2 << QVariant("first family");
}

void tst_EditorCommands::routing()
{
    QFETCH(QString, name);
    QFETCH(int, entry);
    QFETCH(int, command);
    QFETCH(int, option);
    QFETCH(QVariant, argument);
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    for (int id = 5000; id <= 5052; ++id)
        editor->SetStatus(id, Decmd::ENABLED);
    QGuiApplication::clipboard()->setText("plain text");
    m_fixture->Prompts.Push(QColor(255, 128, 0));
    if (name == QLatin1String("cboFontName")) {
        gFontNames = {"first family", "second family"};
        gMainToolbars().cboFontName.SetItems(gFontNames);
    }
    // The caret moved: the combos follow the editor's states.
    emit editor->DisplayChanged();

    if (entry >= 0) {
        auto* combo = m_window->findChild<QComboBox*>(name);
        QVERIFY(combo && combo->isEnabled());
        QVERIFY(entry < combo->count());
        // The user's choice, as the combo reports it.
        combo->setCurrentIndex(entry);
        emit combo->activated(entry);
    } else {
        QAction* action = m_window->Action(name);
        QVERIFY2(action && action->isEnabled(), qPrintable(name));
        action->trigger();
    }
    QCOMPARE(Edits(editor), (QList<std::tuple<int, int, QVariant>>{{command, option, argument}}));
    QVERIFY(m_fixture->Prompts.Messages().isEmpty());
    QCOMPARE(m_fixture->Environment.BugLogEntries(), 0);
}

void tst_EditorCommands::pasteRefusesExplorerItems()
{
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    editor->SetStatus(Decmd::PASTE, Decmd::ENABLED);
    QGuiApplication::clipboard()->setText(QString::fromUtf8("1\u00a42\u00a4x"));
    m_window->RunCommand("mnuEditPaste");
    m_window->RunCommand("Paste");
    QVERIFY(Edits(editor).isEmpty());
    QVERIFY(editor->Pasted().isEmpty());
}

void tst_EditorCommands::insertedFragments_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("label");
    QTest::newRow("line") << "mnuInsertLine"
                          << "<HR>"
                          << "Can't insert horizontal line."
                          << "Error_InsertLine: ";
    QTest::newRow("line break") << "mnuInsertLineBreak"
                                << "<br>"
                                << "Can't insert line break."
                                << "Error_InsertLineBreak : ";
    QTest::newRow("page break") << "mnuInsertPageBreak"
                                << "<br style='page-break-before:always'>"
                                << "Can't insert page break."
                                << "Error_InsertPageBreak : ";
}

void tst_EditorCommands::insertedFragments()
{
    QFETCH(QString, name);
    QFETCH(QString, fragment);
    QFETCH(QString, message);
    QFETCH(QString, label);
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    QVERIFY(m_window->RunCommand(name));
    QCOMPARE(editor->Pasted(), QStringList{fragment});

    editor->FailPaste(true);
    QVERIFY(m_window->RunCommand(name));
    QCOMPARE(m_fixture->Prompts.Messages(), QStringList{message});
    QCOMPARE(m_fixture->Prompts.History().last().icon, Prompts::Icon::Critical);
    QCOMPARE(m_fixture->Prompts.History().last().caption, kCritical);
    QCOMPARE(m_fixture->Environment.BugLogEntries(), 1);
    QVERIFY(m_fixture->Environment.BugLog().contains(label));
}

void tst_EditorCommands::screenShots()
{
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    // Nothing on the clipboard: the two-line message, nothing inserted.
    m_window->RunCommand("mnuInsertScreenShot");
    QCOMPARE(m_fixture->Prompts.Messages(),
             QStringList{"No screen shot available.\nBe sure you've previsously clicked on Print screen key."});
    QVERIFY(editor->Pasted().isEmpty());
    m_fixture->Prompts.ClearHistory();

    QImage shot(40, 30, QImage::Format_RGB32);
    shot.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(shot);
    // Each shot has a file of its own in the temp folder.
    m_window->RunCommand("mnuInsertScreenShot");
    m_window->RunCommand("mnuInsertScreenShot");
    QCOMPARE(editor->Pasted().size(), 2);
    const QRegularExpression fragment(R"re(^<P><IMG  src="([^"]+)" align=baseline border=0 width ="100%"></P>$)re");
    QStringList files;
    for (const QString& pasted : editor->Pasted()) {
        const QRegularExpressionMatch match = fragment.match(pasted);
        QVERIFY2(match.hasMatch(), qPrintable(pasted));
        files << match.captured(1);
        QCOMPARE(QFileInfo(files.last()).absolutePath(), QDir(gTempPath).absolutePath());
        QVERIFY(QFileInfo(files.last()).fileName().startsWith("screenshot-"));
        QCOMPARE(QImage(files.last(), "BMP").size(), shot.size());
    }
    QVERIFY(files[0] != files[1]);

    // Pictures kept as files: the user names it; a cancel inserts nothing and says nothing.
    Settings::SaveSetting("Options", "StoreImage", "0");
    m_window->RunCommand("mnuInsertScreenShot");
    QCOMPARE(editor->Pasted().size(), 2);
    const QString named = m_fixture->Environment.Path("my \"shot\" é.bmp");
    m_fixture->Prompts.Push(named);
    m_window->RunCommand("mnuInsertScreenShot");
    QCOMPARE(editor->Pasted().size(), 3);
    QCOMPARE(editor->Pasted().last(),
             QString("<P><IMG  src=\"%1\" align=baseline border=0 width =\"100%\"></P>").arg(named.toHtmlEscaped()));
    QVERIFY(QFile::exists(named));
    QVERIFY(m_fixture->Prompts.Messages().isEmpty());

    // A temp folder that cannot take the file.
    Settings::SaveSetting("Options", "StoreImage", "1");
    const QString temp = gTempPath;
    gTempPath = m_fixture->Environment.Path("missing/folder");
    m_window->RunCommand("mnuInsertScreenShot");
    gTempPath = temp;
    QCOMPARE(m_fixture->Prompts.Messages(), QStringList{"Can't insert screen shot."});
    QCOMPARE(editor->Pasted().size(), 3);
}

void tst_EditorCommands::cancelledAndFailedDialogs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("fails");  // else cancelled
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("label");
    QTest::newRow("font cancelled") << "mnuFormatFont" << 5009 << false << ""
                                    << "";
    QTest::newRow("font fails") << "mnuFormatFont" << 5009 << true << "Font not available."
                                << "Error_Font : ";
    QTest::newRow("picture cancelled") << "mnuInsertPicture" << 5017 << false << ""
                                       << "";
    QTest::newRow("picture fails") << "mnuInsertPicture" << 5017 << true << "An error occurred inserting the picture."
                                   << "Error_Picture : ";
    QTest::newRow("link cancelled") << "mnuEditHyperlink" << 5016 << false << ""
                                    << "";
    // Colour dialogs: no colour answered is a cancel.
    QTest::newRow("background cancelled") << "mnuFormatBackGround" << 0 << false << ""
                                          << "";
    QTest::newRow("background fails") << "mnuFormatBackGround" << 5042 << true
                                      << "An error occurred while formatting the background."
                                      << "Error_mnuFormatBackGround : ";
    QTest::newRow("colour cancelled") << "Color" << 0 << false << ""
                                      << "";
    QTest::newRow("colour fails, logged only") << "Color" << 5046 << true << ""
                                               << "Error_FormatButtonClick : ";
}

void tst_EditorCommands::cancelledAndFailedDialogs()
{
    QFETCH(QString, name);
    QFETCH(int, command);
    QFETCH(bool, fails);
    QFETCH(QString, message);
    QFETCH(QString, label);
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    if (fails) {
        editor->FailOn(command);
        m_fixture->Prompts.Push(QColor(Qt::blue));
    } else if (command) {
        editor->CancelOn(command);
    }
    QVERIFY(m_window->RunCommand(name));
    QVERIFY(Edits(editor).isEmpty());
    QCOMPARE(m_fixture->Prompts.Messages(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(m_fixture->Environment.BugLogEntries(), label.isEmpty() ? 0 : 1);
    if (!label.isEmpty())
        QVERIFY(m_fixture->Environment.BugLog().contains(label));
}

void tst_EditorCommands::editMenuOpening_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("disabled") << 1 << false;
    QTest::newRow("enabled") << 3 << true;
    QTest::newRow("latched") << 7 << true;
}

void tst_EditorCommands::editMenuOpening()
{
    QFETCH(int, status);
    QFETCH(bool, enabled);
    const QStringList items = {"mnuEditFind", "mnuEditRedo",  "mnuEditUndo",     "mnuEditCopy",
                               "mnuEditCut",  "mnuEditPaste", "mnuEditSelectAll"};
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    for (const int command : {5008, 5033, 5049, 5002, 5003, 5032, 5035})
        editor->SetStatus(command, status);
    const int cutQueries = editor->StatusQueries(Decmd::CUT);
    OpenMenu("mnuEdit");
    for (const QString& item : items)
        QVERIFY2(Enabled(item) == enabled, qPrintable(item));
    QVERIFY(Enabled("mnuEditProperties"));
    QVERIFY(Enabled("mnuEditInsert"));
    // Asked from the states the editor holds: once per item.
    QCOMPARE(editor->StatusQueries(Decmd::CUT) - cutQueries, 1);

    // The explorer has the keyboard: all nine go off; back in the description, Insert returns.
    FocusExplorer();
    OpenMenu("mnuEdit");
    for (const QString& item : items + QStringList{"mnuEditInsert", "mnuEditProperties"})
        QVERIFY2(!Enabled(item), qPrintable(item));
    qobject_cast<frmDescription*>(m_window->MdiArea()->currentSubWindow()->widget())->DescriptionView()->setFocus();
    QTRY_COMPARE(ActiveEditor(), editor);
    // With the focus, before the menu opens: its shortcuts work again.
    QTRY_VERIFY(Enabled("mnuEditInsert"));
    QVERIFY(Enabled("mnuEditProperties"));
    QCOMPARE(Enabled("mnuEditFind"), enabled);

    // An editor that cannot answer leaves its items as they were; the rest goes on.
    editor->FailOn(Decmd::UNDO);
    editor->SetStatus(Decmd::CUT, enabled ? 1 : 3);
    OpenMenu("mnuEdit");
    QCOMPARE(Enabled("mnuEditCut"), !enabled);
    QCOMPARE(Enabled("mnuEditUndo"), enabled);
}

void tst_EditorCommands::tableMenuOpening()
{
    const QList<std::pair<const char*, int>> items = {{"mnuRemoveTableCells", 5005}, {"mnuRemoveTableColumns", 5006},
                                                      {"mnuRemoveTableRows", 5007},  {"mnuInsertTableRow", 5021},
                                                      {"mnuInsertTableCell", 5019},  {"mnuInsertTableColum", 5020},
                                                      {"mnuSplitCells", 5047},       {"mnuMergeCells", 5029}};
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    // Odd items enabled, even ones not.
    for (int i = 0; i < items.size(); ++i)
        editor->SetStatus(items[i].second, i % 2 ? Decmd::ENABLED : Decmd::DISABLED);
    OpenMenu("mnuTable");
    for (int i = 0; i < items.size(); ++i)
        QVERIFY2(Enabled(items[i].first) == (i % 2 == 1), items[i].first);
    QVERIFY(Enabled("mnuCreateTable"));

    FocusExplorer();
    OpenMenu("mnuTable");
    QVERIFY(!Enabled("mnuCreateTable"));
    for (const auto& [name, command] : items)
        QVERIFY2(!Enabled(name), name);
    // "Table ..." comes back once a description has the focus again.
    qobject_cast<frmDescription*>(m_window->MdiArea()->currentSubWindow()->widget())->DescriptionView()->setFocus();
    QTRY_COMPARE(ActiveEditor(), editor);
    OpenMenu("mnuTable");
    QVERIFY(Enabled("mnuCreateTable"));
    QVERIFY(m_window->Action("mnuCreateTable")->isEnabled());
}

void tst_EditorCommands::explorerCopyAndPaste()
{
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    m_fixture->Record({"mnuItemCopy", "mnuItemPaste"});
    FocusExplorer();
    m_window->RunCommand("mnuEditCopy");
    m_window->RunCommand("Paste");
    QCOMPARE(m_fixture->Ran, QStringList({"mnuItemCopy", "mnuItemPaste"}));
    QVERIFY(Edits(editor).isEmpty());

    // Neither an editor nor the explorer: nothing.
    m_window->Properties()->setFocus();
    QTRY_VERIFY(QApplication::focusWidget() != m_window->Explorer()->tvTestPlan());
    m_window->RunCommand("mnuEditCopy");
    m_window->RunCommand("mnuEditPaste");
    QCOMPARE(m_fixture->Ran.size(), 2);
    QVERIFY(Edits(editor).isEmpty());
}

void tst_EditorCommands::tableProperties()
{
    TableDialog::SetFactory([] { return std::make_unique<RecordingTableDialog>(); });
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    // A caret in a cell, or an image, selects no table: nothing opens.
    m_window->RunCommand("mnuEditProperties");
    QVERIFY(RecordingTableDialog::Shown().isEmpty());

    editor->SetSelectedTable(R"(<table border="1" width="80%" align="center" bgcolor="#FFFFFF">)");
    m_window->RunCommand("mnuEditProperties");
    QCOMPARE(RecordingTableDialog::Shown().size(), 1);
    const TableDialogFields fields = RecordingTableDialog::Shown().first();
    QVERIFY(!fields.rowsAndColsPageEnabled);
    QCOMPARE(fields.txtWidth, QString("80"));
    QCOMPARE(fields.cboWidthRange, 0);
    QCOMPARE(fields.cboAlignment, 3);
    QCOMPARE(fields.txtBorder, QString("1"));
    QCOMPARE(fields.txtBackGroundColor, QString("#FFFFFF"));
    TableDialog::SetFactory({});
}

QTEST_MAIN(tst_EditorCommands)
#include "tst_EditorCommands.moc"
