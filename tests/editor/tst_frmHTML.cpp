// The HTML code command and its source window, on scripted description panes in the real main
// window: the caret marker, the colouring, the work file, the window's place and the reload.
#include "EditorWindowFixture.h"
#include "WhileModal.h"

#include "core/ActiveEditor.h"
#include "core/MainToolbars.h"
#include "core/ui/Twips.h"
#include "editor/HtmlSourceText.h"
#include "editor/frmDescription.h"
#include "editor/frmHTML.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/WindowServicesInstall.h"
#include "mainwindow/frmExplorer.h"
#include "model/SubTest.h"
#include "platform/Globals.h"
#include "platform/Settings.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>

#include <functional>

namespace {

const QString kMarker = HtmlSourceText::CursorMarker();
const QColor kBody(0, 1, 0);
const QColor kGrey(119, 119, 119);

QColor ColourAt(const QPlainTextEdit* box, int position)
{
    QTextCursor cursor(box->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().foreground().color();
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

}  // namespace

class tst_frmHTML : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetEditorPaneFactory(FakeEditorPane); }
    void cleanupTestCase() { SetEditorPaneFactory({}); }
    void init();
    void cleanup();

    void sourceShown_data();
    void sourceShown();
    void laterEditsNotColoured();
    void markerAtSelectionStart();
    void nothingWithoutAFocusedPane();
    void markerTakenBackWhenTheEditorFails();
    void editedSourceReloadedAndSaved();
    void failedWorkFileStillReloads();
    void workFileInDeclaredCharset();
    void windowPlace_data();
    void windowPlace();
    void placeKeptFromCloseToOpen();
    void nothingWrittenWithoutActiveChild();

private:
    FakeHtmlEditor* OpenFocused() { return OpenFocusedSubTest(m_window); }
    // Runs the command; `work` sees the source window while it is shown, which is then closed.
    // False when no source window showed.
    bool RunCommand(const std::function<void(frmHTML*)>& work)
    {
        return WhileModal<frmHTML>([this] { m_window->RunCommand(QStringLiteral("mnuToolsHTML")); }, work);
    }
    frmDescription* Form() const { return ActiveDescriptionWindow(m_window); }

    std::unique_ptr<MainWindowFixture> m_fixture;
    frmMdi* m_window = nullptr;
};

void tst_frmHTML::init()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    m_window = ShowEditorWindow(*m_fixture, QStringLiteral("<P>first</P><P>second</P>"));
    QVERIFY2(m_window, qPrintable(m_fixture->Error()));
}

void tst_frmHTML::cleanup()
{
    for (FakeHtmlEditor* editor : FakeEditors())
        editor->SetDirty(false);
    m_fixture->Prompts.Push(Prompts::Answer::No);
    if (m_window)
        QVERIFY(m_window->CloseChildWindows());
    m_window = nullptr;
    m_fixture.reset();
}

void tst_frmHTML::sourceShown_data()
{
    QTest::addColumn<QString>("page");  // "|" where the marker stands, if anywhere
    QTest::addColumn<QString>("head");  // the grey text before the body
    QTest::addColumn<QString>("tail");  // the grey text after the body
    QTest::newRow("engine's body with attributes")
        << "<html><head><style>p{}</style></head><body class=\"x\"><p>a|b</p></body></html>"
        << "<html><head><style>p{}</style></head><body class=\"x\">"
        << "</body></html>";
    QTest::newRow("upper case BODY, marker as written") << "<HTML><HEAD></HEAD><BODY><P>ab|</P></BODY></HTML>"
                                                        << "<HTML><HEAD></HEAD><BODY>"
                                                        << "</BODY></HTML>";
    QTest::newRow("no marker: caret after the BODY tag")
        << "<html><head></head><body bgcolor=red><p>ab</p></body></html>"
        << "<html><head></head><body bgcolor=red>"
        << "</body></html>";
    QTest::newRow("no BODY tag: all body, caret at the start") << "<p>ab</p>"
                                                               << ""
                                                               << "";
    QTest::newRow("several markers: the first places the caret") << "<html><body>|<p>a|b</p></body></html>"
                                                                 << "<html><body>"
                                                                 << "</body></html>";
    QTest::newRow("a marker's text in a script is no marker")
        << QStringLiteral("<html><body><script>var s = '%1';</script>|x</body></html>").arg(kMarker) << "<html><body>"
        << "</body></html>";
}

