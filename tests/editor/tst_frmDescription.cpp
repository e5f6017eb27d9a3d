#include "FakeEditorPanes.h"
#include "MainWindowFixture.h"
#include "ModelFixture.h"

#include "core/ActiveEditor.h"
#include "core/DecmdCommands.h"
#include "core/MainToolbars.h"
#include "core/OpenForms.h"
#include "editor/frmDescription.h"
#include "mainwindow/PaneDock.h"
#include "mainwindow/WindowServicesInstall.h"
#include "mainwindow/frmExplorer.h"
#include "model/Procedure.h"
#include "model/SubTest.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSplitter>
#include <QtTest>

using ModelFixture::Run;

namespace {

frmDescription* Form(QMdiSubWindow* sub)
{
    return sub ? qobject_cast<frmDescription*>(sub->widget()) : nullptr;
}

FakeHtmlEditor* Fake(HtmlEditor* editor)
{
    return static_cast<FakeHtmlEditor*>(editor);
}

}  // namespace

// Description windows in the main window, on scripted panes: one window per item, the edit mode
// they switch, the question before a close, the format toolbar following the caret.
class tst_frmDescription : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetEditorPaneFactory(FakeEditorPane); }
    void cleanupTestCase() { SetEditorPaneFactory({}); }
    void init()
    {
        m_fixture = std::make_unique<MainWindowFixture>();
        QVERIFY2(m_fixture->Prepare(), qPrintable(m_fixture->Error()));
        Run("INSERT INTO SUBTEST (ID, NAME, DESCRIPTION) VALUES (1, 'One', '<P>first</P>')");
        Run("INSERT INTO SUBTEST (ID, NAME, DESCRIPTION) VALUES (12, 'Twelve', '<P>twelfth</P>')");
        Run("INSERT INTO PROCEDURES (ID, NAME, DESCRIPTION, RESULT) VALUES (7, 'Check Procedure', "
            "'<P>steps</P>', '<P>outcome</P>')");
        m_window = m_fixture->Load();
        QVERIFY(m_window);
        InstallWindowServices(m_window);
        gMainToolbars().cboStyles.SetItems({});
    }
    void cleanup()
    {
        m_window = nullptr;
        m_fixture.reset();
    }

    void oneWindowPerItemAndEditMode();
    void procedureWindowHasTwoPanes();
    void closeQuestion_data();
    void closeQuestion();
    void formatButtonsFollowTheCaret_data();
    void formatButtonsFollowTheCaret();
    void focusDecidesTheActivePane();

private:
    frmDescription* Open(const QString& id)
    {
        SubTest item;
        if (item.Find(id) != 0 || item.LoadDocument() != 0)
            return nullptr;
        frmDescription* form = Form(Area()->currentSubWindow());
        // The panes complete their loads as a real editor does: after the window is filled.
        if (form && !QTest::qWaitFor([form] { return form->DHTMLEditInitialized; }))
            return nullptr;
        return form;
    }
    QMdiArea* Area() const { return m_window->MdiArea(); }
    bool EditMode() const { return m_window->Commands().Enabled("mnuFileSave"); }

    std::unique_ptr<MainWindowFixture> m_fixture;
    frmMdi* m_window = nullptr;
};

