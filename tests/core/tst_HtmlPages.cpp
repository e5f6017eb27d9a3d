#include "core/DocumentType.h"
#include "core/HtmlPages.h"
#include "FakeDescriptionForm.h"
#include "platform/HtmlDocument.h"
#include "platform/Settings.h"
#include "TestEnvironment.h"

#include <QtTest>

namespace {
const QString kUtf8Meta = "<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">";
}

class tst_HtmlPages : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        SetStyleSheetLoader([this] {
            ++m_loads;
            return m_css;
        });
        m_css = "P {color:red}";
        m_loads = 0;
    }
    void cleanup()
    {
        SetStyleSheetLoader({});
        m_env.reset();
    }

    void htmlHead_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain page") << 0 << kUtf8Meta + "</HEAD><STYLE>P {color:red}</STYLE><BODY>";
        QTest::newRow("description type has no META line")
            << 1 << kUtf8Meta + "</HEAD><STYLE>P {color:red}</STYLE><BODY>";
        QTest::newRow("test plan") << 3
                                   << kUtf8Meta + "<META NAME=\"TYPE\" Content=\"TESTPLAN\">" +
                                          "</HEAD><STYLE>P {color:red}</STYLE><BODY>";
        QTest::newRow("daily history") << 60
                                       << kUtf8Meta + "<META NAME=\"TYPE\" Content=\"HISTORIC\">" +
                                              "</HEAD><STYLE>P {color:red}</STYLE><BODY>";
        QTest::newRow("header has no style")
            << 15 << kUtf8Meta + "<META NAME=\"TYPE\" Content=\"HEADER\"></HEAD><BODY>";
        QTest::newRow("footer has no style")
            << 16 << kUtf8Meta + "<META NAME=\"TYPE\" Content=\"FOOTER\"></HEAD><BODY>";
        QTest::newRow("unknown type") << 99 << kUtf8Meta + "</HEAD><STYLE>P {color:red}</STYLE><BODY>";
    }
    void htmlHead()
    {
        QFETCH(int, type);
        QFETCH(QString, expected);
        QCOMPARE(HtmlHead(type), expected);
        // The style sheet is read afresh for every page that has one.
        QCOMPARE(m_loads, (type == 15 || type == 16) ? 0 : 1);
    }

    void htmlHeadCharset()
    {
        Settings::SaveSetting("Options", "Charset", "");
        QCOMPARE(HtmlHead(15),
                 "<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=\"><META NAME=\"TYPE\" "
                 "Content=\"HEADER\"></HEAD><BODY>");
        Settings::SaveSetting("Options", "Charset", "windows-1252");
        QVERIFY(HtmlHead(0).startsWith(
            "<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"));
        // A quote typed into the setting stays inside the attribute.
        Settings::SaveSetting("Options", "Charset", "x\"><script>");
        QVERIFY(HtmlHead(15).contains("charset=x&quot;&gt;&lt;script&gt;\">"));
        m_css = "BODY {margin:0}";
        Settings::SaveSetting("Options", "Charset", "UTF-8");
        QVERIFY(HtmlHead(0).endsWith("<STYLE>BODY {margin:0}</STYLE><BODY>"));
    }

    void htmlHeadWithoutTemplateStore()
    {
        SetStyleSheetLoader({});
        QVERIFY_THROWS_EXCEPTION(std::exception, HtmlHead(0));
        QCOMPARE(HtmlHead(16).right(13), QString("</HEAD><BODY>"));
    }

    void metaStrings()
    {
        BuildMetaStrings();
        QCOMPARE(gMetaTestPlan, QString("<META NAME=\"TYPE\" Content=\"TESTPLAN\">"));
        const QStringList all{gMetaTestPlan, gMetaSubTest,    gMetaProcedure, gMetaSheet,  gMetaResult,
                              gMetaProgress, gMetaTimePassed, gMetaHistoric,  gMetaHeader, gMetaFooter};
        const QStringList words{"TESTPLAN", "SUBTEST",    "PROCEDURE", "SHEET",  "RESULT",
                                "PROGRESS", "TIMEPASSED", "HISTORIC",  "HEADER", "FOOTER"};
        for (int i = 0; i < all.size(); ++i)
            QCOMPARE(all[i], "<META NAME=\"TYPE\" Content=\"" + words[i] + "\">");
        QCOMPARE(MetaLine(1), QString());
    }

    void extractBody_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");
        QTest::newRow("upper case") << "<HTML><HEAD></HEAD><BODY>Hello <B>you</B></BODY></HTML>"
                                    << "Hello <B>you</B>";
        QTest::newRow("lower case") << "<html><body>Hello</body></html>"
                                    << "Hello";
        QTest::newRow("mixed case, attributes") << "<Html><Body bgColor=\"#ffffff\" onload=\"x()\">a > b</bODY></Html>"
                                                << "a > b";
        QTest::newRow("whole generated page") << kUtf8Meta + "</HEAD><STYLE>P {}</STYLE><BODY><P>é ü</P></BODY></HTML>"
                                              << "<P>é ü</P>";
        QTest::newRow("fragment unchanged") << "<P>No body here</P>"
                                            << "<P>No body here</P>";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("body not closed") << "<HTML><BODY>text"
                                         << "";
        QTest::newRow("empty body") << "<BODY></BODY>"
                                    << "";
        QTest::newRow("tag in a comment is not the body") << "<!-- <BODY>x</BODY> --><P>y</P>"
                                                          << "<!-- <BODY>x</BODY> --><P>y</P>";
    }
    void extractBody()
    {
        QFETCH(QString, html);
        QFETCH(QString, expected);
        QCOMPARE(ExtractBody(html), expected);
        QCOMPARE(m_env->BugLogEntries(), 0);
    }

    void clearTags_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QString pageBreak = "<IMG src=\"PAGEBREAK.tag\">";
        const QString name = "<IMG src=\"TESTPLANNAME.tag\">";
        const QString procedure = "<IMG src=\"PROCEDURENAME.tag\">";
        const QString subtest = "<IMG src=\"SUBTESTNAME.tag\">";
        const QString page = "<IMG src=\"PAGECURRENT.tag\">";
        const QString picture = "<IMG src=\"C:\\Images\\12.gif\">";
        QTest::newRow("description keeps page breaks only") << 1 << "<P>a" + pageBreak + "b" + name + "c</P>"
                                                            << "<P>a" + pageBreak + "bc</P>";
        QTest::newRow("description keeps real pictures") << 1 << picture + name << picture;
        QTest::newRow("local path of a page break reduced to its name")
            << 1 << "x<IMG style=\"WIDTH: 10px\" src=\"C:\\Temp\\PAGEBREAK.tag\">y"
            << "x" + pageBreak + "y";
        QTest::newRow("unix path and file URL too")
            << 1 << "<img src=\"file:///tmp/k/PAGEBREAK.tag\" alt=\"\">" << pageBreak;
        QTest::newRow("every occurrence removed") << 1 << name + "-" + name << "-";
        QTest::newRow("test plan") << 3 << name + procedure + subtest + page + pageBreak << name + pageBreak;
        QTest::newRow("sub-test") << 4 << name + procedure + subtest + page << name + subtest;
        QTest::newRow("procedure") << 14 << name + procedure + subtest + page << name + procedure + subtest;
        QTest::newRow("page header") << 15 << name + procedure + subtest + page << name + page;
        QTest::newRow("other types keep all") << 0 << name + procedure + page << name + procedure + page;
        QTest::newRow("lower-case markup") << 1 << "<p><img src=\"testplanname.tag\"></p>"
                                           << "<p></p>";
        QTest::newRow("no images") << 1 << "<P>plain</P>"
                                   << "<P>plain</P>";
        // Browsers read an IMAGE start tag as IMG.
        QTest::newRow("IMAGE start tag") << 1 << "<P><image src=\"C:\\Temp\\PAGEBREAK.tag\"></P>"
                                         << "<P>" + pageBreak + "</P>";
        // Only the file name of src tells a placeholder, whatever its case.
        const QString altText = "<IMG alt=\"see TESTPLANNAME.tag\" src=\"C:\\Images\\12.gif\" width=20>";
        QTest::newRow(".tag in alt text is a picture") << 3 << altText << altText;
        const QString folder = "<img style=\"WIDTH: 10px\" src=\"/home/u/v1.tags/PROCEDURE.tag/shot.png\">";
        QTest::newRow(".tag in folder names is a picture") << 3 << folder << folder;
        QTest::newRow("upper-case suffix") << 1 << "<P>" + name.toUpper() + "<IMG src=\"C:\\Temp\\PAGEBREAK.TAG\"></P>"
                                           << "<P><IMG src=\"PAGEBREAK.TAG\"></P>";
        QTest::newRow("lower-case page break kept") << 1 << "<img src=\"pagebreak.tag\">"
                                                    << "<img src=\"pagebreak.tag\">";
        QTest::newRow("lower-case field name removed") << 3 << "<img src=\"procedurename.tag\">"
                                                       << "";
        QTest::newRow("field words outside the name do not count")
            << 3 << "<IMG alt=\"PROCEDURE\" src=\"/tmp/SUBTEST/TESTPLANNAME.tag\">" << name;
    }
    void clearTags()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(ClearTags(type, text), expected);
    }

    void clearTagsCleansEveryEditorsText()
    {
        // The save stores both panes while only one has the focus, or none at all.
        FakeDescriptionForm form;
        form.edit1.SetDocumentHTML("<HTML><BODY>focused</BODY></HTML>");
        form.activeControl = "DHTMLEdit1";
        const QString other = "<P>expected<IMG src=\"TESTPLANNAME.tag\"></P>";
        QCOMPARE(ClearTags(1, other), QString("<P>expected</P>"));
        form.activeControl.clear();
        QCOMPARE(ClearTags(1, other), QString("<P>expected</P>"));
    }

    void refreshStyle()
    {
        QCOMPARE(RefreshStyle(), 0L);  // no description window open
        FakeDescriptionForm first;
        FakeDescriptionForm second;
        FakeDescriptionForm layout;
        layout.SetTag("Template");
        m_css = "H1 {font-size:20pt}";
        QCOMPARE(RefreshStyle(), 0L);
        for (FakeHtmlEditor* editor : {&first.edit1, &first.edit2, &second.edit1, &second.edit2})
            QCOMPARE(editor->StyleSheetText(), m_css);
        QCOMPARE(layout.edit1.StyleSheetText(), QString());

        m_css = "H2 {}";
        second.edit1.FailWrites(true);
        QCOMPARE(RefreshStyle(), 1L);
        QCOMPARE(first.edit2.StyleSheetText(), QString("H2 {}"));  // reached before the failure
        QCOMPARE(second.edit2.StyleSheetText(), QString("H1 {font-size:20pt}"));
        QCOMPARE(m_env->BugLogEntries(), 1);
        QVERIFY(m_env->BugLog().contains("Error_RefreshStyle : 70\r\nPermission denied"));
    }

    void refreshStyleIsNoEdit()
    {
        // A pane as last saved takes the new sheet into its snapshot; an edited one keeps asking.
        FakeDescriptionForm form;
        const QString page = "<HTML><HEAD><STYLE>P {}</STYLE></HEAD><BODY>%1</BODY></HTML>";
        form.edit1.SetDocumentHTML(page.arg("saved"));
        form.edit2.SetDocumentHTML(page.arg("typed"));
        form.mstrLastSaved = page.arg("saved");
        form.mstrLastSaved2 = page.arg("before typing");
        m_css = "H1 {font-size:20pt}";
        QCOMPARE(RefreshStyle(), 0L);
        QCOMPARE(form.edit1.DocumentHTML(), page.arg("saved").replace("P {}", m_css));
        QCOMPARE(form.mstrLastSaved, form.edit1.DocumentHTML());
        QCOMPARE(form.mstrLastSaved2, page.arg("before typing"));
        QVERIFY(!form.edit1.IsDirty());
    }

    void documentOffsets()
    {
        const QString html = QString::fromUtf8("<p>ü😀<IMG SRC='a&amp;b.gif' Alt=x></p>");
        const HtmlDocument document(html);
        const QList<HtmlElement> images = document.ElementsByTag("img");
        QCOMPARE(images.size(), 1);
        QCOMPARE(document.OuterHtml(images[0]), QString("<IMG SRC='a&amp;b.gif' Alt=x>"));
        QCOMPARE(images[0].Attribute("src"), QString("a&b.gif"));
        const HtmlAttribute* src = images[0].FindAttribute("Src");
        QVERIFY(src);
        QCOMPARE(html.mid(src->valueStart, src->valueLength), QString("'a&amp;b.gif'"));
        QCOMPARE(document.OuterHtml(document.ElementsByTag("p").first()), html);
        QVERIFY(!document.ElementsByTag("html").first().InSource());
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    QString m_css;
    int m_loads = 0;
};

QTEST_GUILESS_MAIN(tst_HtmlPages)
#include "tst_HtmlPages.moc"
