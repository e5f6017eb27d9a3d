#include "core/services/ExplorerNodes.h"
#include "platform/KvlError.h"
#include "ViewMirror.h"

#include <QSignalSpy>
#include <QtTest>
#include <optional>

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

QStringList ChildKeys(const ExplorerNode* node)
{
    QStringList keys;
    for (const ExplorerNode* child : node->ChildNodes())
        keys << child->Key();
    return keys;
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
        QCOMPARE(ErrorOf([&] { m_nodes->Insert(relative, "Eqpt1", key, "x", 2); }), error);
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

    void insertsBeforeSibling_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("batch");
        QTest::addColumn<QStringList>("children");
        for (const bool batch : {false, true}) {
            const QByteArray suffix = batch ? " in a batch" : "";
            QTest::newRow("front" + suffix) << "A" << batch << QStringList{"N", "A", "B", "C"};
            QTest::newRow("middle" + suffix) << "C" << batch << QStringList{"A", "B", "N", "C"};
            QTest::newRow("end" + suffix) << "" << batch << QStringList{"A", "B", "C", "N"};
        }
    }
    void insertsBeforeSibling()
    {
        QFETCH(QString, before);
        QFETCH(bool, batch);
        QFETCH(QStringList, children);
        ExplorerNodes& n = *m_nodes;
        n.Add({}, "Root", "Database", 1);
        for (const char* key : {"A", "B", "C"})
            n.Add("Root", key, key, 2);
        n.Add("C", "C1", "c1", 3);
        ViewMirror view(n);
        QSignalSpy adding(&n, &ExplorerNodes::RowsAdding);
        const int row = static_cast<int>(children.indexOf("N"));
        {
            std::optional<ExplorerNodes::Batch> held;
            if (batch)
                held.emplace(n);
            ExplorerNode* inserted = n.Insert("Root", before, "N", "new", 3);
            inserted->SetTag("0|7|1");
            // Its subtree comes along with it.
            n.Add("N", "N1", "n1", 4);
            n.Add("N1", "N2", "n2", 5);
            QCOMPARE(adding.count(), batch ? 0 : 3);
            QCOMPARE(n.Find("N"), inserted);
            QCOMPARE(inserted->Parent(), n.Find("Root"));
        }
        QCOMPARE(adding.count(), batch ? 1 : 3);
        QCOMPARE(adding.first().mid(1), QVariantList({row, row}));
        QCOMPARE(ChildKeys(n.Find("Root")), children);
        QCOMPARE(n.Find("N")->Row(), row);
        QCOMPARE(n.Find("N")->Child()->Child()->Key(), QString("N2"));
        std::vector<ExplorerNode*> tagged;
        QVERIFY(n.Tagged("7", tagged));
        QCOMPARE(tagged, std::vector<ExplorerNode*>{n.Find("N")});
        QCOMPARE(n.Find("N")->Previous(), row == 0 ? nullptr : n.Find(children[row - 1]));
        QCOMPARE(n.Find("N")->Next(), row == 3 ? nullptr : n.Find(children[row + 1]));
        QCOMPARE(n.Count(), 8);

        // Removing a sibling before it, then the node itself, brings the rows back in line.
        n.Remove("A");
        children.removeOne("A");
        QCOMPARE(ChildKeys(n.Find("Root")), children);
        n.Remove("N");
        QCOMPARE(ChildKeys(n.Find("Root")), QStringList({"B", "C"}));
        QVERIFY(!n.Exist("N1"));
        QCOMPARE(n.Find("C")->Row(), 1);
        QCOMPARE(view.Faults(), QStringList());
    }

    // Inserts and adds in one batch, under parents old and new, reach the view in the order the
    // collection holds them.
    void batchMixesInsertsAndAdds()
    {
        ExplorerNodes& n = *m_nodes;
        n.Add({}, "Root", "Database", 1);
        n.Add("Root", "A", "a", 2);
        n.Add("Root", "B", "b", 2);
        ViewMirror view(n);
        {
            const ExplorerNodes::Batch batch(n);
            n.Add("Root", "Z", "z", 2);
            n.Add("A", "A1", "a1", 3);
            n.Insert("Root", "B", "M", "m", 2);
            n.Add("Root", "Y", "y", 2);
            n.Add("M", "M1", "m1", 3);
            n.Insert("M", "M1", "M0", "m0", 3);
            n.Insert("Root", "Z", "Q", "q", 2);
        }
        QCOMPARE(n.Find("Y")->Row(), 5);
        QCOMPARE(ChildKeys(n.Find("Root")), QStringList({"A", "M", "B", "Q", "Z", "Y"}));
        QCOMPARE(ChildKeys(n.Find("M")), QStringList({"M0", "M1"}));
        QCOMPARE(ChildKeys(n.Find("A")), QStringList({"A1"}));
        QCOMPARE(view.Faults(), QStringList());
    }

    void insertRefusesStrangers()
    {
        ExplorerNodes& n = *m_nodes;
        n.Add({}, "Root", "Database", 1);
        n.Add("Root", "A", "a", 2);
        n.Add("A", "A1", "a1", 3);
        // The sibling named must be a child of the parent named.
        QCOMPARE(ErrorOf([&] { n.Insert("Root", "A1", "N", "n", 2); }), ExplorerNodes::kElementNotFound);
        QCOMPARE(ErrorOf([&] { n.Insert("Root", "nothing", "N", "n", 2); }), ExplorerNodes::kElementNotFound);
        QCOMPARE(ErrorOf([&] { n.Insert({}, "A", "N", "n", 2); }), ExplorerNodes::kElementNotFound);
        QCOMPARE(n.Count(), 3);
        QVERIFY(!n.Exist("N"));
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