void tst_frmDescription::oneWindowPerItemAndEditMode()
{
    QVERIFY(!EditMode());
    frmDescription* one = Open("1");
    QVERIFY(one);
    QVERIFY(EditMode());
    frmDescription* twelve = Open("12");
    QVERIFY(twelve && twelve != one);
    QCOMPARE(one->mstrTitle, QString("Description SubTest : 1 "));
    QCOMPARE(Area()->subWindowList().size(), 2);
    QCOMPARE(Area()->currentSubWindow()->windowTitle(), QString("Twelve"));
    QCOMPARE(OpenForms::Active(), twelve);

    // Item 1 again: its window comes forward, no third one.
    QCOMPARE(Open("1"), one);
    QCOMPARE(Area()->subWindowList().size(), 2);
    QCOMPARE(OpenForms::Active(), one);
    QCOMPARE(gMainToolbars().cboStyles.Items(), QStringList({"Normal", "Heading 1"}));
    QVERIFY(one->DHTMLEdit2() == nullptr);
    QVERIFY(!one->Splitter());

    // Unchanged windows close without a question; the last one switches the edit mode off.
    QVERIFY(Area()->currentSubWindow()->close());
    QCOMPARE(Area()->subWindowList().size(), 1);
    QVERIFY(EditMode());
    QVERIFY(m_window->CloseChildWindows());
    QVERIFY(!EditMode());
    QVERIFY(OpenForms::All().isEmpty());
    QVERIFY(m_fixture->Prompts.Messages().isEmpty());
}

void tst_frmDescription::procedureWindowHasTwoPanes()
{
    Procedure procedure;
    QCOMPARE(procedure.Find("7"), 0);
    QCOMPARE(procedure.LoadDocument(), 0);
    frmDescription* form = Form(Area()->currentSubWindow());
    QVERIFY(form);
    QVERIFY(form->DHTMLEdit2());
    QVERIFY(form->Splitter());
    // Both first loads count, whichever completes last: the editor's own text is the saved one.
    QTRY_VERIFY(form->DHTMLEditInitialized);
    QVERIFY(form->mstrLastSaved.contains("<p>steps</p>"));
    QVERIFY(form->mstrLastSaved2.contains("<p>outcome</p>"));
    QVERIFY(!form->DocumentChanged());

    // The description pane keeps its height when the window grows.
    Area()->currentSubWindow()->resize(600, 400);
    QTRY_VERIFY(form->Splitter()->sizes().at(0) > 0);
    const int description = form->Splitter()->sizes().at(0);
    Area()->currentSubWindow()->resize(600, 700);
    QTRY_VERIFY(form->Splitter()->sizes().at(1) > 0);
    QCOMPARE(form->Splitter()->sizes().at(0), description);

    QVERIFY(Area()->currentSubWindow()->close());
    QVERIFY(m_fixture->Prompts.Messages().isEmpty());
}

void tst_frmDescription::closeQuestion_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("answers");  // Y yes, N no
    QTest::addColumn<bool>("saveFails");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("stored");
    const QString question = "Do you want to save the document ?";
    const QString failed = "An error occurred while saving the current document.";
    QTest::newRow("unchanged") << false << "" << false << QStringList() << true << "<P>first</P>";
    QTest::newRow("yes") << true << "Y" << false << QStringList{question} << true << "<p>typed</p>";
    QTest::newRow("no") << true << "N" << false << QStringList{question} << true << "<P>first</P>";
    // The edits stay in the open window; the program's exit stops there too.
    QTest::newRow("yes, save fails") << true << "Y" << true << QStringList{question, failed} << false << "";
}

void tst_frmDescription::closeQuestion()
{
    QFETCH(bool, edited);
    QFETCH(QString, answers);
    QFETCH(bool, saveFails);
    QFETCH(QStringList, messages);
    QFETCH(bool, closed);
    QFETCH(QString, stored);
    frmDescription* form = Open("1");
    QVERIFY(form);
    QPointer<QMdiSubWindow> sub = Area()->currentSubWindow();
    if (edited) {
        Fake(form->DHTMLEdit1())->SetDocumentHTML(form->DHTMLEdit1()->DocumentHTML().replace("first", "typed"));
        Fake(form->DHTMLEdit1())->SetDirty(true);
    }
    if (saveFails)
        Run("DELETE FROM SUBTEST WHERE ID = 1");
    for (const QChar answer : answers)
        m_fixture->Prompts.Push(answer == 'Y' ? Prompts::Answer::Yes : Prompts::Answer::No);

    QCOMPARE(m_window->CloseChildWindows(), closed);
    QCOMPARE(m_fixture->Prompts.Messages(), messages);
    QTRY_COMPARE(sub.isNull(), closed);
    QCOMPARE(EditMode(), !closed);
    QCOMPARE(ModelFixture::Scalar("SELECT COUNT(*) FROM SUBTEST WHERE ID = 1 AND DESCRIPTION = ?", {stored}).toInt(),
             stored.isEmpty() ? 0 : 1);
    if (!closed) {
        QVERIFY(form->DHTMLEdit1()->DocumentHTML().contains("typed"));
        // Answering No lets it go.
        m_fixture->Prompts.Push(Prompts::Answer::No);
        QVERIFY(m_window->CloseChildWindows());
        QTRY_VERIFY(sub.isNull());
    }
}