// The marker goes, BODY is found whatever its case and attributes, the head and tail are grey,
// the body near-black, and the caret stands where the marker stood.
void tst_frmHTML::sourceShown()
{
    QFETCH(QString, page);
    QFETCH(QString, head);
    QFETCH(QString, tail);
    // Where the first marker stood, else just after the head.
    const qsizetype caret = page.contains(QLatin1Char('|')) ? page.indexOf(QLatin1Char('|')) : head.size();
    // The engine writes the marker in its own way: lower case, quoted, its style normalised.
    const QString written = QStringLiteral("<span id=\"cursor\" style=\"display: none;\"></span>");
    const bool upper = page.contains(QLatin1String("<HTML>"));
    const QString source = QString(page).replace(QLatin1Char('|'), upper ? kMarker : written);
    const QString expected = QString(page).remove(QLatin1Char('|'));

    frmHTML window(nullptr, [] { return false; });
    window.SetSource(source);
    QVERIFY(window.SourceColoured());
    QCOMPARE(window.Source(), expected);
    QVERIFY(expected.startsWith(head) && expected.endsWith(tail));
    QCOMPARE(window.rtfHTML()->textCursor().position(), static_cast<int>(caret));
    QVERIFY(!window.rtfHTML()->textCursor().hasSelection());

    const int bodyEnd = static_cast<int>(expected.size() - tail.size());
    for (int at = 0; at < expected.size(); ++at) {
        const QColor wanted = at < head.size() || at >= bodyEnd ? kGrey : kBody;
        QVERIFY2(ColourAt(window.rtfHTML(), at) == wanted, qPrintable(QStringLiteral("at %1").arg(at)));
    }
}

// The source is coloured once: text typed later into the head is not made grey again, nor is
// the head re-coloured when the text changes.
void tst_frmHTML::laterEditsNotColoured()
{
    frmHTML window(nullptr, [] { return false; });
    window.SetSource(QStringLiteral("<html><head></head><body><p>ab</p></body></html>"));
    QTextCursor cursor(window.rtfHTML()->document());
    cursor.setPosition(25);
    QTextCharFormat black;
    black.setForeground(Qt::black);
    cursor.insertText(QStringLiteral("<p>new</p>"), black);
    QCOMPARE(ColourAt(window.rtfHTML(), 2), kGrey);
    QCOMPARE(ColourAt(window.rtfHTML(), 26), QColor(Qt::black));
    QCOMPARE(ColourAt(window.rtfHTML(), 35), kBody);
}

// The marker goes in at the start of the selection, whose text stays in the document, and the
// source window shows the page without it and the caret just before the selected text.
void tst_frmHTML::markerAtSelectionStart()
{
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    const QString page = editor->DocumentHTML();
    const qsizetype second = page.indexOf(QLatin1String("second"));
    QVERIFY(second > 0);
    editor->SetSelection(second, 6);
    QString marked;
    QString shown;
    int caret = -1;
    QVERIFY(RunCommand([&](frmHTML* window) {
        marked = editor->DocumentHTML();
        shown = window->Source();
        caret = window->rtfHTML()->textCursor().position();
    }));
    QCOMPARE(marked, QString(page).insert(second, kMarker));
    QCOMPARE(shown, page);
    QCOMPARE(caret, static_cast<int>(second));
    QCOMPARE(editor->DocumentHTML(), page);
    QCOMPARE(editor->Reloads(), 1);
}

// An editor that stops answering once the marker is in: the marker's insertion is undone, so that
// no save stores it, and the failure is logged.
void tst_frmHTML::markerTakenBackWhenTheEditorFails()
{
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    editor->FailDocumentReads(true);
    QVERIFY(m_window->RunCommand("mnuToolsHTML"));
    editor->FailDocumentReads(false);
    QVERIFY(!editor->ExecutedCommands().isEmpty());
    QCOMPARE(editor->ExecutedCommands().last(), (QPair<int, int>(Decmd::UNDO, 0)));
    QCOMPARE(editor->Reloads(), 0);
    QVERIFY(m_fixture->Environment.BugLog().contains("Error_ToolsHTML : "));
}

// With the focus outside the panes (the explorer), the command does nothing.
void tst_frmHTML::nothingWithoutAFocusedPane()
{
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    const QString page = editor->DocumentHTML();
    m_window->Explorer()->tvTestPlan()->setFocus();
    QTRY_VERIFY(!ActiveEditor());
    QVERIFY(!RunCommand([](frmHTML*) {}));
    QCOMPARE(editor->DocumentHTML(), page);
    QCOMPARE(editor->Reloads(), 0);
    QVERIFY(!QFile::exists(frmHTML::WorkFilePath()));
}

// The pane is reloaded from the edited text, with its snapshot and dirty baseline kept: the close
// asks, and Yes stores the new body. The work file holds the edited text.
void tst_frmHTML::editedSourceReloadedAndSaved()
{
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    frmDescription* form = Form();
    const QString snapshot = form->mstrLastSaved;
    QString edited;
    QVERIFY(RunCommand([&](frmHTML* window) {
        edited = window->Source().replace(QLatin1String("first"), QLatin1String("changed"));
        window->rtfHTML()->setPlainText(edited);
    }));
    QCOMPARE(editor->DocumentHTML(), edited);
    QCOMPARE(QString::fromUtf8(FileBytes(frmHTML::WorkFilePath())), edited);
    QTest::qWait(0);  // the window hears of the reload after the command
    QVERIFY(form->DHTMLEditInitialized);
    QCOMPARE(form->mstrLastSaved, snapshot);
    QVERIFY(editor->IsDirty());
    QVERIFY(form->DocumentChanged());

    m_fixture->Prompts.Push(Prompts::Answer::Yes);
    QVERIFY(m_window->CloseChildWindows());
    QCOMPARE(m_fixture->Prompts.Messages(), QStringList{"Do you want to save the document ?"});
    QCOMPARE(ModelFixture::Scalar("SELECT DESCRIPTION FROM SUBTEST WHERE ID = 1").toString(),
             QStringLiteral("<p>changed</p><p>second</p>"));
}

