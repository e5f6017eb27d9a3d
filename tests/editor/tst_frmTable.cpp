#include "FakeDescriptionForm.h"
#include "ScriptedPrompts.h"
#include "TestEnvironment.h"

#include "core/EditorWindows.h"
#include "core/OpenForms.h"
#include "editor/TableHtml.h"
#include "editor/frmTable.h"
#include "platform/HtmlDocument.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(TableDialogFields)

namespace {

const QString kSaveError = "An error has occurred saving table properties.";

QString DefaultTable()
{
    const QString row = "<TR>" + QString("<TD width =\"20%\" >&nbsp;</TD>").repeated(5) + "</TR>";
    return "<TABLE  border= \"1\" cellPadding= \"0\" cellSpacing= \"0\" width=\"100%\" bordercolor= \"#000000\" >" +
           row.repeated(5) + "</TABLE>";
}

QStringList Texts(const QList<std::pair<QString, QString>>& attributes)
{
    QStringList texts;
    for (const auto& [name, value] : attributes)
        texts << name + "=" + value;
    return texts;
}

// `written` with each "name=value" of `changes` in place of that name's entry; a bare name drops it.
QStringList Changed(QStringList written, const QStringList& changes)
{
    for (const QString& change : changes) {
        const QString name = change.section('=', 0, 0);
        const auto at = std::find_if(written.begin(), written.end(),
                                     [&name](const QString& entry) { return entry.section('=', 0, 0) == name; });
        if (at == written.end())
            continue;
        if (change.contains('='))
            *at = change;
        else
            written.erase(at);
    }
    return written;
}

QStringList CellTexts(const QTableWidget* grid)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << (grid->item(0, c) ? grid->item(0, c)->text() : QString());
    return texts;
}

TableDialogFields ExistingTable()
{
    TableDialogFields fields;
    fields.rowsAndColsPageEnabled = false;
    fields.cboWidthRange = 0;
    fields.txtWidth = "80";
    fields.cboHeightRange = 1;
    fields.txtHeight = "300";
    fields.cboAlignment = 3;
    fields.txtBorder = "1";
    fields.txtSpacing = "3";
    fields.txtPading = " 99999 ";
    fields.txtBorderColor = "#FF0000";
    fields.txtBorderShadow = "#00ff00";
    fields.txtBorderLight = "#0000FF";
    fields.txtBackGroundColor = "#FFFFFF";
    return fields;
}

}  // namespace

// The table dialog: the new table it pastes, the attributes it sets on a selected table, the
// column widths in percent, the spinners beside its boxes, its colour buttons, and the values it
// refuses to write.
class tst_frmTable : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_form = std::make_unique<FakeDescriptionForm>();
        m_form->activeControl = "DHTMLEdit1";
        OpenForms::SetActive(m_form.get());
    }
    void cleanup()
    {
        m_form.reset();
        m_prompts.reset();
        m_env.reset();
    }

    void newTableModeIsModelessAndReloads();
    void pastesIntoTheEditorInUse_data();
    void pastesIntoTheEditorInUse();
    void newTableHtmlOfEveryField();
    void buildColumnGrid_data();
    void buildColumnGrid();
    void gridsFollowTheListsAndEachOther();
    void attributeMode_data();
    void attributeMode();
    void existingTableReadBackThroughTheFactory();
    void existingTablesOwnValuesKept();
    void hostileValuesRefused_data();
    void hostileValuesRefused();
    void errorsKeepTheDialogOpen_data();
    void errorsKeepTheDialogOpen();
    void colourButtons();
    void boxMovesSpinner_data();
    void boxMovesSpinner();
    void spinnerWritesBox();
    void screenshot();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<FakeDescriptionForm> m_form;
};

