#include "platform/KvlError.h"
#include "platform/Settings.h"
#include "publishing/FrameSetFile.h"
#include "publishing/PageFiles.h"
#include "publishing/PageWriter.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

Q_DECLARE_METATYPE(HtmlWriteMode)

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString Head(const QString& meta)
{
    return QStringLiteral("<HTML><HEAD>") + meta + QStringLiteral("<TITLE>t</TITLE></HEAD>\r\n");
}

void AddModeRows(const char* name)
{
    QTest::addColumn<HtmlWriteMode>("mode");
    QTest::newRow(qPrintable(QStringLiteral("%1, replace").arg(name))) << HtmlWriteMode::Replace;
    QTest::newRow(qPrintable(QStringLiteral("%1, plain").arg(name))) << HtmlWriteMode::Plain;
}

// Limits the size of any file this process writes, as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

}  // namespace

// Generated pages on disk: the bytes in the charset the page declares or the options name, the
// overwriting of existing files, failures that raise without leaving a half page, and the names
// and frame set of a published site.
class tst_PageWriter : public QObject
{
    Q_OBJECT

private slots:
    void charsets_data();
    void charsets();
    void readOnlyFileOverwritten_data() { AddModeRows("read-only"); }
    void readOnlyFileOverwritten();
    void unwritableFolderRaises_data();
    void unwritableFolderRaises();
    void failedWriteRaises_data() { AddModeRows("file size limit"); }
    void failedWriteRaises();
    void pageFiles_data();
    void pageFiles();
    void frameSet();
    void frameSetFailureLogged();
};

