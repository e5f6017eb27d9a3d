// The web view editor against real pages: what it keeps of a document, what it never runs, its
// command states and commands, and its recovery from a dead renderer.
#include "ScriptedPrompts.h"
#include "TestEnvironment.h"

#include "core/DescriptionForm.h"
#include "core/OpenForms.h"
#include "core/TableDialog.h"
#include "editor/EditorCommands.h"
#include "editor/FindDialog.h"
#include "editor/FontDialog.h"
#include "editor/WebEngineHtmlEditor.h"
#include "editor/WebEngineSanitizerOptions.h"
#include "platform/Globals.h"
#include "platform/HtmlDocument.h"
#include "platform/KvlError.h"
#include "platform/Settings.h"
#include "publishing/PictureFile.h"
#include "publishing/PictureReferences.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QWidget>

#include <csignal>
#include <memory>

namespace {

// A description window of one real editor, which has the focus.
class OnePaneForm : public DescriptionForm
{
public:
    explicit OnePaneForm(HtmlEditor* editor) : m_editor(editor) { OpenForms::Add(this); }
    ~OnePaneForm() override { OpenForms::Remove(this); }
    QString Caption() const override { return QStringLiteral("Item"); }
    void SetCaption(const QString&) override {}
    QString Tag() const override { return QString(); }
    void SetTag(const QString&) override {}
    HtmlEditor* DHTMLEdit1() override { return m_editor; }
    HtmlEditor* DHTMLEdit2() override { return nullptr; }
    QString ActiveControlName() const override { return QStringLiteral("DHTMLEdit1"); }
    long SaveDescription() override { return 0; }

private:
    HtmlEditor* m_editor;
};

// Keeps the fields the table dialog would show.
class RecordingTableDialog : public TableDialog
{
public:
    explicit RecordingTableDialog(QList<TableDialogFields>* shown) : m_shown(shown) {}
    void ShowModal(const TableDialogFields& fields) override { m_shown->append(fields); }

private:
    QList<TableDialogFields>* m_shown;
};

constexpr auto kHead =
    "<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"></HEAD>"
    "<STYLE>P { margin: 0 }</STYLE><BODY>";
constexpr auto kTail = "</BODY></HTML>";

QString Page(const QString& body)
{
    return QLatin1String(kHead) + body + QLatin1String(kTail);
}

// The command's dialog was cancelled: it raises so, and shows nothing else.
void ExpectCancelled(HtmlEditor& editor, int command, int option = Decmd::OPT_DODEFAULT)
{
    try {
        editor.ExecCommand(command, option);
        QFAIL("The cancelled command did not raise.");
    } catch (const KvlError& error) {
        QCOMPARE(error.Number(), KvlError::kCancelled);
    }
}

}  // namespace

class tst_WebEngineHtmlEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void bodyKeptAsSet_data();
    void bodyKeptAsSet();
    void laterDocumentReplacesOneUnderWay();
    void storedContentNeverRunsOrNavigates();
    void boldOnSelectedWordLatches();
    void pushedStatesFollowTheCaret();
    void copyAndPasteThroughTheClipboard();
    void hiddenPaneStillReports();
    void listenersMayAskTheEditor();
    void rightClickAsksForTheWindowsMenu();
    void typedCharacterMakesTheDocumentDirty();
    void largePageOpensAndSavesWhole();
    void blockFormatNamesAtOnce();
    void blockFormatsSetAndRead_data();
    void blockFormatsSetAndRead();
    void fontValuesAndMixedSelection();
    void commandsOnSelectedWord_data();
    void commandsOnSelectedWord();
    void listCommandsUndoAsOneStep_data();
    void listCommandsUndoAsOneStep();
    void blockFormatsUndoAsOneStep_data();
    void blockFormatsUndoAsOneStep();
    void failedUndoLeavesTheDocumentWhole();
    void tableCommands_data();
    void tableCommands();
    void cellCommandStates();
    void cellCommandsUndoInTurnWithTyping();
    void pasteHtml_data();
    void pasteHtml();
    void pasteOnceAndNeverAnExplorerItem();
    void insertAtSelectionStart_data();
    void insertAtSelectionStart();
    void reloadKeepsTheDirtyBaseline();
    void reloadedSourceNeverRuns();
    void explorerItemNeverDropped();
    void tableSelectedAsAWhole();
    void hyperlinkAskedFor();
    void pictureAskedFor_data();
    void pictureAskedFor();
    void fontDialogApplied();
    void findDialogOnePerEditor();
    void styleSheetSwapped();
    void picturesResolveInTheImagesFolder();
    void deadRendererReloadsTheLastCopy();

private:
    void Load(const QString& html);
    // Loads and waits for the page's first report: a long page is laid out before the page
    // answers again, which takes seconds on a loaded machine, longer than a question waits.
    void LoadLaidOut(const QString& html);
    // Runs a script in the editor's own world, where the page's scripting switch does not reach.
    QVariant Script(const QString& source);
    // Selects the text `word` of the body's first text node holding it.
    void Select(const QString& word);
    // Selects from the start of `first` to the end of `last`.
    void SelectAcross(const QString& first, const QString& last);
    // The elements with their attributes sorted and the text between them, as the program's
    // parser reads `html`.
    static QString Parsed(const QString& html);
    // Elements with their attributes and text, as the browser parses `html` inside a BODY.
    QString Shape(const QString& html);

    std::unique_ptr<TestEnvironment> m_environment;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<QWidget> m_host;
    WebEngineHtmlEditor* m_editor = nullptr;
};

void tst_WebEngineHtmlEditor::init()
{
    m_environment = std::make_unique<TestEnvironment>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_host = std::make_unique<QWidget>();
    m_host->resize(640, 480);
    m_editor = new WebEngineHtmlEditor(m_host.get());
    m_editor->View()->resize(640, 480);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
}

void tst_WebEngineHtmlEditor::cleanup()
{
    QPointer<HtmlEditor> editor(m_editor);
    m_host.reset();
    // Deleting the view deletes its editor.
    QVERIFY(editor.isNull());
    m_prompts.reset();
    m_environment.reset();
}

void tst_WebEngineHtmlEditor::Load(const QString& html)
{
    QSignalSpy complete(m_editor, &HtmlEditor::DocumentComplete);
    m_editor->SetDocumentHTML(html);
    QVERIFY(complete.wait(10000));
}

void tst_WebEngineHtmlEditor::LoadLaidOut(const QString& html)
{
    QSignalSpy reported(m_editor, &HtmlEditor::DisplayChanged);
    Load(html);
    QVERIFY(reported.count() > 0 || reported.wait(60000));
}

QVariant tst_WebEngineHtmlEditor::Script(const QString& source)
{
    auto answer = std::make_shared<QVariant>();
    auto done = std::make_shared<bool>(false);
    m_editor->View()->page()->runJavaScript(source, QWebEngineScript::ApplicationWorld,
                                            [answer, done](const QVariant& value) {
                                                *answer = value;
                                                *done = true;
                                            });
    if (!QTest::qWaitFor([&] { return *done; }, 5000))
        qWarning("The script did not answer: %s", qPrintable(source));
    return *answer;
}

void tst_WebEngineHtmlEditor::Select(const QString& word)
{
    const QString script = QStringLiteral(R"((() => {
        const word = %1;
        const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
        for (let node = walker.nextNode(); node; node = walker.nextNode()) {
            const at = node.data.indexOf(word);
            if (at >= 0) {
                getSelection().setBaseAndExtent(node, at, node, at + word.length);
                return true;
            }
        }
        return false;
    })())")
                               .arg(QLatin1Char('"') + word + QLatin1Char('"'));
    QVERIFY2(Script(script).toBool(), qPrintable(word));
}

void tst_WebEngineHtmlEditor::SelectAcross(const QString& first, const QString& last)
{
    const QString script =
        QStringLiteral(R"((() => {
        const find = word => {
            const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
            for (let node = walker.nextNode(); node; node = walker.nextNode()) {
                const at = node.data.indexOf(word);
                if (at >= 0)
                    return [node, at];
            }
            return null;
        };
        const from = find(%1);
        const to = find(%2);
        if (!from || !to)
            return false;
        getSelection().setBaseAndExtent(from[0], from[1], to[0], to[1] + %2.length);
        return true;
    })())")
            .arg(QLatin1Char('"') + first + QLatin1Char('"'), QLatin1Char('"') + last + QLatin1Char('"'));
    QVERIFY2(Script(script).toBool(), qPrintable(first + QLatin1String("..") + last));
}

QString tst_WebEngineHtmlEditor::Parsed(const QString& html)
{
    struct Token
    {
        qsizetype at;
        qsizetype length;
        QString text;
    };
    const HtmlDocument document(html);
    QList<Token> tokens;
    for (const HtmlElement& element : document.Elements()) {
        if (!element.InSource())
            continue;
        QStringList attributes;
        for (const HtmlAttribute& attribute : element.attributes)
            attributes << attribute.name + QLatin1Char('=') + attribute.value;
        attributes.sort();
        attributes.prepend(element.tag);
        tokens.append({element.start, element.startTagLength, QLatin1Char('<') + attributes.join(' ') + '>'});
        if (element.HasEndTag())
            tokens.append({element.endTagStart, element.endTagLength, QStringLiteral("</%1>").arg(element.tag)});
    }
    std::sort(tokens.begin(), tokens.end(), [](const Token& a, const Token& b) { return a.at < b.at; });
    const auto text = [](QString part) {
        return part.replace(QLatin1String("&nbsp;"), QStringLiteral("\u00a0"))
            .replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
    };
    QString parsed;
    qsizetype at = 0;
    for (const Token& token : std::as_const(tokens)) {
        parsed += text(html.mid(at, token.at - at)) + token.text;
        at = token.at + token.length;
    }
    return parsed + text(html.mid(at));
}