void tst_frmTable::newTableModeIsModelessAndReloads()
{
    frmTable dialog;
    QSignalSpy closed(&dialog, &QDialog::finished);
    dialog.ShowNewTable();
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.isModal());
    QCOMPARE(dialog.windowTitle(), QString("Table properties"));
    QCOMPARE(dialog.sstTabStrip->tabText(0), QString("&Rows and cols"));
    QCOMPARE(dialog.sstTabStrip->tabText(1), QString("&Format"));
    QCOMPARE(dialog.cboHeightRange->currentText(), QString("pixels"));

    // Cancel writes nothing; the next showing starts from the defaults again.
    dialog.txtBorder->setText("7");
    dialog.cboCol->setCurrentIndex(2);
    dialog.LoadFields(ExistingTable());
    QVERIFY(!dialog.sstTabStrip->isTabEnabled(0));
    dialog.cmdCancel->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(closed.count(), 1);
    QVERIFY(m_form->edit1.Pasted().isEmpty());

    dialog.ShowNewTable();
    QVERIFY(dialog.sstTabStrip->isTabEnabled(0));
    QCOMPARE(dialog.sstTabStrip->currentIndex(), 0);
    QCOMPARE(dialog.cboRow->currentText(), QString("5"));
    QCOMPARE(dialog.cboCol->currentText(), QString("5"));
    QCOMPARE(dialog.grdTable->rowCount(), 5);
    QCOMPARE(dialog.grdTable->columnCount(), 5);
    QCOMPARE(CellTexts(dialog.grdColWidth), QStringList(5, "20"));
    QCOMPARE(dialog.grdColWidth->columnWidth(4), dialog.grdTable->columnWidth(4));
    // Asked again while it is open, it keeps what the user typed.
    dialog.txtBorder->setText("3");
    dialog.ShowNewTable();
    QCOMPARE(dialog.txtBorder->text(), QString("3"));
    dialog.txtBorder->setText("1");
    dialog.cmdOK->click();
    QCOMPARE(m_form->edit1.Pasted(), QStringList{DefaultTable()});
    QVERIFY(!dialog.isVisible());
    QCOMPARE(closed.count(), 2);
    QCOMPARE(m_prompts->Messages(), QStringList());
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_frmTable::pastesIntoTheEditorInUse_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("description") << "DHTMLEdit1";
    QTest::newRow("expected result") << "DHTMLEdit2";
}

void tst_frmTable::pastesIntoTheEditorInUse()
{
    QFETCH(QString, control);
    m_form->activeControl = control;
    frmTable dialog;
    dialog.ShowNewTable();
    dialog.cmdOK->click();
    FakeHtmlEditor& used = control == "DHTMLEdit2" ? m_form->edit2 : m_form->edit1;
    FakeHtmlEditor& other = control == "DHTMLEdit2" ? m_form->edit1 : m_form->edit2;
    QCOMPARE(used.Pasted(), QStringList{DefaultTable()});
    QVERIFY(other.Pasted().isEmpty());
}

void tst_frmTable::newTableHtmlOfEveryField()
{
    TableDialogFields fields;
    fields.txtBorder = "2";
    fields.txtPading = " 3 ";
    fields.txtSpacing = "4";
    fields.txtWidth = "300";
    fields.cboWidthRange = 1;
    fields.txtHeight = "50";
    fields.cboHeightRange = 0;
    fields.cboAlignment = 2;
    fields.txtBorderColor = "#FF0000";
    fields.txtBorderShadow = "#111111";
    fields.txtBorderLight = "#222222";
    fields.txtBackGroundColor = "#333333";
    const QString row = "<TR><TD width =\"25%\" >&nbsp;</TD><TD width =\"75%\" >&nbsp;</TD></TR>";
    QCOMPARE(NewTableHtml(fields, 2, {"25", "75"}),
             "<TABLE  border= \"2\" cellPadding= \"3\" cellSpacing= \"4\" width=\"300\" height=\"50%\" "
             "align = \"right\" bordercolor= \"#FF0000\" borderColordark= \"#111111\" borderColorLight= "
             "\"#222222\" bgcolor= \"#333333\" >" +
                 row + row + "</TABLE>");
}

