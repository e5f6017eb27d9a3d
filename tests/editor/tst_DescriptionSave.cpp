#include "FakeDescriptionForm.h"
#include "ModelFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "TreeFixture.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/PropertyGrid.h"
#include "core/services/SelectedNode.h"
#include "editor/DescriptionSave.h"
#include "model/DbValues.h"
#include "platform/Globals.h"
#include "platform/Settings.h"

#include <QImage>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QtTest>

using namespace ModelFixture;
using TreeFixture::K;

namespace {

// The stored tree's items are dated 2024-03-05; a stamped item carries today's date.
const QDate kTreeDay(2024, 3, 5);
const QString kDescription = "<P>new <B>description</B><IMG src=\"shot.png\"></P>";
const QString kResult = "<P>new result<IMG src=\"shot.png\"></P>";
const QStringList kTables{"CONFIGURATION", "TESTPLAN", "SUBTEST", "PROCEDURES"};
const QString kBlank = QString(" \t\n") + QChar(0x3000);

// One item of each kind of the stored tree, with the picture row each of its panes holds.
struct Kind
{
    QString word;
    QString table;
    QString id;
    int pictureKind;
    int oldPicture;
};

Kind KindNamed(const QString& name)
{
    if (name == "configuration")
        return {"Configuration", "CONFIGURATION", "1", 2, 90};
    if (name == "test plan")
        return {"TestPlan", "TESTPLAN", "10", 3, 91};
    if (name == "sub-test")
        return {"SubTest", "SUBTEST", "20", 4, 92};
    return {"Procedure", "PROCEDURES", "30", 14, 93};
}
constexpr int kOldResultPicture = 94;

QString Page(const QString& body)
{
    return "<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY>" + body + "</BODY></HTML>";
}

QString Title(const QString& word, const QString& id)
{
    return "Description " + word + " : " + id + " ";
}

QVariant Column(const QString& table, const QString& column, const QString& id)
{
    return Scalar(QString("SELECT %1 FROM %2 WHERE ID = ?").arg(column, table), {id.toInt()});
}

// "TABLE id" of every item whose update date moved off the tree's day.
QStringList StampedItems()
{
    QStringList stamped;
    for (const QString& table : kTables) {
        QSqlQuery rows = gConnection().Query("SELECT ID, DATE_UPDATE FROM " + table + " ORDER BY ID");
        while (rows.next()) {
            if (DbValues::ReadDate(rows.value(1)) != kTreeDay)
                stamped << table + " " + rows.value(0).toString();
        }
    }
    return stamped;
}

// Every stored description text, to see that a failed save wrote none.
QStringList StoredTexts(bool withResult = true)
{
    QStringList texts;
    for (const QString& table : kTables) {
        const QString columns = table == "PROCEDURES" && withResult ? "ID, DESCRIPTION, RESULT" : "ID, DESCRIPTION";
        QSqlQuery rows = gConnection().Query("SELECT " + columns + " FROM " + table + " ORDER BY ID");
        while (rows.next()) {
            texts << table + " " + rows.value(0).toString() + " " + rows.value(1).toString() +
                         (rows.record().count() > 2 ? " " + rows.value(2).toString() : QString());
        }
    }
    return texts;
}

// The picture row ids of one document.
QList<int> Pictures(int kind, const QString& id)
{
    QList<int> ids;
    QSqlQuery rows =
        gConnection().Query("SELECT ID FROM IMAGEFILE WHERE ITEM = ? AND ID_ITEM = ? ORDER BY ID", {kind, id});
    while (rows.next())
        ids << rows.value(0).toInt();
    return ids;
}

QStringList AllPictures()
{
    QStringList rows;
    QSqlQuery query = gConnection().Query("SELECT ID, ITEM, ID_ITEM FROM IMAGEFILE ORDER BY ID");
    while (query.next())
        rows << query.value(0).toString() + ":" + query.value(1).toString() + ":" + query.value(2).toString();
    return rows;
}

// The body as stored after its picture went into row `picture`.
QString WithStoredPicture(const QString& body, int picture)
{
    return QString(body).replace(
        "shot.png",
        QUrl::fromLocalFile(QDir(gImagePath).filePath(QString::number(picture) + ".png")).toString(QUrl::FullyEncoded));
}

// The keys of the explorer's nodes of an item, in tree order. `image` 4 stands for every sub-test
// level.
void CollectNodes(const ExplorerNode* node, int image, const QString& id, QStringList& keys)
{
    for (const ExplorerNode* child : node->ChildNodes()) {
        const bool kind = image == kImageSubTestFirst
                              ? child->Image() >= kImageSubTestFirst && child->Image() <= kImageSubTestLast
                              : child->Image() == image;
        const QString tagId = child->Tag().contains('|') ? KeyIdShort(child->Tag()) : child->Tag();
        if (kind && tagId == id)
            keys << child->Key();
        CollectNodes(child, image, id, keys);
    }
}

QStringList NodesOf(int image, const QString& id)
{
    QStringList keys;
    CollectNodes(gExplorerNodes().Item("Root"), image, id, keys);
    if (image == kImageConfiguration && id == "1")
        keys.prepend("Eqpt1");
    return keys;
}

QStringList GridValues()
{
    QStringList values;
    for (int row = 0; row < gPropertyGrid().Rows(); ++row)
        values << gPropertyGrid().TextMatrix(row, PropertyGrid::kValueCol);
    return values;
}

}  // namespace

