#include "core/KeyHelpers.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/UpdatedNodes.h"

#include <QtTest>

// The nodes showing an item are found by the id part of their tags, read as KeyId (sub-tests)
// and KeyIdShort (procedures) read it.
class tst_UpdatedNodes : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { gExplorerNodes().Clear(); }

    void findsNodesByTheIdOfTheirTags_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::newRow("link") << "1|5|2";
        QTest::newRow("longer id") << "1|55|2";
        QTest::newRow("id at the end") << "1|5";
        QTest::newRow("no separator") << "5";
        QTest::newRow("short tag") << "|5|";
        QTest::newRow("empty parts") << "||";
        QTest::newRow("empty") << "";
        QTest::newRow("order only") << "12|5|";
    }

    void findsNodesByTheIdOfTheirTags()
    {
        QFETCH(QString, tag);
        ExplorerNodes& tree = gExplorerNodes();
        tree.Add({}, "Root", "Database", kImageRoot);
        tree.Add("Root", "S", "Sub-test", kImageSubTestFirst + 2)->SetTag(tag);
        tree.Add("S", "P", "Procedure", kImageProcedure)->SetTag(tag);
        for (const QString& id : {QString("5"), QString("55"), QString(""), QString("2")}) {
            const bool subTest = KeyId(tag) == id;
            const bool procedure = KeyIdShort(tag) == id;
            QCOMPARE(SubTestNodes(id).size(), size_t(subTest ? 1 : 0));
            QCOMPARE(tvTestPlan_UpdatedNodes(id, kImageProcedure).size(), size_t(procedure ? 1 : 0));
        }
    }

    // The nodes come in the order they were added, and follow later tags and removals.
    void followsTagsAndRemovals()
    {
        ExplorerNodes& tree = gExplorerNodes();
        tree.Add({}, "Root", "Database", kImageRoot);
        tree.Add("Root", "B", "Second", kImageSubTestFirst)->SetTag("1|7|2");
        tree.Add("Root", "A", "First", kImageSubTestFirst)->SetTag("1|9|1");
        tree.Add("A", "A1", "Below", kImageSubTestFirst + 1)->SetTag("9|7|1");
        tree.Add("A1", "P", "Procedure", kImageProcedure)->SetTag("7|7|1");
        const auto keys = [](const std::vector<ExplorerNode*>& nodes) {
            QStringList list;
            for (const ExplorerNode* node : nodes)
                list << node->Key();
            return list;
        };
        QCOMPARE(keys(SubTestNodes("7")), QStringList({"B", "A1"}));
        QCOMPARE(keys(tvTestPlan_UpdatedNodes("7", kImageProcedure)), QStringList({"P"}));

        tree.Item("A")->SetTag("1|7|1");
        tree.Item("B")->SetTag("1|8|2");
        QCOMPARE(keys(SubTestNodes("7")), QStringList({"A", "A1"}));
        QCOMPARE(keys(SubTestNodes("8")), QStringList({"B"}));
        QVERIFY(SubTestNodes("9").empty());

        tree.Remove("A");
        QVERIFY(SubTestNodes("7").empty());
        QVERIFY(tvTestPlan_UpdatedNodes("7", kImageProcedure).empty());
        tree.Add("Root", "C", "Third", kImageSubTestFirst)->SetTag("1|7|3");
        QCOMPARE(keys(SubTestNodes("7")), QStringList({"C"}));
        tree.Clear();
        std::vector<ExplorerNode*> nodes;
        QVERIFY(tree.Tagged("7", nodes) && nodes.empty());
    }
};

QTEST_GUILESS_MAIN(tst_UpdatedNodes)
#include "tst_UpdatedNodes.moc"
