#include "ModelFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/Procedure.h"
#include "model/Result.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"
#include "publishing/FieldPlaceholders.h"

#include <QtTest>

using namespace FieldPlaceholders;
using namespace ModelFixture;

namespace {

const QString kResultKey = QStringLiteral("Eqpt1¤5¤5|7|1¤7|9|1$");
const QDate kCreated(2003, 12, 24);
const QDate kUpdated(2004, 1, 2);

QString Img(const QString& name)
{
    return "<IMG src=\"" + name + ".tag\">";
}

// One placeholder of each name, separated by "|".
QString Template(const QStringList& names)
{
    QStringList images;
    for (const QString& name : names)
        images.append(Img(name));
    return images.join('|');
}

struct Kind
{
    QString table;
    QString column;
    QString field;
    QString id;
};

Kind KindOf(const QString& kind)
{
    if (kind == "test plan")
        return {"TESTPLAN", "DESCRIPTION", "TESTPLANDESCRIPTION", "5"};
    if (kind == "configuration")
        return {"CONFIGURATION", "DESCRIPTION", "CONFIGURATIONDESCRIPTION", "1"};
    if (kind == "sub-test")
        return {"SUBTEST", "DESCRIPTION", "SUBTESTDESCRIPTION", "7"};
    if (kind == "procedure")
        return {"PROCEDURES", "DESCRIPTION", "PROCEDUREDESCRIPTION", "9"};
    return {"PROCEDURES", "RESULT", "PROCEDUREEXPECTEDRESULT", "9"};
}

// One row of each item kind, the result of the procedure's occurrence and two users.
void AddItems()
{
    QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);
    Run("INSERT INTO USERS (ID, NAME, PWD, DESCRIPTION, CATEGORY) VALUES (3, 'Ann', '', '', 3)");
    Run("INSERT INTO USERS (ID, NAME, PWD, DESCRIPTION, CATEGORY) VALUES (4, 'Bob <QA>', '', '', 2)");
    const QVariant created = DbValues::Date(kCreated);
    const QVariant updated = DbValues::Date(kUpdated);
    Run("INSERT INTO CONFIGURATION (ID, NAME, TITLE, DESCRIPTION, DATE_CREATION, DATE_UPDATE, EQUIPMENT1, "
        "EQUIPMENT2, EQUIPMENT3, ID_USER) VALUES (1, 'Lab', 'Lab title', 'Configuration text', ?, ?, 'CPU', "
        "'RAM & disk', 'OS', 3)",
        {created, updated});
    Run("INSERT INTO TESTPLAN (ID, NAME, TITLE, DESCRIPTION, DATE_CREATION, DATE_UPDATE, ID_CONFIGURATION, ID_USER) "
        "VALUES (5, 'R&D <draft>', 'Plan \"one\"', 'Plan text', ?, ?, 1, 3)",
        {created, updated});
    Run("INSERT INTO SUBTEST (ID, NAME, TITLE, DESCRIPTION, DATE_CREATION, DATE_UPDATE, ID_USER) "
        "VALUES (7, '', 'Sub-test title', 'Sub-test text', ?, ?, 4)",
        {created, updated});
    Run("INSERT INTO PROCEDURES (ID, NAME, TITLE, DESCRIPTION, RESULT, WORKLOAD, DATE_CREATION, DATE_UPDATE, "
        "ID_USER) VALUES (9, 'Boot', 'Boot <fast>', 'Procedure text', 'Expected text', 1.5, ?, ?, 3)",
        {created, updated});
    Run("INSERT INTO RESULT (KEY_NODE, ID_PROCEDURE, ID_TESTPLAN, STATUS, COMMENT, ITERATION, ID_USER) "
        "VALUES (?, 9, 5, 2, 'Done & dusted', 1, 4)",
        {kResultKey});
}

