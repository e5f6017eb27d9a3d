#include "PublicationFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/KeyHelpers.h"
#include "kvlBrowser/PrintTemplate.h"
#include "publishing/Publication.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace {

const QString kRight =
    R"(<TD style=\"text-align:right;width:100%;overflow:hidden;text-overflow:ellipsis;font-size:12pt;\"><NOBR>)";
const QString kClose = "</NOBR></TD></TR></TABLE>";

QString Open(bool header)
{
    return QString(R"(<TABLE style=\"border:0;width:100%;table-layout:fixed;\"class=%1><TR>)")
        .arg(header ? "THeader" : "TFooter");
}

// The text as one right cell taking the whole width, as the control takes it.
QString Whole(const QString& body, bool header = true)
{
    return "\"" + Open(header) +
           R"(<TD style=\"text-align:left;overflow:hidden;text-overflow:ellipsis;font-size:12pt;\"><NOBR></NOBR></TD>)"
           R"(<TD style=\"text-align:center;overflow:hidden;text-overflow:ellipsis;font-size:12pt;\"><NOBR></NOBR></TD>)" +
           kRight + body + kClose + "\"";
}

// The three cells of a template cut by &b.
QString Split(const QString& left, const QString& centre, const QString& right)
{
    return "\"" + Open(true) +
           R"(<TD style=\"text-align:left;width:33%;overflow:hidden;text-overflow:ellipsis;font-size:12pt;\"><NOBR>)" +
           left +
           R"(</NOBR></TD><TD style=\"text-align:center;width:34%;overflow:hidden;text-overflow:ellipsis;font-size:12pt;\"><NOBR>)" +
           centre +
           R"(</NOBR></TD><TD style=\"text-align:right;width:33%;overflow:hidden;text-overflow:ellipsis;font-size:12pt;\"><NOBR>)" +
           right + kClose + "\"";
}

QString Img(const QString& name)
{
    return "<IMG src=\"" + name + ".tag\">";
}

// The HTML that the output's JSON string holds; a null text when it is no JSON string.
QString JsonValue(const QString& output)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(("[" + output + "]").toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.array().at(0).isString())
        return {};
    return document.array().at(0).toString();
}

// The control's print template made with the text as header and footer: what its pages show.
QString ThroughTemplate(const QString& output, const QString& folder)
{
    qputenv("TEMP", folder.toUtf8());
    PrintSettings settings;
    settings.Orientation = "portrait";
    settings.HTMLHeader = output;
    settings.HTMLFooter = output;
    PrintTemplateValues values;
    const bool read = BuildPrintTemplate(settings) == 0 && ReadPrintTemplate(PrintTemplatePath(), values) == 0;
    qunsetenv("TEMP");
    return read && values.footer == values.header ? values.header : QString();
}

}  // namespace

// The print header and footer texts that the windows hand to the print and preview control.
class tst_PrintHeaderFooter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void format_data();
    void format();
    void time();
    void storedPlan_data() { TestDatabase::AddBackendRows(); }
    void storedPlan();
};

void tst_PrintHeaderFooter::format_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("header");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("shown");  // the HTML of the right cell (not checked for a split row)

    const QString today = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    const QString todayLong = QLocale().toString(QDate::currentDate(), QLocale::LongFormat);
    const QString page = "<SPAN class=hfPage></SPAN>";
    const QString total = "<SPAN class=hfPageTotal></SPAN>";
    const auto whole = [](const char* name, const QString& text, const QString& body, const QString& shown) {
        QTest::newRow(name) << text << true << Whole(body) << shown;
    };

    whole("plain", "Koravel test plan", "Koravel test plan", "Koravel test plan");
    QTest::newRow("footer") << "Koravel" << false << Whole("Koravel", false) << "Koravel";
    whole("empty", "", "", "");
    whole("page of pages", "Page " + Img("PAGECURRENT") + " of " + Img("PAGETOTAL"), "Page " + page + " of " + total,
          "Page " + page + " of " + total);
    whole("address and dates", Img("URL") + "|" + Img("DATESHORT") + "|" + Img("DATELONG"),
          "<SPAN class=hfUrl ></SPAN>|" + today + "|" + todayLong,
          "<SPAN class=hfUrl ></SPAN>|" + today + "|" + todayLong);
    whole("a placeholder twice", Img("PAGECURRENT") + Img("PAGECURRENT"), page + page, page + page);
    whole("item placeholders without items stay", Img("TESTPLANNAME"), R"(<IMG src=\"TESTPLANNAME.tag\">)",
          Img("TESTPLANNAME"));
    whole("quotes", R"(Say "hi" <B class="x">)", R"(Say \"hi\" <B class=\"x\">)", R"(Say "hi" <B class="x">)");
    whole("line breaks become blanks", "one\r\ntwo\rthree\nfour\n\r", "one two three four  ", "one two three four  ");

    // The codes.
    QTest::newRow("title in the centre") << "&b&w&b" << true << Split("", "<SPAN class=hfTitle></SPAN>", "") << "";
    QTest::newRow("page of pages at the right")
        << "&b&b &p / &P" << true << Split("", "", " " + page + " / " + total) << "";
    QTest::newRow("one &b") << "left&bcentre" << true << Split("left", "centre", "") << "";
    QTest::newRow("further &b stay right") << "a&bb&bc&bd" << true << Split("a", "b", "cd") << "";
    QTest::newRow("address and dates by code")
        << "&b&b&u &d &D" << true << Split("", "", "<SPAN class=hfUrl ></SPAN> " + today + " " + todayLong) << "";
    QTest::newRow("placeholders in cells")
        << "&b" + Img("PAGECURRENT") + "&b" + Img("PAGETOTAL") << true << Split("", page, total) << "";
    whole("&& is an ampersand", "R&&D", "R&amp;D", "R&amp;D");
    whole("references stay", "A&nbsp;B&#38;C&bull;D&#x26;", "A&nbsp;B&#38;C&bull;D&#x26;",
          "A&nbsp;B&#38;C&bull;D&#x26;");
    whole("& before other characters stays", "A&Z & co &", "A&Z & co &", "A&Z & co &");
    whole("codes inside tags stay", R"(<A href="x?a=1&b=2&p=3">&&</A>)", R"(<A href=\"x?a=1&b=2&p=3\">&amp;</A>)",
          R"(<A href="x?a=1&b=2&p=3">&amp;</A>)");
    whole("codes inside comments stay", "<!-- &b > &b -->x", R"(\u003c!-- &b > &b -->x)", "<!-- &b > &b -->x");

    // Texts that would break the control's script.
    whole("backslash", R"(C:\temp\)", R"(C:\\temp\\)", R"(C:\temp\)");
    whole("end of the script", "a</script>b</SCRIPT>", R"(a<\/script>b<\/SCRIPT>)", "a</script>b</SCRIPT>");
    whole("line separators", QString("a") + QChar(0x2028) + "b" + QChar(0x2029), R"(a\u2028b\u2029)",
          QString("a") + QChar(0x2028) + "b" + QChar(0x2029));
    whole("NUL and tab", QString("a") + QChar(0) + "b\tc", R"(a\u0000b\tc)", QString("a") + QChar(0) + "b\tc");
    whole("10,000 characters", QString(10000, QChar(u'é')), QString(10000, QChar(u'é')), QString(10000, QChar(u'é')));
}