QString tst_WebEngineHtmlEditor::Shape(const QString& html)
{
    const QString script = QStringLiteral(R"((() => {
        const shape = node => {
            if (node.nodeType === Node.TEXT_NODE)
                return '"' + node.data + '"';
            if (node.nodeType !== Node.ELEMENT_NODE)
                return '';
            const attributes = Array.from(node.attributes, a => a.name + '=' + a.value).sort().join(' ');
            return '<' + node.tagName + (attributes ? ' ' + attributes : '') + '>' +
                   Array.from(node.childNodes, shape).join('') + '</>';
        };
        return shape(new DOMParser().parseFromString('<body>' + %1 + '</body>', 'text/html').body);
    })())");
    QString literal = html;
    literal.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('`'), QLatin1String("\\`"));
    literal.replace(QLatin1String("${"), QLatin1String("\\${"));
    return Script(script.arg(QLatin1Char('`') + literal + QLatin1Char('`'))).toString();
}

void tst_WebEngineHtmlEditor::bodyKeptAsSet_data()
{
    QTest::addColumn<QString>("body");
    QTest::newRow("legacy table attributes") << QStringLiteral(
        "<TABLE border=1 cellPadding=2 cellSpacing=0 width=\"80%\" bgColor=#ffffcc>"
        "<TR><TD width=\"20%\" vAlign=top>a</TD><TD noWrap>b</TD></TR></TABLE>");
    QTest::newRow("upper-case tags") << QStringLiteral(
        "<P ALIGN=CENTER><B>Bold</B> and <I>italic</I><BR>line</P>"
        "<UL><LI>one<LI>two</UL><FONT face=Arial size=2>x</FONT>");
    QTest::newRow("emoji and separators")
        << QStringLiteral("<P>Ready \U0001F680 go \u2028 next \u2029 end \u00e9t\u00e9</P>");
    QTest::newRow("unclosed tags") << QStringLiteral("<P>first<P>second <B>bold <I>both</P>");
    QTest::newRow("comment and entities") << QStringLiteral("<!-- note --><P>a &lt;b&gt; &amp; &nbsp;c</P>");
}

// The browser writes tags in lower case, quotes every attribute value, closes what the source
// left open and writes a no-break space as an entity: the elements, attributes and text stay.
void tst_WebEngineHtmlEditor::bodyKeptAsSet()
{
    QFETCH(QString, body);
    Load(Page(body));
    const QString kept = m_editor->BodyInnerHTML();
    QCOMPARE(Shape(kept), Shape(body));
    QVERIFY(!m_editor->IsDirty());
    // The whole page goes back in as it came out.
    const QString page = m_editor->DocumentHTML();
    QVERIFY2(page.startsWith(QLatin1String("<html>")), qPrintable(page.left(60)));
    QVERIFY(!page.contains(QLatin1String("contenteditable")));
    Load(page);
    QCOMPARE(m_editor->BodyInnerHTML(), kept);
    QCOMPARE(m_editor->DocumentHTML(), page);
}

void tst_WebEngineHtmlEditor::laterDocumentReplacesOneUnderWay()
{
    Load(Page(QStringLiteral("<P>settled</P>")));
    QSignalSpy complete(m_editor, &HtmlEditor::DocumentComplete);
    m_editor->SetDocumentHTML(Page(QStringLiteral("<P>first</P>")));
    m_editor->SetDocumentHTML(Page(QStringLiteral("<P>second</P>")));
    // Read at once: the getter waits for the last document.
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>second</p>"));
    QTRY_COMPARE(complete.count(), 1);
    QTest::qWait(300);
    QCOMPARE(complete.count(), 1);
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>second</p>"));
    QVERIFY(!m_editor->IsDirty());
}

void tst_WebEngineHtmlEditor::storedContentNeverRunsOrNavigates()
{
    // A refresh to about:blank does not pass the page's navigation check: it must not run at all.
    Load(
        QStringLiteral("<HTML><HEAD><TITLE>kept</TITLE><META http-equiv=refresh content=\"0;url=about:blank\">"
                       "<SCRIPT>document.title='head ran'</SCRIPT></HEAD>"
                       "<BODY onload=\"document.title='onload ran'\"><P id=p>text</P>"
                       "<SCRIPT>document.title='ran'; document.body.innerHTML='gone';</SCRIPT>"
                       "<IMG src=\"missing-picture.gif\" onerror=\"document.title='onerror ran'\">"
                       "<A href=\"http://example.invalid/\" id=link>link</A>"
                       "<META HTTP-EQUIV=Refresh content=\"1;url=other.htm\" id=second></BODY></HTML>"));
    const QUrl base = m_editor->View()->page()->url();
    QVERIFY(base.isLocalFile());
    // Time for a refresh, a failed picture and its handler.
    QTest::qWait(1500);
    QCOMPARE(Script(QStringLiteral("document.title")).toString(), QStringLiteral("kept"));
    QVERIFY(m_editor->BodyInnerHTML().contains(QLatin1String("<p id=\"p\">text</p>")));
    // The stored page keeps what it held, its refreshes included.
    const QString page = m_editor->DocumentHTML();
    QVERIFY2(
        page.contains(QLatin1String("<title>kept</title><meta http-equiv=\"refresh\" content=\"0;url=about:blank\">"
                                    "<script>document.title='head ran'</script>")),
        qPrintable(page));
    QVERIFY2(m_editor->BodyInnerHTML().endsWith(
                 QLatin1String("<meta http-equiv=\"Refresh\" content=\"1;url=other.htm\" id=\"second\">")),
             qPrintable(page));
    QCOMPARE(m_editor->View()->page()->url(), base);

    // Neither the program nor a click goes elsewhere.
    m_editor->View()->page()->load(QUrl::fromLocalFile(QDir::rootPath()));
    Script(QStringLiteral("document.getElementById('link').click()"));
    QTest::qWait(500);
    QCOMPARE(m_editor->View()->page()->url(), base);
    QCOMPARE(Script(QStringLiteral("document.title")).toString(), QStringLiteral("kept"));
    QVERIFY(!m_editor->IsDirty());
}

void tst_WebEngineHtmlEditor::boldOnSelectedWordLatches()
{
    Load(Page(QStringLiteral("<P>one two three</P>")));
    Select(QStringLiteral("two"));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::BOLD), int(Decmd::ENABLED));
    m_editor->ExecCommand(Decmd::BOLD);
    // Read right after the command, without waiting for a report.
    QCOMPARE(m_editor->QueryStatus(Decmd::BOLD), int(Decmd::LATCHED));
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>one <b>two</b> three</p>"));
    QVERIFY(m_editor->IsDirty());
    m_editor->ExecCommand(Decmd::UNDO);
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>one two three</p>"));
    QVERIFY(!m_editor->IsDirty());
}

void tst_WebEngineHtmlEditor::pushedStatesFollowTheCaret()
{
    Load(Page(
        QStringLiteral("<P><B>bold</B> plain <A href=\"x.htm\">link</A></P><TABLE><TR><TD>cell</TD></TR></TABLE>")));
    QSignalSpy changed(m_editor, &HtmlEditor::DisplayChanged);
    Select(QStringLiteral("bold"));
    // Selected text can be copied: the report is of the selection, not of the caret placed first.
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::COPY), int(Decmd::ENABLED));
    // The event follows the report once the page's message is delivered.
    QTRY_VERIFY(changed.count() > 0);
    QCOMPARE(m_editor->QueryStatus(Decmd::BOLD), int(Decmd::LATCHED));
    QCOMPARE(m_editor->QueryStatus(Decmd::UNLINK), int(Decmd::DISABLED));
    Select(QStringLiteral("link"));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::UNLINK), int(Decmd::ENABLED));
    QCOMPARE(m_editor->QueryStatus(Decmd::BOLD), int(Decmd::ENABLED));
    QCOMPARE(m_editor->QueryStatus(Decmd::INSERTROW), int(Decmd::DISABLED));
    Select(QStringLiteral("cell"));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::INSERTROW), int(Decmd::ENABLED));
    QCOMPARE(m_editor->QueryStatus(Decmd::DELETECOLS), int(Decmd::ENABLED));
}

// A description window reads the page and the caret's font as soon as either event comes; the
// events must not come while the page's message is still being delivered, or the answers never do.
void tst_WebEngineHtmlEditor::listenersMayAskTheEditor()
{
    QStringList answers;
    QStringList failures;
    const auto ask = [&](const char* event, const std::function<QString()>& question) {
        try {
            answers << QString::fromLatin1(event) + QLatin1Char(' ') + question();
        } catch (const std::exception& error) {
            failures << QString::fromLatin1(event) + QLatin1String(": ") + QString::fromUtf8(error.what());
        }
    };
    connect(m_editor, &HtmlEditor::DocumentComplete, this,
            [&] { ask("complete", [&] { return m_editor->DocumentHTML().contains("asked") ? "page" : "?"; }); });
    connect(m_editor, &HtmlEditor::DisplayChanged, this,
            [&] { ask("display", [&] { return m_editor->ExecCommand(Decmd::GETBLOCKFMT).toString(); }); });
    // The page reports once it is laid out.
    Load(Page(QStringLiteral("<H1>asked</H1>")));
    QTRY_VERIFY2_WITH_TIMEOUT(!answers.filter("display ").isEmpty() || !failures.isEmpty(),
                              qPrintable(answers.join('|')), 15000);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
    QVERIFY(answers.contains("complete page"));
}

// A procedure window's second pane may be hidden, and a hidden page draws no frames.
void tst_WebEngineHtmlEditor::hiddenPaneStillReports()
{
    Load(Page(QStringLiteral("<P>one <I>two</I></P>")));
    m_editor->SetVisible(false);
    QVERIFY(!m_editor->Visible());
    QTRY_COMPARE(Script(QStringLiteral("document.visibilityState")).toString(), QStringLiteral("hidden"));
    Select(QStringLiteral("two"));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::ITALIC), int(Decmd::LATCHED));
    m_editor->SetVisible(true);
    QVERIFY(m_editor->Visible());
    Select(QStringLiteral("one"));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::ITALIC), int(Decmd::ENABLED));
}

