#include "PublicationFixture.h"

#include "core/services/ProgressBar.h"
#include "model/Result.h"
#include "publishing/XMLFile.h"

#include <QXmlStreamReader>
#include <QtTest>

using namespace PublicationFixture;

// A test plan written as an exchange file: the demonstration plan against a stored file, the
// results of each occurrence, a plan without sub-tests, and the failures that keep the previous
// file.
class tst_XmlExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup()
    {
        gExplorerNodes().Clear();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void golden_data();
    void golden();
    void planWithoutSubTests_data() { TestDatabase::AddBackendRows(); }
    void planWithoutSubTests();
    void failures_data() { TestDatabase::AddBackendRows(); }
    void failures();
};

namespace {

using Leaves = QList<QPair<QString, QString>>;

// The elements without child elements, in document order: their path from the root and their
// text as a parser gives it back. Empty for a file that does not parse.
Leaves ReadLeaves(const QByteArray& bytes)
{
    Leaves leaves;
    QXmlStreamReader xml(bytes);
    QStringList path;
    QString text;
    bool closedChild = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
            case QXmlStreamReader::StartElement:
                path << xml.name().toString();
                text.clear();
                closedChild = false;
                break;
            case QXmlStreamReader::Characters:
                text += xml.text();
                break;
            case QXmlStreamReader::EndElement:
                if (!closedChild)
                    leaves.append({path.join('/'), text});
                path.removeLast();
                closedChild = true;
                break;
            default:
                break;
        }
    }
    if (xml.hasError()) {
        qWarning() << xml.errorString() << xml.lineNumber() << xml.columnNumber();
        return {};
    }
    return leaves;
}

// The text of the leaf that follows the n-th leaf of `path` holding `text`, at `next`.
QStringList After(const Leaves& leaves, const QString& path, const QString& text, const QString& next)
{
    QStringList found;
    bool inside = false;
    for (const auto& [leafPath, leafText] : leaves) {
        if (leafPath.endsWith(path))
            inside = leafText == text;
        else if (inside && leafPath.endsWith(next))
            found << leafText;
    }
    return found;
}

}  // namespace

// The demonstration plan as the export command hands it over, and the file to write.
#define OPEN_EXPORT()                                                  \
    OPEN_PLAN();                                                       \
    plan.SetIdConfiguration(ConfigurationIdFromKey(planKey));          \
    const QString selfTest = Id("SUBTEST", "Self-test");               \
    const QString builtIn = Id("PROCEDURES", "Run the built-in test"); \
    XMLFile file;                                                      \
    file.SetFileName(env.Path("plan.xml"))

void tst_XmlExport::golden_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("locale");
    for (const QString& backend : TestDatabase::Backends()) {
        QTest::newRow(qPrintable(backend + "-en_US")) << backend << "en_US";
        // Numbers and dates do not follow the locale: the same file, "0.5" and ISO days.
        QTest::newRow(qPrintable(backend + "-de_DE")) << backend << "de_DE";
    }
}