// Runs the field set of `kind` over the item `id`, loaded from its row when it has one.
void WriteItem(const QString& kind, const QString& id, QString& html, const DescriptionLookup& lookup = {})
{
    const Kind k = KindOf(kind);
    const bool stored = Scalar("SELECT COUNT(*) FROM " + k.table + " WHERE ID = ?", {id.toInt()}).toInt() > 0;
    const auto load = [&](auto& item) {
        if (stored)
            QCOMPARE(item.Find(id), 0);
        else
            item.SetId(id);
    };
    if (kind == "test plan") {
        TestPlan item;
        load(item);
        WriteTestPlanFields(html, item, lookup);
    } else if (kind == "configuration") {
        Configuration item;
        load(item);
        WriteConfigurationFields(html, item, lookup);
    } else if (kind == "sub-test") {
        SubTest item;
        load(item);
        WriteSubTestFields(html, item, lookup);
    } else {
        Procedure item;
        load(item);
        Result result;
        QCOMPARE(result.Find(kResultKey), 0);
        WriteProcedureFields(html, item, result, kind == "procedure" ? lookup : DescriptionLookup(),
                             kind == "expected result" ? lookup : DescriptionLookup());
    }
}

}  // namespace

class tst_FieldPlaceholders : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        gUserManagement = false;
        QLocale::setDefault(QLocale::system());
    }

    void replaceTag_data();
    void replaceTag();
    void replaceTagHtml_data();
    void replaceTagHtml();
    void markupValuesAndLaterFields_data();
    void markupValuesAndLaterFields();
    void manyPlaceholders();

    void itemFields_data();
    void itemFields();
    void descriptionRows_data();
    void descriptionRows();
    void descriptionFilledByLaterFields_data() { TestDatabase::AddBackendRows(); }
    void descriptionFilledByLaterFields();
    void lookupInPlaceOfQuery_data();
    void lookupInPlaceOfQuery();
    void databaseErrorKeepsEarlierFields_data() { TestDatabase::AddBackendRows(); }
    void databaseErrorKeepsEarlierFields();

private:
    // The test's database with AddItems' rows, German number and date forms and user management on.
    void OpenItems(TestDatabase& db);
};

void tst_FieldPlaceholders::OpenItems(TestDatabase& db)
{
    KORAVEL_REQUIRE_BACKEND(db);
    AddItems();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    gUserManagement = true;
}

