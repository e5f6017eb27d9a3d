#include "editor/StyleSheet.h"

#include <QtTest>

#include <algorithm>

namespace {

QStringList Selectors(const StyleSheet& sheet)
{
    QStringList selectors;
    for (const StyleRule& rule : sheet.rules)
        selectors << rule.selector;
    return selectors;
}

QStringList Declarations(const StyleSheet& sheet)
{
    QStringList declarations;
    for (const StyleRule& rule : sheet.rules)
        declarations << rule.declarations;
    return declarations;
}

// The text's characters other than blanks and line ends, in order of their code: what a rewrite
// that loses nothing keeps.
QString Content(const QString& text)
{
    QString content;
    for (const QChar c : text) {
        if (!c.isSpace())
            content += c;
    }
    std::sort(content.begin(), content.end());
    return content;
}

}  // namespace

class tst_StyleSheet : public QObject
{
    Q_OBJECT

private slots:
    void parseAndWrite_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QStringList>("selectors");
        QTest::addColumn<QStringList>("declarations");
        QTest::addColumn<QString>("unplaced");
        QTest::addColumn<QString>("written");

        const QString applied = "P{color:red;\n}\n.x{text-align:Center;\n}\n#y{}\n*{font-weight:bold;\n}\n";
        QTest::newRow("written by Apply, . # * kept")
            << applied << QStringList{"P", ".x", "#y", "*"}
            << QStringList{"color:red;\n", "text-align:Center;\n", "", "font-weight:bold;\n"} << "" << applied;
        QTest::newRow("P after SUP keeps its own rule")
            << "SUP{vertical-align:super;}\nP{margin:0;}\n"
            << QStringList{"SUP", "P"} << QStringList{"vertical-align:super;", "margin:0;"} << ""
            << "SUP{vertical-align:super;}\nP{margin:0;}\n";
        QTest::newRow("duplicates keep their own rules") << "P{a:1;}\nP{b:2;}\n"
                                                         << QStringList{"P", "P"} << QStringList{"a:1;", "b:2;"} << ""
                                                         << "P{a:1;}\nP{b:2;}\n";
        QTest::newRow("empty selector kept after the rules")
            << "A{x:1;}\n{y:2;}\nB{z:3;}\n"
            << QStringList{"A", "B"} << QStringList{"x:1;", "z:3;"} << "{y:2;}\n"
            << "A{x:1;}\nB{z:3;}\n{y:2;}\n";
        QTest::newRow("unclosed {") << "A{x:1;}\nB{y:2;" << QStringList{"A"} << QStringList{"x:1;"} << "B{y:2;"
                                    << "A{x:1;}\nB{y:2;";
        QTest::newRow("unclosed { before a rule") << "A{x:1;}\nB{y:2;\nC{z:3;}\n"
                                                  << QStringList{"A"} << QStringList{"x:1;"} << "B{y:2;\nC{z:3;}\n"
                                                  << "A{x:1;}\nB{y:2;\nC{z:3;}\n";
        QTest::newRow("stray }") << "A{x:1;}\n}\nB{y:2;}\n"
                                 << QStringList{"A"} << QStringList{"x:1;"} << "}\nB{y:2;}\n"
                                 << "A{x:1;}\n}\nB{y:2;}\n";
        QTest::newRow("nested block") << "@media print{P{x:1;}}\nA{y:2;}\n"
                                      << QStringList{} << QStringList{} << "@media print{P{x:1;}}\nA{y:2;}\n"
                                      << "@media print{P{x:1;}}\nA{y:2;}\n";
        QTest::newRow("CRLF") << "P{\r\ncolor:red;\r\n}\r\n SUP \r\n{x:1;}\r\n"
                              << QStringList{"P", "SUP"} << QStringList{"\r\ncolor:red;\r\n", "x:1;"} << ""
                              << "P{\r\ncolor:red;\r\n}\nSUP{x:1;}\n";
        QTest::newRow("comments") << "/* title */\nP{color:red; /* } { */}\nH1/*x*/{a:1;}"
                                  << QStringList{"P", "H1/*x*/"} << QStringList{"color:red; /* } { */", "a:1;"} << ""
                                  << "/* title */\nP{color:red; /* } { */}\nH1/*x*/{a:1;}\n";
        QTest::newRow("comment never closed")
            << "A{x:1;}\n/* B{y:2;}" << QStringList{"A"} << QStringList{"x:1;"} << "/* B{y:2;}"
            << "A{x:1;}\n/* B{y:2;}";
        QTest::newRow("{} rules") << "P{}\nH1{}" << QStringList{"P", "H1"} << QStringList{"", ""} << ""
                                  << "P{}\nH1{}\n";
        QTest::newRow("font name with blanks") << "P{font-family:Times New Roman;}\n"
                                               << QStringList{"P"} << QStringList{"font-family:Times New Roman;"} << ""
                                               << "P{font-family:Times New Roman;}\n";
        QTest::newRow("blank lines and group selector") << "A{}\n\n\n  H1, H2 \t{x:1;}\n\n"
                                                        << QStringList{"A", "H1, H2"} << QStringList{"", "x:1;"} << ""
                                                        << "A{}\nH1, H2{x:1;}\n";
        QTest::newRow("text after the last rule")
            << "A{x:1;}\njunk" << QStringList{"A"} << QStringList{"x:1;"} << "junk"
            << "A{x:1;}\njunk";
        QTest::newRow("empty") << "" << QStringList{} << QStringList{} << ""
                               << "";
        QTest::newRow("the store's empty sheet") << " " << QStringList{} << QStringList{} << ""
                                                 << "";
    }
    void parseAndWrite()
    {
        QFETCH(QString, sheet);
        QFETCH(QStringList, selectors);
        QFETCH(QStringList, declarations);
        QFETCH(QString, unplaced);
        QFETCH(QString, written);
        const StyleSheet parsed = StyleSheet::Parse(sheet);
        QCOMPARE(Selectors(parsed), selectors);
        QCOMPARE(Declarations(parsed), declarations);
        QCOMPARE(parsed.unplaced, unplaced);
        QCOMPARE(parsed.Text(), written);
        QCOMPARE(Content(written), Content(sheet));
        // What the dialog writes reads back to the same text.
        QCOMPARE(StyleSheet::Parse(written).Text(), written);
    }

    void manyRules()
    {
        QString sheet;
        for (int n = 0; n < 10000; ++n)
            sheet += QString(".c%1{margin:%1px;\n}\n").arg(n);
        const StyleSheet parsed = StyleSheet::Parse(sheet);
        QCOMPARE(parsed.rules.size(), 10000);
        QCOMPARE(parsed.rules.last().selector, QString(".c9999"));
        QCOMPARE(parsed.Text(), sheet);
    }

    void values_data()
    {
        QTest::addColumn<QString>("declarations");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("value");
        QTest::newRow("found") << "color:red;\nfont-size:12pt;\n"
                               << "font-size"
                               << "12pt";
        QTest::newRow("first of two") << "color:red;color:blue;"
                                      << "color"
                                      << "red";
        QTest::newRow("untrimmed") << "text-align: Center ;"
                                   << "text-align"
                                   << " Center ";
        QTest::newRow("missing") << "color:red;"
                                 << "text-align"
                                 << "";
        QTest::newRow("no ;") << "text-align:Center"
                              << "text-align"
                              << "";
        QTest::newRow("case counts") << "Text-Align:Center;"
                                     << "text-align"
                                     << "";
        QTest::newRow("not inside another property") << "background-color:yellow;color:red;"
                                                     << "color"
                                                     << "red";
        QTest::newRow("only inside another property") << "background-color:yellow;"
                                                      << "color"
                                                      << "";
    }
    void values()
    {
        QFETCH(QString, declarations);
        QFETCH(QString, property);
        QFETCH(QString, value);
        QCOMPARE(StyleSheet::Value(declarations, property), value);
    }

    void alignment_data()
    {
        QTest::addColumn<QString>("declarations");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("result");
        QTest::newRow("append") << "color:red;\n"
                                << "Center"
                                << "color:red;\ntext-align:Center;\n";
        QTest::newRow("replace lower case") << "text-align:left;\ncolor:red;\n"
                                            << "Right"
                                            << "text-align:Right;\ncolor:red;\n";
        QTest::newRow("replace, no line end") << "color:red;text-align:Justify;}"
                                              << "Left"
                                              << "color:red;text-align:Left;}";
        QTest::newRow("empty choice removes") << "text-align:Left;\ncolor:red;\n"
                                              << ""
                                              << "color:red;\n";
        QTest::newRow("empty choice removes CRLF") << "text-align:Left;\r\ncolor:red;"
                                                   << ""
                                                   << "color:red;";
        QTest::newRow("empty choice, none set") << "color:red;\n"
                                                << ""
                                                << "color:red;\n";
        QTest::newRow("append after a declaration without ;") << "color:red"
                                                              << "Center"
                                                              << "color:red;text-align:Center;\n";
        QTest::newRow("append after ; left out before a line end") << "color:red\n"
                                                                   << "Center"
                                                                   << "color:red;\ntext-align:Center;\n";
        QTest::newRow("unended value stays") << "text-align:left"
                                             << "Right"
                                             << "text-align:left";
    }
    void alignment()
    {
        QFETCH(QString, declarations);
        QFETCH(QString, choice);
        QFETCH(QString, result);
        QCOMPARE(StyleSheet::WithAlignment(declarations, choice), result);
    }

    void pageBreak_data()
    {
        QTest::addColumn<QString>("declarations");
        QTest::addColumn<QList<int>>("choices");
        QTest::addColumn<QString>("result");
        QTest::newRow("before twice") << "color:red;\n"
                                      << QList<int>{1, 1} << "color:red;\npage-break-before:always;\n";
        QTest::newRow("before then after") << "" << QList<int>{1, 2} << "page-break-after:always;\n";
        QTest::newRow("none") << "page-break-after:always;\ncolor:red;\n" << QList<int>{0} << "color:red;\n";
        QTest::newRow("stored with CRLF")
            << "page-break-before:always;\r\ncolor:red;" << QList<int>{1} << "color:red;page-break-before:always;\n";
        QTest::newRow("stored without line end")
            << "color:red;page-break-before:always;" << QList<int>{2} << "color:red;page-break-after:always;\n";
        QTest::newRow("after a declaration without ;")
            << "color:red" << QList<int>{1} << "color:red;page-break-before:always;\n";
    }
    void selectors_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("tag") << "P" << true;
        QTest::newRow("class and id") << ".x #y" << true;
        QTest::newRow("{") << "P{" << false;
        QTest::newRow("}") << "P}" << false;
        QTest::newRow("<") << "</style>" << false;
        // A comment or an escape left open would swallow the rules after it.
        QTest::newRow("comment start") << "P /*" << false;
        QTest::newRow("comment end") << "P*/" << false;
        QTest::newRow("escape") << "P\\" << false;
    }
    void selectors()
    {
        QFETCH(QString, selector);
        QFETCH(bool, allowed);
        QCOMPARE(StyleSheet::AllowedSelector(selector), allowed);
    }

    void pageBreak()
    {
        QFETCH(QString, declarations);
        QFETCH(QList<int>, choices);
        QFETCH(QString, result);
        for (const int choice : choices)
            declarations = StyleSheet::WithPageBreak(declarations, choice);
        QCOMPARE(declarations, result);
    }
};

QTEST_GUILESS_MAIN(tst_StyleSheet)
#include "tst_StyleSheet.moc"
