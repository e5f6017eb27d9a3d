#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/ImageItemKind.h"
#include "platform/Globals.h"
#include "publishing/Publication.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QUrl>
#include <QtTest>

namespace {

// A small real picture in the format, its name after the picture's data to tell copies apart.
QByteArray Picture(const char* format, const char* name)
{
    QByteArray bytes;
    if (qstrcmp(format, "gif") == 0) {
        bytes = QByteArray::fromBase64("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7");  // Qt writes no GIF
    } else {
        QBuffer buffer(&bytes);
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format))
            qFatal("cannot write a %s picture", format);
    }
    return bytes + name + QByteArray(1, '\0');
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void AddPicture(int id, int item, const QString& idItem, const QString& type, const QByteArray& bytes)
{
    const QString file = gConnection().Dialect().Quote("FILE");
    QVERIFY(gConnection().Execute(
        "INSERT INTO IMAGEFILE (ID, ITEM, ID_ITEM, " + file + ", FILETYPE) VALUES (?, ?, ?, ?, ?)",
        {id, item, idItem, bytes, type}));
}

// "id:kind:owner:type" of every row, by id.
QStringList Rows()
{
    QStringList rows;
    QSqlQuery query = gConnection().Query("SELECT ID, ITEM, ID_ITEM, FILETYPE FROM IMAGEFILE ORDER BY ID");
    while (query.next()) {
        rows.append(QString("%1:%2:%3:%4")
                        .arg(query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                             query.value(3).toString()));
    }
    return rows;
}

// How a page refers to a picture file it was pointed at.
QString Url(const QString& path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

QByteArray StoredBytes(int id)
{
    const QString file = gConnection().Dialect().Quote("FILE");
    return gConnection().Scalar("SELECT " + file + " FROM IMAGEFILE WHERE ID = ?", {id}).toByteArray();
}

}  // namespace

