#include "publishing/XmlPlanReader.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString FuzzDir(const QString& sub)
{
    return QStringLiteral(KORAVEL_FUZZ_DIR "/") + sub;
}

QByteArray Seed(const QString& name)
{
    QFile file(FuzzDir(QStringLiteral("corpus/")) + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing seed %s", qPrintable(name));
    return file.readAll();
}

QByteArray Good()
{
    return Seed(QStringLiteral("good-plan.xml"));
}

// The good plan with the first `from` replaced by `to`.
QByteArray Changed(const QByteArray& from, const QByteArray& to, QByteArray document = Good())
{
    const qsizetype at = document.indexOf(from);
    if (at < 0)
        qFatal("%s not in the document", from.constData());
    return document.replace(at, from.size(), to);
}

// The line of the first `text` in the document, for the expected reasons.
int LineOf(const QByteArray& document, const QByteArray& text)
{
    const qsizetype at = document.indexOf(text);
    if (at < 0)
        qFatal("%s not in the document", text.constData());
    return int(document.left(at).count('\n')) + 1;
}

// "element at line N", N the line of `text` plus `offset`.
QString At(const QByteArray& document, const QByteArray& text, const QString& element, int offset = 0)
{
    return QStringLiteral("%1 at line %2").arg(element).arg(LineOf(document, text) + offset);
}

// The good plan with the first `block` (a whole element) moved to just after the first `after`.
QByteArray Moved(const QByteArray& block, const QByteArray& after)
{
    QByteArray document = Changed(block, "");
    const qsizetype at = document.indexOf(after);
    return document.insert(at + after.size(), block);
}

QString Opt(const std::optional<QString>& value)
{
    return value ? QLatin1Char('[') + *value + QLatin1Char(']') : QStringLiteral("-");
}

template <class T>
QString OptNumber(const std::optional<T>& value)
{
    return value ? QString::number(*value) : QStringLiteral("-");
}

void DumpSubTest(const XmlPlan::SubTest& subTest, int level, QStringList& out)
{
    const QString indent(level * 2, QLatin1Char(' '));
    out << indent + QStringLiteral("subtest %1 %2 order %3 desc %4")
                        .arg(Opt(subTest.name), Opt(subTest.title))
                        .arg(subTest.order)
                        .arg(Opt(subTest.description));
    for (const XmlPlan::SubTest& child : subTest.children)
        DumpSubTest(child, level + 1, out);
    for (const XmlPlan::Procedure& p : subTest.procedures) {
        out << indent + QStringLiteral(
                            "  procedure %1 %2 workload %3 order %4 desc %5 status %6 comment %7 "
                            "iteration %8 played %9 expected %10")
                            .arg(Opt(p.name), Opt(p.title), OptNumber(p.workload))
                            .arg(p.order)
                            .arg(Opt(p.description), OptNumber(p.status), Opt(p.comment), OptNumber(p.iteration))
                            .arg(p.firstPlayed ? p.firstPlayed->toString(Qt::ISODate) + QLatin1Char('.')
                                               : QStringLiteral("-"))
                            .arg(Opt(p.expectedResult));
    }
}

// Everything the reader gives but the lines, one row per item, to compare plans whole.
QStringList Dump(const XmlPlan::Plan& plan)
{
    QStringList out;
    const XmlPlan::Configuration& c = plan.configuration;
    out << QStringLiteral("plan %1 %2 css %3 desc %4")
               .arg(Opt(plan.name), Opt(plan.title), Opt(plan.css), Opt(plan.description));
    out << QStringLiteral("configuration %1 %2 %3 %4 %5 %6")
               .arg(c.id, Opt(c.name), Opt(c.title), Opt(c.equipment1), Opt(c.equipment2), Opt(c.equipment3));
    for (const XmlPlan::History& h : plan.history) {
        out << QStringLiteral("history %1 %2 %3 %4 %5 %6 %7")
                   .arg(h.advancement)
                   .arg(h.workload)
                   .arg(h.date.toString(Qt::ISODate))
                   .arg(h.passed)
                   .arg(h.failed)
                   .arg(h.warning)
                   .arg(h.canceled);
    }
    for (const XmlPlan::SubTest& subTest : plan.subTests)
        DumpSubTest(subTest, 0, out);
    return out + plan.warnings;
}

XmlPlan::Plan MustRead(const QByteArray& document)
{
    QString error;
    const std::optional<XmlPlan::Plan> plan = XmlPlanReader::ReadData(document, &error);
    if (!plan)
        qFatal("refused: %s", qPrintable(error));
    return *plan;
}

}  // namespace

