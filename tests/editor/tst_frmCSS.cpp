#include "FakeDescriptionForm.h"
#include "FakeEditorPanes.h"
#include "ScriptedPrompts.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/DecmdCommands.h"
#include "core/HtmlPages.h"
#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "editor/frmCSS.h"
#include "publishing/HTMLTemplate.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

namespace {

const QString kForbidden = "Forbidden characters are detected.";

QString Stored()
{
    return HTMLTemplate().Load(17);
}

QStringList Tags(const frmCSS& dialog)
{
    QStringList tags;
    for (int row = 0; row < dialog.lstStyles->count(); ++row)
        tags << dialog.lstStyles->item(row)->text();
    return tags;
}

int SelectedRow(const frmCSS& dialog)
{
    const QList<QListWidgetItem*> selected = dialog.lstStyles->selectedItems();
    return selected.isEmpty() ? -1 : dialog.lstStyles->row(selected.first());
}

FakeHtmlEditor& Preview(const frmCSS& dialog)
{
    return *static_cast<FakeHtmlEditor*>(dialog.DHTMLEdit1);
}

}  // namespace

class tst_frmCSS : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ScriptedPrompts> m_prompts;

    // The dialog over `sheet` as stored.
    std::unique_ptr<frmCSS> Open(const QString& sheet)
    {
        if (HTMLTemplate().Save(17, sheet) != 0)
            return nullptr;
        auto dialog = std::make_unique<frmCSS>();
        if (!dialog->Form_Load())
            return nullptr;
        return dialog;
    }

