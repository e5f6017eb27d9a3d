#include "Golden.h"

#include "kvlBrowser/PrintTemplate.h"
#include "platform/AppFolders.h"
#include "platform/JsonText.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList kMarkers{"kvlHeaderHeight", "kvlFooterHeight", "kvlMarginBottom", "kvlMarginTop",
                           "kvlMarginLeft",   "kvlMarginRight",  "kvlPageWidth",    "kvlPageHeight",
                           "kvlOrientation",  "kvlHeader",       "kvlFooter"};

PrintSettings A4Portrait()
{
    PrintSettings settings;
    settings.Orientation = "portrait";
    settings.FooterHeight = 101;
    settings.HeaderHeight = 79;
    settings.MarginBottom = 66;
    settings.MarginTop = 28;
    settings.MarginLeft = 62;
    settings.MarginRight = 61;
    settings.PageWidth = 827;
    settings.PageHeight = 1169;
    settings.HTMLHeader =
        JsonText::Quoted(u"<TABLE class=THeader><TR><TD>Plan <SPAN class=hfTitle></SPAN></TD></TR></TABLE>");
    settings.HTMLFooter = JsonText::Quoted(u"Page <SPAN class=hfPage></SPAN> / <SPAN class=hfPageTotal></SPAN> – été");
    return settings;
}

}  // namespace

// The print template written for a print or preview, and read back as its page drawing reads it.
class tst_PrintTemplate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        QVERIFY(m_temp.isValid());
        qputenv("TEMP", m_temp.path().toUtf8());
    }
    void cleanup() { qunsetenv("TEMP"); }

    void golden();
    void texts_data();
    void texts();
    void notAJsonString_data();
    void notAJsonString();
    void folder();
    void plantedLink();

private:
    QTemporaryDir m_temp;
};

void tst_PrintTemplate::golden()
{
    QCOMPARE(BuildPrintTemplate(A4Portrait()), 0);
    const QString path = m_temp.filePath("PrintTemplate.tmp");
    QCOMPARE(PrintTemplatePath(), path);
    QVERIFY(Golden::SameAsGolden(path, "PrintTemplate.tmp"));

    const QString text = QString::fromUtf8(Golden::ReadFile(path));
    QVERIFY(text.contains("<title>Koravel, print preview</title>"));
    for (const QString& marker : kMarkers)
        QVERIFY2(!text.contains(marker), qPrintable(marker));

    PrintTemplateValues values;
    QCOMPARE(ReadPrintTemplate(path, values), 0);
    // "kvlHeader" is the start of "kvlHeaderHeight": the height stays a number.
    QCOMPARE(values.HeaderHeight, 79);
    QCOMPARE(values.FooterHeight, 101);
    QCOMPARE(values.MarginBottom, 66);
    QCOMPARE(values.MarginTop, 28);
    QCOMPARE(values.MarginLeft, 62);
    QCOMPARE(values.MarginRight, 61);
    QCOMPARE(values.PageWidth, 827);
    QCOMPARE(values.PageHeight, 1169);
    QCOMPARE(values.Orientation, QString("portrait"));
    QCOMPARE(values.header, QString("<TABLE class=THeader><TR><TD>Plan <SPAN class=hfTitle></SPAN></TD></TR></TABLE>"));
    QCOMPARE(values.footer, QString("Page <SPAN class=hfPage></SPAN> / <SPAN class=hfPageTotal></SPAN> – été"));
}

// Header, footer and orientation texts that would end the script or the string early, or
// carry a marker's name, come back as written.
void tst_PrintTemplate::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes") << R"(say "hi" and 'bye')";
    QTest::newRow("backslashes") << R"(C:\temp\ \" \\)";
    QTest::newRow("end of the script") << "a</script><script>alert(1)</script>b";
    QTest::newRow("end of the script in capitals") << "a</SCRIPT >b";
    QTest::newRow("comment and script start") << "<!--<script>x";
    QTest::newRow("line separators") << QString("a") + QChar(0x2028) + "b" + QChar(0x2029) + "c";
    QTest::newRow("NUL and controls") << QString("a") + QChar(0) + "b\t\x01\r\n";
    QTest::newRow("10,000 characters") << QString(10000, QChar(u'é'));
    QTest::newRow("markers") << "kvlFooter kvlHeaderHeight kvlOrientation";
    QTest::newRow("empty") << "";
}

