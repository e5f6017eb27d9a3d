#include "FakeDescriptionWindows.h"
#include "ScriptedPrompts.h"
#include "ModelFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/DecmdCommands.h"
#include "core/HtmlPages.h"
#include "core/MainToolbars.h"
#include "core/NodeKey.h"
#include "core/OpenForms.h"
#include "model/Configuration.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/AppFolders.h"
#include "platform/Globals.h"
#include "platform/Settings.h"
#include "publishing/HTMLTemplate.h"
#include "publishing/Publication.h"

#include <QUrl>
#include <QtTest>

using namespace ModelFixture;

namespace {

const QString kSep = NodeKey::kSeparator;
// Occurrences in test plan 12 of configuration 1: sub-test 5 under the plan, procedure 7 under it.
const QString kSubTestKey = "Eqpt1" + kSep + "12" + kSep + "0|5|1";
const QString kProcedureKey = kSubTestKey + kSep + "5|7|1$";

QString Page(const QString& body = {})
{
    return HtmlHead(0) + body + "</BODY></HTML>";
}

// Finds the item of the kind and opens its description, as the explorer's edit command does.
int Load(const QString& kind, const QString& id, const QString& key = {})
{
    if (kind == "configuration") {
        Configuration item;
        item.Find(id);
        return item.LoadDocument();
    }
    if (kind == "testplan") {
        TestPlan item;
        item.Find(id);
        return item.LoadDocument();
    }
    if (kind == "subtest") {
        SubTest item;
        item.Find(id);
        item.SetKey(key.isEmpty() ? kSubTestKey : key);
        return item.LoadDocument();
    }
    Procedure item;
    item.Find(id);
    item.SetKey(key.isEmpty() ? kProcedureKey : key);
    return item.LoadDocument(3);
}

void AddItems(const QString& description, const QVariant& expected = "<P>expected</P>")
{
    Run("INSERT INTO CONFIGURATION (ID, NAME, DESCRIPTION) VALUES (1, 'Bench', ?)", {description});
    Run("INSERT INTO TESTPLAN (ID, NAME, ID_CONFIGURATION, DESCRIPTION) VALUES (12, 'Plan', 1, ?)", {description});
    Run("INSERT INTO SUBTEST (ID, NAME, DESCRIPTION) VALUES (5, 'Step', ?)", {description});
    Run("INSERT INTO PROCEDURES (ID, NAME, DESCRIPTION, RESULT) VALUES (7, 'Check', ?, ?)", {description, expected});
}

}  // namespace

// Items open their descriptions in description windows: one window per item, whole pages in the
// editors, pictures written out first, the main window's progress and refreshes.
class tst_DescriptionDocuments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { HTMLTemplate::InstallStyleSheetLoader(); }
    void initTestCase_data() { TestDatabase::AddBackendRows(); }
    void init()
    {
        QFETCH_GLOBAL(QString, backend);
        // A row skipped in init leaves its world behind; it must go before the next one comes.
        cleanup();
        m_env = std::make_unique<TestEnvironment>();
        m_db = std::make_unique<TestDatabase>(backend);
        KORAVEL_REQUIRE_BACKEND(*m_db);
        QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);
        m_windows = std::make_unique<FakeDescriptionWindows>();
        gMainToolbars().cboStyles.SetItems({});
    }
    void cleanup()
    {
        m_windows.reset();
        m_db.reset();
        m_env.reset();
    }

    void opensOneWindowPerItem_data();
    void opensOneWindowPerItem();
    void titleCarriesTheWholeIdOnly();
    void nullColumnsGiveEmptyPages();
    void picturesOnlyWhileStoreImage_data();
    void picturesOnlyWhileStoreImage();
    void failuresAreLoggedAndLeaveNoWindow_data();
    void failuresAreLoggedAndLeaveNoWindow();
    void styleListFilledOnce_data();
    void styleListFilledOnce();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<FakeDescriptionWindows> m_windows;
};

void tst_DescriptionDocuments::opensOneWindowPerItem_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("testPlanId");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("activateEvents");

    const QStringList plain{"create", "pictures", "pointer"};
    QTest::newRow("configuration") << "configuration"
                                   << "1"
                                   << "Bench"
                                   << "Description Configuration : 1 "
                                   << "Configuration1.htm"
                                   << "" << (plain + QStringList{"show Bench", "properties"})
                                   << QStringList{"activate Bench"};
    QTest::newRow("test plan") << "testplan"
                               << "12"
                               << "Plan"
                               << "Description TestPlan : 12 "
                               << "TestPlan12.htm"
                               << "12" << (plain + QStringList{"show Plan", "properties"})
                               << QStringList{"activate Plan"};
    QTest::newRow("sub-test") << "subtest"
                              << "5"
                              << "Step"
                              << "Description SubTest : 5 "
                              << "SubTest5.htm"
                              << "12" << (plain + QStringList{"show Step", "properties"})
                              << QStringList{"activate Step"};
    QTest::newRow("procedure") << "procedure"
                               << "7"
                               << "Check"
                               << "Description Procedure : 7 "
                               << "Description Procedure7.htm"
                               << "12"
                               << QStringList{"progress shown", "progress 10",  "create",          "progress 30",
                                              "pictures",       "progress 50",  "pictures",        "progress 90",
                                              "pointer",        "progress 100", "progress hidden", "show Check",
                                              "properties",     "tabs"}
                               << QStringList{"progress shown", "progress 10", "activate Check", "progress hidden"};
}