void tst_FieldPlaceholders::replaceTag_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "<p>" + Img("NAME") + "</p>"
                           << "Plan"
                           << "<p>Plan</p>";
    QTest::newRow("any case, further attribute") << "<h1><img SRC=\"name.TAG\" border=0></h1>"
                                                 << "Plan"
                                                 << "<h1>Plan</h1>";
    QTest::newRow("self-closing") << "a<IMG src=\"NAME.tag\" />b"
                                  << "Plan"
                                  << "aPlanb";
    QTest::newRow("identical ones all go") << Img("NAME") + "|" + Img("NAME") + "|" + Img("NAME") << "x"
                                           << "x|x|x";
    QTest::newRow("written otherwise stays") << Img("NAME") + "|<IMG border=0 src=\"NAME.tag\">|" + Img("NAME") << "x"
                                             << "x|<IMG border=0 src=\"NAME.tag\">|x";
    QTest::newRow("the first one's writing wins") << "<IMG border=0 src=\"NAME.tag\">|" + Img("NAME") << "x"
                                                  << "x|" + Img("NAME");
    QTest::newRow("in case only otherwise stays") << Img("NAME") + "|" + Img("name") << "x"
                                                  << "x|" + Img("name");
    QTest::newRow("unquoted src") << "<IMG src=NAME.tag>"
                                  << "x"
                                  << "<IMG src=NAME.tag>";
    QTest::newRow("single quotes") << "<IMG src='NAME.tag'>"
                                   << "x"
                                   << "<IMG src='NAME.tag'>";
    QTest::newRow("empty value") << Img("NAME") << ""
                                 << "&nbsp;";
    QTest::newRow("value escaped") << Img("NAME") << "R&D <draft> \"1\""
                                   << "R&amp;D &lt;draft&gt; &quot;1&quot;";
    QTest::newRow("link alone") << "<a href=\"NAME.tag\">x</a>"
                                << "x"
                                << "<a href=\"NAME.tag\">x</a>";
    QTest::newRow("link before the placeholder") << "<a href=\"NAME.tag\">link</a> " + Img("NAME") << "x"
                                                 << "<a href=\"NAME.tag\">link</a> x";
    QTest::newRow("name in another attribute") << "<IMG alt=\"NAME.tag\" src=\"pic.png\">"
                                               << "x"
                                               << "<IMG alt=\"NAME.tag\" src=\"pic.png\">";
    QTest::newRow("other names") << Img("NAMES") + Img("XNAME") + "<IMG src=\"NAME.tagx\">"
                                 << "x" << Img("NAMES") + Img("XNAME") + "<IMG src=\"NAME.tagx\">";
    QTest::newRow("in a comment") << "<!-- " + Img("NAME") + " -->" + Img("NAME") << "x"
                                  << "<!-- " + Img("NAME") + " -->x";
    QTest::newRow("IMAGE is not IMG") << "<image src=\"NAME.tag\">"
                                      << "x"
                                      << "<image src=\"NAME.tag\">";
    QTest::newRow("after wide characters") << "<p>é 😀 " + Img("NAME") + " ü</p>"
                                           << "x"
                                           << "<p>é 😀 x ü</p>";
    // The parser moves the stray second image before the table; the page's order still counts.
    QTest::newRow("source order") << "<table><tr><td>" + Img("NAME") +
                                         "</td></tr><IMG border=1 src=\"NAME.tag\"></table>"
                                  << "x"
                                  << "<table><tr><td>x</td></tr><IMG border=1 src=\"NAME.tag\"></table>";
    QTest::newRow("none") << "<p>text</p>"
                          << "x"
                          << "<p>text</p>";
}

void tst_FieldPlaceholders::replaceTag()
{
    QFETCH(QString, html);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    ReplaceTag(html, "NAME", value);
    QCOMPARE(html, expected);
}

void tst_FieldPlaceholders::replaceTagHtml_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("as written") << QVariant("<b>R&D</b> &amp;") << "<p><b>R&D</b> &amp;</p>";
    QTest::newRow("null") << QVariant() << "<p>&nbsp;</p>";
    QTest::newRow("empty") << QVariant("") << "<p>&nbsp;</p>";
}

void tst_FieldPlaceholders::replaceTagHtml()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QString html = "<p>" + Img("TESTPLANTOC") + "</p>";
    ReplaceTagHtml(html, "TESTPLANTOC", value);
    QCOMPARE(html, expected);
}

void tst_FieldPlaceholders::markupValuesAndLaterFields_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("expected");
    QTest::newRow("later field inside") << Img("D") + "|" + Img("E") << "<b>" + Img("E") + "</b>"
                                        << "<b>e</b>|e";
    QTest::newRow("earlier field inside stays") << Img("C") + "|" + Img("D") << Img("C") << "c|" + Img("C");
    QTest::newRow("inside comes first") << Img("D") + "|" + Img("E") << "<IMG border=0 src=\"E.tag\">"
                                        << "e|" + Img("E");
    QTest::newRow("put in twice") << Img("D") + "|" + Img("D") + "|" + Img("E") << Img("E") << "e|e|e";
    QTest::newRow("other pictures") << Img("D") + "|" + Img("E") << "<img src=\"pic.png\">"
                                    << "<img src=\"pic.png\">|e";
}

void tst_FieldPlaceholders::markupValuesAndLaterFields()
{
    QFETCH(QString, html);
    QFETCH(QString, markup);
    QFETCH(QString, expected);
    ReplaceTags(html, {FieldValue::Text("C", "c"), FieldValue::Html("D", markup), FieldValue::Text("E", "e")});
    QCOMPARE(html, expected);
}