void tst_PrintTemplate::texts()
{
    QFETCH(QString, text);
    PrintSettings settings = A4Portrait();
    settings.HTMLHeader = JsonText::Quoted(text);
    settings.HTMLFooter = JsonText::Quoted(text + "!");
    settings.Orientation = text;
    QCOMPARE(BuildPrintTemplate(settings), 0);
    PrintTemplateValues values;
    QCOMPARE(ReadPrintTemplate(PrintTemplatePath(), values), 0);
    QCOMPARE(values.header, text);
    QCOMPARE(values.footer, text + "!");
    QCOMPARE(values.Orientation, text);
    QCOMPARE(values.PageHeight, 1169);
}

// The template must run: a header that is not a JSON string fails the build and leaves the
// last template as it was. An empty one is no header.
void tst_PrintTemplate::notAJsonString_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("read");
    QTest::newRow("raw HTML") << "<b>Plan</b>" << 1 << "";
    QTest::newRow("unescaped quote") << R"("say "hi"")" << 1 << "";
    QTest::newRow("script end inside") << R"("a</script>b")" << 1 << "";
    QTest::newRow("a number") << "12" << 1 << "";
    QTest::newRow("empty") << "" << 0 << "";
    QTest::newRow("string") << R"("<b>x<\/b>")" << 0 << "<b>x</b>";
}

void tst_PrintTemplate::notAJsonString()
{
    QFETCH(QString, header);
    QFETCH(int, result);
    QFETCH(QString, read);
    QCOMPARE(BuildPrintTemplate(A4Portrait()), 0);
    PrintSettings settings = A4Portrait();
    settings.HTMLHeader = header;
    settings.MarginLeft = 5;
    if (result != 0)
        QTest::ignoreMessage(QtWarningMsg, "The print template cannot hold this header or footer.");
    QCOMPARE(BuildPrintTemplate(settings), result);
    PrintTemplateValues values;
    QCOMPARE(ReadPrintTemplate(PrintTemplatePath(), values), 0);
    QCOMPARE(values.MarginLeft, result == 0 ? 5 : 62);
    if (result == 0)
        QCOMPARE(values.header, read);
}

void tst_PrintTemplate::folder()
{
    // Without TEMP: the program's own temp folder, made when missing.
    qunsetenv("TEMP");
    QDir(AppFolders::DataFolder()).removeRecursively();
    const QString fallback = QDir(AppFolders::DefaultTempPath()).filePath("PrintTemplate.tmp");
    QCOMPARE(PrintTemplatePath(), fallback);
    QCOMPARE(BuildPrintTemplate(A4Portrait()), 0);
    QVERIFY(QFile::exists(fallback));
    QDir(AppFolders::DataFolder()).removeRecursively();

    // A TEMP that cannot hold the file (it names a file) fails, and nothing is written.
    QFile blocker(m_temp.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("TEMP", blocker.fileName().toUtf8());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be written"));
    QCOMPARE(BuildPrintTemplate(A4Portrait()), 1);
    qputenv("TEMP", m_temp.filePath("missing").toUtf8());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be written"));
    QCOMPARE(BuildPrintTemplate(A4Portrait()), 1);
    QVERIFY(!QFile::exists(m_temp.filePath("missing")));
}

// A link planted under the template's name is replaced; the file it points to stays as it was.
void tst_PrintTemplate::plantedLink()
{
    const QString victim = m_temp.filePath("victim.txt");
    QFile file(victim);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep");
    file.close();
    const QString path = PrintTemplatePath();
    QFile::remove(path);
    QVERIFY(QFile::link(victim, path));
    QCOMPARE(BuildPrintTemplate(A4Portrait()), 0);
    QCOMPARE(Golden::ReadFile(victim), QByteArray("keep"));
    QVERIFY(!QFileInfo(path).isSymLink());
    PrintTemplateValues values;
    QCOMPARE(ReadPrintTemplate(path, values), 0);
}

QTEST_GUILESS_MAIN(tst_PrintTemplate)
#include "tst_PrintTemplate.moc"