void tst_WebEngineHtmlEditor::rightClickAsksForTheWindowsMenu()
{
    Load(Page(QStringLiteral("<P>text</P>")));
    QSignalSpy menu(m_editor, &HtmlEditor::ShowContextMenu);
    QWidget* proxy = m_editor->View()->focusProxy();
    QVERIFY(proxy);
    const QPoint at(30, 12);
    QTest::mousePress(proxy, Qt::RightButton, {}, at);
    QTest::mouseRelease(proxy, Qt::RightButton, {}, at);
    QTRY_COMPARE(menu.count(), 1);
    QCOMPARE(menu.first().value(0).toInt(), at.x());
    QCOMPARE(menu.first().value(1).toInt(), at.y());
}

void tst_WebEngineHtmlEditor::copyAndPasteThroughTheClipboard()
{
    Load(Page(QStringLiteral("<P>one <B>two</B> three</P>")));
    m_editor->View()->setFocus();
    Select(QStringLiteral("two"));
    m_editor->ExecCommand(Decmd::COPY);
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("two"));
    Select(QStringLiteral("three"));
    m_editor->ExecCommand(Decmd::PASTE);
    // The browser keeps the space before the pasted word visible with a no-break space.
    QTRY_COMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>one <b>two</b>&nbsp;<b>two</b></p>"));
    Select(QStringLiteral("one"));
    m_editor->ExecCommand(Decmd::CUT);
    QTRY_VERIFY(!m_editor->BodyInnerHTML().contains(QLatin1String("one")));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("one"));
}

void tst_WebEngineHtmlEditor::typedCharacterMakesTheDocumentDirty()
{
    Load(Page(QStringLiteral("<P>ab</P>")));
    QVERIFY(!m_editor->IsDirty());
    QSignalSpy changed(m_editor, &HtmlEditor::DisplayChanged);
    QWidget* proxy = m_editor->View()->focusProxy();
    QVERIFY(proxy);
    m_editor->View()->setFocus();
    Script(QStringLiteral("document.body.focus(); getSelection().collapse(document.querySelector('p').firstChild, 2)"));
    QTest::keyClicks(proxy, QStringLiteral("x"));
    QTRY_COMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>abx</p>"));
    QVERIFY(m_editor->IsDirty());
    QTRY_VERIFY(changed.count() > 0);
    // A save reads the document, and the document stays changed against what was set.
    QVERIFY(m_editor->DocumentHTML().contains(QLatin1String("<p>abx</p>")));
    QVERIFY(m_editor->IsDirty());
}

void tst_WebEngineHtmlEditor::largePageOpensAndSavesWhole()
{
    // One emoji only: the font fallback of thousands would measure the fonts, not the editor.
    QString body = QStringLiteral("<P>\U0001F600 first</P>");
    int paragraphs = 1;
    while (body.size() < 3 * 1024 * 1024) {
        body += QStringLiteral("<P>Paragraph %1: check the main board and the supply</P>\n").arg(++paragraphs);
    }
    body += QStringLiteral("<P>last one</P>");
    LoadLaidOut(Page(body));
    const QString kept = m_editor->BodyInnerHTML();
    QCOMPARE(kept.count(QLatin1String("<p>")), paragraphs + 1);
    QVERIFY(kept.startsWith(QStringLiteral("<p>\U0001F600 first</p>")));
    QVERIFY(kept.endsWith(QLatin1String("<p>last one</p>")));
    QVERIFY(kept.contains(QStringLiteral("Paragraph %1: check the main board").arg(paragraphs)));
    const QString page = m_editor->DocumentHTML();
    QVERIFY(page.size() > 3 * 1024 * 1024);
    LoadLaidOut(page);
    QCOMPARE(m_editor->BodyInnerHTML(), kept);
    QVERIFY(!m_editor->IsDirty());
}

void tst_WebEngineHtmlEditor::blockFormatNamesAtOnce()
{
    // Before any document: the style list asks for them right after the first one is set.
    QCOMPARE(m_editor->QueryStatus(Decmd::GETBLOCKFMTNAMES), int(Decmd::ENABLED));
    const QStringList expected{
        QStringLiteral("Normal"),        QStringLiteral("Formatted"),       QStringLiteral("Address"),
        QStringLiteral("Heading 1"),     QStringLiteral("Heading 2"),       QStringLiteral("Heading 3"),
        QStringLiteral("Heading 4"),     QStringLiteral("Heading 5"),       QStringLiteral("Heading 6"),
        QStringLiteral("Numbered List"), QStringLiteral("Bulleted List"),   QStringLiteral("Directory List"),
        QStringLiteral("Menu List"),     QStringLiteral("Definition Term"), QStringLiteral("Definition")};
    QCOMPARE(m_editor->ExecCommand(Decmd::GETBLOCKFMTNAMES).toStringList(), expected);
    m_editor->SetDocumentHTML(Page(QStringLiteral("<P>x</P>")));
    QCOMPARE(m_editor->QueryStatus(Decmd::GETBLOCKFMTNAMES), int(Decmd::ENABLED));
}

void tst_WebEngineHtmlEditor::blockFormatsSetAndRead_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("tag");
    for (const QString& name : WebEngineHtmlEditor::BlockFormatNames()) {
        static const QHash<QString, QString> tags{{QStringLiteral("Normal"), QStringLiteral("p")},
                                                  {QStringLiteral("Formatted"), QStringLiteral("pre")},
                                                  {QStringLiteral("Address"), QStringLiteral("address")},
                                                  {QStringLiteral("Numbered List"), QStringLiteral("ol")},
                                                  {QStringLiteral("Bulleted List"), QStringLiteral("ul")},
                                                  {QStringLiteral("Directory List"), QStringLiteral("dir")},
                                                  {QStringLiteral("Menu List"), QStringLiteral("menu")},
                                                  {QStringLiteral("Definition Term"), QStringLiteral("dt")},
                                                  {QStringLiteral("Definition"), QStringLiteral("dd")}};
        const QString tag = tags.value(name, QStringLiteral("h") + name.right(1));
        QTest::newRow(qPrintable(name)) << name << tag;
    }
}

void tst_WebEngineHtmlEditor::blockFormatsSetAndRead()
{
    QFETCH(QString, format);
    QFETCH(QString, tag);
    Load(Page(QStringLiteral("<H2>start</H2><P>other</P>")));
    Select(QStringLiteral("start"));
    QCOMPARE(m_editor->ExecCommand(Decmd::GETBLOCKFMT).toString(), QStringLiteral("Heading 2"));
    m_editor->ExecCommand(Decmd::SETBLOCKFMT, Decmd::OPT_DODEFAULT, format);
    QCOMPARE(m_editor->ExecCommand(Decmd::GETBLOCKFMT).toString(), format);
    const QString body = m_editor->BodyInnerHTML();
    QVERIFY2(body.contains(QLatin1Char('<') + tag + QLatin1Char('>')), qPrintable(body));
    QVERIFY2(body.contains(QLatin1String("start")) && body.endsWith(QLatin1String("<p>other</p>")), qPrintable(body));
    // And back to a paragraph.
    m_editor->ExecCommand(Decmd::SETBLOCKFMT, Decmd::OPT_DODEFAULT, QStringLiteral("Normal"));
    QCOMPARE(m_editor->ExecCommand(Decmd::GETBLOCKFMT).toString(), QStringLiteral("Normal"));
    QVERIFY_THROWS_EXCEPTION(KvlError, m_editor->ExecCommand(Decmd::SETBLOCKFMT, 0, QStringLiteral("Caption")));
}

void tst_WebEngineHtmlEditor::fontValuesAndMixedSelection()
{
    Load(
        Page(QStringLiteral("<P><FONT face=\"Courier New\" size=5 color=#ff0000>red</FONT> plain "
                            "<SPAN style=\"background-color: #00ff00\">green</SPAN></P>")));
    Select(QStringLiteral("red"));
    QCOMPARE(m_editor->ExecCommand(Decmd::GETFONTNAME).toString(), QStringLiteral("Courier New"));
    QCOMPARE(m_editor->ExecCommand(Decmd::GETFONTSIZE).toInt(), 5);
    QCOMPARE(m_editor->ExecCommand(Decmd::GETFORECOLOR).toString(), QStringLiteral("#FF0000"));
    QCOMPARE(m_editor->QueryStatus(Decmd::GETFORECOLOR), int(Decmd::ENABLED));
    Select(QStringLiteral("green"));
    QCOMPARE(m_editor->ExecCommand(Decmd::GETBACKCOLOR).toString(), QStringLiteral("#00FF00"));
    QCOMPARE(m_editor->ExecCommand(Decmd::GETFONTSIZE).toInt(), 3);
    // Across both: the colour and size are ambiguous.
    Script(QStringLiteral("getSelection().selectAllChildren(document.querySelector('p'))"));
    m_editor->ExecCommand(Decmd::GETFORECOLOR);
    QCOMPARE(m_editor->QueryStatus(Decmd::GETFORECOLOR), int(Decmd::NINCHED));
    QCOMPARE(m_editor->QueryStatus(Decmd::GETFONTSIZE), int(Decmd::NINCHED));
    // Setting them writes what the style list and toolbar read back.
    Select(QStringLiteral("plain"));
    m_editor->ExecCommand(Decmd::SETFORECOLOR, Decmd::OPT_DONTPROMPTUSER, QStringLiteral("#0000FF"));
    m_editor->ExecCommand(Decmd::SETFONTSIZE, Decmd::OPT_DONTPROMPTUSER, 6);
    QCOMPARE(m_editor->ExecCommand(Decmd::GETFORECOLOR).toString(), QStringLiteral("#0000FF"));
    QCOMPARE(m_editor->ExecCommand(Decmd::GETFONTSIZE).toInt(), 6);
}