void tst_DescriptionDocuments::opensOneWindowPerItem()
{
    QFETCH(QString, kind);
    QFETCH(QString, id);
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, file);
    QFETCH(QString, testPlanId);
    QFETCH(QStringList, events);
    QFETCH(QStringList, activateEvents);
    const QString body = "<P>About <B>it</B></P>";
    AddItems(body);

    QCOMPARE(Load(kind, id), 0);
    QCOMPARE(m_windows->TakeEvents(), events);
    QCOMPARE(m_windows->Forms().size(), size_t(1));
    FakeDescriptionForm* form = m_windows->Forms().front();
    QCOMPARE(form->Caption(), name);
    QCOMPARE(form->mstrTitle, title);
    QCOMPARE(form->Tag(), QDir(AppFolders::DataFolder()).filePath(file));
    QCOMPARE(form->mstrTestPlanId, testPlanId);
    QCOMPARE(form->edit1.DocumentHTML(), Page(body));
    QCOMPARE(form->mstrLastSaved, Page(body));
    const QString second = kind == "procedure" ? Page("<P>expected</P>") : Page(body);
    QCOMPARE(form->mstrLastSaved2, second);
    if (kind == "procedure")
        QCOMPARE(form->edit2.DocumentHTML(), second);
    QCOMPARE(gMainToolbars().cboStyles.Items(), m_windows->blockFormats);
    // Loading only names the document file.
    QVERIFY(!QFile::exists(form->Tag()));

    // A second request brings the open window forward and changes nothing in it.
    form->edit1.SetDocumentHTML("<P>typed</P>");
    QCOMPARE(Load(kind, id), 0);
    QCOMPARE(m_windows->TakeEvents(), activateEvents);
    QCOMPARE(m_windows->Forms().size(), size_t(1));
    QCOMPARE(form->edit1.DocumentHTML(), QString("<P>typed</P>"));
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_DescriptionDocuments::titleCarriesTheWholeIdOnly()
{
    AddItems("<P>d</P>");
    Run("INSERT INTO SUBTEST (ID, NAME) VALUES (55, 'Fifty-five')");
    Run("INSERT INTO PROCEDURES (ID, NAME) VALUES (5, 'Same id as the sub-test')");

    // Item 55 is open first: item 5 must not take its window for its own.
    QCOMPARE(Load("subtest", "55"), 0);
    QCOMPARE(Load("subtest", "5"), 0);
    QCOMPARE(m_windows->Forms().size(), size_t(2));

    // Another occurrence of sub-test 5, in test plan 13, shares the open window.
    const QString otherOccurrence = "Eqpt1" + kSep + "13" + kSep + "0|5|2";
    m_windows->TakeEvents();
    QCOMPARE(Load("subtest", "5", otherOccurrence), 0);
    QCOMPARE(m_windows->TakeEvents(), QStringList{"activate Step"});
    QCOMPARE(m_windows->Forms().size(), size_t(2));
    QCOMPARE(m_windows->Forms()[1]->mstrTestPlanId, QString("12"));

    // A procedure with the same id is another item.
    QCOMPARE(Load("procedure", "5", "Eqpt1" + kSep + "13" + kSep + "0|5|2" + kSep + "5|5|1$"), 0);
    QCOMPARE(m_windows->Forms().size(), size_t(3));
    QCOMPARE(m_windows->Forms()[2]->mstrTitle, QString("Description Procedure : 5 "));
    QCOMPARE(m_windows->Forms()[2]->mstrTestPlanId, QString("13"));
    QCOMPARE(Load("procedure", "7"), 0);
    QCOMPARE(Load("procedure", "7", "Eqpt1" + kSep + "13" + kSep + "0|5|2" + kSep + "5|7|4$"), 0);
    QCOMPARE(m_windows->Forms().size(), size_t(4));
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_DescriptionDocuments::nullColumnsGiveEmptyPages()
{
    AddItems("");
    Run("UPDATE CONFIGURATION SET DESCRIPTION = NULL");
    Run("UPDATE PROCEDURES SET DESCRIPTION = NULL, RESULT = ? WHERE ID = 7", {"<P>only expected</P>"});

    QCOMPARE(Load("configuration", "1"), 0);
    QVERIFY(!m_windows->TakeEvents().contains("pictures"));
    FakeDescriptionForm* configuration = m_windows->Forms().back();
    QCOMPARE(configuration->edit1.DocumentHTML(), Page());
    QCOMPARE(configuration->mstrLastSaved2, Page());

    // The expected result shows even without a description.
    QCOMPARE(Load("procedure", "7"), 0);
    FakeDescriptionForm* procedure = m_windows->Forms().back();
    QCOMPARE(procedure->edit1.DocumentHTML(), Page());
    QCOMPARE(procedure->edit2.DocumentHTML(), Page("<P>only expected</P>"));

    // An empty stored text is no Null: it is the page's whole body.
    QCOMPARE(Load("subtest", "5"), 0);
    QCOMPARE(m_windows->Forms().back()->edit1.DocumentHTML(), Page());

    // No row at all is no error either.
    TestPlan missing;
    missing.SetId("99");
    missing.SetName("Gone");
    QCOMPARE(missing.LoadDocument(), 0);
    QCOMPARE(m_windows->Forms().back()->edit1.DocumentHTML(), Page());
    QCOMPARE(m_windows->Forms().back()->mstrTestPlanId, QString("99"));
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_DescriptionDocuments::picturesOnlyWhileStoreImage_data()
{
    QTest::addColumn<QVariant>("storeImage");  // null: the key is absent
    QTest::addColumn<bool>("written");
    QTest::newRow("absent") << QVariant() << true;
    QTest::newRow("1") << QVariant("1") << true;
    QTest::newRow("0") << QVariant("0") << false;
    QTest::newRow("empty") << QVariant("") << false;
    QTest::newRow("2") << QVariant("2") << false;
}

void tst_DescriptionDocuments::picturesOnlyWhileStoreImage()
{
    QFETCH(QVariant, storeImage);
    QFETCH(bool, written);
    if (!storeImage.isNull())
        Settings::SaveSetting("Options", "StoreImage", storeImage.toString());
    m_windows->pictures = [](QString& html) { Publication().DownLoadPicture(html); };
    const QString file = gConnection().Dialect().Quote("FILE");
    Run("INSERT INTO IMAGEFILE (ID, ITEM, ID_ITEM, " + file + ", FILETYPE) VALUES (31, 14, '7', ?, 'gif')",
        {QByteArray("thirty-one")});
    Run("INSERT INTO IMAGEFILE (ID, ITEM, ID_ITEM, " + file + ", FILETYPE) VALUES (32, 114, '7', ?, 'png')",
        {QByteArray("thirty-two")});
    AddItems("<P><IMG src=\"31.gif\"></P>", "<P><IMG src=\"32.png\"></P>");

    QCOMPARE(Load("procedure", "7"), 0);
    FakeDescriptionForm* form = m_windows->Forms().front();
    const QDir images(gImagePath);
    if (written) {
        const auto url = [&](const QString& name) {
            return QUrl::fromLocalFile(images.filePath(name)).toString(QUrl::FullyEncoded);
        };
        QCOMPARE(form->edit1.DocumentHTML(), Page("<P><IMG src=\"" + url("31.gif") + "\"></P>"));
        QCOMPARE(form->edit2.DocumentHTML(), Page("<P><IMG src=\"" + url("32.png") + "\"></P>"));
        QVERIFY(QFile::exists(images.filePath("31.gif")));
        QVERIFY(QFile::exists(images.filePath("32.png")));
    } else {
        QCOMPARE(form->edit1.DocumentHTML(), Page("<P><IMG src=\"31.gif\"></P>"));
        QCOMPARE(form->edit2.DocumentHTML(), Page("<P><IMG src=\"32.png\"></P>"));
        QVERIFY(images.entryList(QDir::Files).isEmpty());
    }
    QCOMPARE(form->mstrLastSaved, form->edit1.DocumentHTML());
    QCOMPARE(form->mstrLastSaved2, form->edit2.DocumentHTML());
    QCOMPARE(m_env->BugLogEntries(), 0);
}

void tst_DescriptionDocuments::failuresAreLoggedAndLeaveNoWindow_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("label");
    QTest::newRow("configuration description gone") << "configuration"
                                                    << "1"
                                                    << "column"
                                                    << "Error_LoadDocument Configuration : ";
    QTest::newRow("test plan description gone") << "testplan"
                                                << "12"
                                                << "column"
                                                << "Error_LoadDocument TestPlan : ";
    QTest::newRow("sub-test description gone") << "subtest"
                                               << "5"
                                               << "column"
                                               << "Error_LoadDocument SubTest : ";
    QTest::newRow("procedure description gone") << "procedure"
                                                << "7"
                                                << "column"
                                                << "Error_LoadDocument Procedure : ";
    QTest::newRow("sub-test window refused") << "subtest"
                                             << "5"
                                             << "create"
                                             << "Error_LoadDocument SubTest : 7";
    QTest::newRow("no windows installed") << "testplan"
                                          << "12"
                                          << "uninstalled"
                                          << "Error_LoadDocument TestPlan : ";
}

void tst_DescriptionDocuments::failuresAreLoggedAndLeaveNoWindow()
{
    QFETCH(QString, kind);
    QFETCH(QString, id);
    QFETCH(QString, breakage);
    QFETCH(QString, label);
    AddItems("<P>d</P>");
    // Found while the rows are there; the failure meets the loading.
    Configuration configuration;
    TestPlan plan;
    SubTest subTest;
    Procedure procedure;
    configuration.Find("1");
    plan.Find("12");
    subTest.Find("5");
    subTest.SetKey(kSubTestKey);
    procedure.Find("7");
    procedure.SetKey(kProcedureKey);
    const auto load = [&] {
        if (kind == "configuration")
            return configuration.LoadDocument();
        if (kind == "testplan")
            return plan.LoadDocument();
        if (kind == "subtest")
            return subTest.LoadDocument();
        return procedure.LoadDocument();
    };

    if (breakage == "column")
        Run(QString("ALTER TABLE %1 DROP COLUMN DESCRIPTION").arg(kind == "procedure" ? "PROCEDURES" : kind.toUpper()));
    else if (breakage == "create")
        m_windows->failCreateAfter = 0;
    else if (breakage == "uninstalled")
        SetDescriptionWindows(nullptr);
    QCOMPARE(load(), 1);
    QCOMPARE(m_env->BugLogEntries(), 1);
    QVERIFY2(m_env->BugLog().contains(label), qPrintable(m_env->BugLog()));
    QVERIFY(OpenForms::All().isEmpty());
    const QStringList events = m_windows->TakeEvents();
    QVERIFY(events.filter(QRegularExpression("^show ")).isEmpty());
    if (kind == "procedure")
        QCOMPARE(events.last(), QString("progress hidden"));
}

void tst_DescriptionDocuments::styleListFilledOnce_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("queries");
    QTest::addColumn<QStringList>("messages");
    const QStringList names{"Normal", "Heading 1"};
    const QStringList unavailable{"Font styles are not available."};
    QTest::newRow("enabled at once") << int(Decmd::ENABLED) << false << QStringList() << names << 1 << QStringList();
    QTest::newRow("one name yet: asked again")
        << int(Decmd::ENABLED) << false << QStringList{"Normal"} << names << 1 << QStringList();
    QTest::newRow("never enabled: 15 tries, then the user is told")
        << int(Decmd::DISABLED) << false << QStringList() << QStringList() << 15 << unavailable;
    QTest::newRow("latched is not enabled")
        << int(Decmd::LATCHED) << false << QStringList{"Normal"} << QStringList{"Normal"} << 15 << unavailable;
    QTest::newRow("editor raises: ignored")
        << int(Decmd::ENABLED) << true << QStringList() << QStringList() << 1 << QStringList();
    QTest::newRow("filled already: not asked")
        << int(Decmd::DISABLED) << false << QStringList{"P", "H1"} << QStringList{"P", "H1"} << 0 << QStringList();
}

void tst_DescriptionDocuments::styleListFilledOnce()
{
    QFETCH(int, status);
    QFETCH(bool, fails);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(int, queries);
    QFETCH(QStringList, messages);
    ScriptedPrompts prompts;
    gMainToolbars().cboStyles.SetItems(before);
    m_windows->blockFormatsStatus = status;
    m_windows->failBlockFormats = fails;

    // The style list never stops the document from opening.
    AddItems("<P>d</P>");
    Procedure procedure;
    QCOMPARE(procedure.Find("7"), 0);
    QCOMPARE(procedure.LoadDocument(), 0);
    FakeDescriptionForm* form = m_windows->Forms().at(0);
    QCOMPARE(form->edit1.StatusQueries(Decmd::GETBLOCKFMTNAMES), queries);
    QCOMPARE(gMainToolbars().cboStyles.Items(), after);
    QCOMPARE(prompts.Messages(), messages);
    QVERIFY(m_windows->TakeEvents().contains("show " + form->Caption()));
    QCOMPARE(m_env->BugLogEntries(), 0);
}

QTEST_GUILESS_MAIN(tst_DescriptionDocuments)
#include "tst_DescriptionDocuments.moc"
