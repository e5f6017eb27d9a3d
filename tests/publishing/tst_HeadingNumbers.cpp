#include "platform/HtmlDocument.h"
#include "publishing/FieldPlaceholders.h"
#include "publishing/HeadingNumbers.h"

#include <QtTest>

namespace {

QString Open(int n)
{
    return QStringLiteral("<blockquote>").repeated(n);
}

QString Close(int n)
{
    return QStringLiteral("</blockquote>").repeated(n);
}

// A sub-test heading as the test-plan document writes it.
QString SubTestHeading(int level, const QString& anchor, const QString& title)
{
    const QString tag = QStringLiteral("H%1").arg(level);
    return Open(level) + "\r\n<a name=\"" + anchor + "\" ><" + tag + ">" + title + "</" + tag + "></a>\r\n" +
           Close(level) + "\r\n";
}

}  // namespace

// Heading numbers inserted into a page and the table of contents listing them.
class tst_HeadingNumbers : public QObject
{
    Q_OBJECT

private slots:
    void numbers_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("numbered");
        QTest::addColumn<QString>("toc");

        QTest::newRow("no heading") << "<html><head><title>T</title></head><body><p>x</p></body></html>"
                                    << "<html><head><title>T</title></head><body><p>x</p></body></html>"
                                    << "";
        QTest::newRow("empty page") << ""
                                    << ""
                                    << "";

        QTest::newRow("first H2, then H1")
            << "<H2>Intro</H2><H1>Plan</H1>"
            << "<H2>0.1 Intro</H2><H1>1 Plan</H1>"
            << Open(2) + " 0.1 Intro<BR>\r\n" + Close(2) + Open(1) + " 1 Plan<BR>\r\n" + Close(1);

        QTest::newRow("three nested sub-tests")
            << SubTestHeading(1, "1", "A") + SubTestHeading(2, "1.1", "B") + SubTestHeading(3, "1.1.1", "C")
            << SubTestHeading(1, "1", "1 A") + SubTestHeading(2, "1.1", "1.1 B") + SubTestHeading(3, "1.1.1", "1.1.1 C")
            << Open(1) + " 1 A<BR>\r\n" + Close(1) + Open(2) + " 1.1 B<BR>\r\n" + Close(2) + Open(3) +
                   " 1.1.1 C<BR>\r\n" + Close(3);

        // Same-level entries after the first drop the previous entry's line feed and closing tags;
        // level 1 entries never merge.
        QTest::newRow("same level runs")
            << "<h1>A</h1><h2>B <i>x</i></h2><h2>C</h2><h2>D</h2><h1>E</h1><h1>F</h1>"
            << "<h1>1 A</h1><h2>1.1 B <i>x</i></h2><h2>1.2 C</h2><h2>1.3 D</h2><h1>2 E</h1><h1>3 F</h1>"
            << Open(1) + " 1 A<BR>\r\n" + Close(1) + Open(2) + " 1.1 B <i>x</i><BR>\r 1.2 C<BR>\r 1.3 D<BR>\r\n" +
                   Close(2) + Open(1) + " 2 E<BR>\r\n" + Close(1) + Open(1) + " 3 F<BR>\r\n" + Close(1);

        QTest::newRow("back up two levels")
            << "<h1>A</h1><h2>B</h2><h3>C</h3><h2>D</h2>"
            << "<h1>1 A</h1><h2>1.1 B</h2><h3>1.1.1 C</h3><h2>1.2 D</h2>"
            << Open(1) + " 1 A<BR>\r\n" + Close(1) + Open(2) + " 1.1 B<BR>\r\n" + Close(2) + Open(3) +
                   " 1.1.1 C<BR>\r\n" + Close(3) + Open(2) + " 1.2 D<BR>\r\n" + Close(2);

        QTest::newRow("descriptions and templates share the count")
            << "<body><p>Plan <b>desc</b></p><table><tr><td><h3 class=t>In cell</h3></td></tr></table>" +
                   SubTestHeading(1, "1", "Sub") + "<div><font size=2><h2>Proc</h2></font></div></body>"
            << "<body><p>Plan <b>desc</b></p><table><tr><td><h3 class=t>0.0.1 In cell</h3></td></tr></table>" +
                   SubTestHeading(1, "1", "1 Sub") + "<div><font size=2><h2>1.1 Proc</h2></font></div></body>"
            << Open(3) + " 0.0.1 In cell<BR>\r\n" + Close(3) + Open(1) + " 1 Sub<BR>\r\n" + Close(1) + Open(2) +
                   " 1.1 Proc<BR>\r\n" + Close(2);

        QTest::newRow("H7 to H10 numbered, H11 left alone")
            << "<h1>A</h1><H7>G</H7><h11>K</h11><h8>H</h8><H9>I</H9><h10>J</h10><H12>L</H12><h10>M</h10><h2>B</h2>"
            << "<h1>1 A</h1><H7>1.0.0.0.0.0.1 G</H7><h11>K</h11><h8>1.0.0.0.0.0.1.1 H</h8>"
               "<H9>1.0.0.0.0.0.1.1.1 I</H9><h10>1.0.0.0.0.0.1.1.1.1 J</h10><H12>L</H12>"
               "<h10>1.0.0.0.0.0.1.1.1.2 M</h10><h2>1.1 B</h2>"
            << Open(1) + " 1 A<BR>\r\n" + Close(1) + Open(7) + " 1.0.0.0.0.0.1 G<BR>\r\n" + Close(7) + Open(8) +
                   " 1.0.0.0.0.0.1.1 H<BR>\r\n" + Close(8) + Open(9) + " 1.0.0.0.0.0.1.1.1 I<BR>\r\n" + Close(9) +
                   Open(10) + " 1.0.0.0.0.0.1.1.1.1 J<BR>\r 1.0.0.0.0.0.1.1.1.2 M<BR>\r\n" + Close(10) + Open(2) +
                   " 1.1 B<BR>\r\n" + Close(2);

