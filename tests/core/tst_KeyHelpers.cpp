#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "platform/Globals.h"
#include "TestEnvironment.h"

#include <QtTest>

namespace {
// Keys are written with "~" for the separator to keep the tables readable.
QString K(const char* text)
{
    return QString::fromUtf8(text).replace('~', QChar(0x00A4));
}
}  // namespace

class tst_KeyHelpers : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("segments");
        QTest::addColumn<bool>("procedure");
        QTest::newRow("root") << K("Root") << 1 << false;
        QTest::newRow("configuration") << K("Eqpt3") << 1 << false;
        QTest::newRow("test plan") << K("Eqpt3~12") << 2 << false;
        QTest::newRow("sub-test") << K("Eqpt3~12~12|40|1") << 3 << false;
        QTest::newRow("nested") << K("Eqpt3~12~12|40|1~40|41|23") << 4 << false;
        QTest::newRow("procedure") << K("Eqpt3~12~12|40|1~40|7|2$") << 4 << true;
        QTest::newRow("malformed kept") << K("Eqpt3~~x|y~007|1|2") << 4 << false;
        QTest::newRow("empty") << QString() << 0 << false;
    }
    void roundTrip()
    {
        QFETCH(QString, key);
        QFETCH(int, segments);
        QFETCH(bool, procedure);
        const NodeKey parsed = NodeKey::Parse(key);
        QCOMPARE(parsed.ToString(), key);
        QCOMPARE(parsed.Count(), segments);
        QCOMPARE(parsed.IsProcedure(), procedure);
    }

    void structure()
    {
        const NodeKey key = NodeKey::Parse(K("Eqpt3~12~12|40|1~40|7|2$"));
        QCOMPARE(key.ConfigurationId(), QString("3"));
        QCOMPARE(key.TestPlanId(), QString("12"));
        const NodeKey::Link link = NodeKey::ParseLink(key.Segment(3));
        QVERIFY(link.valid);
        QCOMPARE(link.parentId + link.id + link.order, QString("4072"));
        QVERIFY(!NodeKey::ParseLink("12|x|1").valid);
        QVERIFY(!NodeKey::ParseLink("12|1").valid);
        QCOMPARE(key.Parent().ToString(), K("Eqpt3~12~12|40|1"));
        QCOMPARE(key.Parent().Child("40", "7", "2", true), key);
        QVERIFY(key.IsWithin(NodeKey::Parse(K("Eqpt3~12"))));
        QVERIFY(!key.IsWithin(NodeKey::Parse(K("Eqpt3~1"))));
        QVERIFY(!NodeKey::Parse(K("Eqpt3~12~12|40|1")).IsWithin(key));
    }

    void parsers_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plan of sub-test key") << "TestPlanIdFromKey" << K("Eqpt3~12~12|40|1") << "12";
        QTest::newRow("plan of plan key") << "TestPlanIdFromKey" << K("Eqpt3~12") << "12";
        QTest::newRow("plan of config key") << "TestPlanIdFromKey" << K("Eqpt3") << "Eqpt3";
        QTest::newRow("plan of empty") << "TestPlanIdFromKey"
                                       << ""
                                       << "";
        QTest::newRow("config of plan key") << "ConfigurationIdFromKey" << K("Eqpt3~12") << "3";
        QTest::newRow("config of config key") << "ConfigurationIdFromKey" << K("Eqpt12") << "12";
        QTest::newRow("config of root") << "ConfigurationIdFromKey"
                                        << "Root"
                                        << "";
        QTest::newRow("config big id") << "ConfigurationIdFromKey" << K("Eqpt40000~70000") << "40000";
        QTest::newRow("short id") << "KeyIdShort"
                                  << "12|40|1"
                                  << "40";
        QTest::newRow("short id empty") << "KeyIdShort"
                                        << ""
                                        << "";
        QTest::newRow("short id big") << "KeyIdShort"
                                      << "70000|99999|40000"
                                      << "99999";
        QTest::newRow("id of short tag") << "KeyId"
                                         << "1|2"
                                         << "";
        QTest::newRow("id of 3-char tag") << "KeyId"
                                          << "1|2|"
                                          << "2";
        QTest::newRow("id of long tag") << "KeyId"
                                        << "12|40|1"
                                        << "40";
    }
    void parsers()
    {
        QFETCH(QString, function);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QString actual;
        if (function == "TestPlanIdFromKey")
            actual = TestPlanIdFromKey(input);
        else if (function == "ConfigurationIdFromKey")
            actual = ConfigurationIdFromKey(input);
        else if (function == "KeyIdShort")
            actual = KeyIdShort(input);
        else
            actual = KeyId(input);
        QCOMPARE(actual, expected);
    }

    void levelsAndStatuses()
    {
        QCOMPARE(NodeLevel("Plan\\Sub\\Sub"), 5);
        QCOMPARE(NodeLevel("Plan"), 3);
        QCOMPARE(StatusText(0), QString("Passed"));
        QCOMPARE(StatusText(3), QString("Warning"));
        QCOMPARE(StatusText(4), QString());
        QCOMPARE(StatusText(QVariant()), QString());
        QCOMPARE(StatusFromText("Canceled"), 2);
        QCOMPARE(StatusFromText("passed"), 0);
        QCOMPARE(StatusFromText("failed"), 0);  // case-sensitive: an unknown text is 0
        QCOMPARE(StatusFromText("Failed"), 1);
    }

    void canModify_data()
    {
        QTest::addColumn<bool>("management");
        QTest::addColumn<int>("category");
        QTest::addColumn<bool>("expected");
        QTest::newRow("off") << false << 1 << true;
        QTest::newRow("tester") << true << 2 << false;
        QTest::newRow("author") << true << 3 << true;
        QTest::newRow("administrator") << true << 4 << true;
    }
    void canModify()
    {
        QFETCH(bool, management);
        QFETCH(int, category);
        QFETCH(bool, expected);
        gUserManagement = management;
        gUserCategory = category;
        QCOMPARE(CanModify(), expected);
    }

    void checkDevice_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("locationText");
        QTest::addColumn<QString>("locationKey");
        QTest::addColumn<bool>("expected");
        QTest::newRow("whole database") << K("Eqpt9~1") << 3 << kWholeDatabaseLocation << "" << true;
        QTest::newRow("plan cut from deeper location")
            << K("Eqpt3~12") << 3 << "Sub" << K("KeyId:Eqpt3~12~12|40|1") << true;
        QTest::newRow("config cut from plan location") << K("Eqpt3") << 2 << "Plan" << K("KeyId:Eqpt3~12") << true;
        QTest::newRow("procedure under sub-test")
            << K("Eqpt3~12~12|40|1~40|7|2$") << 14 << "Sub" << K("KeyId:Eqpt3~12~12|40|1") << true;
        QTest::newRow("Eqpt3 is not Eqpt30") << K("Eqpt30~5") << 3 << "Cfg" << K("KeyId:Eqpt3") << false;
        QTest::newRow("plan 5 is not plan 50") << K("Eqpt3~50~50|2|1") << 4 << "Plan" << K("KeyId:Eqpt3~5") << false;
        QTest::newRow("order 1 is not order 12")
            << K("Eqpt3~5~5|2|12") << 4 << "Sub" << K("KeyId:Eqpt3~5~5|2|1") << false;
        QTest::newRow("sibling plan") << K("Eqpt3~6~6|2|1") << 4 << "Plan" << K("KeyId:Eqpt3~5") << false;
    }
    void checkDevice()
    {
        QFETCH(QString, key);
        QFETCH(int, type);
        QFETCH(QString, locationText);
        QFETCH(QString, locationKey);
        QFETCH(bool, expected);
        QCOMPARE(CheckDevice(key, type, locationText, locationKey), expected);
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(tst_KeyHelpers)
#include "tst_KeyHelpers.moc"
