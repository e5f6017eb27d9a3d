#include "core/ActiveEditor.h"
#include "core/DecmdCommands.h"
#include "core/EditorWindows.h"
#include "core/MainToolbars.h"
#include "core/OpenForms.h"
#include "FakeDescriptionForm.h"
#include "platform/HtmlDocument.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QtTest>

namespace {

class RecordingTableDialog : public TableDialog
{
public:
    explicit RecordingTableDialog(QList<TableDialogFields>& shown) : m_shown(shown) {}
    void ShowModal(const TableDialogFields& fields) override { m_shown.append(fields); }

private:
    QList<TableDialogFields>& m_shown;
};

HtmlElement FirstTable(const QString& html)
{
    return HtmlDocument(html).ElementsByTag("table").first();
}

}  // namespace

class tst_EditorState : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        gMainToolbars() = MainToolbars();
        m_form = std::make_unique<FakeDescriptionForm>("Login page");
        OpenForms::SetActive(m_form.get());
    }
    void cleanup()
    {
        m_form.reset();
        OpenForms::SetActive(nullptr);
        m_env.reset();
    }

    void activeEditor_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("editor");  // 0 none, 1 description, 2 expected result
        QTest::addColumn<int>("document");
        QTest::newRow("description focused") << "DHTMLEdit1" << 1 << 1;
        QTest::newRow("expected result focused") << "DHTMLEdit2" << 2 << 2;
        QTest::newRow("other control") << "cmdExpected" << 0 << 1;
        QTest::newRow("no focused control") << "" << 0 << 1;
    }
    void activeEditor()
    {
        QFETCH(QString, control);
        QFETCH(int, editor);
        QFETCH(int, document);
        m_form->activeControl = control;
        auto pick = [this](int which) -> HtmlEditor* {
            return which == 1 ? m_form->DHTMLEdit1() : which == 2 ? m_form->DHTMLEdit2() : nullptr;
        };
        QCOMPARE(ActiveEditor(), pick(editor));
        QCOMPARE(ActiveEditorDocument(), pick(document));
    }

    void noActiveDescriptionWindow()
    {
        m_form->activeControl = "DHTMLEdit1";
        OpenForms::SetActive(nullptr);
        QVERIFY(!ActiveEditor());
        QVERIFY(!ActiveEditorDocument());
        gMainToolbars().cboFontName.SetText("Arial");
        UpdateFormatCombos();
        UpdateEditToolbar();
        QCOMPARE(gMainToolbars().cboFontName.Text(), QString("Arial"));
        OpenForms::SetActive(m_form.get());
        m_form.reset();  // a closed window is no longer active
        QVERIFY(!OpenForms::Active());
    }

    void formatButtonTable()
    {
        InitFormatButtons();
        QCOMPARE(gFormatButtonKeys[0], QString("Bold"));
        QCOMPARE(gFormatCommandIds[0], 5000);
        QCOMPARE(gFormatButtonKeys[3], QString("Numbers"));
        QCOMPARE(gFormatCommandIds[3], 5030);
        QCOMPARE(gFormatButtonKeys[10], QString("Color"));
        QCOMPARE(gFormatCommandIds[10], 5046);
        const std::array<int, 11> commands{5000, 5023, 5048, 5030, 5051, 5031, 5018, 5025, 5024, 5026, 5046};
        QCOMPARE(gFormatCommandIds, commands);
        for (const QString& key : gFormatButtonKeys)
            QVERIFY2(gMainToolbars().tlbFormat.HasButton(key), qPrintable(key));
    }

    void textCombos_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("enabled") << 3 << "Verdana" << true;
        QTest::newRow("latched") << 7 << "Verdana" << true;
        QTest::newRow("mixed fonts") << 11 << "" << true;
        QTest::newRow("disabled") << 1 << "" << false;
        QTest::newRow("not supported") << 0 << "" << false;
    }
    void textCombos()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        m_form->activeControl = "DHTMLEdit2";
        FakeHtmlEditor& editor = m_form->edit2;
        MainToolbars& bars = gMainToolbars();
        bars.cboFontName.SetText("Old");
        bars.cboStyles.SetText("Old");
        editor.SetStatus(Decmd::GETFONTNAME, status);
        editor.SetValue(Decmd::GETFONTNAME, "Verdana");
        editor.SetStatus(Decmd::GETBLOCKFMT, status);
        editor.SetValue(Decmd::GETBLOCKFMT, "Verdana");
        UpdateFormatCombos();
        QCOMPARE(bars.cboFontName.Text(), text);
        QCOMPARE(bars.cboFontName.Enabled(), enabled);
        QCOMPARE(bars.cboStyles.Text(), text);
        QCOMPARE(bars.cboStyles.Enabled(), enabled);
        if (status == 3)
            QVERIFY(editor.ExecutedCommands().contains(qMakePair(int(Decmd::GETFONTNAME), 2)));
    }

    void fontSizeCombo_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QVariant>("size");
        QTest::addColumn<int>("listIndex");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("size 1") << 3 << QVariant(1) << 0 << "1" << true;
        QTest::newRow("size 7 is the last entry") << 7 << QVariant(7) << 6 << "7" << true;
        QTest::newRow("size 0") << 3 << QVariant(0) << -1 << "" << true;
        QTest::newRow("size 8") << 3 << QVariant(8) << -1 << "" << true;
        QTest::newRow("null answer") << 3 << QVariant() << -1 << "" << true;
        QTest::newRow("mixed sizes") << 11 << QVariant(3) << -1 << "" << true;
        QTest::newRow("disabled") << 1 << QVariant(3) << -1 << "" << false;
    }
    void fontSizeCombo()
    {
        QFETCH(int, status);
        QFETCH(QVariant, size);
        QFETCH(int, listIndex);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        m_form->activeControl = "DHTMLEdit1";
        m_form->edit1.SetStatus(Decmd::GETFONTSIZE, status);
        m_form->edit1.SetValue(Decmd::GETFONTSIZE, size);
        ComboModel& combo = gMainToolbars().cboFontSize;
        combo.SetListIndex(2);
        UpdateFormatCombos();
        QCOMPARE(combo.ListIndex(), listIndex);
        QCOMPARE(combo.Text(), text);
        QCOMPARE(combo.Enabled(), enabled);
    }

    void editToolbar()
    {
        m_form->activeControl = "DHTMLEdit1";
        FakeHtmlEditor& editor = m_form->edit1;
        editor.SetStatus(Decmd::FINDTEXT, 3);
        editor.SetStatus(Decmd::UNDO, 7);
        editor.SetStatus(Decmd::REDO, 1);
        editor.SetStatus(Decmd::COPY, 2);  // supported but not enabled
        editor.SetStatus(Decmd::PASTE, 11);
        editor.SetStatus(Decmd::MERGECELLS, 3);
        editor.SetStatus(Decmd::INSERTROW, 3);
        MainToolbars& bars = gMainToolbars();
        // The Table band starts hidden, like its View item; the user shows it.
        QVERIFY(!bars.mnuViewToolBarTable);
        bars.mnuViewToolBarTable = true;
        UpdateEditToolbar();
        QVERIFY(bars.tlbEdit.Enabled("Find"));
        QVERIFY(bars.tlbEdit.Enabled("Undo"));
        QVERIFY(!bars.tlbEdit.Enabled("Redo"));
        QVERIFY(!bars.tlbEdit.Enabled("Copy"));
        QVERIFY(!bars.tlbEdit.Enabled("Cut"));
        QVERIFY(bars.tlbEdit.Enabled("Paste"));
        QVERIFY(bars.tlbTable.Enabled("MergeCell"));
        QVERIFY(bars.tlbTable.Enabled("InsertRow"));
        QVERIFY(!bars.tlbTable.Enabled("RemoveRow"));
        QVERIFY(bars.tlbTable.Enabled("InsertTable"));  // never touched

        // A hidden table band keeps what it showed; a failing command leaves only its button.
        bars.mnuViewToolBarTable = false;
        editor.SetStatus(Decmd::MERGECELLS, 1);
        editor.FailOn(Decmd::UNDO);
        editor.SetStatus(Decmd::COPY, 3);
        UpdateEditToolbar();
        QVERIFY(bars.tlbTable.Enabled("MergeCell"));
        QVERIFY(bars.tlbEdit.Enabled("Undo"));
        QVERIFY(bars.tlbEdit.Enabled("Copy"));
        QCOMPARE(m_env->BugLogEntries(), 0);
    }

    void toolbarWithoutAButton()
    {
        ToolbarModel toolbar({"Find", "Copy"});
        QVERIFY(!toolbar.SetEnabled("Paste", false));
        QVERIFY(toolbar.SetEnabled("Copy", false));
        QCOMPARE(toolbar.Keys(), QStringList({"Find", "Copy"}));
        QVERIFY(!toolbar.Enabled("Copy"));
    }

    void hideAndShowEditorsDuringDrag()
    {
        QCoreApplication::setApplicationName("Koravel");
        FakeDescriptionForm programWindow("Koravel - Help");
        FakeDescriptionForm layout;
        layout.SetTag("Template");
        Disable_DHTMLEdit(true);
        QVERIFY(!m_form->edit1.Visible());
        QVERIFY(!m_form->edit2.Visible());
        QVERIFY(programWindow.edit1.Visible());
        QVERIFY(layout.edit2.Visible());
        Enable_DHTMLEdit(true);
        QVERIFY(m_form->edit1.Visible());
        QVERIFY(m_form->edit2.Visible());

        Disable_DHTMLEdit(true);
        m_form->edit2.FailWrites(true);
        Enable_DHTMLEdit(true);
        QVERIFY(m_form->edit1.Visible());
        QVERIFY(!m_form->edit2.Visible());
        QVERIFY(m_env->BugLog().contains("Error_Enable_DHTMLEdit :70\r\nPermission denied"));
    }

    void saveCurrentForm()
    {
        QCoreApplication::setApplicationName("Koravel");
        FakeDescriptionForm second("Second item");
        FakeDescriptionForm programWindow("About Koravel");
        SaveCurrentForm();
        QCOMPARE(m_form->saves, 1);
        QCOMPARE(second.saves, 1);
        QCOMPARE(programWindow.saves, 0);

        m_form->failSave = true;
        SaveCurrentForm();
        QCOMPARE(second.saves, 1);  // the walk ends at the failure
        QCOMPARE(m_env->BugLogEntries(), 1);
        QVERIFY(m_env->BugLog().contains("Error SaveCurrentForm : 3021\r\nNo current record."));
    }

    void noProgramTitleSkipsNothing()
    {
        QCoreApplication::setApplicationName("");
        SaveCurrentForm();
        QCOMPARE(m_form->saves, 1);
        QCoreApplication::setApplicationName("Koravel");
    }

    void tableFields_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("widthRange");
        QTest::addColumn<QString>("width");
        QTest::addColumn<int>("alignment");
        QTest::newRow("percent") << "<table width=80%>" << 0 << "80" << 0;
        QTest::newRow("pixels") << "<table width=400 align=left>" << 1 << "400" << 1;
        QTest::newRow("no width") << "<table align=RIGHT>" << 1 << "" << 2;
        QTest::newRow("centre in any case") << "<TABLE WIDTH=\"100%\" ALIGN=CeNtEr>" << 0 << "100" << 3;
        QTest::newRow("unknown alignment") << "<table align=justify>" << 1 << "" << 0;
    }
    void tableFields()
    {
        QFETCH(QString, table);
        QFETCH(int, widthRange);
        QFETCH(QString, width);
        QFETCH(int, alignment);
        const TableDialogFields fields = TableFieldsFromElement(FirstTable(table));
        QCOMPARE(fields.cboWidthRange, widthRange);
        QCOMPARE(fields.txtWidth, width);
        QCOMPARE(fields.cboAlignment, alignment);
        QVERIFY(!fields.rowsAndColsPageEnabled);
    }

    void setTableAttributes()
    {
        QList<TableDialogFields> shown;
        TableDialog::SetFactory([&shown] { return std::make_unique<RecordingTableDialog>(shown); });
        SetTableAttributes(
            FirstTable("<table height=50% border=2 cellSpacing=3 cellPadding=4 borderColor=#111111 "
                       "borderColorDark=#222222 borderColorLight=#333333 bgColor=#444444><tr><td>x</table>"));
        QCOMPARE(shown.size(), 1);
        const TableDialogFields& f = shown.first();
        QCOMPARE(f.cboHeightRange, 0);
        QCOMPARE(f.txtHeight, QString("50"));
        QCOMPARE(QStringList({f.txtBorder, f.txtSpacing, f.txtPading, f.txtBorderColor, f.txtBorderShadow,
                              f.txtBorderLight, f.txtBackGroundColor}),
                 QStringList({"2", "3", "4", "#111111", "#222222", "#333333", "#444444"}));

        TableDialog::SetFactory({});
        SetTableAttributes(FirstTable("<table>"));
        QCOMPARE(m_env->BugLogEntries(), 1);
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakeDescriptionForm> m_form;
};

QTEST_GUILESS_MAIN(tst_EditorState)
#include "tst_EditorState.moc"