        QTest::newRow("case and attributes")
            << "<h1 class=\"t\" id=x>A</h1><H2 STYLE='color:red'\r\n align=center>B</H2><h2>C</H2>"
            << "<h1 class=\"t\" id=x>1 A</h1><H2 STYLE='color:red'\r\n align=center>1.1 B</H2><h2>1.2 C</H2>"
            << Open(1) + " 1 A<BR>\r\n" + Close(1) + Open(2) + " 1.1 B<BR>\r 1.2 C<BR>\r\n" + Close(2);

        QTest::newRow("heading closed by the next one")
            << "<h1>A<h2>B</h2>C"
            << "<h1>1 A<h2>1.1 B</h2>C" << Open(1) + " 1 A<BR>\r\n" + Close(1) + Open(2) + " 1.1 B<BR>\r\n" + Close(2);

        // The parser moves the H1 before the table; the numbers keep the order of the text.
        QTest::newRow("source order") << "<table><tr><td><h2>A</h2></td></tr><h1>B</h1></table>"
                                      << "<table><tr><td><h2>0.1 A</h2></td></tr><h1>1 B</h1></table>"
                                      << Open(2) + " 0.1 A<BR>\r\n" + Close(2) + Open(1) + " 1 B<BR>\r\n" + Close(1);

        QTest::newRow("not headings: h0, hr, header, comment, script, attribute text")
            << "<h0>a</h0><hr><header>h</header><!-- <h1>c</h1> --><script>var s = '<h1>s</h1>';</script>"
               "<p title='<h1>t</h1>'>p</p><H1>x</H1>"
            << "<h0>a</h0><hr><header>h</header><!-- <h1>c</h1> --><script>var s = '<h1>s</h1>';</script>"
               "<p title='<h1>t</h1>'>p</p><H1>1 x</H1>"
            << Open(1) + " 1 x<BR>\r\n" + Close(1);

        const QString untouched = QString::fromUtf8(
            "<!DOCTYPE html>\r\n<HTML><HEAD><META charset=\"UTF-8\"><STYLE>H1 {font-size:20pt}</STYLE></HEAD>\n"
            "<BODY>ü😀 &nbsp;&amp; <IMG src=\"TESTPLANTOC.tag\">\t\r\n<p>unclosed <b>bold");
        QTest::newRow("every other character kept")
            << untouched + "<h1>é\r\n</h1>" + untouched << untouched + "<h1>1 é\r\n</h1>" + untouched
            << Open(1) + QString::fromUtf8(" 1 é\r\n<BR>\r\n") + Close(1);
    }

    void numbers()
    {
        QFETCH(QString, html);
        QFETCH(QString, numbered);
        QFETCH(QString, toc);
        const NumberedHeadings result = NumerateHeaders(html);
        QCOMPARE(result.html, numbered);
        QCOMPARE(result.tableOfContents, toc);
    }

    // The table-of-contents placeholders found in the parse of the page as written and moved
    // past the numbers fill the numbered page as a replacement in the numbered page would.
    void placeholdersMoved_data()
    {
        QTest::addColumn<QString>("html");
        const QString toc = "<IMG src=\"TESTPLANTOC.tag\">";
        QTest::newRow("before any heading") << toc + "<H1>a</H1><H2>b</H2>";
        QTest::newRow("after headings") << "<H1>a</H1><H2>b</H2><P>" + toc + "</P><H1>c</H1>";
        QTest::newRow("first in a heading") << "<H1>a</H1><H2>" + toc + "b</H2>" + toc;
        QTest::newRow("written otherwise stays") << "<H1>" + toc + "</H1><H2>b</H2><IMG  src=\"TESTPLANTOC.tag\">";
        QTest::newRow("no heading") << "<P>" + toc + "</P>";
        QTest::newRow("no placeholder") << QString("<H1>a</H1>");
    }

    void placeholdersMoved()
    {
        QFETCH(QString, html);
        const QString contents = "<blockquote> 1 a<BR></blockquote>";
        NumberedHeadings numbered = NumerateHeaders(html);
        QString expected = numbered.html;
        FieldPlaceholders::ReplaceTagHtml(expected, "TESTPLANTOC", contents);

        const HtmlDocument parsed(html);
        const QList<FieldPlaceholders::PlaceholderSpan> spans = FieldPlaceholders::FieldSpans(parsed, "testplantoc");
        for (auto span = spans.crbegin(); span != spans.crend(); ++span)
            numbered.html.replace(numbered.Moved(span->start), span->length, contents);
        QCOMPARE(numbered.html, expected);
    }

    // A long page with many headings: every heading numbered in order, nothing else changed.
    void longPage()
    {
        const QString filler = QStringLiteral("<p>%1</p>").arg(QString(2000, QLatin1Char('x')));
        QString html;
        QString expected;
        for (int i = 1; i <= 3000; ++i) {
            html += SubTestHeading(1, QString::number(i), "T") + filler;
            expected += SubTestHeading(1, QString::number(i), QString::number(i) + " T") + filler;
        }
        const NumberedHeadings result = NumerateHeaders(html);
        QCOMPARE(result.html, expected);
        QVERIFY(result.tableOfContents.endsWith(" 3000 T<BR>\r\n</blockquote>"));
    }
};

QTEST_GUILESS_MAIN(tst_HeadingNumbers)
#include "tst_HeadingNumbers.moc"