// A description window's save: the changed panes' cleaned bodies into the item's columns, their
// pictures, the item's stamp and the property rows, all or nothing, and the snapshots after.
class tst_DescriptionSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { TestDatabase::AddBackendRows(); }
    void init();
    void cleanup()
    {
        m_form.reset();
        SetSelectedNode({});
        gExplorerNodes().Clear();
        m_db.reset();
        m_env.reset();
    }

    void savesTheChangedPanes_data();
    void savesTheChangedPanes();
    void blankBodies_data();
    void blankBodies();
    void storeImageOption_data();
    void storeImageOption();
    void panesKeepEachOthersPictures();
    void refreshesTheWindowsOwnItem_data();
    void refreshesTheWindowsOwnItem();
    void failuresWriteNothing_data();
    void failuresWriteNothing();
    void keysOfNoKindOnlyRetakeSnapshots_data();
    void keysOfNoKindOnlyRetakeSnapshots();
    void idsThatAreNoNumberFail_data();
    void idsThatAreNoNumberFail();

private:
    // A window on the item with both panes set; the snapshots read "stale" until a save.
    FakeDescriptionForm& Open(const QString& title, const QString& nodeKey, const QString& body, bool dirty,
                              const QString& result = QString(), bool resultDirty = false)
    {
        m_form = std::make_unique<FakeDescriptionForm>();
        m_form->mstrTitle = title;
        m_form->mstrKey = nodeKey;
        m_form->edit1.SetDocumentHTML(Page(body));
        m_form->edit1.SetDirty(dirty);
        m_form->edit2.SetDocumentHTML(Page(result));
        m_form->edit2.SetDirty(resultDirty);
        m_form->mstrLastSaved = "stale";
        m_form->mstrLastSaved2 = "stale2";
        return *m_form;
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<FakeDescriptionForm> m_form;
};

void tst_DescriptionSave::init()
{
    QFETCH_GLOBAL(QString, backend);
    cleanup();
    m_env = std::make_unique<TestEnvironment>();
    m_db = std::make_unique<TestDatabase>(backend);
    KORAVEL_REQUIRE_BACKEND(*m_db);
    TreeFixture::MakeSchema();
    TreeFixture::Build();
    // A procedure sharing sub-test 20's id, and two items linked nowhere.
    Run("INSERT INTO PROCEDURES (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (20, 'Twenty', 'Twenty', ?, ?)",
        {kTreeDay, kTreeDay});
    Run("INSERT INTO SUBTEST (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (40, 'Loose', 'Loose', ?, ?)",
        {kTreeDay, kTreeDay});
    for (const QString& table : kTables)
        Run("UPDATE " + table + " SET DESCRIPTION = '<P>old</P>'");
    Run("UPDATE PROCEDURES SET RESULT = '<P>old result</P>'");
    const QString file = gConnection().Dialect().Quote("FILE");
    for (const auto& [id, kind, item] : {std::tuple{90, 2, "1"}, std::tuple{91, 3, "10"}, std::tuple{92, 4, "20"},
                                         std::tuple{93, 14, "30"}, std::tuple{94, 114, "30"}, std::tuple{95, 4, "30"}})
        Run("INSERT INTO IMAGEFILE (ID, ITEM, ID_ITEM, " + file + ", FILETYPE) VALUES (?, ?, ?, ?, 'gif')",
            {id, kind, item, QByteArray("old")});
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(QDir(gImagePath).filePath("shot.png")));
    TreeFixture::FillExplorer();
    gPropertyGrid().SetRows(1);
    gPropertyGrid().SetTextMatrix(0, PropertyGrid::kValueCol, "sentinel");
}