private slots:
    void initTestCase() { SetEditorPaneFactory(FakeEditorPane); }
    void cleanupTestCase() { SetEditorPaneFactory({}); }
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_db = std::make_unique<TestDatabase>("sqlite");
        QVERIFY2(m_db->Open(), qPrintable(m_db->Error()));
        QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);
        m_prompts = std::make_unique<ScriptedPrompts>();
        HTMLTemplate::InstallStyleSheetLoader();
    }
    void cleanup()
    {
        SetStyleSheetLoader({});
        m_prompts.reset();
        m_db.reset();
        m_env.reset();
    }

    void captions()
    {
        frmCSS dialog;
        QCOMPARE(dialog.windowTitle(), QString("Cascading Style Sheet"));
        QStringList texts;
        for (QPushButton* button :
             {dialog.cmdAdd, dialog.cmdDelete, dialog.cmdClear, dialog.cmApply, dialog.cmdOK, dialog.cmdCancel})
            texts << button->text();
        QCOMPARE(texts, QStringList({"&Add", "Delete", "Clear", "&Apply", "&OK", "&Cancel"}));
        QStringList alignments;
        for (int index = 0; index < dialog.cboAlignment->count(); ++index)
            alignments << dialog.cboAlignment->itemText(index);
        QCOMPARE(alignments, QStringList({"Left", "Right", "Center", "Justify"}));
        QVERIFY(dialog.txtStyles->isReadOnly());
    }

    void load_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QStringList>("tags");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("preview");
        QTest::newRow("empty") << "" << QStringList{} << -1 << ""
                               << "";
        QTest::newRow("one rule listed, not selected") << "H1{color:red;}\n"
                                                       << QStringList{"H1"} << -1 << ""
                                                       << "";
        QTest::newRow("first of two shown")
            << "SUP{vertical-align:super;}\nP{margin:0;}\n"
            << QStringList{"SUP", "P"} << 0 << "vertical-align:super;"
            << "<HTML><STYLE>SUP{vertical-align:super;}</STYLE><BODY><SUP>Style example</SUP></BODY></HTML>";
        QTest::newRow("BODY shown as the page")
            << "BODY{margin:0;}\nP{}\n"
            << QStringList{"BODY", "P"} << 0 << "margin:0;"
            << "<HTML><STYLE>BODY{margin:0;}</STYLE><BODY>Style example</BODY></HTML>";
    }
    void load()
    {
        QFETCH(QString, sheet);
        QFETCH(QStringList, tags);
        QFETCH(int, selected);
        QFETCH(QString, shown);
        QFETCH(QString, preview);
        const std::unique_ptr<frmCSS> dialog = Open(sheet);
        QVERIFY(dialog);
        QCOMPARE(Tags(*dialog), tags);
        QCOMPARE(SelectedRow(*dialog), selected);
        QCOMPARE(dialog->txtStyles->toPlainText(), shown);
        QCOMPARE(Preview(*dialog).DocumentHTML(), preview);
    }

    // P after SUP shows, and stores, its own rule; duplicates keep theirs.
    void eachTagKeepsItsRule()
    {
        const QString sheet = "SUP{vertical-align:super;}\nP{margin:0;}\nP{color:red;}\n";
        const std::unique_ptr<frmCSS> dialog = Open(sheet);
        QVERIFY(dialog);
        dialog->lstStyles->setCurrentRow(1);
        QCOMPARE(dialog->txtStyles->toPlainText(), QString("margin:0;"));
        dialog->lstStyles->setCurrentRow(2);
        QCOMPARE(dialog->txtStyles->toPlainText(), QString("color:red;"));
        dialog->optPageBreak[1]->click();
        QVERIFY(dialog->cmApply_Click());
        QCOMPARE(Stored(), "SUP{vertical-align:super;}\nP{margin:0;}\nP{color:red;page-break-before:always;\n}\n");
    }

    void applyRoundTrips_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("stored");
        QTest::newRow("as written") << ".x{a:1;\n}\n#y{}\n*{b:2;\n}\n"
                                    << ".x{a:1;\n}\n#y{}\n*{b:2;\n}\n";
        QTest::newRow("damaged") << "A{x:1;}\r\n{y:2;}\r\nB{z:3;}\r\n}C{w:4;}"
                                 << "A{x:1;}\nB{z:3;}\n{y:2;}\n}C{w:4;}";
    }
    void applyRoundTrips()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, stored);
        std::unique_ptr<frmCSS> dialog = Open(sheet);
        QVERIFY(dialog);
        QVERIFY(dialog->cmApply_Click());
        QCOMPARE(Stored(), stored);
        dialog = std::make_unique<frmCSS>();
        QVERIFY(dialog->Form_Load());
        QVERIFY(dialog->cmApply_Click());
        QCOMPARE(Stored(), stored);
    }

    void alignmentShown_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("pageBreak");
        QTest::newRow("none") << "color:red;" << 0 << 0;
        QTest::newRow("lower-case left") << "text-align:left;" << 0 << 0;
        QTest::newRow("lower-case center") << "text-align:center;" << 0 << 0;
        QTest::newRow("Right") << "text-align:Right;" << 1 << 0;
        QTest::newRow("Justify, break before") << "text-align:Justify;page-break-before:always;" << 3 << 1;
        QTest::newRow("after wins") << "page-break-before:always;page-break-after:always;" << 0 << 2;
    }
    void alignmentShown()
    {
        QFETCH(QString, rule);
        QFETCH(int, alignment);
        QFETCH(int, pageBreak);
        const std::unique_ptr<frmCSS> dialog =
            Open("H1{text-align:Center;page-break-after:always;}\nP{" + rule + "}\n");
        QVERIFY(dialog);
        dialog->lstStyles->setCurrentRow(1);
        QCOMPARE(dialog->cboAlignment->currentIndex(), alignment);
        QVERIFY(dialog->optPageBreak[pageBreak]->isChecked());
        // Showing a tag changes no rule.
        QCOMPARE(dialog->txtStyles->toPlainText(), rule);
    }

    void alignmentChosen_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("result");
        QTest::newRow("append") << "color:red;\n" << 2 << "color:red;\ntext-align:Center;\n";
        QTest::newRow("replace") << "text-align:left;\ncolor:red;\n" << 3 << "text-align:Justify;\ncolor:red;\n";
        QTest::newRow("lower-case left chosen as Left") << "text-align:left;\n" << 1 << "text-align:Right;\n";
    }
    void alignmentChosen()
    {
        QFETCH(QString, rule);
        QFETCH(int, choice);
        QFETCH(QString, result);
        const std::unique_ptr<frmCSS> dialog = Open("H1{}\nP{" + rule + "}\n");
        QVERIFY(dialog);
        dialog->lstStyles->setCurrentRow(1);
        const QString preview = Preview(*dialog).DocumentHTML();
        dialog->cboAlignment->setCurrentIndex(choice);
        QCOMPARE(dialog->txtStyles->toPlainText(), result);
        QCOMPARE(Preview(*dialog).DocumentHTML(), preview);
        QVERIFY(dialog->cmApply_Click());
        QCOMPARE(Stored(), "H1{}\nP{" + result + "}\n");
    }

    void pageBreakChosenTwice()
    {
        const std::unique_ptr<frmCSS> dialog = Open("H1{}\nP{color:red;\n}\n");
        QVERIFY(dialog);
        dialog->lstStyles->setCurrentRow(1);
        dialog->optPageBreak[1]->click();
        dialog->optPageBreak[2]->click();
        dialog->optPageBreak[1]->click();
        QCOMPARE(dialog->txtStyles->toPlainText(), QString("color:red;\npage-break-before:always;\n"));
        dialog->optPageBreak[0]->click();
        QCOMPARE(dialog->txtStyles->toPlainText(), QString("color:red;\n"));
        // The first tag kept its own.
        dialog->lstStyles->setCurrentRow(0);
        QCOMPARE(dialog->txtStyles->toPlainText(), QString());
    }

    void fontRule_data()
    {
        QTest::addColumn<QList<int>>("statuses");  // BOLD, GETFONTNAME, GETFONTSIZE, UNDERLINE, ITALIC, GETFORECOLOR
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("pageBreak");
        QTest::addColumn<QString>("rule");
        QTest::newRow("nothing set") << QList<int>{0, 0, 0, 0, 0, 0} << 0 << 0 << 0 << "text-align:Left;\n";
        QTest::newRow("everything, in order")
            << QList<int>{7, 3, 7, 7, 7, 3} << 3 << 2 << 2
            << "font-weight:bold;\nfont-family:Times New Roman;\nfont-size:12pt;\ntext-decoration:underline;\n"
               "font-style:italic;\ncolor:#ff0000;\ntext-align:Center;\npage-break-after:always;\n";
        QTest::newRow("enabled is not set, mixed is unknown")
            << QList<int>{3, 11, 3, 3, 3, 1} << 1 << 1 << 1
            << "font-size:8pt;\ntext-align:Right;\npage-break-before:always;\n";
        QTest::newRow("size out of range") << QList<int>{0, 0, 3, 0, 0, 0} << 8 << 3 << 0 << "text-align:Justify;\n";
        QTest::newRow("largest size") << QList<int>{0, 0, 3, 0, 0, 0} << 7 << 0 << 0
                                      << "font-size:36pt;\ntext-align:Left;\n";
    }
    void fontRule()
    {
        QFETCH(QList<int>, statuses);
        QFETCH(int, size);
        QFETCH(int, alignment);
        QFETCH(int, pageBreak);
        QFETCH(QString, rule);
        const std::unique_ptr<frmCSS> dialog = Open("H1{}\nP{margin:0;\n}\n");
        QVERIFY(dialog);
        dialog->lstStyles->setCurrentRow(1);
        dialog->cboAlignment->setCurrentIndex(alignment);
        dialog->optPageBreak[pageBreak]->click();
        FakeHtmlEditor& preview = Preview(*dialog);
        const int commands[] = {Decmd::BOLD,      Decmd::GETFONTNAME, Decmd::GETFONTSIZE,
                                Decmd::UNDERLINE, Decmd::ITALIC,      Decmd::GETFORECOLOR};
        for (int index = 0; index < 6; ++index)
            preview.SetStatus(commands[index], statuses[index]);
        preview.SetValue(Decmd::GETFONTNAME, "Times New Roman");
        preview.SetValue(Decmd::GETFONTSIZE, size);
        preview.SetValue(Decmd::GETFORECOLOR, "#ff0000");
        dialog->cmdFont->click();
        QCOMPARE(preview.ExecutedCommands().mid(0, 2), (QList<QPair<int, int>>{{Decmd::SELECTALL, Decmd::OPT_DODEFAULT},
                                                                               {Decmd::FONT, Decmd::OPT_PROMPTUSER}}));
        // The new rule replaces the old one, margin and all.
        QCOMPARE(dialog->txtStyles->toPlainText(), rule);
        QCOMPARE(m_prompts->History().size(), 0);
        QVERIFY(dialog->cmApply_Click());
        QCOMPARE(Stored(), "H1{}\nP{" + rule + "}\n");
    }

    void fontPreview_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("preview");
        QTest::newRow("plain") << "margin:0;"
                               << "<HTML><BODY>Style example</BODY></HTML>";
        QTest::newRow("styles and attributes")
            << "font-weight:bold;\nfont-family:\"Arial Black\";\nfont-size:18pt;\ntext-decoration:underline;\n"
               "font-style:italic;\ncolor:#00ff00;\n"
            << "<HTML><BODY><U><EM><STRONG><FONT  face=\"Arial Black\" size=5 color=\"#00ff00\"> Style "
               "example</FONT></STRONG></EM></U></BODY></HTML>";
        // The text colour, not the background's; a value with blanks stays one attribute.
        QTest::newRow("background first, colour with blanks")
            << "background-color:yellow;color:rgb(0, 0, 255);"
            << "<HTML><BODY><FONT  color=\"rgb(0, 0, 255)\"> Style example</FONT></BODY></HTML>";
        QTest::newRow("unlisted size")
            << "font-size:11pt;font-family:Times New Roman;"
            << "<HTML><BODY><FONT  face=\"Times New Roman\"> Style example</FONT></BODY></HTML>";
    }
    void fontPreview()
    {
        QFETCH(QString, rule);
        QFETCH(QString, preview);
        const std::unique_ptr<frmCSS> dialog = Open("H1{}\nP{" + rule + "}\n");
        QVERIFY(dialog);
        dialog->lstStyles->setCurrentRow(1);
        Preview(*dialog).CancelOn(Decmd::FONT);
        dialog->cmdFont_Click();
        QCOMPARE(Preview(*dialog).DocumentHTML(), preview);
    }

    void fontCancelledKeepsTheRule()
    {
        const std::unique_ptr<frmCSS> dialog = Open("H1{}\nP{margin:0;\n}\n");
        QVERIFY(dialog);
        dialog->lstStyles->setCurrentRow(1);
        Preview(*dialog).SetStatus(Decmd::BOLD, Decmd::LATCHED);
        Preview(*dialog).CancelOn(Decmd::FONT);
        dialog->cmdFont_Click();
        QCOMPARE(dialog->txtStyles->toPlainText(), QString("margin:0;\n"));
        QCOMPARE(m_prompts->History().size(), 0);
        QCOMPARE(m_env->BugLogEntries(), 0);
        QVERIFY(dialog->cmApply_Click());
        QCOMPARE(Stored(), QString("H1{}\nP{margin:0;\n}\n"));
    }

    void fontFailures_data()
    {
        QTest::addColumn<int>("failing");
        QTest::addColumn<QString>("name");
        QTest::newRow("dialog") << int(Decmd::FONT) << "Arial";
        QTest::newRow("font state") << int(Decmd::GETFONTNAME) << "Arial";
        QTest::newRow("a name no rule can hold") << 0 << "Arial;}</style>";
    }
    void fontFailures()
    {
        QFETCH(int, failing);
        QFETCH(QString, name);
        const std::unique_ptr<frmCSS> dialog = Open("H1{}\nP{margin:0;\n}\n");
        QVERIFY(dialog);
        dialog->lstStyles->setCurrentRow(1);
        FakeHtmlEditor& preview = Preview(*dialog);
        preview.SetStatus(Decmd::GETFONTNAME, Decmd::ENABLED);
        preview.SetValue(Decmd::GETFONTNAME, name);
        if (failing)
            preview.FailOn(failing);
        dialog->cmdFont_Click();
        QCOMPARE(m_prompts->Messages(), QStringList{"An error occurred selecting the police."});
        QCOMPARE(m_prompts->History().first().icon, Prompts::Icon::Critical);
        QCOMPARE(m_prompts->History().first().caption, Prompts::ProgramTitle());
        QVERIFY(m_env->BugLog().contains("Error_cmdFont_Click : "));
        QCOMPARE(dialog->txtStyles->toPlainText(), QString("margin:0;\n"));
    }

    void noSelection()
    {
        const std::unique_ptr<frmCSS> dialog = Open("H1{color:red;}\n");
        QVERIFY(dialog);
        dialog->cmdFont_Click();
        QCOMPARE(m_prompts->Messages(), QStringList{"Select a tag in the list."});
        QCOMPARE(m_prompts->History().first().icon, Prompts::Icon::Information);
        QVERIFY(Preview(*dialog).ExecutedCommands().isEmpty());
        dialog->cmdClear_Click();
        dialog->cmdDelete_Click();
        dialog->optPageBreak[1]->click();
        dialog->cboAlignment->setCurrentIndex(2);
        QVERIFY(dialog->cmApply_Click());
        QCOMPARE(Stored(), QString("H1{color:red;}\n"));
    }

    void add_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<QStringList>("tags");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << QVariant() << QStringList{"P"} << "";
        QTest::newRow("empty") << QVariant("") << QStringList{"P"} << "";
        QTest::newRow("blanks") << QVariant("   ") << QStringList{"P"} << "";
        QTest::newRow("P{") << QVariant("P{") << QStringList{"P"} << kForbidden;
        QTest::newRow("P}") << QVariant("P}") << QStringList{"P"} << kForbidden;
        QTest::newRow("</style>") << QVariant("</style>") << QStringList{"P"} << kForbidden;
        QTest::newRow("trimmed") << QVariant("  H2 .note\t") << QStringList{"P", "H2 .note"} << "";
        QTest::newRow("accented") << QVariant("Überschrift.été") << QStringList{"P", "Überschrift.été"} << "";
    }
    void add()
    {
        QFETCH(QVariant, answer);
        QFETCH(QStringList, tags);
        QFETCH(QString, message);
        const std::unique_ptr<frmCSS> dialog = Open("P{margin:0;}\n");
        QVERIFY(dialog);
        m_prompts->Push(answer);
        dialog->cmdAdd->click();
        QCOMPARE(m_prompts->History().first().text, QString("Add new style tag"));
        QCOMPARE(m_prompts->History().first().caption, Prompts::ProgramTitle());
        QCOMPARE(Tags(*dialog), tags);
        if (message.isEmpty()) {
            QCOMPARE(m_prompts->Messages(), QStringList());
        } else {
            QCOMPARE(m_prompts->Messages(), QStringList{message});
            QCOMPARE(m_prompts->History().last().icon, Prompts::Icon::Critical);
        }
        if (tags.size() == 2) {
            QCOMPARE(SelectedRow(*dialog), 1);
            QCOMPARE(dialog->txtStyles->toPlainText(), QString());
            dialog->cboAlignment->setCurrentIndex(2);
        }
        QVERIFY(dialog->cmApply_Click());
        const QString added = tags.size() == 2 ? tags.last() + "{text-align:Center;\n}\n" : QString();
        QCOMPARE(Stored(), "P{margin:0;}\n" + added);
        const std::unique_ptr<frmCSS> again = Open(Stored());
        QVERIFY(again);
        QCOMPARE(Tags(*again), tags);
    }

    void deleteEntries()
    {
        const std::unique_ptr<frmCSS> dialog = Open("A{a:1;}\nB{b:2;}\nC{c:3;}\n");
        QVERIFY(dialog);
        dialog->cmdDelete->click();
        QCOMPARE(Tags(*dialog), QStringList({"B", "C"}));
        QCOMPARE(SelectedRow(*dialog), 0);
        QCOMPARE(dialog->txtStyles->toPlainText(), QString("b:2;"));
        dialog->lstStyles->setCurrentRow(1);
        dialog->cmdDelete->click();
        // The last entry gone, nothing is selected; the rule box keeps what it showed.
        QCOMPARE(Tags(*dialog), QStringList{"B"});
        QCOMPARE(SelectedRow(*dialog), -1);
        QCOMPARE(dialog->txtStyles->toPlainText(), QString("c:3;"));
        dialog->lstStyles->setCurrentRow(0);
        QCOMPARE(dialog->txtStyles->toPlainText(), QString("b:2;"));
        m_prompts->Push(QString("D"));
        dialog->cmdAdd->click();
        dialog->optPageBreak[2]->click();
        QVERIFY(dialog->cmApply_Click());
        QCOMPARE(Stored(), QString("B{b:2;}\nD{page-break-after:always;\n}\n"));
    }

    void clear()
    {
        const std::unique_ptr<frmCSS> dialog = Open("A{text-align:Right;\n}\nB{b:2;}\n");
        QVERIFY(dialog);
        dialog->cmdClear->click();
        QCOMPARE(dialog->txtStyles->toPlainText(), QString());
        QCOMPARE(dialog->cboAlignment->currentIndex(), 0);
        QCOMPARE(Preview(*dialog).DocumentHTML(),
                 QString("<HTML><STYLE>A{}</STYLE><BODY><A>Style example</A></BODY></HTML>"));
        QVERIFY(dialog->cmApply_Click());
        QCOMPARE(Stored(), QString("A{}\nB{b:2;}\n"));
    }

    void applyEmptyList()
    {
        const std::unique_ptr<frmCSS> dialog = Open("P{a:1;}\n");
        QVERIFY(dialog);
        dialog->lstStyles->setCurrentRow(0);
        dialog->cmdDelete_Click();
        QCOMPARE(dialog->lstStyles->count(), 0);
        QVERIFY(dialog->cmApply_Click());
        QCOMPARE(Stored(), QString(" "));
        const std::unique_ptr<frmCSS> again = Open(Stored());
        QVERIFY(again);
        QCOMPARE(again->lstStyles->count(), 0);
    }

    void closingRefreshesTheEditors_data()
    {
        QTest::addColumn<QString>("closer");
        QTest::addColumn<QString>("style");
        QTest::newRow("OK") << "OK"
                            << "P{a:1;}\nH1{}\n";
        QTest::newRow("Cancel") << "Cancel"
                                << "P{a:1;}\n";
        QTest::newRow("close box") << "close box"
                                   << "P{a:1;}\n";
    }
    void closingRefreshesTheEditors()
    {
        QFETCH(QString, closer);
        QFETCH(QString, style);
        FakeDescriptionForm form;
        form.edit1.SetDocumentHTML("<HTML><HEAD><STYLE>old</STYLE></HEAD><BODY>x</BODY></HTML>");
        const std::unique_ptr<frmCSS> dialog = Open("P{a:1;}\n");
        QVERIFY(dialog);
        dialog->show();
        m_prompts->Push(QString("H1"));
        dialog->cmdAdd_Click();
        QCOMPARE(form.edit1.StyleSheetText(), QString());
        if (closer == "OK")
            dialog->cmdOK->click();
        else if (closer == "Cancel")
            dialog->cmdCancel->click();
        else
            dialog->close();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(form.edit1.StyleSheetText(), style);
        QCOMPARE(Stored(), style);
    }

    void saveFailureKeepsTheDialogOpen()
    {
        const std::unique_ptr<frmCSS> dialog = Open("P{a:1;}\n");
        QVERIFY(dialog);
        dialog->show();
        gConnection().Close();
        dialog->cmdOK->click();
        QCOMPARE(m_prompts->Messages(), QStringList{"An error has occurred saving the style sheet."});
        QCOMPARE(m_prompts->History().first().icon, Prompts::Icon::Critical);
        QVERIFY(dialog->isVisible());
        m_prompts->ClearHistory();
        QVERIFY(!dialog->cmApply_Click());
        QCOMPARE(m_prompts->Messages(), QStringList{"An error has occurred saving the style sheet."});
    }

    void loadFailureClosesWithoutSaving()
    {
        QCOMPARE(HTMLTemplate().Save(17, "P{a:1;}\n"), 0L);
        gConnection().Close();
        frmCSS dialog;
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(m_prompts->Messages(), QStringList{"An error has occurred reading the style sheet."});
        QCOMPARE(m_prompts->History().first().icon, Prompts::Icon::Critical);
        QCOMPARE(dialog.lstStyles->count(), 0);
        // No store was tried.
        QVERIFY(m_env->BugLog().contains("Error_Load"));
        QVERIFY(!m_env->BugLog().contains("Error_Save"));
    }
};

QTEST_MAIN(tst_frmCSS)
#include "tst_frmCSS.moc"