void tst_WebEngineHtmlEditor::commandsOnSelectedWord_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QVariant>("argument");
    QTest::addColumn<QString>("body");  // after the command on "two" of "<P>one two</P>"
    QTest::newRow("italic") << int(Decmd::ITALIC) << QVariant() << QStringLiteral("<p>one <i>two</i></p>");
    QTest::newRow("underline") << int(Decmd::UNDERLINE) << QVariant() << QStringLiteral("<p>one <u>two</u></p>");
    // The browser would put the list inside the paragraph, which reads back otherwise.
    QTest::newRow("numbers") << int(Decmd::ORDERLIST) << QVariant() << QStringLiteral("<ol><li>one two</li></ol>");
    QTest::newRow("bullets") << int(Decmd::UNORDERLIST) << QVariant() << QStringLiteral("<ul><li>one two</li></ul>");
    QTest::newRow("centre") << int(Decmd::JUSTIFYCENTER) << QVariant()
                            << QStringLiteral("<p style=\"text-align: center;\">one two</p>");
    QTest::newRow("fore colour") << int(Decmd::SETFORECOLOR) << QVariant(QStringLiteral("#008000"))
                                 << QStringLiteral("<p>one <font color=\"#008000\">two</font></p>");
    QTest::newRow("font name") << int(Decmd::SETFONTNAME) << QVariant(QStringLiteral("Arial"))
                               << QStringLiteral("<p>one <font face=\"Arial\">two</font></p>");
    QTest::newRow("font size") << int(Decmd::SETFONTSIZE) << QVariant(2)
                               << QStringLiteral("<p>one <font size=\"2\">two</font></p>");
    QTest::newRow("hyperlink") << int(Decmd::HYPERLINK) << QVariant(QStringLiteral("page.htm"))
                               << QStringLiteral("<p>one <a href=\"page.htm\">two</a></p>");
    QTest::newRow("picture") << int(Decmd::IMAGE) << QVariant(QStringLiteral("shot.png"))
                             << QStringLiteral("<p>one&nbsp;<img src=\"shot.png\"></p>");
    QTest::newRow("delete") << int(Decmd::DELETE) << QVariant() << QStringLiteral("<p>one&nbsp;</p>");
}

// What the toolbar and menus send, as the page keeps it.
void tst_WebEngineHtmlEditor::commandsOnSelectedWord()
{
    QFETCH(int, command);
    QFETCH(QVariant, argument);
    QFETCH(QString, body);
    Load(Page(QStringLiteral("<P>one two</P>")));
    Select(QStringLiteral("two"));
    m_editor->ExecCommand(command, Decmd::OPT_DONTPROMPTUSER, argument);
    QCOMPARE(m_editor->BodyInnerHTML(), body);
    QVERIFY(m_editor->IsDirty());
}

void tst_WebEngineHtmlEditor::listCommandsUndoAsOneStep_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("listed");
    QTest::newRow("numbers") << int(Decmd::ORDERLIST)
                             << QStringLiteral("<ol><li>one <b>x</b></li></ol><p>two</p><p>three</p>");
    QTest::newRow("bullets") << int(Decmd::UNORDERLIST)
                             << QStringLiteral("<ul><li>one <b>x</b></li></ul><p>two</p><p>three</p>");
}

// The browser makes the list of the first line inside the paragraph, from which it is lifted,
// the rest of the paragraph split off: the whole is one step, undone and redone exactly, and an
// edit of ours before it undoes and redoes in turn.
void tst_WebEngineHtmlEditor::listCommandsUndoAsOneStep()
{
    QFETCH(int, command);
    QFETCH(QString, listed);
    Load(Page(QStringLiteral("<P>one two</P><P>three</P>")));
    const QString original = m_editor->BodyInnerHTML();
    Script(QStringLiteral("getSelection().collapse(document.querySelector('p').firstChild, 4)"));
    m_editor->PasteHTML(QStringLiteral("<B>x</B><BR>"));
    const QString pasted = m_editor->BodyInnerHTML();
    QCOMPARE(pasted, QStringLiteral("<p>one <b>x</b><br>two</p><p>three</p>"));
    Select(QStringLiteral("one"));
    m_editor->ExecCommand(command);
    QCOMPARE(m_editor->BodyInnerHTML(), listed);
    m_editor->ExecCommand(Decmd::UNDO);
    QCOMPARE(m_editor->BodyInnerHTML(), pasted);
    m_editor->ExecCommand(Decmd::UNDO);
    QCOMPARE(m_editor->BodyInnerHTML(), original);
    QVERIFY(!m_editor->IsDirty());
    m_editor->ExecCommand(Decmd::REDO);
    QCOMPARE(m_editor->BodyInnerHTML(), pasted);
    m_editor->ExecCommand(Decmd::REDO);
    QCOMPARE(m_editor->BodyInnerHTML(), listed);
}

void tst_WebEngineHtmlEditor::blockFormatsUndoAsOneStep_data()
{
    QTest::addColumn<QString>("list");    // the list's tag in the document
    QTest::addColumn<QString>("format");  // set with "mid" selected
    QTest::addColumn<QString>("made");    // what the body then holds
    QTest::newRow("menu list") << "UL"
                               << "Menu List"
                               << "<menu><li>first</li>";
    QTest::newRow("directory list") << "UL"
                                    << "Directory List"
                                    << "<dir><li>first</li>";
    QTest::newRow("numbered list") << "UL"
                                   << "Numbered List"
                                   << "<ol><li>first</li>";
    // A directory list is made bulleted for the browser to end it.
    QTest::newRow("heading out of a directory list") << "DIR"
                                                     << "Heading 1"
                                                     << "<h1>mid</h1>";
}

// A block format renames a list, or ends it, with the browser's commands and our own changes in
// turn: the whole is one step, and the list items pasted before it come back with their step.
void tst_WebEngineHtmlEditor::blockFormatsUndoAsOneStep()
{
    QFETCH(QString, list);
    QFETCH(QString, format);
    QFETCH(QString, made);
    Load(Page(QStringLiteral("<%1><LI>first</LI><LI>last</LI></%1><P>after</P>").arg(list)));
    const QString original = m_editor->BodyInnerHTML();
    Script(QStringLiteral("getSelection().collapse(document.querySelector('li').parentNode, 1)"));
    m_editor->PasteHTML(QStringLiteral("<LI>mid</LI><LI>mid2</LI>"));
    const QString pasted = m_editor->BodyInnerHTML();
    QCOMPARE(pasted, QString(original).replace(QLatin1String("<li>first</li>"),
                                               QLatin1String("<li>first</li><li>mid</li><li>mid2</li>")));
    Select(QStringLiteral("mid"));
    m_editor->ExecCommand(Decmd::SETBLOCKFMT, Decmd::OPT_DODEFAULT, format);
    const QString formatted = m_editor->BodyInnerHTML();
    QVERIFY2(formatted.contains(made) && formatted.contains(QLatin1String("mid2")), qPrintable(formatted));
    m_editor->ExecCommand(Decmd::UNDO);
    QCOMPARE(m_editor->BodyInnerHTML(), pasted);
    m_editor->ExecCommand(Decmd::UNDO);
    QCOMPARE(m_editor->BodyInnerHTML(), original);
    m_editor->ExecCommand(Decmd::REDO);
    QCOMPARE(m_editor->BodyInnerHTML(), pasted);
    m_editor->ExecCommand(Decmd::REDO);
    QCOMPARE(m_editor->BodyInnerHTML(), formatted);
    QVERIFY(m_prompts->Messages().isEmpty());
    QCOMPARE(m_environment->BugLog(), QString());
}

// An edit whose undo no longer fits the page, changed behind the editor's back, is taken back
// whole: the page stays as it was, and the failure is logged.
void tst_WebEngineHtmlEditor::failedUndoLeavesTheDocumentWhole()
{
    Load(Page(QStringLiteral("<P>one</P><P>two</P><P>three</P>")));
    SelectAcross(QStringLiteral("ne"), QStringLiteral("th"));
    m_editor->PasteHTML(QStringLiteral("<B>x</B>"));
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>o</p><b>x</b><p>ree</p>"));
    // The paragraph the removed one went before is moved elsewhere.
    Script(
        QStringLiteral("const last = document.querySelectorAll('p')[1]; const holder = document.createElement('div');"
                       " last.before(holder); holder.append(last);"));
    const QString moved = m_editor->BodyInnerHTML();
    QCOMPARE(moved, QStringLiteral("<p>o</p><b>x</b><div><p>ree</p></div>"));
    m_editor->ExecCommand(Decmd::UNDO);
    QCOMPARE(m_editor->BodyInnerHTML(), moved);
    QTRY_VERIFY(m_environment->BugLog().contains(QLatin1String("Error_EditorUndo : ")));
}