void tst_XmlExport::golden()
{
    QFETCH(QString, locale);
    OPEN_EXPORT();
    const QString power = Id("SUBTEST", "Power-on");
    const QString link = Id("SUBTEST", "Communication");
    // Markup characters, quotes, the wrap's end marker, line ends, text beyond ASCII and beyond
    // the 16-bit plane; a character XML cannot carry in a comment.
    const QString description = QString::fromUtf8("<P class=\"x\">R&D 'single' a ]]> b</P>\r\n<P>déjà 5 € 😀</P>");
    ModelFixture::Run("UPDATE TESTPLAN SET DESCRIPTION = ? WHERE ID = ?", {description, plan.Id()});
    ModelFixture::Run("UPDATE SUBTEST SET DESCRIPTION = NULL");
    ModelFixture::Run("UPDATE SUBTEST SET DESCRIPTION = '<P>Reset &amp; power</P>' WHERE ID = ?", {power});
    ModelFixture::Run("UPDATE PROCEDURES SET WORKLOAD = 0.1 WHERE NAME = 'Echo a frame'");
    // The shared self-test: played under Communication only.
    Result played;
    played.SetKey(planKey + NodeKey::kSeparator + plan.Id() + "|" + link + "|2" + NodeKey::kSeparator + link + "|" +
                  selfTest + "|1" + NodeKey::kSeparator + selfTest + "|" + builtIn + "|1$");
    QCOMPARE(played.Create(), 0);
    played.SetStatus(kWarning);
    played.SetIteration(2);
    played.SetComment(QString("Second run") + QChar(0x1));
    QCOMPARE(played.Update(), 0);
    // Days that do not move.
    ModelFixture::Run("UPDATE RESULT SET DATE_CREATION = ? WHERE DATE_CREATION IS NOT NULL OR KEY_NODE = ?",
                      {QDate(2026, 2, 21), played.Key()});
    // Values that both engines store alike (PostgreSQL's REAL is single precision).
    ModelFixture::Run("DELETE FROM HISTORY");
    const QString history =
        "INSERT INTO HISTORY (ID_TESTPLAN, ID_CONFIGURATION, DATE_UPDATE, ADVANCEMENT, WORKLOAD, COUNT_PASSED, "
        "COUNT_FAILED, COUNT_CANCELED, COUNT_WARNING) VALUES (?, ?, ?, ?, ?, 1, 2, 0, 3)";
    ModelFixture::Run(history, {plan.Id(), plan.IdConfiguration(), "2026-02-21", 0.75, 0.1});
    ModelFixture::Run(history, {plan.Id(), plan.IdConfiguration(), "2026-01-30", 0.5, 1.25});
    const Counts before;
    gProgressBar().SetValue(0);
    QLocale::setDefault(QLocale(locale));

    QCOMPARE(file.Export(plan), 0);
    QVERIFY(SameAsGolden(file.FileName(), "plan-export.xml"));
    // Reading results and history inserts nothing.
    QVERIFY(Counts() == before);
    QCOMPARE(gProgressBar().Value(), 100);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_Export XML : 0\r\n1 characters that XML cannot carry"));

    const QByteArray bytes = ReadFile(file.FileName());
    QVERIFY(bytes.startsWith("<testplan><id>" + plan.Id().toUtf8() + "</id><name>Demonstration plan</name><CSS>"));
    const Leaves leaves = ReadLeaves(bytes);
    QVERIFY(leaves.contains(qMakePair(QString("testplan/description"), "<![CDATA[" + description + "]]>")));
    QVERIFY(leaves.contains(qMakePair(QString("testplan/subtest1/subtest2/description"), QString("<![CDATA[]]>"))));
    // The shared sub-test twice, each time with the result of its own occurrence; one never
    // played reads as a new result.
    QCOMPARE(After(leaves, "subtest2/id", selfTest, "subtest2/order"), QStringList({"2", "1"}));
    QCOMPARE(After(leaves, "procedure/id", builtIn, "status"), QStringList({"1", "3"}));
    QCOMPARE(After(leaves, "procedure/id", builtIn, "iteration"), QStringList({"0", "2"}));
    QCOMPARE(After(leaves, "procedure/id", builtIn, "datefirstplayed"), QStringList({"Unplayed", "2026-02-21"}));
    QCOMPARE(After(leaves, "procedure/id", builtIn, "comment"),
             QStringList({"", QString("Second run") + QChar(QChar::ReplacementCharacter)}));
    QCOMPARE(After(leaves, "procedure/id", Id("PROCEDURES", "Echo a frame"), "workload"), QStringList({"0.1"}));
}