void tst_PageWriter::charsets_data()
{
    QTest::addColumn<QString>("setting");  // Options/Charset; not stored when empty
    QTest::addColumn<QString>("page");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("logEntries");

    const QString body = QStringLiteral("<BODY>\u00e9t\u00e9 \u20ac\r\nline\n</BODY></HTML>\r\n");
    const QString latin1Meta =
        QStringLiteral("<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">");
    QTest::newRow("UTF-8 declared, no mark") << QString("ISO-8859-1") << Head("<meta charset=\"UTF-8\">") + body
                                             << (Head("<meta charset=\"UTF-8\">") + body).toUtf8() << 0;
    QTest::newRow("ISO-8859-1: the euro as a reference")
        << QString() << Head(latin1Meta) + body
        << Head(latin1Meta).toLatin1() + "<BODY>\xE9t\xE9 &#8364;\r\nline\n</BODY></HTML>\r\n"
        << 0;
    const QString cp1252Meta = QStringLiteral("<meta charset=windows-1252>");
    QTest::newRow("windows-1252: euro encoded, beyond it references")
        << QString() << Head(cp1252Meta) + QStringLiteral("<BODY>\u20ac\u0100\U0001F600?</BODY>")
        << Head(cp1252Meta).toLatin1() + "<BODY>\x80&#256;&#128512;?</BODY>" << 0;
    QTest::newRow("unknown declared: UTF-8 and the charset attribute rewritten")
        << QString() << Head("<meta charset='x-klingon'>") + body << (Head("<meta charset=\"UTF-8\">") + body).toUtf8()
        << 1;
    QTest::newRow("unknown declared: UTF-8 and the content rewritten")
        << QString() << Head("<META http-equiv=\"Content-Type\" content=\"text/html; charset=x-klingon\">") + body
        << (Head("<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">") + body).toUtf8() << 1;
    QTest::newRow("no META, UTF-8: marked") << QString() << Head("") + body << kBom + (Head("") + body).toUtf8() << 0;
    QTest::newRow("no META, UTF-8, ASCII only: unmarked")
        << QString("UTF-8") << Head("") + "<BODY>a</BODY>" << (Head("") + "<BODY>a</BODY>").toUtf8() << 0;
    QTest::newRow("no META, ISO-8859-1") << QString("ISO-8859-1") << Head("") + body
                                         << Head("").toLatin1() + "<BODY>\xE9t\xE9 &#8364;\r\nline\n</BODY></HTML>\r\n"
                                         << 0;
    QTest::newRow("no META, unknown setting: UTF-8 marked")
        << QString("x-klingon") << Head("") + body << kBom + (Head("") + body).toUtf8() << 1;
    // A META line inside the body is content, not the page's declaration.
    const QString lateMeta = QStringLiteral("<BODY><meta charset=\"ISO-8859-1\">\u00e9</BODY>");
    QTest::newRow("META in the body ignored")
        << QString() << Head("") + lateMeta << kBom + (Head("") + lateMeta).toUtf8() << 0;
}

// Each page gets the same bytes in both modes; line ends stay as given.
void tst_PageWriter::charsets()
{
    QFETCH(QString, setting);
    QFETCH(QString, page);
    QFETCH(QByteArray, bytes);
    QFETCH(int, logEntries);
    TestEnvironment env;
    if (!setting.isEmpty())
        Settings::SaveSetting("Options", "Charset", setting);
    for (const HtmlWriteMode mode : {HtmlWriteMode::Replace, HtmlWriteMode::Plain}) {
        env.ClearBugLog();
        const QString path = env.Path(QStringLiteral("page.htm"));
        WritePage(path, page, mode);
        QCOMPARE(FileBytes(path), bytes);
        QCOMPARE(env.BugLogEntries(), logEntries);
        if (logEntries)
            QVERIFY(env.BugLog().contains("Error_WriteHtmlFile : "));
    }
}

void tst_PageWriter::readOnlyFileOverwritten()
{
    QFETCH(HtmlWriteMode, mode);
    TestEnvironment env;
    const QString path = env.Path(QStringLiteral("page.htm"));
    WriteFile(path, "old page, longer than the new one");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    WritePage(path, QStringLiteral("<P>new</P>"), mode);
    QCOMPARE(FileBytes(path), QByteArray("<P>new</P>"));
    QVERIFY(QFile::permissions(path) & QFile::WriteOwner);
}

void tst_PageWriter::unwritableFolderRaises_data()
{
    QTest::addColumn<QString>("folder");  // relative to the test's root
    QTest::addColumn<HtmlWriteMode>("mode");
    for (const HtmlWriteMode mode : {HtmlWriteMode::Replace, HtmlWriteMode::Plain}) {
        const char* suffix = mode == HtmlWriteMode::Replace ? "replace" : "plain";
        QTest::addRow("missing folder, %s", suffix) << "missing" << mode;
        QTest::addRow("a file in place of the folder, %s", suffix) << "file" << mode;
        QTest::addRow("read-only folder, %s", suffix) << "readonly" << mode;
    }
}

// Nothing is left behind: no page, no temporary file beside it.
void tst_PageWriter::unwritableFolderRaises()
{
    QFETCH(QString, folder);
    QFETCH(HtmlWriteMode, mode);
    TestEnvironment env;
    WriteFile(env.Path("file"), "a file");
    QVERIFY(QDir(env.Root()).mkdir("readonly"));
    if (folder == "readonly") {
        if (geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        QVERIFY(QFile::setPermissions(env.Path(folder), QFile::ReadOwner | QFile::ExeOwner));
    }
    const QString path = PageFiles::InFolder(env.Path(folder), PageFiles::Explorer());
    long number = 0;
    try {
        WritePage(path, QStringLiteral("<P>page</P>"), mode);
    } catch (const KvlError& error) {
        number = error.Number();
    }
    QFile::setPermissions(env.Path("readonly"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(number, 75L);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(env.Path("readonly")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// A write that stops half way raises; replacing keeps the old page whole and leaves no
// temporary file.
void tst_PageWriter::failedWriteRaises()
{
    QFETCH(HtmlWriteMode, mode);
    TestEnvironment env;
    QVERIFY(QDir(env.Root()).mkdir("site"));
    const QString path = env.Path("site/page.htm");
    WriteFile(path, "old page");
    const QString page = QStringLiteral("<P>%1</P>").arg(QString(64 * 1024, QLatin1Char('x')));
    bool raised = false;
    {
        FileSizeLimit limit(4096);
        try {
            WritePage(path, page, mode);
        } catch (const KvlError& error) {
            raised = error.Number() == 75;
        }
    }
    QVERIFY(raised);
    if (mode == HtmlWriteMode::Replace) {
        QCOMPARE(FileBytes(path), QByteArray("old page"));
        QCOMPARE(QDir(env.Path("site")).entryList(QDir::Files), QStringList{"page.htm"});
    }
    // With room again the same page is written whole.
    WritePage(path, page, mode);
    QCOMPARE(FileBytes(path), page.toLatin1());
}

void tst_PageWriter::pageFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("main page") << PageFiles::MainTestPlan("12") << "MainTestPlan12.htm";
    QTest::newRow("test plan") << PageFiles::TestPlan("12") << "TestPlan12.htm";
    QTest::newRow("sub-test, one name at every depth") << PageFiles::SubTest("3") << "SubTest3.htm";
    QTest::newRow("configuration") << PageFiles::Configuration("4") << "Configuration4.htm";
    QTest::newRow("procedure") << PageFiles::Procedure("7") << "Procedure7.htm";
    QTest::newRow("procedure under a sub-test") << PageFiles::Procedure("7", "3") << "Procedure7_3.htm";
    QTest::newRow("same procedure, other sub-test") << PageFiles::Procedure("7", "5") << "Procedure7_5.htm";
    QTest::newRow("navigation page") << PageFiles::Explorer() << "Explorer.htm";
    QTest::newRow("in a folder") << PageFiles::InFolder("/srv/site", "Explorer.htm") << "/srv/site/Explorer.htm";
    QTest::newRow("in a folder ending in a separator")
        << PageFiles::InFolder("/srv/site/", PageFiles::SubTest("3")) << "/srv/site/SubTest3.htm";
}

void tst_PageWriter::pageFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(name, expected);
}

// Six lines in CR LF, byte for byte, with no byte-order mark whatever the charset of the
// options, over a read-only file the user chose.
void tst_PageWriter::frameSet()
{
    TestEnvironment env;
    const QByteArray expected =
        "<HTML>\r\n"
        "<FRAMESET COLS=\"200,*\"FRAMEBORDER=\"0\" BORDER=\"no\" FRAMESPACING=\"0\">\r\n"
        "<FRAME SRC=\"Explorer.htm\">\r\n"
        "<FRAME Name = \"Content\"SRC=\"MainTestPlan42.htm\">\r\n"
        "</FRAMESET>\r\n"
        "</HTML>\r\n";
    const QString path = env.Path("site.htm");
    WriteFile(path, "old");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    for (const QString charset : {"UTF-8", "ISO-8859-1"}) {
        Settings::SaveSetting("Options", "Charset", charset);
        QCOMPARE(WriteFrameSetFile(path, "42"), 0L);
        QCOMPARE(FileBytes(path), expected);
    }
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_PageWriter::frameSetFailureLogged()
{
    TestEnvironment env;
    QCOMPARE(WriteFrameSetFile(env.Path("missing/site.htm"), "42"), 1L);
    QCOMPARE(env.BugLogEntries(), 1);
    QVERIFY(env.BugLog().contains("Error_WriteFrameSetFile : 75\r\n"));
}

QTEST_MAIN(tst_PageWriter)
#include "tst_PageWriter.moc"
