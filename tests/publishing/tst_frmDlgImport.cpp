// The import options dialog, offscreen: its captions and unchecked options, and OK importing a
// good file and refusing a bad one, each told to the user and the dialog closed.

#include "ModelFixture.h"
#include "ScriptedPrompts.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/ProgressBar.h"
#include "platform/Hourglass.h"
#include "publishing/ui/frmDlgImport.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QtTest>

using ModelFixture::Scalar;

namespace {

// A small exchange file as the export writes it.
const QByteArray kGoodFile =
    "<testplan><id>5</id><name>Dialog plan</name><CSS>BODY { color: teal }</CSS><title>Dialog title</title>"
    "<configuration><id>77</id><title>Bench title</title><name>Dialog bench</name><equipment1>Board</equipment1>"
    "<equipment2></equipment2><equipment3></equipment3><description>&lt;![CDATA[]]&gt;</description>"
    "</configuration><description>&lt;![CDATA[&lt;P&gt;Plan&lt;/P&gt;]]&gt;</description>"
    "<subtest1><id>8</id><title>Sub title</title><name>Sub</name><order>1</order>"
    "<description>&lt;![CDATA[]]&gt;</description><procedure><id>9</id><title>Proc title</title><name>Proc</name>"
    "<workload>0.5</workload><order>1</order><description>&lt;![CDATA[&lt;P&gt;Do&lt;/P&gt;]]&gt;</description>"
    "<status>0</status><comment>ok</comment><iteration>1</iteration><datefirstplayed>2020-01-02</datefirstplayed>"
    "<expected_result>&lt;![CDATA[&lt;P&gt;Done&lt;/P&gt;]]&gt;</expected_result></procedure></subtest1></testplan>";

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class tst_frmDlgImport : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { gExplorerNodes().Clear(); }
    void captions();
    void okButton_data();
    void okButton();
};

void tst_frmDlgImport::captions()
{
    frmDlgImport dialog;
    QCOMPARE(dialog.windowTitle(), QString("XML Import"));
    QCOMPARE(dialog.Frame1->title(), QString("Options"));
    const QList<QCheckBox*> boxes = dialog.Frame1->findChildren<QCheckBox*>();
    QCOMPARE(boxes, QList<QCheckBox*>({dialog.chkTestConfiguration, dialog.chkKeepName, dialog.chkCSS}));
    QCOMPARE(dialog.chkTestConfiguration->text(), QString("Update the test configuration"));
    QCOMPARE(dialog.chkKeepName->text(), QString("Keep test components name"));
    QCOMPARE(dialog.chkCSS->text(), QString("Import Cascading StyleSheet within database"));
    for (const QCheckBox* box : boxes)
        QVERIFY2(!box->isChecked(), qPrintable(box->text()));
    // Top to bottom in that order.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.chkTestConfiguration->y() < dialog.chkKeepName->y());
    QVERIFY(dialog.chkKeepName->y() < dialog.chkCSS->y());
    const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    QCOMPARE(buttons, QList<QPushButton*>({dialog.OKButton}));
    QCOMPARE(dialog.OKButton->text(), QString("OK"));
}

void tst_frmDlgImport::okButton_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QByteArray>("file");  // empty: no file at that name
    QTest::addColumn<QString>("reason");
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(backend + "-" + name));
        };
        row("good file") << backend << kGoodFile << QString();
        row("missing file") << backend << QByteArray() << QString("plan.xml");
        row("malformed file") << backend << QByteArray("<testplan><id>5</id>\n<name>") << QString("line 2");
    }
}

// OK imports with the options checked, hides the progress bar, tells the outcome and closes the
// dialog; a failure gives its reason on a second line and is logged by the import and the dialog.
void tst_frmDlgImport::okButton()
{
    QFETCH(QString, backend);
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    gExplorerNodes().Add({}, NodeKey::kRoot, "Test Plan Database", kImageRoot);
    ScriptedPrompts prompts;
    const QString path = env.Path("plan.xml");
    if (!file.isEmpty())
        QVERIFY(WriteFile(path, file));
    gProgressBar().SetVisible(true);

    frmDlgImport dialog;
    dialog.SetFileName(path);
    QCOMPARE(dialog.FileName(), path);
    dialog.chkTestConfiguration->setChecked(true);
    dialog.chkKeepName->setChecked(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.OKButton, Qt::LeftButton);

    QVERIFY(!dialog.isVisible());
    QVERIFY(!gProgressBar().Visible());
    QVERIFY(!Hourglass::IsSet());
    QCOMPARE(prompts.History().size(), 1);
    const ScriptedPrompts::Shown& shown = prompts.History().first();
    QCOMPARE(shown.caption, Prompts::ProgramTitle());
    if (reason.isEmpty()) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(shown.text, QString("The test plan was imported successfully."));
        QCOMPARE(shown.icon, Prompts::Icon::Information);
        QCOMPARE(env.BugLogEntries(), 0);
        // The options checked reached the import: the file's names are kept.
        QCOMPARE(Scalar("SELECT NAME FROM TESTPLAN").toString(), QString("Dialog plan"));
        QCOMPARE(Scalar("SELECT NAME FROM PROCEDURES").toString(), QString("Proc"));
        return;
    }
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    const QStringList lines = shown.text.split('\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QString("An error has occurred during test plan import."));
    QVERIFY2(lines[1].contains(reason), qPrintable(lines[1]));
    QCOMPARE(shown.icon, Prompts::Icon::Critical);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM TESTPLAN").toInt(), 0);
    QCOMPARE(Scalar("SELECT COUNT(*) FROM CONFIGURATION").toInt(), 0);
    // The import's entry with the reason, then the dialog's.
    QCOMPARE(env.BugLogEntries(), 2);
    const QString log = env.BugLog();
    QVERIFY(log.indexOf("Error_Import XML : 0\r\n" + lines[1]) >= 0);
    QVERIFY(log.indexOf("Error_ImportXML : ") > log.indexOf("Error_Import XML : "));
}

QTEST_MAIN(tst_frmDlgImport)
#include "tst_frmDlgImport.moc"
