#include "core/services/ExplorerNodes.h"
#include "platform/KvlError.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
const QChar kSep(0x00A4);

long ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const KvlError& error) {
        return error.Number();
    }
    return 0;
}
}  // namespace

class tst_ExplorerNodes : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_nodes = std::make_unique<ExplorerNodes>(); }
    void cleanup() { m_nodes.reset(); }

    void buildsTreeInOrder()
    {
        ExplorerNodes& n = *m_nodes;
        n.Add({}, "Root", "Database", 1);
        n.Add("Root", "Eqpt1", "Bench", 2);
        n.Add("Root", "Eqpt2", "Rig", 2);
        ExplorerNode* plan = n.Add("Eqpt1", QString("Eqpt1") + kSep + "5", "Plan", 3);
        plan->SetTag("5");

        QCOMPARE(n.Count(), 4);
        QCOMPARE(plan->Parent()->Key(), QString("Eqpt1"));
        QCOMPARE(plan->Tag(), QString("5"));
        QCOMPARE(plan->Index(), 4);
        QCOMPARE(n.Item(2)->Key(), QString("Eqpt1"));
        ExplorerNode* root = n.Item("Root");
        QCOMPARE(root->Children(), 2);
        QCOMPARE(root->Child()->Key(), QString("Eqpt1"));
        QCOMPARE(root->Child()->Next()->Key(), QString("Eqpt2"));
        QVERIFY(root->Child()->Next()->Next() == nullptr);
        QCOMPARE(n.Item("Eqpt2")->FirstSibling()->Key(), QString("Eqpt1"));
        QCOMPARE(n.Item("Eqpt1")->LastSibling()->Key(), QString("Eqpt2"));
        QCOMPARE(plan->FullPath(), QString("Database") + kSep + "Bench" + kSep + "Plan");
        QVERIFY(root->Parent() == nullptr);
    }

    void refusesBadAdds_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("key");
        QTest::addColumn<long>("error");
        QTest::newRow("duplicate key") << "Root"
                                       << "Eqpt1" << ExplorerNodes::kKeyNotUnique;
        QTest::newRow("duplicate top") << ""
                                       << "Root" << ExplorerNodes::kKeyNotUnique;
        QTest::newRow("unknown relative") << "Eqpt9"
                                          << "Eqpt3" << ExplorerNodes::kElementNotFound;
        QTest::newRow("empty key") << "Root"
                                   << "" << KvlError::kGeneric;
    }
    void refusesBadAdds()
    {
        QFETCH(QString, relative);
        QFETCH(QString, key);
        QFETCH(long, error);
        m_nodes->Add({}, "Root", "Database", 1);
        m_nodes->Add("Root", "Eqpt1", "Bench", 2);
        QCOMPARE(ErrorOf([&] { m_nodes->Add(relative, key, "x", 2); }), error);
        QCOMPARE(m_nodes->Count(), 2);
        QCOMPARE(m_nodes->Item("Root")->Children(), 1);
    }

    void removesWholeSubtree()
    {
        ExplorerNodes& n = *m_nodes;
        n.Add({}, "Root", "Database", 1);
        n.Add("Root", "Eqpt1", "Bench", 2);
        n.Add("Eqpt1", "A", "a", 3);
        n.Add("A", "B", "b", 4);
        n.Add("Root", "Eqpt2", "Rig", 2);
        QSignalSpy removing(&n, &ExplorerNodes::NodeRemoving);
        n.Remove("Eqpt1");
        QCOMPARE(removing.count(), 1);
        QCOMPARE(n.Count(), 2);
        QVERIFY(!n.Exist("A"));
        QVERIFY(!n.Exist("B"));
        QCOMPARE(n.Item("Root")->Child()->Key(), QString("Eqpt2"));
        QCOMPARE(n.Item("Eqpt2")->Index(), 2);
        // The removed keys are free again.
        n.Add("Eqpt2", "A", "again", 3);
        QCOMPARE(ErrorOf([&] { n.Remove("nothing"); }), ExplorerNodes::kElementNotFound);
        QCOMPARE(ErrorOf([&] { n.Item(9); }), ExplorerNodes::kElementNotFound);
        n.Clear();
        QCOMPARE(n.Count(), 0);
        QVERIFY(n.TopNodes().empty());
    }

    void retitlingNotifies()
    {
        ExplorerNode* root = m_nodes->Add({}, "Root", "Database", 1);
        QSignalSpy changed(m_nodes.get(), &ExplorerNodes::NodeChanged);
        root->SetText("Other");
        root->SetText("Other");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(root->Text(), QString("Other"));
    }

private:
    std::unique_ptr<ExplorerNodes> m_nodes;
};

QTEST_GUILESS_MAIN(tst_ExplorerNodes)
#include "tst_ExplorerNodes.moc"