// The exchange-file reader: every value of a good file, the hostile and broken files it refuses
// with a reason, and the oddities it accepts.
class tst_XmlPlanReader : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        XmlPlanReader::SetSizeLimit(XmlPlanReader::kDefaultSizeLimit);
        QLocale::setDefault(QLocale::c());
    }

    void goodFileReadFully()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plan.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Good());
        file.close();

        QString error;
        const std::optional<XmlPlan::Plan> read = XmlPlanReader::Read(path, &error);
        QVERIFY2(read, qPrintable(error));
        const XmlPlan::Plan& plan = *read;
        QCOMPARE(plan.name, QStringLiteral("TP7"));
        QCOMPARE(plan.title, QStringLiteral("Release 2.1 acceptance"));
        QCOMPARE(plan.css, QStringLiteral("BODY { font-family: Arial; } /* a < b */"));
        QCOMPARE(plan.description,
                 QStringLiteral("<p class=\"x\">Scope &amp; aims: a < b, 'quoted', ]]> inside, café ✓</p>"));

        const XmlPlan::Configuration& c = plan.configuration;
        QCOMPARE(c.id, QStringLiteral("3"));
        QCOMPARE(c.title, QStringLiteral("Lab bench"));
        QCOMPARE(c.name, QStringLiteral("Eqpt3"));
        QCOMPARE(c.equipment1, QStringLiteral("PC x86-64"));
        QCOMPARE(c.equipment2, QStringLiteral("Debian 12"));
        QCOMPARE(c.equipment3, QStringLiteral("Imprimante réseau"));

        QCOMPARE(plan.history.size(), 2);
        const XmlPlan::History& h = plan.history[1];
        QCOMPARE(h.advancement, 75.5);
        QCOMPARE(h.workload, 4.0);
        QCOMPARE(h.date, QDate(2024, 3, 5));
        QCOMPARE(h.passed, 5.0);
        QCOMPARE(h.failed, 0.0);
        QCOMPARE(h.warning, 1.0);
        QCOMPARE(h.canceled, 0.0);
        QCOMPARE(plan.history[0].date, QDate(2024, 3, 4));
        QCOMPARE(plan.history[0].canceled, 2.0);

        QCOMPARE(plan.subTests.size(), 2);
        const XmlPlan::SubTest& install = plan.subTests[0];
        QCOMPARE(install.name, QStringLiteral("ST11"));
        QCOMPARE(install.title, QStringLiteral("Installation"));
        QCOMPARE(install.order, 1);
        QCOMPARE(install.description, QStringLiteral("<p>Install it</p>"));
        QCOMPARE(install.line, LineOf(Good(), "<subtest1>"));
        QCOMPARE(install.children.size(), 1);
        QCOMPARE(install.procedures.size(), 2);
        QCOMPARE(plan.subTests[1].title, QStringLiteral("Removal"));
        QCOMPARE(plan.subTests[1].order, 2);

        const XmlPlan::SubTest& upgrade = install.children[0];
        QCOMPARE(upgrade.name, QStringLiteral("ST12"));
        QCOMPARE(upgrade.order, 2);
        QCOMPARE(upgrade.description, QString());
        QVERIFY(upgrade.description->isNull());
        QCOMPARE(upgrade.procedures.size(), 1);
        const XmlPlan::Procedure& deep = upgrade.procedures[0];
        QCOMPARE(deep.title, QStringLiteral("Upgrade from 2.0"));
        QCOMPARE(deep.workload, 0.5f);
        QCOMPARE(deep.status, 3);
        QCOMPARE(deep.expectedResult, QStringLiteral("<p>Data kept</p>"));

        const XmlPlan::Procedure& played = install.procedures[0];
        QCOMPARE(played.name, QStringLiteral("PR20"));
        QCOMPARE(played.title, QStringLiteral("Fresh install"));
        QCOMPARE(played.workload, 1.25f);
        QCOMPARE(played.order, 1);
        QCOMPARE(played.description, QStringLiteral("<p>Install on a clean disk</p>"));
        QCOMPARE(played.status, 0);
        QCOMPARE(played.comment, QStringLiteral("OK"));
        QCOMPARE(played.iteration, 3);
        QCOMPARE(played.firstPlayed, QDate(2024, 3, 5));
        QCOMPARE(played.expectedResult, QStringLiteral("<p>Starts</p>"));
        QCOMPARE(played.line, LineOf(Good(), "<id>20</id>") - 1);

        const XmlPlan::Procedure& never = install.procedures[1];
        QCOMPARE(never.order, 3);
        QCOMPARE(never.status, 1);
        QCOMPARE(never.iteration, 0);
        QCOMPARE(never.comment, QString());
        QCOMPARE(never.description, QString());
        QVERIFY(never.firstPlayed.has_value());
        QVERIFY(never.firstPlayed->isNull());
        QVERIFY(plan.warnings.isEmpty());
    }

    // Every refused file names what is wrong, where: the element and its line.
    void refused_data()
    {
        QTest::addColumn<QByteArray>("document");  // null: no file at all
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QString>("reason");

        const qint64 limit = XmlPlanReader::kDefaultSizeLimit;
        const QByteArray good = Good();
        auto row = [&](const char* name, const QByteArray& document, const QString& reason) {
            QTest::newRow(name) << document << limit << reason;
        };
        auto changed = [&](const char* name, const QByteArray& from, const QByteArray& to, const QString& element) {
            const QByteArray document = Changed(from, to);
            row(name, document, At(document, to, element));
        };

        QTest::newRow("missing file") << QByteArray() << limit << "no such file";
        QTest::newRow("over the size limit") << good << qint64(good.size() - 1) << "larger than";
        const int lastLine = int(good.count('\n')) + 1;
        QTest::newRow("size limit reached, not passed")
            << good + "\n<" << qint64(good.size() + 2) << QStringLiteral("at line %1, column").arg(lastLine + 1);

        const QByteArray laughs = Seed(QStringLiteral("billion-laughs.xml"));
        row("billion laughs", laughs, At(laughs, "]>", QStringLiteral("DOCTYPE")));
        const QByteArray external = Seed(QStringLiteral("external-entity.xml"));
        row("external entity", external, At(external, "]>", QStringLiteral("DOCTYPE")));
        row("empty document type", "<!DOCTYPE testplan>\n<testplan/>", "DOCTYPE at line 1");
        row("nesting 33 deep", Seed(QStringLiteral("nested-33.xml")), "d33 at line 33: elements nested deeper than 32");
        const QByteArray longName = QByteArray(1000, 'e');
        row("long element name shown short", Seed(QStringLiteral("nested-33.xml")).replace("d33>", longName + ">"),
            QString::fromLatin1(longName.left(40)) + "... at line 33");
        const QByteArray levels = Seed(QStringLiteral("subtests-11-levels.xml"));
        row("11 sub-test levels", levels, At(levels, "<subtest11>", QStringLiteral("subtest11")));
        // The depth counts in skipped elements too.
        row("33 deep inside a skipped element",
            Changed("<title>Removal</title>", QByteArray("<x>").repeated(30) + "<y/>" +
                                                  QByteArray("</x>").repeated(30) + "<title>Removal</title>"),
            At(good, "<title>Removal</title>", QStringLiteral("y")));

        row("malformed", Changed("<name>ST12</name>", "<name>ST12</nam>"),
            At(good, "<name>ST12</name>", QStringLiteral("name")) + ", column");
        row("empty", "", "document at line 1");
        row("text after the root", good + "<testplan/>", QStringLiteral("at line %1, column").arg(lastLine));
        row("no root", "<!-- nothing -->", "document at line 1");
        row("undeclared entity", Changed("<name>TP7</name>", "<name>&nbsp;</name>"),
            "name at line 3, column 14: Entity 'nbsp' not declared");

        changed("order not a number", "<order>2</order>", "<order>two</order>", QStringLiteral("order"));
        changed("order zero", "<order>2</order>", "<order>0</order>", QStringLiteral("order"));
        changed("order a fraction", "<order>2</order>", "<order>1.5</order>", QStringLiteral("order"));
        changed("id beyond 32 bits", "<id>12</id>", "<id>2147483648</id>", QStringLiteral("id"));
        changed("negative id", "<id>12</id>", "<id>-12</id>", QStringLiteral("id"));
        changed("configuration id not a number", "<id>3</id>", "<id>3 OR 1=1</id>", QStringLiteral("id"));
        changed("negative workload", "<workload>1.25</workload>", "<workload>-1</workload>",
                QStringLiteral("workload"));
        changed("NaN workload", "<workload>1.25</workload>", "<workload>NaN</workload>", QStringLiteral("workload"));
        changed("workload over a float", "<workload>1.25</workload>", "<workload>1e39</workload>",
                QStringLiteral("workload"));
        changed("infinite history value", "<Passed>5</Passed>", "<Passed>inf</Passed>", QStringLiteral("Passed"));
        changed("negative advancement", "<advancement>50</advancement>", "<advancement>-5</advancement>",
                QStringLiteral("advancement"));
        changed("empty history value", "<Failed>1</Failed>", "<Failed></Failed>", QStringLiteral("Failed"));
        changed("status 4", "<status>0</status>", "<status>4</status>", QStringLiteral("status"));
        changed("negative status", "<status>0</status>", "<status>-1</status>", QStringLiteral("status"));
        changed("iteration 40000", "<iteration>3</iteration>", "<iteration>40000</iteration>",
                QStringLiteral("iteration"));
        changed("SQL as a history date", "<Date>2024-03-05</Date>", "<Date>1); DELETE FROM RESULT; --</Date>",
                QStringLiteral("Date"));
        const QByteArray sql = Seed(QStringLiteral("sql-in-date.xml"));
        row("SQL as a history date, seed", sql, At(sql, "<Date>", QStringLiteral("Date")));
        changed("unreadable first-played date", "<datefirstplayed>2024-03-05</datefirstplayed>",
                "<datefirstplayed>yesterday</datefirstplayed>", QStringLiteral("datefirstplayed"));
        changed("impossible date", "<Date>2024-03-05</Date>", "<Date>2024-02-30</Date>", QStringLiteral("Date"));
        changed("51-character name", "<name>PR20</name>", QByteArray("<name>") + QByteArray(51, 'n') + "</name>",
                QStringLiteral("name"));
        changed("51-character title", "<title>Lab bench</title>",
                QByteArray("<title>") + QByteArray(51, 't') + "</title>", QStringLiteral("title"));
        changed("51-character equipment", "<equipment2>Debian 12</equipment2>",
                "<equipment2>" + QString(51, QChar(0xE9)).toUtf8() + "</equipment2>", QStringLiteral("equipment2"));
        changed("101-character comment", "<comment>OK</comment>",
                QByteArray("<comment>") + QByteArray(101, 'c') + "</comment>", QStringLiteral("comment"));
        changed("</STYLE in the style sheet", "<CSS>BODY", "<CSS>&lt;/STYLE&gt;&lt;script&gt;x()&lt;/script&gt;BODY",
                QStringLiteral("CSS"));
        row("sub-test without order", Changed("<order>2</order>", ""),
            At(good, "<subtest2>", QStringLiteral("subtest2")));
        row("procedure without order", Changed("<order>3</order>", ""),
            At(good, "<id>22</id>", QStringLiteral("procedure"), -1) + ": no order");
        row("top-level sub-test without title", Changed("<title>Removal</title>", ""),
            At(good, "<id>13</id>", QStringLiteral("subtest1"), -1) + ": no title");
        const QByteArray noConfiguration =
            Changed("<configuration>", "<configuratio>", Changed("</configuration>", "</configuratio>"));
        row("no configuration", noConfiguration, "testplan at line 1: no configuration");
        row("configuration without id", Changed("<id>3</id>", ""),
            At(good, "<configuration>", QStringLiteral("configuration")));
    }

    void refused()
    {
        QFETCH(QByteArray, document);
        QFETCH(qint64, limit);
        QFETCH(QString, reason);

        XmlPlanReader::SetSizeLimit(limit);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plan.xml"));
        if (!document.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(document);
        }
        QString error;
        QVERIFY(!XmlPlanReader::Read(path, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        if (!document.isNull()) {
            // The same reason, line included, when read from memory.
            QString dataError;
            QVERIFY(!XmlPlanReader::ReadData(document, &dataError));
            QVERIFY2(dataError.contains(reason), qPrintable(dataError));
        }
    }

    void refusedPaths()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!XmlPlanReader::Read(dir.path(), &error));
        QVERIFY2(error.contains(QLatin1String("not a file")), qPrintable(error));
        QVERIFY(!XmlPlanReader::Read(QStringLiteral("/dev/zero"), &error));
        QVERIFY2(error.contains(QLatin1String("not a file")), qPrintable(error));

        const QString path = dir.filePath(QStringLiteral("locked.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Good());
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
        if (QFile(path).open(QIODevice::ReadOnly))
            QSKIP("running as a user who reads any file");
        QVERIFY(!XmlPlanReader::Read(path, &error));
        QVERIFY2(error.startsWith(path), qPrintable(error));
    }

    // Files that differ from the writer's but read as the same plan.
    void acceptedOddities_data()
    {
        QTest::addColumn<QByteArray>("document");

        QTest::newRow("another root name") << Changed("</testplan>", "</plan>", Changed("<testplan>", "<plan>"));
        QTest::newRow("unknown elements everywhere")
            << Changed("<order>1</order>", "<order>1</order><extra><status>9</status></extra>",
                       Changed("<Date>2024-03-05</Date>", "<Date>2024-03-05</Date><Note>x</Note>",
                               Changed("<title>Lab bench</title>", "<title>Lab bench</title><site>Paris</site>",
                                       Changed("<id>7</id>", "<id>7</id><author>me</author><subtest2/>"))));
        QTest::newRow("wrong-depth subtest3 under subtest1, bad values below")
            << Changed("<order>1</order>",
                       "<order>1</order><subtest3><order>x</order><procedure><status>9</status></procedure>"
                       "<subtest4/></subtest3>");
        QTest::newRow("a second single-valued child ignored")
            << Changed("<comment>OK</comment>",
                       "<comment>OK</comment><status>9</status><comment>" + QByteArray(200, 'c') + "</comment>");
        QTest::newRow("children in another order")
            << Changed("<id>11</id>\n    <title>Installation</title>\n    <name>ST11</name>\n    <order>1</order>",
                       "<order>1</order><name>ST11</name><title>Installation</title><id>11</id>");
        const qsizetype subTest2 = Good().indexOf("<subtest2>");
        QTest::newRow("procedures before child sub-tests")
            << Moved(Good().mid(subTest2, Good().indexOf("</subtest2>") + 11 - subTest2), "</procedure>");
        QTest::newRow("writer's form: no blanks, declaration")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + Good().replace("\n", "").replace("  ", "");
        QTest::newRow("comments and instructions") << Changed("<subtest1>", "<!-- c --><?pi x?><subtest1><!-- c -->");
        QTest::newRow("32 deep") << Changed(
            "<title>Removal</title>",
            QByteArray("<x>").repeated(29) + "<y/>" + QByteArray("</x>").repeated(29) + "<title>Removal</title>");
    }

    void acceptedOddities()
    {
        QFETCH(QByteArray, document);
        QString error;
        const std::optional<XmlPlan::Plan> plan = XmlPlanReader::ReadData(document, &error);
        QVERIFY2(plan, qPrintable(error));
        QCOMPARE(Dump(*plan), Dump(MustRead(Good())));
    }

    void valuesInOtherForms()
    {
        // A comma as decimal separator, real CDATA sections, markup in a text, names with blanks.
        QByteArray document = Changed("<workload>1.25</workload>", "<workload> 1,25 </workload>");
        document = Changed("<advancement>75,5</advancement>", "<advancement>75.5</advancement>", document);
        document = Changed("<iteration>3</iteration>", "<iteration>+3</iteration>", document);
        document = Changed("<datefirstplayed>2024-03-05</datefirstplayed>",
                           "<datefirstplayed>03-05-2024</datefirstplayed>", document);
        document = Changed("<Date>2024-03-04</Date>", "<Date>2024-03-04T10:30:00</Date>", document);
        document = Changed("<comment>OK</comment>", "<comment><![CDATA[O]]>K</comment>", document);
        document = Changed("<title>Removal</title>", "<title>Re<b>mov</b>al</title>", document);
        document = Changed("&lt;![CDATA[&lt;p&gt;Starts&lt;/p&gt;]]&gt;", "<![CDATA[<p>Starts</p>]]>", document);
        QCOMPARE(Dump(MustRead(document)), Dump(MustRead(Good())));
    }

    // Limits count characters, not UTF-16 units.
    void lengthsInCharacters()
    {
        const QByteArray face("\xF0\x9F\x98\x80");  // two UTF-16 units
        const XmlPlan::Plan plan =
            MustRead(Changed("<title>Lab bench</title>", "<title>" + face.repeated(50) + "</title>"));
        QCOMPARE(plan.configuration.title, QString::fromUtf8(face.repeated(50)));
        QString error;
        QVERIFY(!XmlPlanReader::ReadData(
            Changed("<title>Lab bench</title>", "<title>" + face.repeated(51) + "</title>"), &error));
        QVERIFY2(error.contains(At(Good(), "<title>Lab bench</title>", QStringLiteral("title")) +
                                QStringLiteral(": longer than 50 characters")),
                 qPrintable(error));
    }

    void warnings()
    {
        QByteArray document = Changed("<description>&lt;![CDATA[&lt;p&gt;Install it&lt;/p&gt;]]&gt;</description>", "");
        document =
            Changed("<expected_result>&lt;![CDATA[&lt;p&gt;Starts&lt;/p&gt;]]&gt;</expected_result>", "", document);
        // A second row of one day: the later one skipped, whatever its values.
        document = Changed("<Date>2024-03-05</Date>", "<Date>03-04-2024</Date>", document);
        const QByteArray good = Good();
        const XmlPlan::Plan plan = MustRead(document);
        QCOMPARE(plan.warnings, QStringList({At(good, "<Date>2024-03-05</Date>", QStringLiteral("history"), -3) +
                                                 QStringLiteral(": a second row for 2024-03-04; skipped"),
                                             At(good, "<id>20</id>", QStringLiteral("procedure"), -1) +
                                                 QStringLiteral(": no expected_result; the procedure keeps none"),
                                             At(good, "<subtest1>", QStringLiteral("subtest1")) +
                                                 QStringLiteral(": no description; the sub-test keeps none")}));
        QCOMPARE(plan.history.size(), 1);
        QCOMPARE(plan.history[0].advancement, 50.0);
        QVERIFY(!plan.subTests[0].description);
        QVERIFY(plan.subTests[0].procedures[0].description);
        QVERIFY(!plan.subTests[0].procedures[0].expectedResult);
    }

    // What the file may leave out: kept unset for the import to apply its defaults.
    void missingOptionalValues()
    {
        const QByteArray document =
            "<testplan><configuration><id> 5 </id></configuration>"
            "<history><Date>2024-01-02</Date></history><history></history><history><Passed>2</Passed></history>"
            "<subtest1><title>T</title><order>4</order>"
            "<subtest2><order>1</order><procedure><order>2</order></procedure></subtest2></subtest1></testplan>";
        const XmlPlan::Plan plan = MustRead(document);
        QVERIFY(!plan.name && !plan.title && !plan.css && !plan.description);
        QCOMPARE(plan.configuration.id, QStringLiteral("5"));
        QVERIFY(!plan.configuration.name && !plan.configuration.equipment3);
        // Two rows without date are both today's: the second is skipped.
        QCOMPARE(plan.history.size(), 2);
        QCOMPARE(plan.history[0].date, QDate(2024, 1, 2));
        QCOMPARE(plan.history[0].passed, 0.0);
        QVERIFY(plan.history[1].date.isNull());
        QCOMPARE(plan.history[1].passed, 0.0);
        QCOMPARE(plan.warnings.filter(QLatin1String("history at line 1: a second row for")).size(), 1);
        const XmlPlan::SubTest& top = plan.subTests.value(0);
        QVERIFY(!top.name);
        QCOMPARE(top.order, 4);
        const XmlPlan::SubTest& child = top.children.value(0);
        QVERIFY(!child.name && !child.title);
        const XmlPlan::Procedure& p = child.procedures.value(0);
        QCOMPARE(p.order, 2);
        QVERIFY(!p.name && !p.title && !p.workload && !p.status && !p.comment && !p.iteration && !p.firstPlayed);
        QVERIFY(!p.description && !p.expectedResult);
    }

    void unwrap_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("content");

        QTest::newRow("wrapped") << "<![CDATA[<p>x</p>]]>"
                                 << "<p>x</p>";
        QTest::newRow("markers inside kept") << "<![CDATA[a]]>b<![CDATA[c]]>"
                                             << "a]]>b<![CDATA[c";
        QTest::newRow("no opening marker: whole") << "<p>plain</p>]]>"
                                                  << "<p>plain</p>]]>";
        QTest::newRow("short text without marker") << "abc"
                                                   << "abc";
        QTest::newRow("no closing marker: whole") << "<![CDATA[<p>cut"
                                                  << "<![CDATA[<p>cut";
        QTest::newRow("text around the markers dropped") << "x<![CDATA[ y ]]>z"
                                                         << " y ";
        QTest::newRow("blanks") << "<![CDATA[ \n\t ]]>"
                                << "";
        QTest::newRow("markers only") << "<![CDATA[]]>"
                                      << "";
        QTest::newRow("closing marker overlapping the opening") << "<![CDATA[]]"
                                                                << "<![CDATA[]]";
    }

    void unwrap()
    {
        QFETCH(QString, text);
        QFETCH(QString, content);
        QCOMPARE(XmlPlanReader::Unwrap(text), content);
        QCOMPARE(XmlPlanReader::Unwrap(XmlPlanReader::Wrap(content)), content);
    }

    void decimals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");  // NaN: refused

        const double no = qQNaN();
        QTest::newRow("point") << "0.5" << 0.5;
        QTest::newRow("comma") << "0,5" << 0.5;
        QTest::newRow("blanks, sign") << " +2 " << 2.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("negative read, left to the caller") << "-1,5" << -1.5;
        QTest::newRow("both separators") << "1,234.5" << no;
        QTest::newRow("two commas") << "1,2,3" << no;
        QTest::newRow("NaN") << "nan" << no;
        QTest::newRow("infinite") << "inf" << no;
        QTest::newRow("overflow") << "1e400" << no;
        QTest::newRow("empty") << "" << no;
        QTest::newRow("hexadecimal") << "0x10" << no;
        QTest::newRow("SQL") << "1); DROP TABLE HISTORY" << no;
    }

    void decimals()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        // A comma locale changes nothing: both separators are read everywhere.
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::French, QLocale::France)}) {
            QLocale::setDefault(locale);
            const std::optional<double> read = XmlPlanReader::ParseDecimal(text);
            if (qIsNaN(value))
                QVERIFY2(!read, qPrintable(QString::number(read.value_or(0))));
            else
                QCOMPARE(read, value);
        }
    }

    void wholeNumbers()
    {
        QCOMPARE(XmlPlanReader::ParseWhole(QStringLiteral(" 42 ")), 42);
        QCOMPARE(XmlPlanReader::ParseWhole(QStringLiteral("-7")), -7);
        QCOMPARE(XmlPlanReader::ParseWhole(QStringLiteral("2147483648")), 2147483648LL);
        for (const char* bad : {"", "-", "1.0", "1e3", "0x1F", "١٢", "99999999999999999999", "3 OR 1=1"})
            QVERIFY2(!XmlPlanReader::ParseWhole(QString::fromUtf8(bad)), bad);
    }

    void dates_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");  // null: refused

        const QDate march5(2024, 3, 5);
        QTest::newRow("ISO") << "en_US"
                             << "2024-03-05" << march5;
        QTest::newRow("ISO with time") << "fr_FR"
                                       << "2024-03-05T08:15:00" << march5;
        QTest::newRow("US short, two-digit year") << "en_US"
                                                  << "3/5/24" << march5;
        QTest::newRow("US short, four-digit year") << "en_US"
                                                   << "3/5/2024" << march5;
        QTest::newRow("US short with time") << "en_US"
                                            << "3/5/24 4:05 PM" << march5;
        QTest::newRow("French short") << "fr_FR"
                                      << "05/03/2024" << march5;
        QTest::newRow("German short") << "de_DE"
                                      << "05.03.24" << march5;
        QTest::newRow("MM-DD-YYYY") << "fr_FR"
                                    << "03-05-2024" << march5;
        QTest::newRow("M-D-YYYY") << "en_US"
                                  << "3-5-2024" << march5;
        QTest::newRow("no such day") << "en_US"
                                     << "02-30-2024" << QDate();
        QTest::newRow("words") << "en_US"
                               << "yesterday" << QDate();
        QTest::newRow("SQL") << "en_US"
                             << "1); DELETE FROM RESULT; --" << QDate();
        QTest::newRow("date then text") << "en_US"
                                        << "2024-03-05; DELETE FROM RESULT; --" << QDate();
        QTest::newRow("empty") << "en_US"
                               << "" << QDate();
        QTest::newRow("five-digit year") << "en_US"
                                         << "12345-01-01" << QDate();
    }

    void dates()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        const std::optional<QDate> read = XmlPlanReader::ParseDate(text, QLocale(locale));
        if (date.isNull())
            QVERIFY2(!read, qPrintable(read.value_or(QDate()).toString(Qt::ISODate)));
        else
            QCOMPARE(read, date);
    }

    // The locale's short form is read in a whole file too.
    void localeDateInFile()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const XmlPlan::Plan plan = MustRead(Changed("<Date>2024-03-04</Date>", "<Date>04/03/2024</Date>"));
        QCOMPARE(plan.history[0].date, QDate(2024, 3, 4));
    }

    // Inputs the fuzz target found or was seeded with: each read to an end, a plan or a reason.
    void fuzzInputs_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString& sub : {QStringLiteral("corpus"), QStringLiteral("regressions")}) {
            const QDir dir(FuzzDir(sub));
            for (const QString& name : dir.entryList(QDir::Files))
                QTest::newRow(qPrintable(sub + QLatin1Char('/') + name)) << dir.filePath(name);
        }
    }

    void fuzzInputs()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString error;
        const std::optional<XmlPlan::Plan> plan = XmlPlanReader::ReadData(file.readAll(), &error);
        QVERIFY(plan.has_value() != !error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_XmlPlanReader)
#include "tst_XmlPlanReader.moc"