void tst_PrintHeaderFooter::format()
{
    QFETCH(QString, text);
    QFETCH(bool, header);
    QFETCH(QString, expected);
    QFETCH(QString, shown);
    TestEnvironment env;
    Publication publication;
    const QString output = publication.FormatHeaderFooter(text, header);
    QCOMPARE(output, expected);
    QCOMPARE(env.BugLogEntries(), 0);

    // The output is one JSON string, read back intact, also through the control's template.
    const QString html = JsonValue(output);
    QVERIFY(!html.isNull());
    if (!expected.contains("width:34%"))
        QVERIFY(html.endsWith("<NOBR>" + shown + "</NOBR></TD></TR></TABLE>"));
    QCOMPARE(ThroughTemplate(output, env.Root()), html);
}

// &t is the locale's short time and &T the time as HH:mm, read at the call.
void tst_PrintHeaderFooter::time()
{
    TestEnvironment env;
    Publication publication;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QTime before = QTime::currentTime();
        const QString output = publication.FormatHeaderFooter("&t|&T", true);
        if (QTime::currentTime().minute() != before.minute())
            continue;  // the minute turned during the call
        QCOMPARE(output, Whole(QLocale().toString(before, QLocale::ShortFormat) + "|" + before.toString("HH:mm")));
        return;
    }
    QFAIL("The minute kept turning.");
}

// The fields of the test plan and configuration that the caller set, from the database. A field
// value is never read as a code.
void tst_PrintHeaderFooter::storedPlan()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    ModelFixture::AddSchema();
    const QString planKey = PublicationFixture::BuildPlan();
    QVERIFY(!planKey.isEmpty());
    const QString planId = TestPlanIdFromKey(planKey);
    const QString configurationId = ConfigurationIdFromKey(planKey);
    ModelFixture::Run("UPDATE TESTPLAN SET TITLE = ? WHERE ID = ?", {R"(R&D "A" \ </script> &b)", planId.toInt()});
    ModelFixture::Run("UPDATE CONFIGURATION SET NAME = ? WHERE ID = ?", {"Lab&p", configurationId.toInt()});

    const QString text = "&b" + Img("TESTPLANTITLE") + "&b" + Img("CONFIGURATIONNAME") + " " + Img("PAGECURRENT");
    const QString title = R"(R&amp;D &quot;A&quot; \\ &lt;/script&gt; &amp;b)";
    const QString configuration = "Lab&amp;p <SPAN class=hfPage></SPAN>";

    Publication publication;
    publication.SetIdTestPlan(planId);
    publication.SetIdConfiguration(configurationId);
    QCOMPARE(publication.FormatHeaderFooter(text, true), Split("", title, configuration));

    // Items not found leave their placeholders; the page values are filled all the same.
    publication.SetIdTestPlan("999999");
    publication.SetIdConfiguration("");
    QCOMPARE(publication.FormatHeaderFooter(text, false).replace("TFooter", "THeader"),
             Split("", R"(<IMG src=\"TESTPLANTITLE.tag\">)",
                   R"(<IMG src=\"CONFIGURATIONNAME.tag\"> <SPAN class=hfPage></SPAN>)"));
    QCOMPARE(env.BugLogEntries(), 0);
}

QTEST_GUILESS_MAIN(tst_PrintHeaderFooter)
#include "tst_PrintHeaderFooter.moc"