void tst_WebEngineHtmlEditor::tableCommands_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("selection");  // the cell of the caret, or "first..last" cells
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("expected");

    const auto rows = [](const QString& rows) {
        return QStringLiteral("<table border=\"1\"><tbody>") + rows + QStringLiteral("</tbody></table>");
    };
    const QString wide = rows(QStringLiteral("<tr><td colspan=\"2\">wide</td></tr><tr><td>one</td><td>two</td></tr>"));
    QTest::newRow("row below, under a wide cell")
        << wide << "wide" << int(Decmd::INSERTROW)
        << rows(
               "<tr><td colspan=\"2\">wide</td></tr><tr><td colspan=\"2\">&nbsp;</td></tr>"
               "<tr><td>one</td><td>two</td></tr>");
    QTest::newRow("column right, a wide cell widened")
        << wide << "one" << int(Decmd::INSERTCOL)
        << rows("<tr><td colspan=\"3\">wide</td></tr><tr><td>one</td><td>&nbsp;</td><td>two</td></tr>");
    QTest::newRow("cell after")
        << wide << "one" << int(Decmd::INSERTCELL)
        << rows("<tr><td colspan=\"2\">wide</td></tr><tr><td>one</td><td>&nbsp;</td><td>two</td></tr>");
    QTest::newRow("merge a row")
        << wide << "one..two" << int(Decmd::MERGECELLS)
        << rows("<tr><td colspan=\"2\">wide</td></tr><tr><td colspan=\"2\">one<br>two</td></tr>");
    // The merged cell's second row is left empty: it goes, and the span with it.
    QTest::newRow("merge the whole table")
        << wide << "wide..two" << int(Decmd::MERGECELLS) << rows("<tr><td colspan=\"2\">wide<br>one<br>two</td></tr>");
    QTest::newRow("split a wide cell") << wide << "wide" << int(Decmd::SPLITCELL)
                                       << rows(
                                              "<tr><td>wide</td><td>&nbsp;</td></tr><tr><td>one</td><td>two</td></tr>");
    QTest::newRow("delete a column under a wide cell")
        << wide << "two" << int(Decmd::DELETECOLS) << rows("<tr><td>wide</td></tr><tr><td>one</td></tr>");
    QTest::newRow("delete cells of a row")
        << wide << "one..two" << int(Decmd::DELETECELLS) << rows("<tr><td colspan=\"2\">wide</td></tr>");

    const QString tall = rows(QStringLiteral(
        "<tr><td rowspan=\"2\">tall</td><td>b</td></tr><tr><td>c</td></tr><tr><td>d</td><td>e</td></tr>"));
    QTest::newRow("row below, a tall cell lengthened")
        << tall << "b" << int(Decmd::INSERTROW)
        << rows(
               "<tr><td rowspan=\"3\">tall</td><td>b</td></tr><tr><td>&nbsp;</td></tr><tr><td>c</td></tr>"
               "<tr><td>d</td><td>e</td></tr>");
    QTest::newRow("column right of a tall cell")
        << tall << "tall" << int(Decmd::INSERTCOL)
        << rows(
               "<tr><td rowspan=\"2\">tall</td><td rowspan=\"2\">&nbsp;</td><td>b</td></tr><tr><td>c</td></tr>"
               "<tr><td>d</td><td>&nbsp;</td><td>e</td></tr>");
    QTest::newRow("delete the first row of a tall cell")
        << tall << "b" << int(Decmd::DELETEROWS)
        << rows("<tr><td>tall</td><td>c</td></tr><tr><td>d</td><td>e</td></tr>");
    QTest::newRow("merge down beside a tall cell")
        << tall << "b..c" << int(Decmd::MERGECELLS)
        << rows("<tr><td>tall</td><td>b<br>c</td></tr><tr><td>d</td><td>e</td></tr>");
    QTest::newRow("split a tall cell")
        << tall << "tall" << int(Decmd::SPLITCELL)
        << rows("<tr><td>tall</td><td>b</td></tr><tr><td>&nbsp;</td><td>c</td></tr><tr><td>d</td><td>e</td></tr>");

    // A cell spanning rows or columns counts as in the row and column it starts in; the rows and
    // columns it reaches beyond them keep their cells, and it keeps its content.
    const QString taller =
        rows(QStringLiteral("<tr><td rowspan=\"3\">tall</td><td>a</td></tr><tr><td>b</td></tr><tr><td>c</td></tr>"));
    QTest::newRow("delete the row a tall cell starts in")
        << taller << "tall" << int(Decmd::DELETEROWS)
        << rows("<tr><td rowspan=\"2\">tall</td><td>b</td></tr><tr><td>c</td></tr>");
    QTest::newRow("delete the rows of a selection from a tall cell")
        << taller << "tall..b" << int(Decmd::DELETEROWS) << rows("<tr><td>tall</td><td>c</td></tr>");
    QTest::newRow("delete a middle row through a tall cell")
        << taller << "b" << int(Decmd::DELETEROWS)
        << rows("<tr><td rowspan=\"2\">tall</td><td>a</td></tr><tr><td>c</td></tr>");
    QTest::newRow("row below the row a tall cell starts in")
        << taller << "tall" << int(Decmd::INSERTROW)
        << rows(
               "<tr><td rowspan=\"4\">tall</td><td>a</td></tr><tr><td>&nbsp;</td></tr><tr><td>b</td></tr>"
               "<tr><td>c</td></tr>");
    QTest::newRow("delete the column a wide cell starts in")
        << wide << "wide" << int(Decmd::DELETECOLS) << rows("<tr><td>wide</td></tr><tr><td>two</td></tr>");
    QTest::newRow("column right of the column a wide cell starts in")
        << wide << "wide" << int(Decmd::INSERTCOL)
        << rows("<tr><td colspan=\"3\">wide</td></tr><tr><td>one</td><td>&nbsp;</td><td>two</td></tr>");
    const QString wider = rows(QStringLiteral(
        "<tr><td>a</td><td colspan=\"2\">wide</td><td>b</td></tr><tr><td>c</td><td>d</td><td>e</td><td>f</td></tr>"));
    QTest::newRow("delete the columns of a selection into a wide cell")
        << wider << "a..wide" << int(Decmd::DELETECOLS)
        << rows("<tr><td>wide</td><td>b</td></tr><tr><td>e</td><td>f</td></tr>");

    const QString ragged = rows(QStringLiteral("<tr><td>a</td><td>b</td><td>c</td></tr><tr><td>d</td></tr>"));
    QTest::newRow("ragged: column right, the short row left short")
        << ragged << "b" << int(Decmd::INSERTCOL)
        << rows("<tr><td>a</td><td>b</td><td>&nbsp;</td><td>c</td></tr><tr><td>d</td></tr>");
    QTest::newRow("ragged: row below the short row")
        << ragged << "d" << int(Decmd::INSERTROW)
        << rows("<tr><td>a</td><td>b</td><td>c</td></tr><tr><td>d</td></tr><tr><td>&nbsp;</td></tr>");
    QTest::newRow("ragged: the short row's only column")
        << ragged << "d" << int(Decmd::DELETECOLS) << rows("<tr><td>b</td><td>c</td></tr>");
    QTest::newRow("span past the right edge") << rows("<tr><td colspan=\"5\">x</td></tr><tr><td>y</td></tr>") << "y"
                                              << int(Decmd::DELETECOLS) << rows("<tr><td colspan=\"4\">x</td></tr>");
    // The browser ends the span with the table; the new row must not fall under it.
    QTest::newRow("span past the bottom edge")
        << rows("<tr><td rowspan=\"4\">p</td><td>q</td></tr><tr><td>r</td></tr>") << "r" << int(Decmd::INSERTROW)
        << rows(
               "<tr><td rowspan=\"2\">p</td><td>q</td></tr><tr><td>r</td></tr><tr><td>&nbsp;</td><td>&nbsp;</td></tr>");

    const QString headed = QStringLiteral(
        "<table><thead><tr><th>h1</th><th>h2</th></tr></thead><tbody><tr><td>a</td><td>b</td></tr></tbody></table>");
    QTest::newRow("heading row below a heading row")
        << headed << "h1" << int(Decmd::INSERTROW)
        << QStringLiteral(
               "<table><thead><tr><th>h1</th><th>h2</th></tr><tr><th>&nbsp;</th><th>&nbsp;</th></tr></thead>"
               "<tbody><tr><td>a</td><td>b</td></tr></tbody></table>");
    QTest::newRow("column through head and body")
        << headed << "h1" << int(Decmd::INSERTCOL)
        << QStringLiteral(
               "<table><thead><tr><th>h1</th><th>&nbsp;</th><th>h2</th></tr></thead>"
               "<tbody><tr><td>a</td><td>&nbsp;</td><td>b</td></tr></tbody></table>");
    QTest::newRow("the head's only row") << headed << "h2" << int(Decmd::DELETEROWS)
                                         << QStringLiteral(
                                                "<table><tbody><tr><td>a</td><td>b</td></tr></tbody></table>");

    const QString nested =
        rows(QStringLiteral("<tr><td>out<table><tbody><tr><td>in</td></tr></tbody></table></td><td>side</td></tr>"));
    QTest::newRow("nested: the inner table at the caret")
        << nested << "in" << int(Decmd::INSERTROW)
        << rows(
               "<tr><td>out<table><tbody><tr><td>in</td></tr><tr><td>&nbsp;</td></tr></tbody></table></td>"
               "<td>side</td></tr>");
    QTest::newRow("nested: the outer table's other column")
        << nested << "side" << int(Decmd::DELETECOLS)
        << rows("<tr><td>out<table><tbody><tr><td>in</td></tr></tbody></table></td></tr>");

    const QString single = QStringLiteral("<p>before</p>") + rows(QStringLiteral("<tr><td>only</td></tr>")) +
                           QStringLiteral("<p>after</p>");
    QTest::newRow("the last row takes the table")
        << single << "only" << int(Decmd::DELETEROWS) << QStringLiteral("<p>before</p><p>after</p>");
    QTest::newRow("the last column takes the table")
        << single << "only" << int(Decmd::DELETECOLS) << QStringLiteral("<p>before</p><p>after</p>");
}

