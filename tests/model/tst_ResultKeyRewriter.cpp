#include "core/NodeKey.h"
#include "model/ResultKeyRewriter.h"

#include <QtTest>

// The fate of single result keys under recorded order changes: whole segments at their place.
class tst_ResultKeyRewriter : public QObject
{
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
};

using Place = ResultKeyRewriter::Place;

namespace {

QString K(QString text)
{
    return text.replace('~', NodeKey::kSeparator);
}

}  // namespace

void tst_ResultKeyRewriter::apply_data()
{
    // change: "renumber"/"remove", place, parent, child, order, new order
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("place");
    QTest::addColumn<QList<int>>("step");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");  // "" kept, "-" removed, otherwise the new key

    const int underPlan = static_cast<int>(Place::UnderTestPlan);
    const int underSubTest = static_cast<int>(Place::UnderSubTest);
    const int procedure = static_cast<int>(Place::Procedure);
    QTest::newRow("sub-test step rewritten in the middle")
        << "renumber" << underSubTest << QList<int>{20, 22, 2, 1} << "Eqpt1~10~10|20|1~20|22|2~22|32|1$"
        << "Eqpt1~10~10|20|1~20|22|1~22|32|1$";
    QTest::newRow("same numbers under a test plan untouched")
        << "renumber" << underSubTest << QList<int>{20, 22, 2, 1} << "Eqpt1~20~20|22|2~22|32|1$"
        << "";
    QTest::newRow("test-plan step only in the third segment")
        << "renumber" << underPlan << QList<int>{20, 22, 2, 1} << "Eqpt1~10~10|20|1~20|22|2~22|32|1$"
        << "";
    QTest::newRow("test-plan step rewritten")
        << "renumber" << underPlan << QList<int>{20, 22, 2, 1} << "Eqpt1~20~20|22|2~22|32|1$"
        << "Eqpt1~20~20|22|1~22|32|1$";
    QTest::newRow("longer order is another step")
        << "renumber" << underSubTest << QList<int>{20, 22, 1, 2} << "Eqpt1~10~10|20|1~20|22|12~22|32|1$"
        << "";
    QTest::newRow("longer id is another step")
        << "renumber" << procedure << QList<int>{21, 31, 1, 2} << "Eqpt1~10~10|221|1~221|31|1$"
        << "";
    QTest::newRow("procedure step ends the key")
        << "renumber" << procedure << QList<int>{21, 31, 1, 2} << "Eqpt1~10~10|21|1~21|31|1$"
        << "Eqpt1~10~10|21|1~21|31|2$";
    QTest::newRow("procedure step not matched as a sub-test")
        << "renumber" << underSubTest << QList<int>{21, 31, 1, 2} << "Eqpt1~10~10|21|1~21|31|1$"
        << "";
    QTest::newRow("every place of the step")
        << "renumber" << underSubTest << QList<int>{5, 6, 1, 3} << "Eqpt1~10~10|5|1~5|6|1~6|5|1~5|6|1~6|7|1$"
        << "Eqpt1~10~10|5|1~5|6|3~6|5|1~5|6|3~6|7|1$";
    QTest::newRow("removed occurrence takes the subtree")
        << "remove" << underSubTest << QList<int>{20, 22, 2} << "Eqpt1~10~10|20|1~20|22|2~22|24|1~24|34|1$"
        << "-";
    QTest::newRow("removed procedure occurrence only")
        << "remove" << procedure << QList<int>{22, 32, 1} << "Eqpt1~10~10|22|1~22|32|11$"
        << "";
    QTest::newRow("malformed segment never matches")
        << "renumber" << underSubTest << QList<int>{20, 22, 2, 1} << "Eqpt1~10~10|20|1~20|22|2x~22|32|1$"
        << "";
}

void tst_ResultKeyRewriter::apply()
{
    QFETCH(QString, change);
    QFETCH(int, place);
    QFETCH(QList<int>, step);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    ResultKeyRewriter rewriter;
    if (change == "renumber")
        rewriter.Renumber(static_cast<Place>(place), step[0], step[1], step[2], step[3]);
    else
        rewriter.Remove(static_cast<Place>(place), step[0], step[1], step[2]);
    QString rewritten;
    const ResultKeyRewriter::Fate fate = rewriter.Apply(K(key), &rewritten);
    if (expected.isEmpty()) {
        QCOMPARE(fate, ResultKeyRewriter::Fate::Keep);
    } else if (expected == "-") {
        QCOMPARE(fate, ResultKeyRewriter::Fate::Remove);
    } else {
        QCOMPARE(fate, ResultKeyRewriter::Fate::Rewrite);
        QCOMPARE(rewritten, K(expected));
    }
}

QTEST_GUILESS_MAIN(tst_ResultKeyRewriter)
#include "tst_ResultKeyRewriter.moc"