void tst_FieldPlaceholders::manyPlaceholders()
{
    const QString block = "<p>é😀 " + Img("A") + " <img src=\"a.TAG\"> " + Img("B") + "</p>\n";
    const QString done = "<p>é😀 x&amp;y <img src=\"a.TAG\"> &lt;z&gt;</p>\n";
    QString html;
    QString expected;
    for (int i = 0; i < 5000; ++i) {
        html += block;
        expected += done;
    }
    ReplaceTags(html, {FieldValue::Text("A", "x&y"), FieldValue::Text("B", "<z>")});
    QCOMPARE(html, expected);
}

void tst_FieldPlaceholders::itemFields_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("values");
    const QString pageBreak = "<br style='page-break-before:always'>";
    // The values' dates and numbers take the German forms the test sets.
    const QLocale german(QLocale::German, QLocale::Germany);
    const QString created = german.toString(kCreated, QLocale::ShortFormat);
    const QString updated = german.toString(kUpdated, QLocale::ShortFormat);
    const QStringList procedure{"PROCEDURETITLE",      "PROCEDURENAME",        "PROCEDUREDATECREATION",
                                "PROCEDUREDATEUPDATE", "PROCEDUREWORKLOAD",    "PROCEDUREAUTHOR",
                                "PROCEDURETESTER",     "PROCEDURESTATUS",      "PROCEDURECOMMENT",
                                "PAGEBREAK",           "PROCEDUREDESCRIPTION", "PROCEDUREEXPECTEDRESULT"};
    const QStringList procedureValues{"Boot &lt;fast&gt;", "Boot", created, updated, "1,5", "Ann", "Bob &lt;QA&gt;"};
    const QStringList procedureEnd{"Done &amp; dusted", pageBreak, "Procedure text", "Expected text"};
    for (const QString& backend : TestDatabase::Backends()) {
        const auto row = [&](const char* name) { return &QTest::newRow(qPrintable(backend + " " + name)); };
        *row("test plan")
            << backend << "test plan" << 0
            << QStringList{"TESTPLANNAME",   "TESTPLANTITLE", "TESTPLANDATECREATION", "TESTPLANDATEUPDATE",
                           "TESTPLANAUTHOR", "PAGEBREAK",     "TESTPLANDESCRIPTION"}
            << QStringList{
                   "R&amp;D &lt;draft&gt;", "Plan &quot;one&quot;", created, updated, "Ann", pageBreak, "Plan text"};
        *row("configuration")
            << backend << "configuration" << 0
            << QStringList{"CONFIGURATIONNAME",       "CONFIGURATIONTITLE",  "CONFIGURATIONDATECREATION",
                           "CONFIGURATIONDATEUPDATE", "CONFIGURATIONFIRST",  "CONFIGURATIONSECOND",
                           "CONFIGURATIONTHIRD",      "CONFIGURATIONAUTHOR", "PAGEBREAK",
                           "CONFIGURATIONDESCRIPTION"}
            << QStringList{"Lab",     "Lab title",         created, updated, "CPU", "RAM &amp; disk", "OS", "Ann",
                           pageBreak, "Configuration text"};
        *row("sub-test, empty name") << backend << "sub-test" << 0
                                     << QStringList{"SUBTESTNAME",       "SUBTESTTITLE",  "SUBTESTDATECREATION",
                                                    "SUBTESTDATEUPDATE", "SUBTESTAUTHOR", "PAGEBREAK",
                                                    "SUBTESTDESCRIPTION"}
                                     << QStringList{"&nbsp;",         "Sub-test title", created,        updated,
                                                    "Bob &lt;QA&gt;", pageBreak,        "Sub-test text"};
        const QStringList statuses{"Passed", "Failed", "Canceled", "Warning", "&nbsp;", "&nbsp;"};
        for (int status = 0; status < statuses.size(); ++status) {
            *row(qPrintable("procedure, status " + QString::number(status)))
                << backend << "procedure" << status << procedure
                << procedureValues + QStringList{statuses[status]} + procedureEnd;
        }
    }
}