void tst_XmlExport::planWithoutSubTests()
{
    OPEN_EXPORT();
    ModelFixture::Run("DELETE FROM TESTPLAN_LINKS");
    ModelFixture::Run("DELETE FROM HISTORY");
    ModelFixture::Run("DELETE FROM HTML_TEMPLATES WHERE ID = 17");
    ModelFixture::Run("UPDATE CONFIGURATION SET DESCRIPTION = NULL");
    ModelFixture::Run("UPDATE TESTPLAN SET DESCRIPTION = NULL");
    ModelFixture::Run(
        "INSERT INTO HISTORY (ID_TESTPLAN, ID_CONFIGURATION, ADVANCEMENT, WORKLOAD, DATE_UPDATE, COUNT_PASSED, "
        "COUNT_FAILED, COUNT_CANCELED, COUNT_WARNING) VALUES (?, ?, 0.75, 10, '2026-03-01', 4, 0, 1, 2)",
        {plan.Id(), plan.IdConfiguration()});
    gProgressBar().SetValue(37);

    QCOMPARE(file.Export(plan), 0);
    QCOMPARE(gProgressBar().Value(), 37);
    QCOMPARE(env.BugLogEntries(), 0);
    const Leaves expected{{"testplan/id", plan.Id()},
                          {"testplan/name", "Demonstration plan"},
                          {"testplan/CSS", HTMLTemplate::BuiltInDefault(17)},
                          {"testplan/title", "Acceptance of the controller board"},
                          {"testplan/configuration/id", plan.IdConfiguration()},
                          {"testplan/configuration/title", "Bench for the demonstration plan"},
                          {"testplan/configuration/name", "Demonstration bench"},
                          {"testplan/configuration/equipment1", "Controller board rev. B"},
                          {"testplan/configuration/equipment2", "Bench power supply 0-30 V"},
                          {"testplan/configuration/equipment3", "USB serial console"},
                          {"testplan/configuration/description", "<![CDATA[]]>"},
                          {"testplan/description", "<![CDATA[]]>"},
                          {"testplan/history/advancement", "0.75"},
                          {"testplan/history/workload", "10"},
                          {"testplan/history/Date", "2026-03-01"},
                          {"testplan/history/Passed", "4"},
                          {"testplan/history/Failed", "0"},
                          {"testplan/history/Warning", "2"},
                          {"testplan/history/Canceled", "1"}};
    QCOMPARE(ReadLeaves(ReadFile(file.FileName())), expected);
}

void tst_XmlExport::failures()
{
    OPEN_EXPORT();
    QCOMPARE(file.Export(plan), 0);
    const QByteArray previous = ReadFile(file.FileName());
    QVERIFY(!previous.isEmpty());

    // Sub-tests that hold each other: ten levels written, the deeper ones refused once.
    ModelFixture::Run("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, 9)",
                      {selfTest, Id("SUBTEST", "Power-on")});
    QCOMPARE(file.Export(plan), 0);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_WriteSubTests XML :6\r\nSub-tests are nested more than 10 levels"));
    const QByteArray cycle = ReadFile(file.FileName());
    QVERIFY(cycle.contains("<subtest10>") && !cycle.contains("<subtest11>"));
    QVERIFY(!ReadLeaves(cycle).isEmpty());
    ModelFixture::Run("DELETE FROM SUBTEST_LINKS WHERE ORDER_SUBTEST = 9");
    QCOMPARE(file.Export(plan), 0);
    QCOMPARE(ReadFile(file.FileName()), previous);

    // Each failure: 1, one entry under the label of the step that failed, the file as it was.
    const struct
    {
        const char* what;
        std::function<void()> fault;
        QString entry;
    } cases[] = {
        {"configuration gone", [&] { plan.SetIdConfiguration("999"); }, "Error_Export XML : 0\r\n"},
        {"folder under a file",
         [&] {
             QFile blocker(env.Path("file"));
             QVERIFY(blocker.open(QIODevice::WriteOnly));
             file.SetFileName(env.Path("file/plan.xml"));
         },
         "Error_Export XML : 5\r\n"},
        {"history unreadable", [&] { ModelFixture::Run("DROP TABLE HISTORY"); }, "Error_WriteTestPlanHistory XML :"},
    };
    for (const auto& failure : cases) {
        env.ClearBugLog();
        plan.SetIdConfiguration(ConfigurationIdFromKey(planKey));
        file.SetFileName(env.Path("plan.xml"));
        failure.fault();
        QVERIFY2(file.Export(plan) == 1, failure.what);
        QVERIFY2(env.BugLogEntries() == 1 && env.BugLog().contains(failure.entry), qPrintable(env.BugLog()));
        QVERIFY2(ReadFile(env.Path("plan.xml")) == previous, failure.what);
    }
}

QTEST_GUILESS_MAIN(tst_XmlExport)
#include "tst_XmlExport.moc"
