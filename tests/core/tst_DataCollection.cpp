#include "TestEnvironment.h"
#include "core/DataCollection.h"

#include <QtTest>

namespace {
struct Thing
{
    QString id;
};
std::shared_ptr<Thing> Make(const QString& id) { return std::make_shared<Thing>(Thing{id}); }
}  // namespace

class tst_DataCollection : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void duplicateKeepsFirstAndLogsOnce()
    {
        DataCollection<Thing> list;
        auto first = Make("first");
        list.Add(first, 7);
        list.Add(Make("second"), "7");
        QCOMPARE(list.Count(), 1);
        QCOMPARE(list.Item(7), first);
        QCOMPARE(m_env->BugLogEntries(), 1);
        QVERIFY(m_env->BugLog().contains("Error_AddCollection : "));
        list.Add(Make("empty"), "");
        QCOMPARE(list.Count(), 1);
        QCOMPARE(m_env->BugLogEntries(), 2);
    }

    void keysCompareWithoutCaseButExactly()
    {
        DataCollection<Thing> list;
        list.Add(Make("a"), "Abc");
        list.Add(Make("7"), 7);
        QVERIFY(list.Exist("abc"));
        QVERIFY(list.Exist("ABC"));
        QVERIFY(list.Exist("7"));
        QVERIFY(!list.Exist("07"));
        QVERIFY(!list.Exist(""));
        list.Add(Make("dup"), "ABC");
        QCOMPARE(list.Count(), 2);
    }

    void itemIsByKeyNeverByPosition()
    {
        DataCollection<Thing> list;
        list.Add(Make("5"), 5);
        list.Add(Make("9"), 9);
        QCOMPARE(list.Item(9)->id, QString("9"));
        QVERIFY_THROWS_EXCEPTION(KvlError, list.Item(1));
        QVERIFY_THROWS_EXCEPTION(KvlError, list.Item(0));
        QCOMPARE(m_env->BugLogEntries(), 0);  // a failed lookup is the caller's to log
    }

    void enumerationKeepsInsertionOrder()
    {
        DataCollection<Thing> list;
        for (const char* id : {"30", "4", "100", "1"})
            list.Add(Make(id), QString(id));
        QStringList seen;
        for (const auto& thing : list)
            seen << thing->id;
        QCOMPARE(seen, QStringList({"30", "4", "100", "1"}));
    }

    void countClearAndSharedInner()
    {
        DataCollection<Thing> list;
        QCOMPARE(list.Count(), 0);
        list.Add(Make("1"), 1);
        DataCollection<Thing> other;
        other.SetCollection(list.Collection());
        other.Add(Make("2"), 2);
        QCOMPARE(list.Count(), 2);  // shared, not copied
        list.Clear();
        QCOMPARE(list.Count(), 0);
        QCOMPARE(other.Count(), 2);  // Clear gives this list a new inner collection
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(tst_DataCollection)
#include "tst_DataCollection.moc"