// Each command is compared, parsed, with the table it should leave, then undone and redone as
// one step.
void tst_WebEngineHtmlEditor::tableCommands()
{
    QFETCH(QString, table);
    QFETCH(QString, selection);
    QFETCH(int, command);
    QFETCH(QString, expected);
    Load(Page(table));
    const QString original = Parsed(m_editor->BodyInnerHTML());
    const QStringList cells = selection.split(QLatin1String(".."));
    if (cells.size() == 1)
        Select(cells[0]);
    else
        SelectAcross(cells[0], cells[1]);
    QTRY_COMPARE(m_editor->QueryStatus(command), int(Decmd::ENABLED));
    m_editor->ExecCommand(command);
    QCOMPARE(Parsed(m_editor->BodyInnerHTML()), Parsed(expected));
    QVERIFY(m_editor->IsDirty());
    m_editor->ExecCommand(Decmd::UNDO);
    QCOMPARE(Parsed(m_editor->BodyInnerHTML()), original);
    QVERIFY(!m_editor->IsDirty());
    m_editor->ExecCommand(Decmd::REDO);
    QCOMPARE(Parsed(m_editor->BodyInnerHTML()), Parsed(expected));
}

void tst_WebEngineHtmlEditor::cellCommandStates()
{
    Load(
        Page(QStringLiteral("<P>start</P><TABLE><TR><TD rowspan=2>tall</TD><TD>b</TD></TR><TR><TD>c</TD></TR>"
                            "<TR><TD>d</TD><TD>e</TD></TR></TABLE>")));
    Select(QStringLiteral("start"));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::INSERTROW), int(Decmd::DISABLED));
    for (const int command : {Decmd::INSERTCOL, Decmd::INSERTCELL, Decmd::DELETEROWS, Decmd::DELETECOLS,
                              Decmd::DELETECELLS, Decmd::MERGECELLS, Decmd::SPLITCELL}) {
        QCOMPARE(m_editor->QueryStatus(command), int(Decmd::DISABLED));
        QVERIFY_THROWS_EXCEPTION(KvlError, m_editor->ExecCommand(command));
    }
    // A single cell merges with nothing; only a cell that spans splits.
    Select(QStringLiteral("b"));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::INSERTROW), int(Decmd::ENABLED));
    QCOMPARE(m_editor->QueryStatus(Decmd::MERGECELLS), int(Decmd::DISABLED));
    QCOMPARE(m_editor->QueryStatus(Decmd::SPLITCELL), int(Decmd::DISABLED));
    Select(QStringLiteral("tall"));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::SPLITCELL), int(Decmd::ENABLED));
    // c and d make an L, not a rectangle: merging them is refused and changes nothing.
    SelectAcross(QStringLiteral("c"), QStringLiteral("d"));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::DELETECELLS), int(Decmd::ENABLED));
    QCOMPARE(m_editor->QueryStatus(Decmd::MERGECELLS), int(Decmd::DISABLED));
    const QString before = m_editor->BodyInnerHTML();
    QVERIFY_THROWS_EXCEPTION(KvlError, m_editor->ExecCommand(Decmd::MERGECELLS));
    QCOMPARE(m_editor->BodyInnerHTML(), before);
    QVERIFY(!m_editor->IsDirty());
    SelectAcross(QStringLiteral("d"), QStringLiteral("e"));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::MERGECELLS), int(Decmd::ENABLED));
}

// The browser's undo list holds typing and cell commands in the order they were made, whether
// undone from the menu or the keyboard.
void tst_WebEngineHtmlEditor::cellCommandsUndoInTurnWithTyping()
{
    Load(Page(QStringLiteral("<TABLE><TR><TD>ab</TD></TR></TABLE>")));
    QWidget* proxy = m_editor->View()->focusProxy();
    QVERIFY(proxy);
    m_editor->View()->setFocus();
    Script(
        QStringLiteral("document.body.focus(); getSelection().collapse(document.querySelector('td').firstChild, 2)"));
    QTest::keyClicks(proxy, QStringLiteral("x"));
    QTRY_COMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<table><tbody><tr><td>abx</td></tr></tbody></table>"));
    m_editor->ExecCommand(Decmd::INSERTROW);
    QTest::keyClicks(proxy, QStringLiteral("y"));
    const QString all = QStringLiteral("<table><tbody><tr><td>abxy</td></tr><tr><td>&nbsp;</td></tr></tbody></table>");
    QTRY_COMPARE(m_editor->BodyInnerHTML(), all);
    QTest::keyClick(proxy, Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(m_editor->BodyInnerHTML(),
                 QStringLiteral("<table><tbody><tr><td>abx</td></tr><tr><td>&nbsp;</td></tr></tbody></table>"));
    m_editor->ExecCommand(Decmd::UNDO);
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<table><tbody><tr><td>abx</td></tr></tbody></table>"));
    QVERIFY(m_editor->IsDirty());
    QTest::keyClick(proxy, Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<table><tbody><tr><td>ab</td></tr></tbody></table>"));
    QVERIFY(!m_editor->IsDirty());
    for (int i = 0; i < 3; ++i)
        m_editor->ExecCommand(Decmd::REDO);
    QCOMPARE(m_editor->BodyInnerHTML(), all);
    // The caret is back in the cell: typing goes on there.
    QTest::keyClicks(proxy, QStringLiteral("z"));
    QTRY_VERIFY(m_editor->BodyInnerHTML().contains(QLatin1String("<td>abxyz</td>")));
}

void tst_WebEngineHtmlEditor::pasteHtml_data()
{
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("selection");  // "" for the caret before "two"
    QTest::addColumn<QString>("expected");   // in "<P>one two <B>three</B></P>"
    const QString pageBreak = QStringLiteral("<br style='page-break-before:always'>");
    QTest::newRow("page break at the caret") << pageBreak << ""
                                             << "<p>one <br style=\"page-break-before:always\">two <b>three</b></p>";
    QTest::newRow("page break over a word") << pageBreak << "two"
                                            << "<p>one <br style=\"page-break-before:always\"> <b>three</b></p>";
    QTest::newRow("rule") << "<HR>"
                          << ""
                          << "<p>one </p><hr><p>two <b>three</b></p>";
    QTest::newRow("line break") << "<br>"
                                << "two"
                                << "<p>one <br> <b>three</b></p>";
    QTest::newRow("picture paragraph")
        << "<P><IMG  src=\"/tmp/a b/\u00e9'x.bmp\" align=baseline border=0 width =\"100%\"></P>"
        << ""
        << "<p>one </p><p><img src=\"/tmp/a b/\u00e9'x.bmp\" align=\"baseline\" border=\"0\" width=\"100%\"></p>"
           "<p>two <b>three</b></p>";
}

// The fragment goes in as written, as one step the user can undo and redo.
void tst_WebEngineHtmlEditor::pasteHtml()
{
    QFETCH(QString, fragment);
    QFETCH(QString, selection);
    QFETCH(QString, expected);
    Load(Page(QStringLiteral("<P>one two <B>three</B></P>")));
    if (selection.isEmpty())
        Script(QStringLiteral("getSelection().collapse(document.querySelector('p').firstChild, 4)"));
    else
        Select(selection);
    m_editor->PasteHTML(fragment);
    QCOMPARE(Parsed(m_editor->BodyInnerHTML()), Parsed(expected));
    QVERIFY(m_editor->IsDirty());
    m_editor->ExecCommand(Decmd::UNDO);
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>one two <b>three</b></p>"));
    QVERIFY(!m_editor->IsDirty());
    m_editor->ExecCommand(Decmd::REDO);
    QCOMPARE(Parsed(m_editor->BodyInnerHTML()), Parsed(expected));
}

void tst_WebEngineHtmlEditor::insertAtSelectionStart_data()
{
    QTest::addColumn<QString>("first");     // the selection from the start of this text
    QTest::addColumn<QString>("last");      // to the end of this one; "" for a caret
    QTest::addColumn<QString>("expected");  // in "<P>one two <B>three</B></P><P>four</P>"
    const QString marker = QStringLiteral("<span id=\"cursor\" style=\"DISPLAY: none\"></span>");
    QTest::newRow("caret") << "two"
                           << ""
                           << "<p>one " + marker + "two <b>three</b></p><p>four</p>";
    QTest::newRow("word") << "two"
                          << "two"
                          << "<p>one " + marker + "two <b>three</b></p><p>four</p>";
    QTest::newRow("across paragraphs") << "three"
                                       << "four"
                                       << "<p>one two <b>" + marker + "three</b></p><p>four</p>";
}

// The marker goes in before the selection, whose content and extent stay as they were.
void tst_WebEngineHtmlEditor::insertAtSelectionStart()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, expected);
    Load(Page(QStringLiteral("<P>one two <B>three</B></P><P>four</P>")));
    if (last.isEmpty()) {
        Select(first);
        Script(QStringLiteral("getSelection().collapseToStart()"));
    } else {
        SelectAcross(first, last);
    }
    const QString selected = Script(QStringLiteral("getSelection().toString()")).toString();
    m_editor->InsertHTMLAtSelectionStart(QStringLiteral("<SPAN id=cursor style=\"DISPLAY: none\"></SPAN>"));
    QCOMPARE(m_editor->BodyInnerHTML(), expected);
    QCOMPARE(Script(QStringLiteral("getSelection().toString()")).toString(), selected);
}

// A reload shows the new text and completes like a load, but what the user's edits are measured
// against stays the document last set: an edited reload is dirty, the set text reloaded is not.
void tst_WebEngineHtmlEditor::reloadKeepsTheDirtyBaseline()
{
    const QString page = Page(QStringLiteral("<P>one</P>"));
    Load(page);
    const QString serialised = m_editor->DocumentHTML();
    QSignalSpy complete(m_editor, &HtmlEditor::DocumentComplete);
    m_editor->ReloadDocumentHTML(Page(QStringLiteral("<P>edited</P>")));
    QVERIFY(complete.wait(10000));
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>edited</p>"));
    QVERIFY(m_editor->IsDirty());

    m_editor->ReloadDocumentHTML(serialised);
    QVERIFY(complete.wait(10000));
    QCOMPARE(m_editor->DocumentHTML(), serialised);
    QVERIFY(!m_editor->IsDirty());

    // An empty source gives an empty document, an edit of a document that had a body.
    m_editor->ReloadDocumentHTML(QString());
    QVERIFY(complete.wait(10000));
    QCOMPARE(m_editor->BodyInnerHTML(), QString());
    QVERIFY(m_editor->IsDirty());
}