void tst_frmTable::buildColumnGrid_data()
{
    QTest::addColumn<QList<double>>("columns");
    QTest::addColumn<double>("grid");
    QTest::addColumn<QStringList>("percents");

    // The grid counts 30 twips of border as room: 6000 twips wide is 6030 to share.
    QTest::newRow("three fitting") << QList<double>{1000, 2000, 1500} << 6000.0 << QStringList{"17", "33", "50"};
    QTest::newRow("last takes the rest") << QList<double>{1000, 1000} << 6000.0 << QStringList{"17", "83"};
    QTest::newRow("middle past the edge") << QList<double>{1000, 6000, 1000} << 6000.0 << QStringList{"17", "83", "0"};
    QTest::newRow("first past the edge") << QList<double>{7000, 1000, 500} << 6000.0 << QStringList{"100", "0", "0"};
    QTest::newRow("one column") << QList<double>{500} << 6000.0 << QStringList{"100"};
}

void tst_frmTable::buildColumnGrid()
{
    QFETCH(QList<double>, columns);
    QFETCH(double, grid);
    QFETCH(QStringList, percents);
    QCOMPARE(BuildColumnGrid(columns, grid), percents);
}

void tst_frmTable::gridsFollowTheListsAndEachOther()
{
    frmTable dialog;
    dialog.ShowNewTable();
    dialog.cboRow->setCurrentText("2");
    dialog.cboCol->setCurrentText("3");
    QCOMPARE(dialog.grdTable->rowCount(), 2);
    QCOMPARE(dialog.grdTable->columnCount(), 3);
    QCOMPARE(dialog.grdColWidth->columnCount(), 3);
    // Three fifths of the grid used: the last column takes the rest.
    QCOMPARE(CellTexts(dialog.grdColWidth), QStringList({"20", "20", "60"}));

    // Widening a preview column widens its width cell and its share.
    const int fifth = dialog.grdTable->columnWidth(0);
    dialog.grdTable->horizontalHeader()->resizeSection(0, 2 * fifth);
    QCOMPARE(dialog.grdColWidth->columnWidth(0), 2 * fifth);
    QCOMPARE(CellTexts(dialog.grdColWidth), QStringList({"40", "20", "40"}));

    // A width column dragged past the edge: the preview follows, the columns after it get nothing.
    dialog.grdColWidth->horizontalHeader()->resizeSection(1, 10 * fifth);
    QCOMPARE(dialog.grdTable->columnWidth(1), 10 * fifth);
    QCOMPARE(CellTexts(dialog.grdColWidth), QStringList({"40", "60", "0"}));

    dialog.cmdOK->click();
    QVERIFY(m_form->edit1.Pasted().value(0).contains(
        "<TR><TD width =\"40%\" >&nbsp;</TD><TD width =\"60%\" >&nbsp;</TD><TD width =\"0%\" >&nbsp;</TD></TR>"
        "<TR><TD width =\"40%\" >&nbsp;</TD><TD width =\"60%\" >&nbsp;</TD><TD width =\"0%\" >&nbsp;</TD></TR>"
        "</TABLE>"));
}

void tst_frmTable::attributeMode_data()
{
    QTest::addColumn<TableDialogFields>("fields");
    QTest::addColumn<QStringList>("written");

    const QStringList every = {"cellPadding=99999",
                               "cellSpacing=3",
                               "BorderColor=#FF0000",
                               "borderColorDark=#00ff00",
                               "borderColorLight=#0000FF",
                               "bgColor=#FFFFFF",
                               "Width=80%",
                               "Height=300",
                               "Align=center",
                               "border=1"};
    QTest::newRow("every box") << ExistingTable() << every;
    TableDialogFields empty;
    empty.rowsAndColsPageEnabled = false;
    QTest::newRow("empty boxes remove")
        << empty << QStringList{"cellPadding=", "cellSpacing=", "BorderColor=", "borderColorDark=", "borderColorLight=",
                                "bgColor=",     "Width=",       "Align=",       "border="};
    TableDialogFields zero = ExistingTable();
    zero.txtHeight = "0";
    zero.cboWidthRange = 1;
    zero.txtWidth = "640";
    zero.cboAlignment = 0;
    QTest::newRow("height 0 left alone") << zero << Changed(every, {"Width=640", "Height", "Align="});
    TableDialogFields percent = ExistingTable();
    percent.txtHeight = "40";
    percent.cboHeightRange = 0;
    percent.cboAlignment = 1;
    QTest::newRow("height in percent") << percent << Changed(every, {"Height=40%", "Align=left"});
}

