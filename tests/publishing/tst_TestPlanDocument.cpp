#include "PublicationFixture.h"

#include "core/ImageItemKind.h"
#include "core/KeyHelpers.h"
#include "model/Configuration.h"
#include "model/Procedure.h"
#include "model/Result.h"
#include "model/SubTest.h"
#include "platform/Globals.h"
#include "publishing/FrameSetFile.h"
#include "publishing/Publication.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace PublicationFixture;

// The one-file document of a test plan, the pages of one item and the framed site, written for
// the demonstration plan.
class tst_TestPlanDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup()
    {
        gExplorerNodes().Clear();
        Settings::DeleteSetting("Options", "Charset");
    }
    void document_data();
    void document();
    void faults_data() { TestDatabase::AddBackendRows(); }
    void faults();
    void badInput_data() { TestDatabase::AddBackendRows(); }
    void badInput();
    void itemPages_data() { TestDatabase::AddBackendRows(); }
    void itemPages();
    void site_data() { TestDatabase::AddBackendRows(); }
    void site();
    void siteAsABrowserReadsIt_data() { TestDatabase::AddBackendRows(); }
    void siteAsABrowserReadsIt();
};

void tst_TestPlanDocument::document_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("withSubTests");
    QTest::addColumn<QString>("subTestTemplate");
    QTest::addColumn<QString>("pageBreak");
    QTest::addColumn<bool>("word");
    QTest::addColumn<QString>("golden");
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(backend + "-" + name));
        };
        row("whole") << backend << true << "1"
                     << "1" << false << "document.htm";
        row("word") << backend << true << "1"
                    << "1" << true << "document-word.htm";
        row("every sub-test section") << backend << true << "0"
                                      << "1" << false << "document-all-sections.htm";
        row("no page breaks") << backend << true << "1"
                              << "0" << false << "document-no-breaks.htm";
        row("plan only") << backend << false << "1"
                         << "1" << false << "document-plan-only.htm";
    }
}

void tst_TestPlanDocument::document()
{
    QFETCH(bool, withSubTests);
    QFETCH(QString, subTestTemplate);
    QFETCH(QString, pageBreak);
    QFETCH(bool, word);
    QFETCH(QString, golden);
    OPEN_PLAN();
    Settings::SaveSetting("Options", "SubTestTemplate", subTestTemplate);
    Settings::SaveSetting("Options", "ProcedurePageBreak", pageBreak);
    const Counts before;

    Publication publication;
    const QString path = env.Path("plan.htm");
    publication.SetFileName(path);
    publication.SetIdConfiguration(ConfigurationIdFromKey(planKey));
    publication.SetWord(word);
    QCOMPARE(publication.EditTestPlan(plan, withSubTests), 0);
    QCOMPARE(env.BugLogEntries(), 0);
    QVERIFY(SameAsGolden(path, golden));
    QCOMPARE(publication.IdTestPlan(), plan.Id());
    QVERIFY(publication.TableOfContents());
    // Reading results inserts nothing.
    QVERIFY(Counts() == before);

    const QString page = QString::fromUtf8(ReadFile(path));
    QVERIFY(!page.contains("TESTPLANTOC"));
    QCOMPARE(page.contains("<a name=\"TableofContent\" >&nbsp;<a>"), word);
    QVERIFY(!page.endsWith("<br style='page-break-before:always'>\r\n</BODY></HTML>\r\n"));
    QCOMPARE(page.contains("Self-test"), withSubTests);
}