// A work file that cannot be written (here a folder stands in its place, and a stale file's
// text is nowhere used) is logged; the pane is still reloaded from the edited text.
void tst_frmHTML::failedWorkFileStillReloads()
{
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    QVERIFY(QDir().mkpath(frmHTML::WorkFilePath()));
    QString edited;
    QVERIFY(RunCommand([&](frmHTML* window) {
        edited = window->Source().replace(QLatin1String("second"), QLatin1String("other"));
        window->rtfHTML()->setPlainText(edited);
    }));
    QCOMPARE(editor->DocumentHTML(), edited);
    QCOMPARE(m_fixture->Environment.BugLogEntries(), 1);
    QVERIFY(m_fixture->Environment.BugLog().contains(QLatin1String("Error_ToolsHTML : 75")));
    // The settings are still kept.
    QVERIFY(!Settings::GetSetting("Settings", "HMLWidth").isEmpty());
}

// The work file is written in the charset the page's META line declares.
void tst_frmHTML::workFileInDeclaredCharset()
{
    FakeHtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    const QString page = QStringLiteral(
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\"></head>"
        "<body><p>\u00e9t\u00e9</p></body></html>");
    editor->SetDocumentHTML(page);
    QVERIFY(RunCommand([](frmHTML*) {}));
    QCOMPARE(FileBytes(frmHTML::WorkFilePath()), page.toLatin1());
    QCOMPARE(editor->DocumentHTML(), page);
}

void tst_frmHTML::windowPlace_data()
{
    QTest::addColumn<QStringList>("stored");   // HMLWidth, HMLTop, HMLLeft, HMLHeight; none stored when empty
    QTest::addColumn<QList<double>>("twips");  // the place expected, before it is fitted to the screen
    const QList<double> defaults = {12000, 3000, 3000, 4000};
    QTest::newRow("defaults") << QStringList() << defaults;
    QTest::newRow("stored") << QStringList{"4500", "1500", "1200", "3000.5"} << QList<double>{4500, 1500, 1200, 3000.5};
    QTest::newRow("not numbers") << QStringList{"abc", "", "12x", "abc"} << defaults;
}

// The window opens at the place stored in twips; values that are no numbers take their defaults.
void tst_frmHTML::windowPlace()
{
    QFETCH(QStringList, stored);
    QFETCH(QList<double>, twips);
    const QStringList keys = {"HMLWidth", "HMLTop", "HMLLeft", "HMLHeight"};
    for (int i = 0; i < stored.size(); ++i)
        Settings::SaveSetting("Settings", keys.at(i), stored.at(i));
    frmHTML window(nullptr, [] { return true; });
    const QRect expected = OnScreen(QRect(Pixels(&window, twips.at(2)), Pixels(&window, twips.at(1), Qt::Vertical),
                                          Pixels(&window, twips.at(0)), Pixels(&window, twips.at(3), Qt::Vertical)));
    QCOMPARE(QRect(window.pos(), window.size()), expected);
}

// Moved and resized, the window stores its place on close and opens there the next time; a
// place off every screen comes back onto the primary one.
void tst_frmHTML::placeKeptFromCloseToOpen()
{
    QRect place;
    {
        frmHTML window(nullptr, [] { return true; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.move(40, 30);
        window.resize(300, 200);
        place = QRect(window.pos(), window.size());
        window.close();
    }
    frmHTML again(nullptr, [] { return true; });
    QCOMPARE(QRect(again.pos(), again.size()), place);
    QCOMPARE(Settings::GetSetting("Settings", "HMLWidth").toDouble(), Twips(&again, 300));

    Settings::SaveSetting("Settings", "HMLLeft", "-900000");
    Settings::SaveSetting("Settings", "HMLTop", "900000");
    frmHTML off(nullptr, [] { return true; });
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().intersects(off.geometry()));
}

// With no active child window the close writes neither the work file nor the settings.
void tst_frmHTML::nothingWrittenWithoutActiveChild()
{
    frmHTML window(nullptr, [] { return false; });
    window.SetSource(QStringLiteral("<p>x</p>"));
    window.show();
    window.close();
    QVERIFY(!QFile::exists(frmHTML::WorkFilePath()));
    QVERIFY(Settings::GetSetting("Settings", "HMLWidth").isEmpty());
}

QTEST_MAIN(tst_frmHTML)
#include "tst_frmHTML.moc"