void tst_frmTable::attributeMode()
{
    QFETCH(TableDialogFields, fields);
    QFETCH(QStringList, written);
    m_form->edit1.SetSelectedTable("<TABLE>");
    frmTable dialog;
    dialog.LoadFields(fields);
    dialog.show();
    QCOMPARE(dialog.sstTabStrip->currentIndex(), 1);
    dialog.cmdOK->click();
    QCOMPARE(m_form->edit1.TableAttributeWrites().size(), 1);
    QCOMPARE(Texts(m_form->edit1.TableAttributeWrites().first()), written);
    QVERIFY(m_form->edit1.Pasted().isEmpty());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_frmTable::existingTablesOwnValuesKept()
{
    // Values the table already had pass as they are; what the user types is checked.
    TableDialogFields fields = ExistingTable();
    fields.cboWidthRange = 1;
    fields.txtWidth = "100px";
    fields.txtBackGroundColor = "white";
    m_form->edit1.SetSelectedTable("<TABLE>");
    frmTable dialog;
    dialog.LoadFields(fields);
    dialog.show();
    dialog.txtBorderColor->setText("red");
    dialog.cmdOK->click();
    QCOMPARE(m_prompts->Messages(), QStringList{"An error has occurred saving table properties."});
    QVERIFY(m_form->edit1.TableAttributeWrites().isEmpty());
    dialog.txtBorderColor->setText("#FF0000");
    dialog.cmdOK->click();
    QCOMPARE(m_form->edit1.TableAttributeWrites().size(), 1);
    const QList<std::pair<QString, QString>> written = m_form->edit1.TableAttributeWrites().first();
    QVERIFY(written.contains(std::pair<QString, QString>("bgColor", "white")));
    QVERIFY(written.contains(std::pair<QString, QString>("Width", "100px")));

    // A new table's boxes are all checked, whatever an earlier table held.
    m_prompts->ClearHistory();
    dialog.ShowNewTable();
    dialog.txtBackGroundColor->setText("white");
    dialog.cmdOK->click();
    QCOMPARE(m_prompts->Messages(), QStringList{"An error has occurred saving table properties."});
    QVERIFY(m_form->edit1.Pasted().isEmpty());
}

void tst_frmTable::existingTableReadBackThroughTheFactory()
{
    const HtmlDocument page(
        "<table width=\"80%\" height=\"300\" align=\"center\" border=\"2\" bgcolor=\"#ABCDEF\"><tr><td>x</td></tr>"
        "</table>");
    m_form->edit1.SetSelectedTable("<table>");
    InstallTableDialog();
    struct Seen
    {
        bool modal = false;
        bool firstPageEnabled = true;
        TableDialogFields fields;
    } seen;
    QTimer::singleShot(0, this, [&seen] {
        seen.modal = qobject_cast<frmTable*>(QApplication::activeModalWidget()) != nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<frmTable*>(window);
            if (!dialog || !dialog->isVisible())
                continue;
            seen.firstPageEnabled = dialog->sstTabStrip->isTabEnabled(0);
            seen.fields = dialog->Fields();
            dialog->cmdOK->click();
        }
    });
    SetTableAttributes(page.ElementsByTag("table").first());
    TableDialog::SetFactory({});
    QCOMPARE(m_env->BugLogEntries(), 0);

    QVERIFY(seen.modal);
    QVERIFY(!seen.firstPageEnabled);
    QCOMPARE(seen.fields.txtWidth, QString("80"));
    QCOMPARE(seen.fields.cboWidthRange, 0);
    QCOMPARE(seen.fields.txtHeight, QString("300"));
    QCOMPARE(seen.fields.cboHeightRange, 1);
    QCOMPARE(seen.fields.cboAlignment, 3);
    QCOMPARE(m_form->edit1.TableAttributeWrites().size(), 1);
    const QStringList written = Texts(m_form->edit1.TableAttributeWrites().first());
    for (const char* expected : {"Width=80%", "Height=300", "Align=center", "border=2", "bgColor=#ABCDEF"})
        QVERIFY2(written.contains(expected), qPrintable(written.join(", ")));
}