void tst_TestPlanDocument::faults()
{
    OPEN_PLAN();
    const QString path = env.Path("plan.htm");
    Publication publication;
    publication.SetFileName(path);
    publication.SetIdConfiguration(ConfigurationIdFromKey(planKey));

    // Names and titles are text, not markup; a procedure two levels down shows its own result.
    const QString builtIn = Id("PROCEDURES", "Run the built-in test");
    ModelFixture::Run("UPDATE SUBTEST SET TITLE = 'R&D <draft>' WHERE NAME = 'Self-test'");
    ModelFixture::Run("UPDATE PROCEDURES SET NAME = 'Read <b>&amp;</b>' WHERE NAME = 'Echo a frame'");
    Result played;
    played.SetKey(planKey + NodeKey::kSeparator + plan.Id() + "|" + Id("SUBTEST", "Power-on") + "|1" +
                  NodeKey::kSeparator + Id("SUBTEST", "Power-on") + "|" + Id("SUBTEST", "Self-test") + "|2" +
                  NodeKey::kSeparator + Id("SUBTEST", "Self-test") + "|" + builtIn + "|1$");
    QCOMPARE(ModelFixture::Scalar("SELECT COUNT(*) FROM RESULT WHERE KEY_NODE = ?", {played.Key()}).toInt(), 0);
    QCOMPARE(played.Create(), 0);
    played.SetStatus(kWarning);
    played.SetComment("Second run <ok>");
    QCOMPARE(played.Update(), 0);
    const Counts before;
    QCOMPARE(publication.EditTestPlan(plan, true), 0);
    const QString page = QString::fromUtf8(ReadFile(path));
    QVERIFY(page.contains("R&amp;D &lt;draft&gt;"));
    QVERIFY(!page.contains("R&D <draft>"));
    QVERIFY(page.contains("Read &lt;b&gt;&amp;amp;&lt;/b&gt;"));
    QCOMPARE(page.count("Second run &lt;ok&gt;"), 1);
    const qsizetype warning = page.indexOf("Run the built-in test</B> Warning");
    const qsizetype failed = page.indexOf("Run the built-in test</B> Failed");
    QVERIFY(warning > 0 && failed > warning);
    QVERIFY(Counts() == before);

    // A configuration that is gone: 1, the previous file as it was.
    const QByteArray previous = ReadFile(path);
    publication.SetIdConfiguration("999");
    QCOMPARE(publication.EditTestPlan(plan, true), 1);
    QVERIFY(env.BugLog().contains("Error_EditTestPlan : "));
    QCOMPARE(ReadFile(path), previous);

    // A page in the charset its head declares.
    env.ClearBugLog();
    Settings::SaveSetting("Options", "Charset", "ISO-8859-1");
    ModelFixture::Run("UPDATE TESTPLAN SET DESCRIPTION = ? WHERE ID = ?", {QString("<P>Déjà 5 €</P>"), plan.Id()});
    publication.SetIdConfiguration(ConfigurationIdFromKey(planKey));
    QCOMPARE(publication.EditTestPlan(plan, false), 0);
    const QByteArray latin = ReadFile(path);
    QVERIFY(latin.contains("charset=ISO-8859-1"));
    QVERIFY(latin.contains("D\xE9j\xE0 5 &#8364;"));
    QCOMPARE(env.BugLogEntries(), 0);

    // Sub-tests that hold each other: the walk stops ten levels down, once logged.
    ModelFixture::Run("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, 9)",
                      {Id("SUBTEST", "Self-test"), Id("SUBTEST", "Power-on")});
    QCOMPARE(publication.EditTestPlan(plan, true), 0);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("more than 10 levels"));
    QVERIFY(QString::fromLatin1(ReadFile(path)).contains("<H10>"));
}