void tst_FieldPlaceholders::itemFields()
{
    QFETCH(QString, backend);
    QFETCH(QString, kind);
    QFETCH(int, status);
    QFETCH(QStringList, names);
    QFETCH(QStringList, values);
    TestEnvironment env;
    TestDatabase db(backend);
    OpenItems(db);
    Run("UPDATE RESULT SET STATUS = ?", {status});
    // A placeholder of another set and an unquoted one stay.
    QString html = Template(names) + "|" + Img("TESTPLANTOC") + "|<IMG src=" + names.first() + ".tag>";
    WriteItem(kind, KindOf(kind).id, html);
    QCOMPARE(html, values.join('|') + "|" + Img("TESTPLANTOC") + "|<IMG src=" + names.first() + ".tag>");
    QCOMPARE(env.BugLogEntries(), 0);
}

void tst_FieldPlaceholders::descriptionRows_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("stored");  // "<missing>": no row; "<null>": Null
    QTest::addColumn<QString>("expected");
    for (const QString& backend : TestDatabase::Backends()) {
        for (const QString kind : {"test plan", "configuration", "sub-test", "procedure", "expected result"}) {
            const QString placeholder = Img(KindOf(kind).field);
            const auto row = [&](const char* name) { return &QTest::newRow(qPrintable(backend + " " + kind + name)); };
            *row(" markup") << backend << kind << "<p>R&D <b>x</b></p>"
                            << "<p>R&D <b>x</b></p>";
            *row(" null") << backend << kind << "<null>"
                          << "&nbsp;";
            *row(" empty") << backend << kind << ""
                           << "&nbsp;";
            *row(" no row") << backend << kind << "<missing>" << placeholder;
        }
    }
}

void tst_FieldPlaceholders::descriptionRows()
{
    QFETCH(QString, backend);
    QFETCH(QString, kind);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    TestEnvironment env;
    TestDatabase db(backend);
    OpenItems(db);
    const Kind k = KindOf(kind);
    QString id = k.id;
    if (stored == "<missing>")
        id = "99";
    else if (stored == "<null>")
        Run("UPDATE " + k.table + " SET " + k.column + " = NULL");
    else
        Run("UPDATE " + k.table + " SET " + k.column + " = ?", {stored});
    QString html = Img(k.field);
    WriteItem(kind, id, html);
    QCOMPARE(html, expected);
}