void tst_frmTable::hostileValuesRefused_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("value");
    QTest::newRow("negative") << "txtPading"
                              << "-1";
    QTest::newRow("exponent") << "txtBorder"
                              << "1e3";
    QTest::newRow("six digits") << "txtWidth"
                                << "100000";
    QTest::newRow("attribute smuggled") << "txtHeight"
                                        << "1 onclick=x";
    QTest::newRow("double quote") << "txtSpacing"
                                  << "\"";
    QTest::newRow("colour name") << "txtBorderColor"
                                 << "red";
    QTest::newRow("five hex digits") << "txtBackGroundColor"
                                     << "#12345";
    QTest::newRow("not hex") << "txtBorderLight"
                             << "#GGGGGG";
    QTest::newRow("quote in a colour") << "txtBorderShadow"
                                       << "#000000\" onclick=\"x";
}

void tst_frmTable::hostileValuesRefused()
{
    QFETCH(QString, box);
    QFETCH(QString, value);
    m_form->edit1.SetSelectedTable("<TABLE>");
    for (const bool newTable : {true, false}) {
        frmTable dialog;
        if (newTable) {
            dialog.ShowNewTable();
        } else {
            dialog.LoadFields(ExistingTable());
            dialog.show();
        }
        auto* edit = dialog.findChild<QLineEdit*>(box);
        QVERIFY(edit);
        edit->setText(value);
        dialog.sstTabStrip->setCurrentIndex(newTable ? 0 : 1);
        dialog.cmdOK->click();
        QCOMPARE(m_prompts->Messages(), QStringList{kSaveError});
        QCOMPARE(m_prompts->History().first().icon, Prompts::Icon::Critical);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.sstTabStrip->currentIndex(), 1);
        QCOMPARE(dialog.focusWidget(), edit);
        QVERIFY(m_form->edit1.Pasted().isEmpty());
        QVERIFY(m_form->edit1.TableAttributeWrites().isEmpty());
        m_prompts->ClearHistory();
    }
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_frmTable::errorsKeepTheDialogOpen_data()
{
    QTest::addColumn<bool>("newTable");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("logged");
    QTest::newRow("no description window") << true << "no window"
                                           << "Error_UpdateTable:91\r\n";
    QTest::newRow("paste fails") << true << "paste"
                                 << "Error_UpdateTable:438\r\n";
    QTest::newRow("no table selected") << false << "no table"
                                       << "Error_UpdateTable:5\r\nNo table is selected.";
}

void tst_frmTable::errorsKeepTheDialogOpen()
{
    QFETCH(bool, newTable);
    QFETCH(QString, failure);
    QFETCH(QString, logged);
    if (failure == "no window")
        m_form.reset();
    else if (failure == "paste")
        m_form->edit1.FailPaste(true);
    frmTable dialog;
    QSignalSpy closed(&dialog, &QDialog::finished);
    if (newTable) {
        dialog.ShowNewTable();
    } else {
        dialog.LoadFields(ExistingTable());
        dialog.show();
    }
    dialog.cmdOK->click();
    QCOMPARE(m_prompts->Messages(), QStringList{kSaveError});
    QVERIFY(dialog.isVisible());
    QCOMPARE(closed.count(), 0);
    QCOMPARE(m_env->BugLogEntries(), 1);
    QVERIFY2(m_env->BugLog().contains(logged), qPrintable(m_env->BugLog()));
}