// A source typed by hand is parsed as the engine parses it, and nothing in it runs or navigates.
void tst_WebEngineHtmlEditor::reloadedSourceNeverRuns()
{
    Load(Page(QStringLiteral("<P>one</P>")));
    const QUrl base = m_editor->View()->page()->url();
    QSignalSpy complete(m_editor, &HtmlEditor::DocumentComplete);
    m_editor->ReloadDocumentHTML(
        QStringLiteral("<title>kept</title><meta http-equiv=refresh content=\"0;url=about:blank\">"
                       "<script>document.title='ran'</script>plain <b>text & <i>unclosed"));
    QVERIFY(complete.wait(10000));
    QTest::qWait(1000);
    QCOMPARE(Script(QStringLiteral("document.title")).toString(), QStringLiteral("kept"));
    QCOMPARE(m_editor->View()->page()->url(), base);
    // The script before any text belongs to the head, where the engine's parser puts it.
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("plain <b>text &amp; <i>unclosed</i></b>"));
    QVERIFY(m_editor->DocumentHTML().contains(QLatin1String("<script>document.title='ran'</script></head>")));
}

// The main window's Edit > Paste has the same key as the browser's own paste: one key press
// pastes once. An explorer item copied as text never goes in, whichever way it is pasted.
void tst_WebEngineHtmlEditor::pasteOnceAndNeverAnExplorerItem()
{
    int pastes = 0;
    auto* paste = new QAction(QStringLiteral("&Paste"), m_host.get());
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(paste, &QAction::triggered, this, [&] {
        ++pastes;
        m_editor->ExecCommand(Decmd::PASTE);
    });
    m_host->addAction(paste);
    Load(Page(QStringLiteral("<P>ab</P>")));
    QWidget* proxy = m_editor->View()->focusProxy();
    QVERIFY(proxy);
    m_editor->View()->setFocus();
    Script(QStringLiteral("document.body.focus(); getSelection().collapse(document.querySelector('p').firstChild, 1)"));
    QGuiApplication::clipboard()->setText(QStringLiteral("X"));
    QTest::keyClick(proxy, Qt::Key_V, Qt::ControlModifier);
    QTRY_COMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>aXb</p>"));
    QTest::qWait(300);
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>aXb</p>"));

    QGuiApplication::clipboard()->setText(QStringLiteral("Procedure \u00a4 12"));
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Procedure \u00a4 12"));
    QTest::keyClick(proxy, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(proxy, Qt::Key_Insert, Qt::ShiftModifier);
    m_editor->ExecCommand(Decmd::PASTE);
    paste->trigger();
    QTest::qWait(300);
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>aXb</p>"));
    // The menu's paste still pastes text.
    QGuiApplication::clipboard()->setText(QStringLiteral("Y"));
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Y"));
    paste->trigger();
    QTRY_COMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>aXYb</p>"));
}

// An explorer item dragged in is text marked with "¤", as when copied: dropped, it never goes
// in, where other text does.
void tst_WebEngineHtmlEditor::explorerItemNeverDropped()
{
    Load(Page(QStringLiteral("<P>ab</P>")));
    const QVariantList box =
        Script(QStringLiteral("(() => { const box = document.querySelector('p').getBoundingClientRect();"
                              " return [box.left + 2, box.top + box.height / 2]; })()"))
            .toList();
    QCOMPARE(box.size(), 2);
    const QPoint at(qRound(box[0].toDouble()), qRound(box[1].toDouble()));
    QWebEngineView* view = m_editor->View();
    const auto drop = [&](const QString& text) {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view, &move);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view, &dropped);
    };
    drop(QStringLiteral("Procedure \u00a4 12"));
    QTest::qWait(500);
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>ab</p>"));
    drop(QStringLiteral("X"));
    QTRY_VERIFY2(m_editor->BodyInnerHTML().contains(QLatin1Char('X')), qPrintable(m_editor->BodyInnerHTML()));
}

void tst_WebEngineHtmlEditor::tableSelectedAsAWhole()
{
    Load(
        Page(QStringLiteral("<P>before</P><TABLE id=t border=8 cellSpacing=6><TR><TD>in a cell</TD></TR></TABLE>"
                            "<P>after <IMG src=\"shot.png\" width=20 height=20></P>")));
    const QString tag = QStringLiteral("<table id=\"t\" border=\"8\" cellspacing=\"6\">");
    Select(QStringLiteral("in a cell"));
    QCOMPARE(m_editor->SelectedTable(), QString());
    QVERIFY_THROWS_EXCEPTION(KvlError, m_editor->SetSelectedTableAttributes({{QStringLiteral("border"), "1"}}));
    Script(QStringLiteral("getSelection().selectAllChildren(document.querySelector('p:last-of-type'))"));
    QCOMPARE(m_editor->SelectedTable(), QString());

    // A click on the left border, half way down.
    const QVariantList border =
        Script(QStringLiteral("(() => { const box = document.getElementById('t').getBoundingClientRect();"
                              " return [box.left + 3, box.top + box.height / 2]; })()"))
            .toList();
    QCOMPARE(border.size(), 2);
    const QPoint at(qRound(border[0].toDouble()), qRound(border[1].toDouble()));
    QWidget* proxy = m_editor->View()->focusProxy();
    QVERIFY(proxy);
    QCOMPARE(Script(QStringLiteral("document.elementFromPoint(%1, %2).tagName").arg(at.x()).arg(at.y())).toString(),
             QStringLiteral("TABLE"));
    QTest::mouseClick(proxy, Qt::LeftButton, {}, at);
    QTRY_COMPARE(m_editor->SelectedTable(), tag);
    // Held while the selection stays there.
    QTest::qWait(200);
    QCOMPARE(m_editor->SelectedTable(), tag);

    // Edit > Properties opens the dialog on that table, filled from it.
    {
        QList<TableDialogFields> shown;
        TableDialog::SetFactory([&shown] { return std::make_unique<RecordingTableDialog>(&shown); });
        const auto restore = qScopeGuard([] { TableDialog::SetFactory({}); });
        OnePaneForm form(m_editor);
        OpenForms::SetActive(&form);
        EditorCommands({}).mnuEditProperties_Click();
        QCOMPARE(shown.size(), 1);
        QVERIFY(!shown.first().rowsAndColsPageEnabled);
        QCOMPARE(shown.first().txtBorder, QStringLiteral("8"));
        QCOMPARE(shown.first().txtSpacing, QStringLiteral("6"));
    }

    m_editor->SetSelectedTableAttributes({{QStringLiteral("border"), QStringLiteral("2")},
                                          {QStringLiteral("cellSpacing"), QString()},
                                          {QStringLiteral("bgColor"), QStringLiteral("#FFFFCC")}});
    QCOMPARE(m_editor->SelectedTable(), QStringLiteral("<table id=\"t\" border=\"2\" bgcolor=\"#FFFFCC\">"));
    QVERIFY(m_editor->IsDirty());
    m_editor->ExecCommand(Decmd::UNDO);
    QVERIFY(m_editor->BodyInnerHTML().contains(tag));
    QVERIFY(!m_editor->IsDirty());

    // A click in the cell moves the selection off the table.
    const QVariantList cell =
        Script(QStringLiteral("(() => { const box = document.querySelector('td').getBoundingClientRect();"
                              " return [box.left + box.width / 2, box.top + box.height / 2]; })()"))
            .toList();
    QTest::mouseClick(proxy, Qt::LeftButton, {}, QPoint(qRound(cell[0].toDouble()), qRound(cell[1].toDouble())));
    QTRY_COMPARE(m_editor->SelectedTable(), QString());
    // A selection from the paragraph's end before to the start of the one after holds the table alone.
    Script(
        QStringLiteral("getSelection().setBaseAndExtent(document.querySelector('p').firstChild, 6,"
                       " document.querySelector('p:last-of-type').firstChild, 0)"));
    QCOMPARE(m_editor->SelectedTable(), tag);
    Script(
        QStringLiteral("getSelection().setBaseAndExtent(document.querySelector('p').firstChild, 2,"
                       " document.querySelector('p:last-of-type').firstChild, 0)"));
    QCOMPARE(m_editor->SelectedTable(), QString());
}

void tst_WebEngineHtmlEditor::hyperlinkAskedFor()
{
    Load(Page(QStringLiteral("<P>one two</P>")));
    Select(QStringLiteral("two"));
    // Cancelled: nothing changes, and the caller is told.
    ExpectCancelled(*m_editor, Decmd::HYPERLINK);
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>one two</p>"));
    QVERIFY(m_prompts->Messages().isEmpty());
    const QString url = QStringLiteral("http://host/a \"quoted\" 'name'.htm?x=1&y=<2>");
    m_prompts->Push(url);
    m_editor->ExecCommand(Decmd::HYPERLINK);
    QCOMPARE(m_prompts->History().size(), 2);
    QCOMPARE(m_prompts->History().last().caption, QStringLiteral("Hyperlink"));
    const QString body = m_editor->BodyInnerHTML();
    const HtmlDocument parsed(body);
    const QList<HtmlElement> links = parsed.ElementsByTag(QStringLiteral("a"));
    QCOMPARE(links.size(), 1);
    QCOMPARE(links[0].Attribute(QStringLiteral("href")), url);
    QCOMPARE(links[0].attributes.size(), 1);
    QCOMPARE(Parsed(body), QStringLiteral("<p>one <a href=%1>two</a></p>").arg(url));
}

void tst_WebEngineHtmlEditor::pictureAskedFor_data()
{
    QTest::addColumn<QString>("storeImage");
    QTest::newRow("stored: a copy in the temporary folder") << QStringLiteral("1");
    QTest::newRow("not stored: the file itself") << QStringLiteral("0");
}