void tst_FieldPlaceholders::descriptionFilledByLaterFields()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    OpenItems(db);
    // The plan's own fields come before its description and leave the name in it.
    Run("UPDATE TESTPLAN SET DESCRIPTION = ?", {"Plan on " + Img("CONFIGURATIONNAME") + Img("TESTPLANNAME")});
    QString html = Img("TESTPLANDESCRIPTION");
    WriteItem("test plan", "5", html);
    QCOMPARE(html, "Plan on " + Img("CONFIGURATIONNAME") + Img("TESTPLANNAME"));
    WriteItem("configuration", "1", html);
    QCOMPARE(html, "Plan on Lab" + Img("TESTPLANNAME"));

    // The expected result follows the description within the procedure's set.
    Run("UPDATE PROCEDURES SET DESCRIPTION = ?", {"See " + Img("PROCEDUREEXPECTEDRESULT") + Img("PROCEDURENAME")});
    html = Img("PROCEDUREDESCRIPTION") + "|" + Img("PROCEDUREEXPECTEDRESULT");
    WriteItem("procedure", "9", html);
    QCOMPARE(html, "See Expected text" + Img("PROCEDURENAME") + "|Expected text");

    // The sets joined for one pass fill a section as the Write calls in turn do, placeholders
    // brought by a description and a page break written otherwise included.
    Run("UPDATE PROCEDURES SET DESCRIPTION = ?",
        {"On " + Img("TESTPLANNAME") + Img("PAGEBREAK") + Img("SUBTESTDESCRIPTION") + Img("PROCEDURENAME")});
    const QString section = Img("PROCEDUREDESCRIPTION") + Img("PAGEBREAK") + Img("CONFIGURATIONNAME") +
                            "<IMG  src=\"PAGEBREAK.tag\">" + Img("SUBTESTNAME");
    QString inTurn = section;
    for (const QString kind : {"procedure", "test plan", "configuration", "sub-test"})
        WriteItem(kind, KindOf(kind).id, inTurn);
    Procedure procedure;
    TestPlan plan;
    Configuration configuration;
    SubTest subTest;
    Result result;
    QVERIFY(procedure.Find("9") == 0 && plan.Find("5") == 0 && configuration.Find("1") == 0 && subTest.Find("7") == 0 &&
            result.Find(kResultKey) == 0);
    QList<FieldValue> fields;
    AppendProcedureFields(fields, procedure, result, {}, {});
    AppendTestPlanFields(fields, plan, {});
    AppendConfigurationFields(fields, configuration, {});
    AppendSubTestFields(fields, subTest, {});
    QString joined = section;
    ReplaceTags(joined, fields);
    QCOMPARE(joined, inTurn);
    QVERIFY(inTurn.startsWith("On R&amp;D &lt;draft&gt;<br") && inTurn.contains("Sub-test text"));
}

void tst_FieldPlaceholders::lookupInPlaceOfQuery_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("kind");
    for (const QString& backend : TestDatabase::Backends()) {
        for (const QString kind : {"test plan", "configuration", "sub-test", "procedure", "expected result"})
            QTest::newRow(qPrintable(backend + " " + kind)) << backend << kind;
    }
}

void tst_FieldPlaceholders::lookupInPlaceOfQuery()
{
    QFETCH(QString, backend);
    QFETCH(QString, kind);
    TestEnvironment env;
    TestDatabase db(backend);
    OpenItems(db);
    const Kind k = KindOf(kind);
    // The row holds its own text: only the look-up's answer may show.
    std::optional<QVariant> answer = QVariant("<i>read at once</i>");
    QStringList asked;
    const DescriptionLookup lookup = [&](const QString& id) {
        asked.append(id);
        return answer;
    };
    QString html = Img(k.field);
    WriteItem(kind, k.id, html, lookup);
    QCOMPARE(html, "<i>read at once</i>");
    QCOMPARE(asked, QStringList{k.id});

    answer = QVariant();
    html = Img(k.field);
    WriteItem(kind, k.id, html, lookup);
    QCOMPARE(html, "&nbsp;");

    answer = std::nullopt;
    html = Img(k.field);
    WriteItem(kind, k.id, html, lookup);
    QCOMPARE(html, Img(k.field));
}

void tst_FieldPlaceholders::databaseErrorKeepsEarlierFields()
{
    QFETCH(QString, backend);
    TestEnvironment env;
    TestDatabase db(backend);
    OpenItems(db);
    SubTest subTest;
    QCOMPARE(subTest.Find("7"), 0);
    Run("DROP TABLE SUBTEST");
    QString html = Img("SUBTESTTITLE") + "|" + Img("SUBTESTDESCRIPTION");
    QVERIFY_THROWS_EXCEPTION(KvlError, WriteSubTestFields(html, subTest));
    QCOMPARE(html, "Sub-test title|" + Img("SUBTESTDESCRIPTION"));
    // The generator reports it; the field set logs nothing.
    QCOMPARE(env.BugLogEntries(), 0);
}

QTEST_GUILESS_MAIN(tst_FieldPlaceholders)
#include "tst_FieldPlaceholders.moc"