class tst_Pictures : public QObject
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
        m_source = QDir(gTempPath).filePath("source");
        QVERIFY(QDir().mkpath(m_source));
        m_images = QDir(gImagePath);
    }
    void cleanup()
    {
        m_db.reset();
        m_env.reset();
    }

    void downloadWritesStoredPictures()
    {
        AddPicture(12, 3, "5", "gif", Picture("gif", "twelve"));
        QString html =
            "<P>a<IMG src=\"C:\\Old place\\12.gif\">b<img alt=\"x\" SRC='12.gif'></P>"
            "<IMG src=\"logo.gif\"><IMG src=\"noext\"><IMG src=\"99.gif\"><IMG src=\"a12.gif\">"
            "<P>12.gif stays in the text</P>";
        Publication().DownLoadPicture(html);
        const QString written = m_images.filePath("12.gif");
        QCOMPARE(ReadFile(written), Picture("gif", "twelve"));
        const QString quoted = "\"" + Url(written) + "\"";
        QCOMPARE(html, "<P>a<IMG src=" + quoted + ">b<img alt=\"x\" SRC=" + quoted + "></P>" +
                           "<IMG src=\"logo.gif\"><IMG src=\"noext\"><IMG src=\"99.gif\"><IMG src=\"a12.gif\">"
                           "<P>12.gif stays in the text</P>");
        QCOMPARE(m_env->BugLogEntries(), 0);

        QString noImages = "<P>nothing</P>";
        Publication().DownLoadPicture(noImages);
        QCOMPARE(noImages, QString("<P>nothing</P>"));
    }

    void downloadRefusesUnsafeFileTypes()
    {
        AddPicture(3, 3, "5", "../", Picture("gif", "three"));
        QString html = "<IMG src=\"3.gif\">";
        Publication().DownLoadPicture(html);
        QCOMPARE(html, QString("<IMG src=\"3.gif\">"));
        QVERIFY(m_images.entryList(QDir::Files).isEmpty());
    }

    void downloadFailureLeavesText()
    {
        QVERIFY(gConnection().Execute("DROP TABLE IMAGEFILE"));
        QString html = "<IMG src=\"4.gif\">";
        Publication().DownLoadPicture(html);
        QCOMPARE(html, QString("<IMG src=\"4.gif\">"));
        QVERIFY(m_env->BugLog().contains("Error_DownLoadPicture : "));
    }

    void saveStoresAndRewrites()
    {
        const QString png = m_source + "/shot one.png";
        const QString gif = m_source + "/b.gif";
        const QString tag = m_source + "/PAGEBREAK.tag";
        WriteFile(png, Picture("png", "png"));
        WriteFile(gif, Picture("gif", "gif"));
        WriteFile(tag, "placeholder");
        AddPicture(7, ImageItemKind::Procedure, "40", "gif", Picture("gif", "seven"));  // referenced, file gone
        AddPicture(8, ImageItemKind::Procedure, "40", "gif", Picture("gif", "eight"));  // no longer referenced
        AddPicture(9, ImageItemKind::ProcedureExpectedResult, "40", "jpg", Picture("jpg", "nine"));
        AddPicture(5, ImageItemKind::SubTest, "40", "gif", Picture("gif", "five"));

        const QString original = "<P><IMG src=\"" + png + "\">x<IMG src=\"" + png + "\"></P><IMG src=\"" + gif +
                                 "\"><IMG src=\"" + m_source + "/missing.jpg\"><IMG src=\"" + tag +
                                 "\"><IMG src=\"/gone/7.gif\">";
        QString html = original;
        QCOMPARE(Publication().SavePicture(html, "40", ImageItemKind::Procedure), 0L);

        const QString copy10 = m_images.filePath("10.png");
        const QString copy11 = m_images.filePath("11.gif");
        QCOMPARE(html, "<P><IMG src=\"" + Url(copy10) + "\">x<IMG src=\"" + Url(copy10) + "\"></P><IMG src=\"" +
                           Url(copy11) + "\"><IMG src=\"" + m_source + "/missing.jpg\"><IMG src=\"" + tag +
                           "\"><IMG src=\"/gone/7.gif\">");
        QCOMPARE(Rows(), QStringList({"5:4:40:gif", "7:14:40:gif", "9:114:40:jpg", "10:14:40:png", "11:14:40:gif"}));
        QCOMPARE(StoredBytes(10), Picture("png", "png"));
        QCOMPARE(ReadFile(copy10), Picture("png", "png"));
        QCOMPARE(ReadFile(copy11), Picture("gif", "gif"));
        QCOMPARE(m_images.entryList(QDir::Files), QStringList({"10.png", "11.gif"}));
        QCOMPARE(m_env->BugLogEntries(), 0);

        // Opening the description again brings the pictures back, files removed meanwhile, and
        // the picture whose file had gone.
        QVERIFY(QFile::remove(copy10));
        QString reopened = html;
        Publication().DownLoadPicture(reopened);
        QCOMPARE(reopened, QString(html).replace("\"/gone/7.gif\"", "\"" + Url(m_images.filePath("7.gif")) + "\""));
        QCOMPARE(ReadFile(copy10), Picture("png", "png"));
        QCOMPARE(ReadFile(m_images.filePath("7.gif")), Picture("gif", "seven"));

        // Saving the reopened page renumbers its pictures and drops the rows it replaced.
        QCOMPARE(Publication().SavePicture(reopened, "40", ImageItemKind::Procedure), 0L);
        QVERIFY(reopened.contains(Url(m_images.filePath("12.png"))));
        QVERIFY(reopened.contains(Url(m_images.filePath("14.gif"))));
        QCOMPARE(Rows(), QStringList({"5:4:40:gif", "9:114:40:jpg", "12:14:40:png", "13:14:40:gif", "14:14:40:gif"}));
        QCOMPARE(StoredBytes(14), Picture("gif", "seven"));
    }

    void savingOnePaneKeepsTheOther()
    {
        const QString png = m_source + "/a.png";
        WriteFile(png, Picture("png", "a"));
        QString expected = "<IMG src=\"" + png + "\">";
        QCOMPARE(Publication().SavePicture(expected, "40", ImageItemKind::ProcedureExpectedResult), 0L);
        QString description = "<P>no pictures</P>";
        QCOMPARE(Publication().SavePicture(description, "40", ImageItemKind::Procedure), 0L);
        QCOMPARE(description, QString("<P>no pictures</P>"));
        QCOMPARE(Rows(), QStringList({"1:114:40:png"}));  // first picture of an empty table is 1
    }

    void saveWithoutPicturesDropsTheDocumentsRows()
    {
        AddPicture(1, ImageItemKind::TestPlan, "2", "gif", Picture("gif", "one"));
        AddPicture(2, ImageItemKind::TestPlan, "3", "gif", Picture("gif", "two"));
        QString html = "<P>text only</P>";
        QCOMPARE(Publication().SavePicture(html, "2", ImageItemKind::TestPlan), 0L);
        QCOMPARE(Rows(), QStringList({"2:3:3:gif"}));
    }

    void relativeReferenceIsInTheImagesFolder()
    {
        WriteFile(m_images.filePath("logo.png"), Picture("png", "logo"));
        QString html = "<IMG src=\"logo.png\">";
        QCOMPARE(Publication().SavePicture(html, "1", ImageItemKind::Configuration), 0L);
        QCOMPARE(html, "<IMG src=\"" + Url(m_images.filePath("1.png")) + "\">");
        QCOMPARE(StoredBytes(1), Picture("png", "logo"));
    }

    // A browser reads a reference as a URL: "#" starts a fragment, "?" a query and "%" an escape.
    // The pictures written out or stored must be found from the page whatever the folder's name.
    void referencesFindTheirFilesFromThePage()
    {
        gImagePath = m_env->Root() + "/Bench #2 at 100% ?";
        m_images = QDir(gImagePath);
        QVERIFY(m_images.mkpath("."));
        AddPicture(12, ImageItemKind::Procedure, "40", "gif", Picture("gif", "twelve"));
        const QString shot = m_source + "/shot #1.png";
        WriteFile(shot, Picture("png", "shot"));
        QString html = "<P><IMG src=\"12.gif\"></P>";
        Publication().DownLoadPicture(html);
        QString saved = "<P><IMG src=\"" + Url(shot) + "\"></P>";
        QCOMPARE(Publication().SavePicture(saved, "40", ImageItemKind::ProcedureExpectedResult), 0L);

        const QUrl page = QUrl::fromLocalFile(QDir(gTempPath).filePath("page.htm"));
        const QRegularExpression source("src=\"([^\"]*)\"");
        for (const auto& [text, file, bytes] : {std::tuple{html, QString("12.gif"), Picture("gif", "twelve")},
                                                std::tuple{saved, QString("13.png"), Picture("png", "shot")}}) {
            const QRegularExpressionMatch match = source.match(text);
            QVERIFY2(match.hasMatch(), qPrintable(text));
            const QString found = page.resolved(QUrl(match.captured(1))).toLocalFile();
            QCOMPARE(found, m_images.filePath(file));
            QCOMPARE(ReadFile(found), bytes);
        }
        QCOMPARE(m_env->BugLogEntries(), 0);
    }

    void onlyPicturesOfOurFoldersAreStored_data()
    {
        QTest::addColumn<QString>("file");  // {images}, {temp} and {root} stand for the folders
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("size");      // the file grown to this size; 0 leaves it
        QTest::addColumn<QString>("link");     // a symbolic link made to the file; "" for none
        QTest::addColumn<QString>("source");   // the reference as the page writes it
        QTest::addColumn<QString>("refusal");  // why it stays as written; "" when stored

        const QByteArray png = Picture("png", "p");
        const QString secret = "{root}/private/secret.png";
        const QString outside = "it is outside the images and temporary folders";
        const QString notPicture = "it is not a PNG, JPEG, GIF or BMP picture";
        const QString tooLarge = "it is larger than 20 MB";
        const qint64 limit = 20 * 1024 * 1024;
        auto row = [](const char* name, const QString& file, const QByteArray& content, const QString& source,
                      const QString& refusal, qint64 size = 0, const QString& link = {}) {
            QTest::newRow(name) << file << content << size << link << source << refusal;
        };
        row("png of the images folder", "{images}/in.png", png, "{images}/in.png", "");
        row("jpeg of the temp folder by file URL", "{temp}/shot.jpeg", Picture("jpg", "j"), "file://{temp}/shot.jpeg",
            "");
        row("bmp in a sub-folder of the temp folder", "{temp}/pasted/b.bmp", Picture("bmp", "b"), "{temp}/pasted/b.bmp",
            "");
        row("gif named .png, judged by its content", "{images}/g.png", Picture("gif", "g"), "{images}/g.png", "");
        row("exactly 20 MB", "{temp}/full.png", png, "{temp}/full.png", "", limit);
        row("link inside to a picture of the temp folder", "{temp}/t.gif", Picture("gif", "t"), "{images}/t.gif", "", 0,
            "{images}/t.gif");

        row("../ out of the images folder", secret, png, "{images}/../private/secret.png", outside);
        row("relative ../", secret, png, "../private/secret.png", outside);
        row("file URL outside", secret, png, "file://" + secret, outside);
        row("absolute path outside", secret, png, secret, outside);
        row("settings file of the user", "{root}/.config/Koravel.conf", "[Server]\nPassword=secret\n",
            "{root}/.config/Koravel.conf", outside);
        row("folder sharing the images folder's name", "{images}2/x.png", png, "{images}2/x.png", outside);
        row("link inside to a file outside", secret, png, "{images}/link.png", outside, 0, "{images}/link.png");
        row("text named .png", "{images}/notes.png", "Password=secret\n", "{images}/notes.png", notPicture);
        row("svg", "{images}/drawing.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1\" height=\"1\"/>",
            "{images}/drawing.svg", notPicture);
        row("readable picture of another format", "{images}/raw.ppm", Picture("ppm", "r"), "{images}/raw.ppm",
            notPicture);
        row("over 20 MB", "{temp}/big.png", png, "{temp}/big.png", tooLarge, limit + 1);
        row("no plain file type", "{images}/noext", png, "{images}/noext", "its name has no plain file type");
    }
    void onlyPicturesOfOurFoldersAreStored()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(qint64, size);
        QFETCH(QString, link);
        QFETCH(QString, source);
        QFETCH(QString, refusal);
        const auto expand = [this](QString text) {
            return text.replace("{images}", gImagePath).replace("{temp}", gTempPath).replace("{root}", m_env->Root());
        };
        const QString path = expand(file);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        WriteFile(path, content);
        if (size > 0)
            QVERIFY(QFile(path).resize(size));
        if (!link.isEmpty())
            QVERIFY(QFile::link(path, expand(link)));
        const QString good = QDir(gTempPath).filePath("good.gif");
        WriteFile(good, Picture("gif", "good"));
        QStringList imagesBefore = m_images.entryList(QDir::Files);

        // The tested picture twice, and beside it a picture that is stored either way.
        const QString written = expand(source);
        const auto page = [](const QString& first, const QString& second) {
            return "<P><IMG src=\"" + first + "\"><IMG src=\"" + second + "\">x<IMG src=\"" + first + "\"></P>";
        };
        QString html = page(written, good);
        QCOMPARE(Publication().SavePicture(html, "3", ImageItemKind::SubTest), 0L);

        if (refusal.isEmpty()) {
            const QString type = written.section('.', -1).left(3);
            QCOMPARE(html, page(Url(m_images.filePath("1." + type)), Url(m_images.filePath("2.gif"))));
            QCOMPARE(Rows(), QStringList({"1:4:3:" + type, "2:4:3:gif"}));
            QCOMPARE(StoredBytes(1), ReadFile(path));
            QCOMPARE(m_env->BugLogEntries(), 0);
        } else {
            QCOMPARE(html, page(written, Url(m_images.filePath("1.gif"))));
            QCOMPARE(Rows(), QStringList({"1:4:3:gif"}));
            QStringList images = imagesBefore << "1.gif";  // the refused file is not copied
            images.sort();
            QCOMPARE(m_images.entryList(QDir::Files), images);
            QCOMPARE(m_env->BugLogEntries(), 1);
            QVERIFY2(m_env->BugLog().contains("Error_SavePicture : 75\r\nPicture not stored: '" + written +
                                              "': " + refusal + "."),
                     qPrintable(m_env->BugLog()));
        }
    }

    void refusedPictureKeepsItsRow()
    {
        // A damaged copy of a stored picture is not stored again, and its row stays.
        AddPicture(12, ImageItemKind::Procedure, "40", "gif", Picture("gif", "twelve"));
        WriteFile(m_images.filePath("12.gif"), "damaged");
        const QString original = "<IMG src=\"" + m_images.filePath("12.gif") + "\">";
        QString html = original;
        QCOMPARE(Publication().SavePicture(html, "40", ImageItemKind::Procedure), 0L);
        QCOMPARE(html, original);
        QCOMPARE(Rows(), QStringList({"12:14:40:gif"}));
        QCOMPARE(m_env->BugLogEntries(), 1);
    }

    void failedSaveChangesNothing()
    {
        AddPicture(8, ImageItemKind::SubTest, "6", "gif", Picture("gif", "eight"));
        // The database refuses the second picture, after the first is stored and copied.
        if (m_db->IsPostgres()) {
            QVERIFY(
                gConnection().Execute("CREATE FUNCTION refuse_bmp() RETURNS trigger AS $$ BEGIN "
                                      "IF NEW.FILETYPE = 'bmp' THEN RAISE EXCEPTION 'refused'; END IF; "
                                      "RETURN NEW; END $$ LANGUAGE plpgsql"));
            QVERIFY(
                gConnection().Execute("CREATE TRIGGER refuse_bmp BEFORE INSERT ON IMAGEFILE "
                                      "FOR EACH ROW EXECUTE FUNCTION refuse_bmp()"));
        } else {
            QVERIFY(
                gConnection().Execute("CREATE TRIGGER refuse_bmp BEFORE INSERT ON IMAGEFILE "
                                      "WHEN NEW.FILETYPE = 'bmp' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        }
        WriteFile(m_source + "/a.png", Picture("png", "a"));
        WriteFile(m_source + "/c.bmp", Picture("bmp", "c"));
        const QString original = "<IMG src=\"" + m_source + "/a.png\"><IMG src=\"" + m_source + "/c.bmp\">";
        QString html = original;
        QCOMPARE(Publication().SavePicture(html, "6", ImageItemKind::SubTest), 1L);
        QCOMPARE(html, original);
        QCOMPARE(Rows(), QStringList({"8:4:6:gif"}));
        QVERIFY(m_images.entryList(QDir::Files).isEmpty());
        QCOMPARE(m_env->BugLogEntries(), 1);
        QVERIFY(m_env->BugLog().contains("Error_SavePicture : "));
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestDatabase> m_db;
    QString m_source;
    QDir m_images;
};

QTEST_GUILESS_MAIN(tst_Pictures)
#include "tst_Pictures.moc"
