// The HTML code command on a real description window: an edit made only in the source view is
// asked about and saved on close, and a source view closed unedited leaves the pane clean.
#include "EditorWindowFixture.h"
#include "WhileModal.h"

#include "core/DecmdCommands.h"
#include "editor/WebEngineSanitizerOptions.h"
#include "editor/frmHTML.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QtTest>

class tst_HtmlSourceView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sourceEditAskedAndSaved();
    void unchangedSourceLeavesThePaneClean();

private:
    // Opens sub-test 1 in web view panes, the focus in its description.
    HtmlEditor* OpenFocused();
    // Runs the command, `edit` applied to the source, and waits for the pane's reload.
    void EditSource(HtmlEditor* editor, const std::function<QString(QString)>& edit);

    std::unique_ptr<MainWindowFixture> m_fixture;
    frmMdi* m_window = nullptr;
};

void tst_HtmlSourceView::init()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    m_window = ShowEditorWindow(*m_fixture, QStringLiteral("<P>first</P><P>second</P>"));
    QVERIFY2(m_window, qPrintable(m_fixture->Error()));
}

void tst_HtmlSourceView::cleanup()
{
    m_fixture->Prompts.Push(Prompts::Answer::No);
    if (m_window)
        QVERIFY(m_window->CloseChildWindows());
    m_window = nullptr;
    m_fixture.reset();
}

HtmlEditor* tst_HtmlSourceView::OpenFocused()
{
    SubTest item;
    if (item.Find("1") != 0 || item.LoadDocument() != 0)
        return nullptr;
    frmDescription* form = ActiveDescriptionWindow(m_window);
    if (!form || !QTest::qWaitFor([form] { return form->DHTMLEditInitialized; }, 20000))
        return nullptr;
    form->DescriptionView()->setFocus();
    if (!QTest::qWaitFor([form] { return ActiveEditor() == form->DHTMLEdit1(); }))
        return nullptr;
    // The page's first report follows its layout, which a cold engine in the sanitizer build
    // takes seconds to do: until then the command's questions could outwait their bound.
    HtmlEditor* editor = form->DHTMLEdit1();
    if (!QTest::qWaitFor([editor] { return editor->QueryStatus(Decmd::BOLD) >= Decmd::ENABLED; }, 20000))
        return nullptr;
    return editor;
}

void tst_HtmlSourceView::EditSource(HtmlEditor* editor, const std::function<QString(QString)>& edit)
{
    QSignalSpy complete(editor, &HtmlEditor::DocumentComplete);
    QVERIFY(WhileModal<frmHTML>([this] { m_window->RunCommand(QStringLiteral("mnuToolsHTML")); },
                                [&](frmHTML* window) {
                                    const QString source = window->Source();
                                    const QString edited = edit(source);
                                    if (edited != source)
                                        window->rtfHTML()->setPlainText(edited);
                                }));
    QVERIFY(complete.count() > 0 || complete.wait(10000));
    QTest::qWait(0);  // the window hears of the reload after the editor
}

void tst_HtmlSourceView::sourceEditAskedAndSaved()
{
    HtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    EditSource(editor, [](QString source) { return source.replace(QLatin1String("first"), QLatin1String("changed")); });
    QCOMPARE(editor->BodyInnerHTML(), QStringLiteral("<p>changed</p><p>second</p>"));
    QVERIFY(editor->IsDirty());

    m_fixture->Prompts.Push(Prompts::Answer::Yes);
    QVERIFY(m_window->CloseChildWindows());
    QCOMPARE(m_fixture->Prompts.Messages(), QStringList{"Do you want to save the document ?"});
    QCOMPARE(ModelFixture::Scalar("SELECT DESCRIPTION FROM SUBTEST WHERE ID = 1").toString(),
             QStringLiteral("<p>changed</p><p>second</p>"));
}

void tst_HtmlSourceView::unchangedSourceLeavesThePaneClean()
{
    HtmlEditor* editor = OpenFocused();
    QVERIFY(editor);
    const QString before = editor->DocumentHTML();
    EditSource(editor, [](QString source) { return source; });
    // The marker is gone again, and the page is as the editor wrote it.
    QCOMPARE(editor->DocumentHTML(), before);
    QVERIFY(!editor->IsDirty());
    QVERIFY(!ActiveDescriptionWindow(m_window)->DocumentChanged());
    QVERIFY(m_window->CloseChildWindows());
    QCOMPARE(m_fixture->Prompts.Messages(), QStringList());
}

QTEST_MAIN(tst_HtmlSourceView)
#include "tst_HtmlSourceView.moc"
