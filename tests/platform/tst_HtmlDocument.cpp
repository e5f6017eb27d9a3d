#include "platform/HtmlDocument.h"

#include <QtTest>

// The inner markup of an element as written, with and without an end tag in the source.
class tst_HtmlDocument : public QObject
{
    Q_OBJECT

private slots:
    void innerHtml_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("inner");

        QTest::newRow("markup kept") << "<H1 class=x>A <b>b</b>&amp;</H1>"
                                     << "h1" << 0 << "A <b>b</b>&amp;";
        QTest::newRow("empty") << "<h1></h1>"
                               << "h1" << 0 << "";
        QTest::newRow("closed by the next heading") << "<h1>A<h2>B</h2>C</h1>"
                                                    << "h1" << 0 << "A";
        QTest::newRow("list items without end tags") << "<ul><li>one<li>two <i>2</i></ul>"
                                                     << "li" << 0 << "one";
        QTest::newRow("second list item") << "<ul><li>one<li>two <i>2</i></ul>"
                                          << "li" << 1 << "two <i>2</i>";
        QTest::newRow("open to the end") << "<div>x <span>y<!--c-->"
                                         << "div" << 0 << "x <span>y<!--c-->";
        QTest::newRow("unknown tag named from the source") << "<H7 a=1>T <H8>u</H8></H7>"
                                                           << "h7" << 0 << "T <H8>u</H8>";
        QTest::newRow("implied") << "<p>x</p>"
                                 << "html" << 0 << "";
    }

    void innerHtml()
    {
        QFETCH(QString, html);
        QFETCH(QString, tag);
        QFETCH(int, index);
        QFETCH(QString, inner);
        const HtmlDocument document(html);
        const QList<HtmlElement> elements = document.ElementsByTag(tag);
        QVERIFY(index < elements.size());
        QCOMPARE(document.InnerHtml(elements[index]), inner);
    }
};

QTEST_GUILESS_MAIN(tst_HtmlDocument)
#include "tst_HtmlDocument.moc"
