#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/HtmlPages.h"
#include "FakeDescriptionForm.h"
#include "platform/HtmlDocument.h"
#include "publishing/HTMLTemplate.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include <QtTest>

namespace {
QString Placeholder(const QString& name)
{
    return "<IMG src=\"" + name + "\">";
}
QString Summary()
{
    return "<P>Test Plan: <IMG src=\"TESTPLANTITLE.tag\"></P><P>Test Configuration:</P><UL>"
           "<LI><IMG src=\"CONFIGURATIONFIRST.tag\"><LI><IMG src=\"CONFIGURATIONSECOND.tag\">"
           "<LI><IMG src=\"CONFIGURATIONTHIRD.tag\"></LI></UL><HR color=rgb(0,0,0) SIZE=1><P>&nbsp;</P>";
}
}  // namespace

class tst_HTMLTemplate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { TestDatabase::AddBackendRows(); }
    void init()
    {
        QFETCH_GLOBAL(QString, backend);
        m_env = std::make_unique<TestEnvironment>();
        m_db = std::make_unique<TestDatabase>(backend);
        KORAVEL_REQUIRE_BACKEND(*m_db);
        QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);
    }
    void cleanup()
    {
        SetStyleSheetLoader({});
        m_db.reset();
        m_env.reset();
    }

    void builtInDefaults_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("expected");
        const QString footer = "&b&b &p / &P";
        QTest::newRow("3") << 3 << Placeholder("TESTPLANDESCRIPTION.tag");
        QTest::newRow("4") << 4 << Placeholder("SUBTESTDESCRIPTION.tag");
        QTest::newRow("14") << 14 << Placeholder("PROCEDUREDESCRIPTION.tag");
        QTest::newRow("15") << 15 << "&b&w&b";
        QTest::newRow("16") << 16 << footer;
        QTest::newRow("17 style sheet") << 17 << "";
        QTest::newRow("20") << 20 << Placeholder("PROCEDUREDESCRIPTION.tag");
        QTest::newRow("21") << 21 << "&bProcedure Sheet&b";
        QTest::newRow("22") << 22 << footer;
        QTest::newRow("30") << 30 << "<H1>Result&nbsp;report<HR color=rgb(0,0,0) SIZE=1></H1>" + Summary();
        QTest::newRow("31") << 31 << "&bResult Report&b";
        QTest::newRow("32") << 32 << footer;
        QTest::newRow("40") << 40 << "<H1>Progress&nbsp;report<HR color=rgb(0,0,0) SIZE=1></H1>" + Summary();
        QTest::newRow("41") << 41 << "&bProgress Report&b";
        QTest::newRow("42") << 42 << footer;
        QTest::newRow("50") << 50 << "<H1>Execution&nbsp;time&nbsp;report<HR color=rgb(0,0,0) SIZE=1></H1>" + Summary();
        QTest::newRow("51") << 51 << "&bExecution Time Report&b";
        QTest::newRow("52") << 52 << footer;
        QTest::newRow("60") << 60 << "<H1>Daily&nbsp;historic&nbsp;report<HR color=rgb(0,0,0) SIZE=1></H1>" + Summary();
        QTest::newRow("61") << 61 << "&bDaily historic Report&b";
        QTest::newRow("62") << 62 << footer;
        QTest::newRow("63 has none") << 63 << "";
        QTest::newRow("0") << 0 << "";
        QTest::newRow("unlisted") << 1234 << "";
    }
    void builtInDefaults()
    {
        QFETCH(int, id);
        QFETCH(QString, expected);
        bool ok = false;
        QCOMPARE(HTMLTemplate().Load(id, &ok), expected);
        QVERIFY(ok);  // an empty default is a template, not a failure
        QCOMPARE(m_env->BugLogEntries(), 0);
    }

    void tableLayouts_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("sample");
        QTest::newRow("result") << 33
                                << QStringList{"Test Area", "Procedure", "Status", "WorkLoad", "Iteration", "Comment"}
                                << "Failed";
        QTest::newRow("progress") << 43 << QStringList{"Test Area", "Procedure", "Realized", "WorkLoad", "Advancement"}
                                  << "50.0%";
        QTest::newRow("execution time") << 53 << QStringList{"Test",        "Procedure", "First Played",
                                                             "Last Played", "Workload",  "Time Passed"}
                                        << "12/12/2003";
    }
    void tableLayouts()
    {
        QFETCH(int, id);
        QFETCH(QStringList, captions);
        QFETCH(QString, sample);
        const QString layout = HTMLTemplate().Load(id);
        QVERIFY(
            layout.startsWith("<TABLE id=1 borderColor=#ffffff cellSpacing=0 cellPadding=1 width=\"100%\" "
                              "bgColor=#ffffff border=1 VALIGN=\"CENTER\">"));
        const HtmlDocument document(layout);
        QCOMPARE(document.ElementsByTag("table").size(), 1);
        QCOMPARE(document.ElementsByTag("tbody").size(), 1);
        const QList<HtmlElement> cells = document.ElementsByTag("td");
        QStringList found;
        for (const HtmlElement& cell : cells) {
            if (cell.Attribute("bgcolor") == "#d4d0c8")
                found.append(
                    layout.mid(cell.start + cell.startTagLength, cell.endTagStart - cell.start - cell.startTagLength));
        }
        QCOMPARE(found, captions);
        QVERIFY(layout.contains(">Test Plan Title<"));
        QVERIFY(layout.contains(">" + QString("&nbsp;").repeated(4) + "Sub Test Name<"));
        QCOMPARE(layout.count(">" + QString("&nbsp;").repeated(8) + "Procedure "), 2);
        QVERIFY(layout.contains(">" + sample + "<"));
    }

    void storedRowWins()
    {
        HTMLTemplate store;
        QCOMPARE(store.Save(30, "<P>Mine</P>"), 0L);
        QCOMPARE(store.Load(30), QString("<P>Mine</P>"));
        QCOMPARE(store.Save(30, "<P>Second</P>"), 0L);  // one row, updated
        QCOMPARE(gConnection().Scalar("SELECT COUNT(*) FROM HTML_TEMPLATES WHERE ID = ?", {30}).toInt(), 1);
        QCOMPARE(store.Load(30), QString("<P>Second</P>"));

        QCOMPARE(store.Save(3, ""), 0L);
        QCOMPARE(gConnection().Scalar("SELECT HTML_TEMPLATE FROM HTML_TEMPLATES WHERE ID = ?", {3}).toString(),
                 QString(" "));
        QCOMPARE(store.Load(3), QString(" "));  // the default does not come back

        QVERIFY(gConnection().Execute("INSERT INTO HTML_TEMPLATES (ID, HTML_TEMPLATE) VALUES (?, ?)",
                                      {4, QVariant(QMetaType::fromType<QString>())}));
        bool ok = false;
        QCOMPARE(store.Load(4, &ok), QString(" "));
        QVERIFY(ok);

        QCOMPARE(store.Save(60, "<html><head><title>t</title></head><body class=x>Only this</body></html>"), 0L);
        QCOMPARE(store.Load(60), QString("Only this"));
        const QString quoted = "<P>It's \"quoted\"; DROP TABLE HTML_TEMPLATES; --</P>";
        QCOMPARE(store.Save(62, quoted), 0L);
        QCOMPARE(store.Load(62), quoted);
        QCOMPARE(m_env->BugLogEntries(), 0);
    }

    void styleSheetOfEveryPageHead()
    {
        HTMLTemplate::InstallStyleSheetLoader();
        QVERIFY(HtmlHead(0).endsWith("</HEAD><STYLE></STYLE><BODY>"));
        QCOMPARE(HTMLTemplate().Save(17, "P {margin:0}"), 0L);
        QVERIFY(HtmlHead(3).endsWith("</HEAD><STYLE>P {margin:0}</STYLE><BODY>"));
    }

    void failuresAreLogged()
    {
        QCOMPARE(HTMLTemplate().Save(3, "<P>Stored</P>"), 0L);
        gConnection().Close();
        bool ok = true;
        QCOMPARE(HTMLTemplate().Load(3, &ok), QString());
        QVERIFY(!ok);
        QCOMPARE(m_env->BugLogEntries(), 1);
        QCOMPARE(HTMLTemplate().Save(3, "x"), 1L);
        QCOMPARE(m_env->BugLogEntries(), 2);
        QVERIFY(m_env->BugLog().contains("HTML Template Error_Load: 3704\r\n"));
        QVERIFY(m_env->BugLog().contains("HTML Template Error_Save: "));

        m_db = std::make_unique<TestDatabase>(m_db->Backend());
        QVERIFY(m_db->Open());
        ok = true;
        QCOMPARE(HTMLTemplate().Load(15, &ok), QString());  // no table: no default either
        QVERIFY(!ok);
        QCOMPARE(m_env->BugLogEntries(), 3);
        QCOMPARE(HTMLTemplate().Load(15), QString());  // callers that do not ask still get ""
    }

    void failedStyleSheetLoadKeepsTheEditorsStyle()
    {
        HTMLTemplate::InstallStyleSheetLoader();
        QCOMPARE(HTMLTemplate().Save(17, "P {margin:0}"), 0L);
        FakeDescriptionForm form;
        QCOMPARE(RefreshStyle(), 0L);
        QCOMPARE(form.edit1.StyleSheetText(), QString("P {margin:0}"));

        QVERIFY(gConnection().Execute("DROP TABLE HTML_TEMPLATES"));
        QCOMPARE(RefreshStyle(), 1L);
        QCOMPARE(form.edit1.StyleSheetText(), QString("P {margin:0}"));
        QCOMPARE(form.edit2.StyleSheetText(), QString("P {margin:0}"));
        QCOMPARE(m_env->BugLogEntries(), 2);  // the load, then the refresh that gave up
        QVERIFY(m_env->BugLog().contains("HTML Template Error_Load: "));
        QVERIFY(m_env->BugLog().contains("Error_RefreshStyle : "));
        // A page head is not written with an empty style sheet either.
        QVERIFY_THROWS_EXCEPTION(std::exception, HtmlHead(3));
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestDatabase> m_db;
};

QTEST_GUILESS_MAIN(tst_HTMLTemplate)
#include "tst_HTMLTemplate.moc"