void tst_DescriptionSave::savesTheChangedPanes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("descriptionDirty");
    QTest::addColumn<bool>("resultDirty");
    QTest::addColumn<bool>("blank");
    for (const char* kind : {"configuration", "test plan", "sub-test", "procedure"}) {
        for (const auto& [dirty, description, result] :
             {std::tuple{"none", false, false}, std::tuple{"description", true, false},
              std::tuple{"expected result", false, true}, std::tuple{"both", true, true}}) {
            for (const bool blank : {false, true}) {
                QTest::addRow("%s, %s changed%s", kind, dirty, blank ? ", blank" : "")
                    << QString(kind) << description << result << blank;
            }
        }
    }
}

void tst_DescriptionSave::savesTheChangedPanes()
{
    QFETCH(QString, kind);
    QFETCH(bool, descriptionDirty);
    QFETCH(bool, resultDirty);
    QFETCH(bool, blank);
    const Kind item = KindNamed(kind);
    const bool procedure = item.table == "PROCEDURES";
    FakeDescriptionForm& form = Open(Title(item.word, item.id), QString(), blank ? kBlank : kDescription,
                                     descriptionDirty, blank ? kBlank : kResult, resultDirty);

    QCOMPARE(DescriptionSave(form).SaveDescription(), 0L);
    QCOMPARE(m_env->BugLogEntries(), 0);

    const auto checkPane = [&](const QString& column, int pictureKind, int oldPicture, bool written,
                               const QString& body) {
        const QString stored = Column(item.table, column, item.id).toString();
        const QList<int> pictures = Pictures(pictureKind, item.id);
        if (!written) {
            QCOMPARE(stored, column == "RESULT" ? QString("<P>old result</P>") : QString("<P>old</P>"));
            QCOMPARE(pictures, QList<int>{oldPicture});
        } else if (blank) {
            QCOMPARE(stored, QString(""));
            QCOMPARE(pictures, QList<int>{oldPicture});
        } else {
            QCOMPARE(pictures.size(), 1);
            QVERIFY(pictures[0] != oldPicture);
            QCOMPARE(stored, WithStoredPicture(body, pictures[0]));
            QVERIFY(QFile::exists(QDir(gImagePath).filePath(QString::number(pictures[0]) + ".png")));
        }
    };
    checkPane("DESCRIPTION", item.pictureKind, item.oldPicture, descriptionDirty, kDescription);
    if (procedure)
        checkPane("RESULT", 114, kOldResultPicture, resultDirty, kResult);

    // Only the window's item is stamped: a procedure always, another item when it changed.
    const bool stamped = procedure || descriptionDirty;
    QCOMPARE(StampedItems(), stamped ? QStringList{item.table + " " + item.id} : QStringList());
    if (stamped)
        QCOMPARE(DbValues::ReadDate(Column(item.table, "DATE_UPDATE", item.id)), QDate::currentDate());
    // No node is selected: the property rows stay.
    QCOMPARE(GridValues(), QStringList{"sentinel"});
    QCOMPARE(form.mstrLastSaved, form.edit1.DocumentHTML());
    QCOMPARE(form.mstrLastSaved2, form.edit2.DocumentHTML());
}