// The picture shows, and a save stores it, whatever its path holds.
void tst_WebEngineHtmlEditor::pictureAskedFor()
{
    QFETCH(QString, storeImage);
    Settings::SaveSetting(QStringLiteral("Options"), QStringLiteral("StoreImage"), storeImage);
    const QString folder = m_environment->Path(QStringLiteral("pictures d'\u00e9t\u00e9"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = QDir(folder).filePath(QStringLiteral("sunny \u00e9.png"));
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(file));
    Load(Page(QStringLiteral("<P>one two</P>")));
    Select(QStringLiteral("two"));
    ExpectCancelled(*m_editor, Decmd::IMAGE, Decmd::OPT_PROMPTUSER);
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>one two</p>"));

    m_prompts->Push(file);
    m_editor->ExecCommand(Decmd::IMAGE);
    const ScriptedPrompts::Shown asked = m_prompts->History().last();
    QCOMPARE(asked.caption, QStringLiteral("Picture"));
    QCOMPARE(asked.folder, gImagePath);
    QCOMPARE(asked.filter, QStringLiteral("Pictures (*.bmp *.gif *.jpg *.jpeg *.png)"));
    const QStringList images = m_editor->Images();
    QCOMPARE(images.size(), 1);
    const QString source = images[0];
    if (storeImage == QLatin1String("0")) {
        QCOMPARE(source, file);
    } else {
        QCOMPARE(QFileInfo(source).absolutePath(), QDir(gTempPath).absolutePath());
        QVERIFY(source.endsWith(QLatin1String(".png")));
        QFile copy(source);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QFile original(file);
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), original.readAll());
    }
    QTRY_COMPARE(Script(QStringLiteral("document.images[0].naturalWidth")).toInt(), 7);
    // What the save reads: the body's reference is the file, and the file is one it stores.
    const PictureReferences references(m_editor->BodyInnerHTML());
    QCOMPARE(references.References().size(), 1);
    QCOMPARE(PictureReferences::LocalFile(references.References()[0].source), source);
    const PictureFile stored = PictureFile::Read(QFileInfo(source));
    if (storeImage == QLatin1String("0"))
        QVERIFY(!stored.refusal.isEmpty());
    else
        QVERIFY2(stored.refusal.isEmpty(), qPrintable(stored.refusal));
}

void tst_WebEngineHtmlEditor::fontDialogApplied()
{
    Load(Page(QStringLiteral("<P>one <B>two</B> three</P>")));
    Select(QStringLiteral("two"));
    std::optional<FontChoice> answer;
    FontChoice asked;
    FontDialog::SetAsker([&](const FontChoice& initial) {
        asked = initial;
        return answer;
    });
    const auto reset = qScopeGuard([] { FontDialog::SetAsker({}); });
    ExpectCancelled(*m_editor, Decmd::FONT, Decmd::OPT_PROMPTUSER);
    QVERIFY(asked.bold && !asked.italic && !asked.underline);
    QCOMPARE(asked.size, 3);
    QCOMPARE(asked.colour, QStringLiteral("#000000"));
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>one <b>two</b> three</p>"));

    FontChoice chosen = asked;
    chosen.bold = false;
    chosen.italic = true;
    chosen.size = 5;
    chosen.colour = QStringLiteral("#FF0000");
    answer = chosen;
    m_editor->ExecCommand(Decmd::FONT);
    QCOMPARE(m_editor->ExecCommand(Decmd::GETFONTSIZE).toInt(), 5);
    QCOMPARE(m_editor->ExecCommand(Decmd::GETFORECOLOR).toString(), QStringLiteral("#FF0000"));
    QCOMPARE(m_editor->QueryStatus(Decmd::BOLD), int(Decmd::ENABLED));
    QCOMPARE(m_editor->QueryStatus(Decmd::ITALIC), int(Decmd::LATCHED));
    QVERIFY(m_editor->IsDirty());
    // All of it is one step.
    m_editor->ExecCommand(Decmd::UNDO);
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>one <b>two</b> three</p>"));
    QVERIFY(!m_editor->IsDirty());
}

void tst_WebEngineHtmlEditor::findDialogOnePerEditor()
{
    Load(Page(QStringLiteral("<P>one two three</P>")));
    QTRY_COMPARE(m_editor->QueryStatus(Decmd::FINDTEXT), int(Decmd::ENABLED));
    QCOMPARE(m_editor->QueryStatus(Decmd::FONT), int(Decmd::ENABLED));
    m_editor->ExecCommand(Decmd::FINDTEXT);
    m_editor->ExecCommand(Decmd::FINDTEXT);
    const QList<FindDialog*> dialogs = m_editor->View()->findChildren<FindDialog*>();
    QCOMPARE(dialogs.size(), 1);
    FindDialog* find = dialogs[0];
    QVERIFY(find->isVisible());
    auto* text = find->findChild<QLineEdit*>(QStringLiteral("txtFind"));
    auto* result = find->findChild<QLabel*>(QStringLiteral("lblResult"));
    QVERIFY(text && result);
    text->setText(QStringLiteral("absent"));
    find->FindNext();
    QTRY_COMPARE(result->text(), QStringLiteral("Not found."));
    text->setText(QStringLiteral("TWO"));
    find->FindNext();
    QTRY_COMPARE(result->text(), QStringLiteral("1 of 1"));
    find->findChild<QCheckBox*>(QStringLiteral("chkMatchCase"))->setChecked(true);
    find->FindNext();
    // Until the answer comes, the last search's would pass for it.
    QCOMPARE(result->text(), QString());
    QTRY_COMPARE(result->text(), QStringLiteral("Not found."));
    // The search goes on from the last match, and round.
    text->setText(QStringLiteral("o"));
    find->FindNext();
    QTRY_VERIFY(result->text().endsWith(QLatin1String(" of 2")));
    const QString other =
        result->text() == QLatin1String("1 of 2") ? QStringLiteral("2 of 2") : QStringLiteral("1 of 2");
    find->FindNext();
    QTRY_COMPARE(result->text(), other);
    // Closed, it leaves the match selected for editing.
    find->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
    QVERIFY(!find->isVisible());
    QTRY_COMPARE(Script(QStringLiteral("getSelection().toString()")).toString(), QStringLiteral("o"));
    // Shown again, it is the same dialog.
    m_editor->ExecCommand(Decmd::FINDTEXT);
    QVERIFY(find->isVisible());
    QCOMPARE(m_editor->View()->findChildren<FindDialog*>().size(), 1);
}

void tst_WebEngineHtmlEditor::styleSheetSwapped()
{
    Load(Page(QStringLiteral("<P>x</P>")));
    QCOMPARE(m_editor->StyleSheetText(), QStringLiteral("P { margin: 0 }"));
    m_editor->SetStyleSheetText(QStringLiteral("P { color: #123456 }"));
    QCOMPARE(m_editor->StyleSheetText(), QStringLiteral("P { color: #123456 }"));
    QCOMPARE(Script(QStringLiteral("getComputedStyle(document.querySelector('p')).color")).toString(),
             QStringLiteral("rgb(18, 52, 86)"));
    QVERIFY(m_editor->DocumentHTML().contains(QLatin1String("<style>P { color: #123456 }</style>")));
    QVERIFY(!m_editor->IsDirty());
    // A page without a style sheet gets one.
    Load(QStringLiteral("<P>bare"));
    QCOMPARE(m_editor->StyleSheetText(), QString());
    m_editor->SetStyleSheetText(QStringLiteral("B { color: red }"));
    QCOMPARE(m_editor->StyleSheetText(), QStringLiteral("B { color: red }"));
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>bare</p>"));
}

void tst_WebEngineHtmlEditor::picturesResolveInTheImagesFolder()
{
    // The view was made in this test's environment, whose images folder holds the picture.
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(QDir(gImagePath).filePath(QStringLiteral("shot.png"))));
    Load(Page(QStringLiteral("<P><IMG src=\"shot.png\"> <IMG src=\"sub/none.gif\"></P>")));
    QCOMPARE(m_editor->Images(), QStringList({QStringLiteral("shot.png"), QStringLiteral("sub/none.gif")}));
    QTRY_COMPARE(Script(QStringLiteral("document.images[0].naturalWidth")).toInt(), 7);
}

// The renderer is killed from outside, as a crash would end it.
void tst_WebEngineHtmlEditor::deadRendererReloadsTheLastCopy()
{
    Load(Page(QStringLiteral("<P>one two</P>")));
    Select(QStringLiteral("two"));
    m_editor->ExecCommand(Decmd::ITALIC);
    // The copy is taken after a pause.
    QTest::qWait(WebEngineHtmlEditor::kCopyPauseMs + 800);
    const qint64 pid = m_editor->View()->page()->renderProcessPid();
    QVERIFY(pid > 0);
    QSignalSpy complete(m_editor, &HtmlEditor::DocumentComplete);
    QCOMPARE(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
    QVERIFY(complete.wait(15000));
    QCOMPARE(m_editor->BodyInnerHTML(), QStringLiteral("<p>one <i>two</i></p>"));
    QVERIFY(m_editor->IsDirty());
    QTRY_COMPARE(
        m_prompts->Messages(),
        QStringList(QStringLiteral("The editor stopped unexpectedly; the document was reloaded from its last copy.")));
    QVERIFY(m_editor->View()->page()->renderProcessPid() != pid);
    // It edits on.
    Select(QStringLiteral("one"));
    m_editor->ExecCommand(Decmd::BOLD);
    QCOMPARE(m_editor->QueryStatus(Decmd::BOLD), int(Decmd::LATCHED));
}

int main(int argc, char* argv[])
{
    // The web engine shares its GL context with the widgets; this must precede the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    tst_WebEngineHtmlEditor test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_WebEngineHtmlEditor.moc"