void tst_frmTable::colourButtons()
{
    frmTable dialog;
    dialog.ShowNewTable();
    // Cancelled: the box keeps its colour; the picker opened on it.
    dialog.cmdBorderColor->click();
    QCOMPARE(dialog.txtBorderColor->text(), QString("#000000"));
    // An empty box opens the picker on black.
    m_prompts->Push(QColor(0x12, 0x34, 0x56));
    dialog.cmdBackgroundColor->click();
    QCOMPARE(dialog.txtBackGroundColor->text(), QString("#123456"));
    dialog.txtBorderLight->setText("#abcdef");
    m_prompts->Push(QColor(0xFE, 0x01, 0x80));
    dialog.cmdBorderLight->click();
    QCOMPARE(dialog.txtBorderLight->text(), QString("#FE0180"));
    dialog.cmdBorderShadow->click();
    QCOMPARE(dialog.txtBorderShadow->text(), QString());

    QStringList initial;
    for (const ScriptedPrompts::Shown& shown : m_prompts->History())
        initial << shown.kind + " " + shown.defaultText;
    QCOMPARE(initial, QStringList({"colour #000000", "colour #000000", "colour #ABCDEF", "colour #000000"}));
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_frmTable::boxMovesSpinner_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("spinner");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::newRow("padding 12") << "txtPading"
                                << "VScroll1"
                                << "12" << 987;
    QTest::newRow("padding empty") << "txtPading"
                                   << "VScroll1"
                                   << "" << 999;
    QTest::newRow("padding too long to read") << "txtPading"
                                              << "VScroll1"
                                              << "99999999999999999999" << 0;
    QTest::newRow("spacing leading number") << "txtSpacing"
                                            << "VScroll2"
                                            << "12abc" << 987;
    QTest::newRow("border no number") << "txtBorder"
                                      << "VScroll3"
                                      << "abc" << 999;
    QTest::newRow("border past the end") << "txtBorder"
                                         << "VScroll3"
                                         << "1500" << 0;
    QTest::newRow("width below 999") << "txtWidth"
                                     << "VScroll4"
                                     << "998" << 1;
    QTest::newRow("width 999") << "txtWidth"
                               << "VScroll4"
                               << "999" << 0;
    QTest::newRow("height 1500") << "txtHeight"
                                 << "VScroll5"
                                 << "1500" << 0;
    QTest::newRow("height negative") << "txtHeight"
                                     << "VScroll5"
                                     << "-5" << 999;
    QTest::newRow("height blanks first") << "txtHeight"
                                         << "VScroll5"
                                         << "  42" << 957;
}

void tst_frmTable::boxMovesSpinner()
{
    QFETCH(QString, box);
    QFETCH(QString, spinner);
    QFETCH(QString, text);
    QFETCH(int, position);
    frmTable dialog;
    auto* edit = dialog.findChild<QLineEdit*>(box);
    auto* bar = dialog.findChild<QScrollBar*>(spinner);
    QVERIFY(edit && bar);
    edit->setText(text);
    QCOMPARE(bar->value(), position);
    // The spinner does not write back over what was typed.
    QCOMPARE(edit->text(), text);
}

void tst_frmTable::spinnerWritesBox()
{
    frmTable dialog;
    QCOMPARE(dialog.VScroll4->value(), 899);  // txtWidth "100"
    QCOMPARE(dialog.VScroll3->value(), 998);  // txtBorder "1"
    dialog.VScroll5->setValue(989);
    QCOMPARE(dialog.txtHeight->text(), QString("10"));
    // The up arrow increases the number.
    dialog.VScroll3->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(dialog.txtBorder->text(), QString("2"));
    dialog.VScroll1->setValue(0);
    QCOMPARE(dialog.txtPading->text(), QString("999"));
}

void tst_frmTable::screenshot()
{
    frmTable dialog;
    dialog.ShowNewTable();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (int tab = 0; tab < 2; ++tab) {
        dialog.sstTabStrip->setCurrentIndex(tab);
        const QPixmap picture = dialog.grab();
        QVERIFY(picture.save(QDir::temp().filePath(QString("frmTable-tab%1.png").arg(tab + 1))));
        // The size of a classic two-page properties dialog.
        QVERIFY2(picture.width() >= 380 && picture.width() <= 640 && picture.height() >= 280 && picture.height() <= 520,
                 qPrintable(QString("%1 x %2").arg(picture.width()).arg(picture.height())));
    }
    // Every box of the second page is inside its frame, none clipped.
    for (QLineEdit* box : dialog.Frame1->findChildren<QLineEdit*>())
        QVERIFY(dialog.Frame1->rect().contains(box->geometry()));
    for (QLineEdit* box : dialog.Frame2->findChildren<QLineEdit*>())
        QVERIFY(dialog.Frame2->rect().contains(box->geometry()));
}

QTEST_MAIN(tst_frmTable)
#include "tst_frmTable.moc"