void tst_DescriptionSave::blankBodies_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("spaces, tabs, line breaks") << " \t\r\n "
                                               << "";
    QTest::newRow("no-break, em and ideographic spaces")
        << QString(QChar(0x00A0)) + QChar(0x2003) + QChar(0x3000) << "";
    QTest::newRow("&nbsp; typed") << "&nbsp;"
                                  << "&nbsp;";
    QTest::newRow("empty paragraph") << "<P> </P>"
                                     << "<P> </P>";
    QTest::newRow("text between blanks") << "\n x \n"
                                         << "\n x \n";
}

void tst_DescriptionSave::blankBodies()
{
    QFETCH(QString, body);
    QFETCH(QString, stored);
    FakeDescriptionForm& form = Open(Title("Configuration", "1"), "Eqpt1", body, true);
    QCOMPARE(DescriptionSave(form).SaveDescription(), 0L);
    QCOMPARE(Column("CONFIGURATION", "DESCRIPTION", "1").toString(), stored);
    // A document with content no longer referring to its picture drops it; a blank one keeps it.
    QCOMPARE(Pictures(2, "1"), stored.isEmpty() ? QList<int>{90} : QList<int>());
    QCOMPARE(StampedItems(), QStringList{"CONFIGURATION 1"});
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_DescriptionSave::storeImageOption_data()
{
    QTest::addColumn<QString>("storeImage");
    QTest::addColumn<bool>("stored");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("2") << "2" << false;
}

void tst_DescriptionSave::storeImageOption()
{
    QFETCH(QString, storeImage);
    QFETCH(bool, stored);
    Settings::SaveSetting("Options", "StoreImage", storeImage);
    FakeDescriptionForm& form =
        Open(Title("Procedure", "30"), K("Eqpt1~10~10|20|1~20|30|1$"), kDescription, true, kResult, true);
    QCOMPARE(DescriptionSave(form).SaveDescription(), 0L);
    const QList<int> description = Pictures(14, "30");
    const QList<int> result = Pictures(114, "30");
    if (stored) {
        QCOMPARE(description.size(), 1);
        QCOMPARE(result.size(), 1);
        QVERIFY(description[0] != result[0]);
        QCOMPARE(Column("PROCEDURES", "DESCRIPTION", "30").toString(), WithStoredPicture(kDescription, description[0]));
        QCOMPARE(Column("PROCEDURES", "RESULT", "30").toString(), WithStoredPicture(kResult, result[0]));
    } else {
        // The pictures keep their local paths and the rows stay as they were.
        QCOMPARE(Column("PROCEDURES", "DESCRIPTION", "30").toString(), kDescription);
        QCOMPARE(Column("PROCEDURES", "RESULT", "30").toString(), kResult);
        QCOMPARE(AllPictures(), QStringList({"90:2:1", "91:3:10", "92:4:20", "93:14:30", "94:114:30", "95:4:30"}));
    }
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_DescriptionSave::panesKeepEachOthersPictures()
{
    // The description alone: the expected result's picture and sub-test 30's stay.
    FakeDescriptionForm& form =
        Open(Title("Procedure", "30"), K("Eqpt1~10~10|20|1~20|30|1$"), kDescription, true, "<P>old result</P>", false);
    QCOMPARE(DescriptionSave(form).SaveDescription(), 0L);
    const QList<int> description = Pictures(14, "30");
    QCOMPARE(description.size(), 1);
    QVERIFY(description[0] != 93);
    QCOMPARE(Pictures(114, "30"), QList<int>{kOldResultPicture});
    QCOMPARE(Pictures(4, "30"), QList<int>{95});

    // Then the expected result alone: the description's new picture stays.
    form.edit1.SetDirty(false);
    form.edit2.SetDocumentHTML(Page(kResult));
    form.edit2.SetDirty(true);
    QCOMPARE(DescriptionSave(form).SaveDescription(), 0L);
    QCOMPARE(Pictures(14, "30"), description);
    const QList<int> result = Pictures(114, "30");
    QCOMPARE(result.size(), 1);
    QVERIFY(result[0] != kOldResultPicture && result[0] != description[0]);
    QCOMPARE(Pictures(4, "30"), QList<int>{95});
    QCOMPARE(Column("PROCEDURES", "RESULT", "30").toString(), WithStoredPicture(kResult, result[0]));
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_DescriptionSave::refreshesTheWindowsOwnItem_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("windowNode");    // the node the window was opened from: kind and index
    QTest::addColumn<QString>("selectedNode");  // the node selected in the explorer at the save
    QTest::addColumn<QString>("stamped");
    QTest::addColumn<QString>("shownName");  // the name the property rows show, "" when not refilled

    QTest::newRow("procedure, another procedure selected") << Title("Procedure", "30") << "14 30 0"
                                                           << "14 32 0"
                                                           << "PROCEDURES 30"
                                                           << "";
    QTest::newRow("procedure, its occurrence selected") << Title("Procedure", "30") << "14 30 0"
                                                        << "14 30 0"
                                                        << "PROCEDURES 30"
                                                        << "Power";
    QTest::newRow("procedure, another occurrence selected") << Title("Procedure", "32") << "14 32 0"
                                                            << "14 32 2"
                                                            << "PROCEDURES 32"
                                                            << "Reset";
    QTest::newRow("procedure, a sub-test of the same id selected") << Title("Procedure", "20") << ""
                                                                   << "4 20 0"
                                                                   << "PROCEDURES 20"
                                                                   << "";
    QTest::newRow("sub-test, its plan selected") << Title("SubTest", "20") << "4 20 0"
                                                 << "3 10 0"
                                                 << "SUBTEST 20"
                                                 << "";
    QTest::newRow("sub-test, another occurrence selected") << Title("SubTest", "21") << "4 21 0"
                                                           << "4 21 1"
                                                           << "SUBTEST 21"
                                                           << "Twice";
    QTest::newRow("test plan, its configuration selected") << Title("TestPlan", "10") << "3 10 0"
                                                           << "2 1 0"
                                                           << "TESTPLAN 10"
                                                           << "";
    QTest::newRow("test plan selected") << Title("TestPlan", "11") << "3 11 0"
                                        << "3 11 0"
                                        << "TESTPLAN 11"
                                        << "Plan B";
    QTest::newRow("configuration selected") << Title("Configuration", "1") << "2 1 0"
                                            << "2 1 0"
                                            << "CONFIGURATION 1"
                                            << "Bench";
}

void tst_DescriptionSave::refreshesTheWindowsOwnItem()
{
    QFETCH(QString, title);
    QFETCH(QString, windowNode);
    QFETCH(QString, selectedNode);
    QFETCH(QString, stamped);
    QFETCH(QString, shownName);
    // "<kind> <id> <occurrence>": the key of that occurrence of the item in the explorer.
    const auto node = [](const QString& place) {
        if (place.isEmpty())
            return QString();
        const QStringList parts = place.split(' ');
        const QStringList keys = NodesOf(parts[0].toInt(), parts[1]);
        return keys.value(parts[2].toInt());
    };
    const QString selected = node(selectedNode);
    QVERIFY(!selected.isEmpty());
    SetSelectedNode(selected);
    // A procedure window refreshes unchanged; the others save a changed description.
    const bool procedure = title.contains("Procedure");
    FakeDescriptionForm& form = Open(title, node(windowNode), "<P>changed</P>", !procedure);

    QCOMPARE(DescriptionSave(form).SaveDescription(), 0L);
    QCOMPARE(StampedItems(), QStringList{stamped});
    if (shownName.isEmpty())
        QCOMPARE(GridValues(), QStringList{"sentinel"});
    else
        QVERIFY2(GridValues().contains(shownName), qPrintable(GridValues().join('|')));
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_DescriptionSave::failuresWriteNothing_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("logged");
    // The write of a row that went fails there, before the stamp would notice.
    const QString gone = "Row cannot be located for updating";
    QTest::newRow("procedure row gone") << Title("Procedure", "20") << kDescription << "procedure 20 deleted" << gone;
    QTest::newRow("sub-test row gone") << Title("SubTest", "40") << kDescription << "sub-test 40 deleted" << gone;
    QTest::newRow("expected result fails after the description")
        << Title("Procedure", "30") << kDescription << "result column"
        << "";
    QTest::newRow("expected result's pictures fail after the description")
        << Title("Procedure", "30") << kBlank << "images folder"
        << "The pictures of PROCEDURES.RESULT could not be stored.";
    QTest::newRow("stamp fails after the description") << Title("Configuration", "1") << kDescription << "stamp"
                                                       << "";
}

void tst_DescriptionSave::failuresWriteNothing()
{
    QFETCH(QString, title);
    QFETCH(QString, description);
    QFETCH(QString, breakage);
    QFETCH(QString, logged);
    FakeDescriptionForm& form = Open(title, QString(), description, true, kResult, true);
    const QStringList pictures = AllPictures();

    if (breakage == "procedure 20 deleted") {
        Run("DELETE FROM PROCEDURES WHERE ID = 20");
    } else if (breakage == "sub-test 40 deleted") {
        Run("DELETE FROM SUBTEST WHERE ID = 40");
    } else if (breakage == "result column") {
        Run("ALTER TABLE PROCEDURES DROP COLUMN RESULT");
    } else if (breakage == "images folder") {
        // A file where the images folder should be: no picture can be stored.
        QVERIFY(QDir(gImagePath).removeRecursively());
        QFile blocker(gImagePath);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else if (breakage == "stamp") {
        Run("ALTER TABLE CONFIGURATION DROP COLUMN DATE_UPDATE");
    }
    const QStringList textsBefore = StoredTexts(breakage != "result column");

    QCOMPARE(DescriptionSave(form).SaveDescription(), 1L);
    QVERIFY2(m_env->BugLog().contains("Error_SaveDescription : "), qPrintable(m_env->BugLog()));
    QVERIFY2(m_env->BugLog().contains(logged), qPrintable(m_env->BugLog()));
    QCOMPARE(StoredTexts(breakage != "result column"), textsBefore);
    QCOMPARE(AllPictures(), pictures);
    if (breakage != "stamp")
        QCOMPARE(StampedItems(), QStringList());
    QCOMPARE(form.mstrLastSaved, QString("stale"));
    QCOMPARE(form.mstrLastSaved2, QString("stale2"));
}

void tst_DescriptionSave::keysOfNoKindOnlyRetakeSnapshots_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("template window") << "Description Template : 1 ";
    QTest::newRow("kind word in another case") << "Description procedure : 30 ";
    QTest::newRow("empty key") << "";
}

void tst_DescriptionSave::keysOfNoKindOnlyRetakeSnapshots()
{
    QFETCH(QString, title);
    const QStringList texts = StoredTexts();
    FakeDescriptionForm& form = Open(title, QString(), kDescription, true, kResult, true);
    QCOMPARE(DescriptionSave(form).SaveDescription(), 0L);
    QCOMPARE(StoredTexts(), texts);
    QCOMPARE(StampedItems(), QStringList());
    QCOMPARE(form.mstrLastSaved, Page(kDescription));
    QCOMPARE(form.mstrLastSaved2, Page(kResult));
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_DescriptionSave::idsThatAreNoNumberFail_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("letters") << "Description Procedure : abc ";
    QTest::newRow("no id") << "Description TestPlan : ";
    QTest::newRow("no colon") << "Description SubTest 20 ";
    QTest::newRow("SQL after the id") << "Description Configuration : 1 OR 1=1 ";
    QTest::newRow("a second colon") << "Description SubTest : 20: ";
}

void tst_DescriptionSave::idsThatAreNoNumberFail()
{
    QFETCH(QString, title);
    const QStringList texts = StoredTexts();
    FakeDescriptionForm& form = Open(title, QString(), kDescription, true, kResult, true);
    QCOMPARE(DescriptionSave(form).SaveDescription(), 1L);
    QCOMPARE(m_env->BugLogEntries(), 1);
    QVERIFY(m_env->BugLog().contains("Error_SaveDescription : "));
    QCOMPARE(StoredTexts(), texts);
    QCOMPARE(StampedItems(), QStringList());
    QCOMPARE(form.mstrLastSaved, QString("stale"));
}

QTEST_GUILESS_MAIN(tst_DescriptionSave)
#include "tst_DescriptionSave.moc"