void tst_TestPlanDocument::badInput()
{
    OPEN_PLAN();
    const QString path = env.Path("plan.htm");
    Publication publication;
    publication.SetFileName(path);
    publication.SetIdConfiguration(ConfigurationIdFromKey(planKey));

    // Descriptions are the user's markup, kept as stored even when broken: the page still ends
    // properly and the headings after them are numbered.
    ModelFixture::Run(
        "UPDATE PROCEDURES SET DESCRIPTION = '<P>open <B>bold <TABLE><TR><TD>cell', "
        "RESULT = '</BODY></HTML><BODY><H7>Stray' WHERE NAME = 'Echo a frame'");
    ModelFixture::Run(
        "UPDATE SUBTEST SET DESCRIPTION = '<script>document.write(\"</BODY>\")</script>' "
        "WHERE NAME = 'Communication'");
    // A procedure three sub-tests down shows the result stored under its own occurrence.
    const QString power = Id("SUBTEST", "Power-on");
    const QString selfTest = Id("SUBTEST", "Self-test");
    const QString rails = Id("SUBTEST", "Supply rails");
    ModelFixture::Run("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, 9)",
                      {selfTest, rails});
    Result deep;
    deep.SetKey(planKey + NodeKey::kSeparator + plan.Id() + "|" + power + "|1" + NodeKey::kSeparator + power + "|" +
                selfTest + "|2" + NodeKey::kSeparator + selfTest + "|" + rails + "|9" + NodeKey::kSeparator + rails +
                "|" + Id("PROCEDURES", "Measure the 3.3 V rail") + "|1$");
    QCOMPARE(deep.Create(), 0);
    deep.SetStatus(kWarning);
    deep.SetComment("Deep");
    QCOMPARE(deep.Update(), 0);
    const Counts before;

    QCOMPARE(publication.EditTestPlan(plan, true), 0);
    QCOMPARE(env.BugLogEntries(), 0);
    QVERIFY(Counts() == before);
    const QString page = QString::fromUtf8(ReadFile(path));
    QVERIFY(page.endsWith("</BODY></HTML>\r\n"));
    QVERIFY(page.contains("<script>document.write(\"</BODY>\")</script>"));
    QVERIFY(page.contains("<P>open <B>bold <TABLE><TR><TD>cell"));
    QVERIFY(page.contains("<H1>3 Serial communication</H1>"));
    QCOMPARE(page.count("Measure the 3.3 V rail</B> Warning Deep"), 1);
    QCOMPARE(page.count("Measure the 3.3 V rail</B> Passed 3.31 V"), 1);

    // A folder that cannot be written: 1 and a log entry, for the document and the site.
    QFile blocker(env.Path("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    env.ClearBugLog();
    publication.SetFileName(env.Path("file/plan.htm"));
    QCOMPARE(publication.EditTestPlan(plan, true), 1);
    QVERIFY(env.BugLog().contains("Error_EditTestPlan : "));
    env.ClearBugLog();
    publication.SetFileName(env.Path("file/site.htm"));
    QCOMPARE(publication.GenerateDocuments(plan), 1);
    QVERIFY(env.BugLog().contains("Error_GenerateDocuments : "));
}

void tst_TestPlanDocument::itemPages()
{
    OPEN_PLAN();
    const QString power = Id("SUBTEST", "Power-on");
    const QString rails = Id("SUBTEST", "Supply rails");
    const QString measure = Id("PROCEDURES", "Measure the 3.3 V rail");
    const Counts before;
    Publication publication;
    publication.SetIdConfiguration(ConfigurationIdFromKey(planKey));
    const QString path = env.Path("item.htm");
    publication.SetFileName(path);

    // A sub-test page starts at level 1 without a number and never ends on a page break.
    SubTest subTest;
    QCOMPARE(subTest.Find(power), 0);
    subTest.SetKey(planKey + NodeKey::kSeparator + plan.Id() + "|" + power + "|1");
    subTest.SetTitleOrder("4.2");
    QCOMPARE(publication.EditSubTest(subTest), 0);
    QCOMPARE(subTest.Level(), 1);
    QCOMPARE(subTest.TitleOrder(), QString());
    const QString subTestPage = QString::fromUtf8(ReadFile(path));
    QVERIFY(subTestPage.contains("<a name=\"\" ><H1>Power-on checks</H1></a>"));
    QVERIFY(subTestPage.contains("<H2>Supply rail voltages</H2>"));
    QVERIFY(subTestPage.endsWith("</P>\r\n</BODY></HTML>\r\n"));

    // A procedure sheet: its own result, its sub-test from the key, the plan only with its id.
    Procedure procedure;
    QCOMPARE(procedure.Find(measure), 0);
    const QString railsKey = planKey + NodeKey::kSeparator + plan.Id() + "|" + power + "|1" + NodeKey::kSeparator +
                             power + "|" + rails + "|1";
    procedure.SetKey(railsKey + NodeKey::kSeparator + rails + "|" + measure + "|1$");
    ModelFixture::Run("UPDATE PROCEDURES SET RESULT = NULL WHERE ID = ?", {measure});
    QCOMPARE(publication.EditProcedureSheet(procedure), 0);
    QString sheet = QString::fromUtf8(ReadFile(path));
    QVERIFY(
        sheet.contains("<P>Supply rails / " + Placeholder("TESTPLANNAME") + " / " + Placeholder("CONFIGURATIONNAME")));
    QVERIFY(sheet.contains("<P>Passed 3.31 V</P><P>Connect the probe"));
    QVERIFY(sheet.endsWith("</P>&nbsp;\r\n</BODY></HTML>\r\n"));
    publication.SetIdTestPlan(plan.Id());
    procedure.SetKey("no separator");
    QCOMPARE(publication.EditProcedureSheet(procedure), 0);
    sheet = QString::fromUtf8(ReadFile(path));
    QVERIFY(sheet.contains("<P>" + Placeholder("SUBTESTNAME") + " / Demonstration plan / Demonstration bench</P>"));

    // A configuration: its title, then its description when it has one; no head.
    Configuration bench;
    QCOMPARE(bench.Find(ConfigurationIdFromKey(planKey)), 0);
    ModelFixture::Run("UPDATE CONFIGURATION SET DESCRIPTION = NULL");
    QCOMPARE(publication.EditConfiguration(bench), 0);
    QCOMPARE(ReadFile(path), QByteArray("<H1>Bench for the demonstration plan</H1>\r\n"));
    ModelFixture::Run("UPDATE CONFIGURATION SET DESCRIPTION = '<P>Rack 3</P>'");
    QCOMPARE(publication.EditConfiguration(bench), 0);
    QCOMPARE(ReadFile(path), QByteArray("<H1>Bench for the demonstration plan</H1>\r\n<P>Rack 3</P>\r\n"));
    QVERIFY(Counts() == before);
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_TestPlanDocument::site()
{
    OPEN_PLAN();
    QTemporaryDir folder;
    const QString power = Id("SUBTEST", "Power-on");
    const QString link = Id("SUBTEST", "Communication");
    const QString selfTest = Id("SUBTEST", "Self-test");
    const QString banner = Id("PROCEDURES", "Read the boot banner");
    const Counts before;

    // A read-only page of an earlier run is overwritten.
    const QString stale = folder.filePath("SubTest" + selfTest + ".htm");
    {
        QFile file(stale);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    QFile::setPermissions(stale, QFile::ReadOwner);

    Publication publication;
    publication.SetFileName(folder.filePath("site.htm"));
    publication.SetIdConfiguration(ConfigurationIdFromKey(planKey));
    QCOMPARE(publication.GenerateDocuments(plan), 0);
    QCOMPARE(env.BugLogEntries(), 0);
    QVERIFY(Counts() == before);
    QVERIFY(SameAsGolden(folder.filePath("Explorer.htm"), "site-explorer.htm"));
    QVERIFY(SameAsGolden(folder.filePath("MainTestPlan" + plan.Id() + ".htm"), "document.htm"));
    // One page per procedure occurrence, one per sub-test however often it shows.
    QVERIFY(QFile::exists(folder.filePath("Procedure" + banner + "_" + power + ".htm")));
    QVERIFY(QFile::exists(folder.filePath("Procedure" + banner + "_" + link + ".htm")));
    QVERIFY(ReadFile(stale).contains("Built-in self-test"));
    const QStringList pages = QDir(folder.path()).entryList({"*.htm"}, QDir::Files);
    // Main page, navigation, sub-tests, procedures by sub-test (the shared self-test holds one).
    QCOMPARE(pages.size(), 1 + 1 + 4 + 5);
    // A page below another, whose sections the site wrote on the page above, is the page its
    // sub-test gives alone.
    const QString rails = Id("SUBTEST", "Supply rails");
    SubTest railsAlone;
    QCOMPARE(railsAlone.Find(rails), 0);
    railsAlone.SetKey(planKey + NodeKey::kSeparator + plan.Id() + "|" + power + "|1" + NodeKey::kSeparator + power +
                      "|" + rails + "|1");
    Publication alone;
    alone.SetIdConfiguration(ConfigurationIdFromKey(planKey));
    alone.SetIdTestPlan(plan.Id());
    alone.SetFileName(env.Path("rails.htm"));
    QCOMPARE(alone.EditSubTest(railsAlone), 0);
    const QByteArray railsPage = ReadFile(folder.filePath("SubTest" + rails + ".htm"));
    QVERIFY(railsPage.contains("Measure the 3.3 V rail"));
    QCOMPARE(railsPage, ReadFile(env.Path("rails.htm")));
    // FileName names the last page written: the built-in test under Communication's self-test.
    QCOMPARE(QFileInfo(publication.FileName()).fileName(),
             "Procedure" + Id("PROCEDURES", "Run the built-in test") + "_" + selfTest + ".htm");

    // A page that cannot be written stops the site.
    const QString blocked = folder.filePath("Procedure" + banner + "_" + link + ".htm");
    QVERIFY(QFile::remove(blocked));
    QVERIFY(QDir().mkdir(blocked));
    publication.SetFileName(folder.filePath("site.htm"));
    QCOMPARE(publication.GenerateDocuments(plan), 1);
    QVERIFY(env.BugLog().contains("Error_GenerateDocuments : "));
    QVERIFY(env.BugLog().contains("Error_EditProcedureSheet :"));
}

void tst_TestPlanDocument::siteAsABrowserReadsIt()
{
    OPEN_PLAN();
    QTemporaryDir folder;
    // A stored picture in the plan's description, written out to an images folder whose name a
    // browser would misread as a bare path: "#" starts a fragment, "?" a query, "%" an escape.
    Settings::SaveSetting("Options", "StoreImage", "1");
    gImagePath = env.Path("Bench #2 at 100% ?");
    const QByteArray picture = QByteArray::fromBase64("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7");
    ModelFixture::Run("INSERT INTO IMAGEFILE (ID, ITEM, ID_ITEM, " + gConnection().Dialect().Quote("FILE") +
                          ", FILETYPE) VALUES (5, ?, ?, ?, 'gif')",
                      {ImageItemKind::TestPlan, plan.Id(), picture});
    ModelFixture::Run("UPDATE TESTPLAN SET DESCRIPTION = '<P><IMG src=\"5.gif\"></P>' WHERE ID = ?", {plan.Id()});

    const QString frameSet = folder.filePath("site.htm");
    QCOMPARE(WriteFrameSetFile(frameSet, plan.Id()), 0L);
    Publication publication;
    publication.SetFileName(frameSet);
    publication.SetIdConfiguration(ConfigurationIdFromKey(planKey));
    QCOMPARE(publication.GenerateDocuments(plan), 0);
    QCOMPARE(env.BugLogEntries(), 0);

    // The files an attribute of a page names, read as a browser reads it: a URL against the page's.
    const auto named = [](const QString& page, const QString& attribute) {
        const QUrl base = QUrl::fromLocalFile(page);
        const QRegularExpression value("\\b" + attribute + "\\s*=\\s*\"([^\"]*)\"",
                                       QRegularExpression::CaseInsensitiveOption);
        QStringList files;
        for (const QRegularExpressionMatch& match : value.globalMatch(QString::fromUtf8(ReadFile(page))))
            files.append(base.resolved(QUrl(match.captured(1))).toLocalFile());
        return files;
    };
    const QString mainPage = folder.filePath("MainTestPlan" + plan.Id() + ".htm");
    QCOMPARE(named(frameSet, "SRC"), QStringList({folder.filePath("Explorer.htm"), mainPage}));
    // Each sub-test and procedure occurrence has its link, and each link its page.
    const QStringList links = named(folder.filePath("Explorer.htm"), "HREF");
    QCOMPARE(links.size(), 5 + 6);
    for (const QString& link : links)
        QVERIFY2(QFileInfo(link).isFile(), qPrintable(link));
    QCOMPARE(named(mainPage, "src"), QStringList({QDir(gImagePath).filePath("5.gif")}));
    QCOMPARE(ReadFile(QDir(gImagePath).filePath("5.gif")), picture);
}

QTEST_GUILESS_MAIN(tst_TestPlanDocument)
#include "tst_TestPlanDocument.moc"
