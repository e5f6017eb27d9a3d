#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/ImageItemKind.h"
#include "platform/Globals.h"
#include "publishing/Publication.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include <QSqlQuery>
#include <QtTest>

namespace {

QByteArray Bytes(const char* name)
{
    return QByteArray("picture ") + name + QByteArray(1, '\0') + "\xff\x01";
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
        m_source = m_env->Path("source");
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
        AddPicture(12, 3, "5", "gif", Bytes("twelve"));
        QString html =
            "<P>a<IMG src=\"C:\\Old place\\12.gif\">b<img alt=\"x\" SRC='12.gif'></P>"
            "<IMG src=\"logo.gif\"><IMG src=\"noext\"><IMG src=\"99.gif\"><IMG src=\"a12.gif\">"
            "<P>12.gif stays in the text</P>";
        Publication().DownLoadPicture(html);
        const QString written = m_images.filePath("12.gif");
        QCOMPARE(ReadFile(written), Bytes("twelve"));
        const QString quoted = "\"" + written + "\"";
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
        AddPicture(3, 3, "5", "../", Bytes("three"));
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
        WriteFile(png, Bytes("png"));
        WriteFile(gif, Bytes("gif"));
        WriteFile(tag, "placeholder");
        AddPicture(7, ImageItemKind::Procedure, "40", "gif", Bytes("seven"));  // referenced, file gone
        AddPicture(8, ImageItemKind::Procedure, "40", "gif", Bytes("eight"));  // no longer referenced
        AddPicture(9, ImageItemKind::ProcedureExpectedResult, "40", "jpg", Bytes("nine"));
        AddPicture(5, ImageItemKind::SubTest, "40", "gif", Bytes("five"));

        const QString original = "<P><IMG src=\"" + png + "\">x<IMG src=\"" + png + "\"></P><IMG src=\"" + gif +
                                 "\"><IMG src=\"" + m_source + "/missing.jpg\"><IMG src=\"" + tag +
                                 "\"><IMG src=\"/gone/7.gif\">";
        QString html = original;
        QCOMPARE(Publication().SavePicture(html, "40", ImageItemKind::Procedure), 0L);

        const QString copy10 = m_images.filePath("10.png");
        const QString copy11 = m_images.filePath("11.gif");
        QCOMPARE(html, "<P><IMG src=\"" + copy10 + "\">x<IMG src=\"" + copy10 + "\"></P><IMG src=\"" + copy11 +
                           "\"><IMG src=\"" + m_source + "/missing.jpg\"><IMG src=\"" + tag +
                           "\"><IMG src=\"/gone/7.gif\">");
        QCOMPARE(Rows(), QStringList({"5:4:40:gif", "7:14:40:gif", "9:114:40:jpg", "10:14:40:png", "11:14:40:gif"}));
        QCOMPARE(StoredBytes(10), Bytes("png"));
        QCOMPARE(ReadFile(copy10), Bytes("png"));
        QCOMPARE(ReadFile(copy11), Bytes("gif"));
        QCOMPARE(m_images.entryList(QDir::Files), QStringList({"10.png", "11.gif"}));
        QCOMPARE(m_env->BugLogEntries(), 0);

        // Opening the description again brings the pictures back, files removed meanwhile, and
        // the picture whose file had gone.
        QVERIFY(QFile::remove(copy10));
        QString reopened = html;
        Publication().DownLoadPicture(reopened);
        QCOMPARE(reopened, QString(html).replace("\"/gone/7.gif\"", "\"" + m_images.filePath("7.gif") + "\""));
        QCOMPARE(ReadFile(copy10), Bytes("png"));
        QCOMPARE(ReadFile(m_images.filePath("7.gif")), Bytes("seven"));

        // Saving the reopened page renumbers its pictures and drops the rows it replaced.
        QCOMPARE(Publication().SavePicture(reopened, "40", ImageItemKind::Procedure), 0L);
        QVERIFY(reopened.contains(m_images.filePath("12.png")));
        QVERIFY(reopened.contains(m_images.filePath("14.gif")));
        QCOMPARE(Rows(), QStringList({"5:4:40:gif", "9:114:40:jpg", "12:14:40:png", "13:14:40:gif", "14:14:40:gif"}));
        QCOMPARE(StoredBytes(14), Bytes("seven"));
    }

    void savingOnePaneKeepsTheOther()
    {
        const QString png = m_source + "/a.png";
        WriteFile(png, Bytes("a"));
        QString expected = "<IMG src=\"" + png + "\">";
        QCOMPARE(Publication().SavePicture(expected, "40", ImageItemKind::ProcedureExpectedResult), 0L);
        QString description = "<P>no pictures</P>";
        QCOMPARE(Publication().SavePicture(description, "40", ImageItemKind::Procedure), 0L);
        QCOMPARE(description, QString("<P>no pictures</P>"));
        QCOMPARE(Rows(), QStringList({"1:114:40:png"}));  // first picture of an empty table is 1
    }

    void saveWithoutPicturesDropsTheDocumentsRows()
    {
        AddPicture(1, ImageItemKind::TestPlan, "2", "gif", Bytes("one"));
        AddPicture(2, ImageItemKind::TestPlan, "3", "gif", Bytes("two"));
        QString html = "<P>text only</P>";
        QCOMPARE(Publication().SavePicture(html, "2", ImageItemKind::TestPlan), 0L);
        QCOMPARE(Rows(), QStringList({"2:3:3:gif"}));
    }

    void relativeReferenceIsInTheImagesFolder()
    {
        WriteFile(m_images.filePath("logo.png"), Bytes("logo"));
        QString html = "<IMG src=\"logo.png\">";
        QCOMPARE(Publication().SavePicture(html, "1", ImageItemKind::Configuration), 0L);
        QCOMPARE(html, "<IMG src=\"" + m_images.filePath("1.png") + "\">");
        QCOMPARE(StoredBytes(1), Bytes("logo"));
    }

    void failedSaveChangesNothing()
    {
        AddPicture(8, ImageItemKind::SubTest, "6", "gif", Bytes("eight"));
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
        WriteFile(m_source + "/a.png", Bytes("a"));
        WriteFile(m_source + "/c.bmp", Bytes("c"));
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