void tst_frmDescription::formatButtonsFollowTheCaret_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("pressed");
    QTest::newRow("disabled") << int(Decmd::DISABLED) << false << false;
    QTest::newRow("enabled") << int(Decmd::ENABLED) << true << false;
    QTest::newRow("latched") << int(Decmd::LATCHED) << true << true;
}

void tst_frmDescription::formatButtonsFollowTheCaret()
{
    QFETCH(int, status);
    QFETCH(bool, enabled);
    QFETCH(bool, pressed);
    frmDescription* form = Open("1");
    QVERIFY(form);
    FakeHtmlEditor* editor = Fake(form->DHTMLEdit1());
    for (const int command : gFormatCommandIds)
        editor->SetStatus(command, status);
    // The opposite state first, so that every button must change.
    ToolbarModel& toolbar = gMainToolbars().tlbFormat;
    for (const QString& key : gFormatButtonKeys) {
        toolbar.SetEnabled(key, !enabled);
        toolbar.SetPressed(key, !pressed);
    }
    emit editor->DisplayChanged();
    for (const QString& key : gFormatButtonKeys) {
        QVERIFY2(toolbar.HasButton(key), qPrintable(key));
        QCOMPARE(toolbar.Enabled(key), enabled);
        QCOMPARE(toolbar.Pressed(key), pressed);
    }
    QCOMPARE(m_fixture->Environment.BugLogEntries(), 0);

    // A failing editor is logged and stops the update.
    editor->FailOn(gFormatCommandIds[0]);
    emit editor->DisplayChanged();
    QCOMPARE(m_fixture->Environment.BugLogEntries(), 1);
    QVERIFY(m_fixture->Environment.BugLog().contains("Error_DisplayChanged : "));
}

void tst_frmDescription::focusDecidesTheActivePane()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    Procedure procedure;
    QCOMPARE(procedure.Find("7"), 0);
    QCOMPARE(procedure.LoadDocument(), 0);
    frmDescription* form = Form(Area()->currentSubWindow());
    QVERIFY(form);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));

    form->ExpectedView()->setFocus();
    QTRY_COMPARE(form->ActiveControlName(), QString("DHTMLEdit2"));
    QCOMPARE(ActiveEditor(), form->DHTMLEdit2());
    form->DescriptionView()->setFocus();
    QTRY_COMPARE(form->ActiveControlName(), QString("DHTMLEdit1"));
    // The explorer's dock has the focus: no pane is edited.
    m_window->Explorer()->setFocus();
    QTRY_VERIFY(m_window->Explorer()->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == m_window->Explorer());
    QCOMPARE(form->ActiveControlName(), QString());
    QCOMPARE(ActiveEditor(), nullptr);

    // The pane's context menu is the main window's Edit menu.
    emit form->DHTMLEdit1()->ShowContextMenu(10, 10);
    QMenu* edit = m_window->Menu("mnuEdit");
    QTRY_VERIFY(edit->isVisible());
    edit->hide();
    m_fixture->Prompts.Push(Prompts::Answer::No);
    QVERIFY(m_window->CloseChildWindows());
}

QTEST_MAIN(tst_frmDescription)
#include "tst_frmDescription.moc"
