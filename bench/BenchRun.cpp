#include "BenchRun.h"

#include "BenchClock.h"
#include "BenchFloors.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/Application.h"
#include "model/Configuration.h"
#include "model/ExplorerFill.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"

#include <QSqlQuery>
#include <cmath>

namespace {

void RemoveChildren(const QString& key)
{
    ExplorerNodes& tree = gExplorerNodes();
    ExplorerNode* node = tree.Item(key);
    while (ExplorerNode* child = node->Child())
        tree.Remove(child->Key());
}

QString FirstSubTest(const QString& planId)
{
    return gConnection()
        .Scalar(QStringLiteral("SELECT ID_SUBTEST FROM TESTPLAN_LINKS WHERE ID_TESTPLAN = ? AND ORDER_SUBTEST = 1"),
                {planId.toInt()})
        .toString();
}

}  // namespace

int BenchRun::Subtree(const ExplorerNode* node)
{
    int count = 0;
    for (const ExplorerNode* child : node->ChildNodes())
        count += 1 + Subtree(child);
    return count;
}

BenchRun::BenchRun(const BenchShape& shape, const QString& bigPlanId, int runs, const QStringList& only)
    : m_shape(shape), m_bigPlanId(bigPlanId), m_runs(runs), m_only(only)
{
}

QList<BenchFigure> BenchRun::Figures()
{
    BenchClock::ResetPeakMemory();
    QList<BenchFigure> figures{TopLevels()};
    m_memoryBefore = BenchClock::PeakMemoryMb();
    // Figures 3 to 5 need the plan's nodes of figure 2; figure 7 is read right after it.
    figures << PlanSubtree();
    // Its floor: the peak before figure 2, with the connection open and the top levels shown.
    BenchFigure memory{QStringLiteral("7"), QStringLiteral("peak memory after figure 2 (VmHWM)"),
                       QStringLiteral("200 MB")};
    memory.value = BenchClock::PeakMemoryMb();
    memory.floor = m_memoryBefore;
    memory.unit = QStringLiteral("MB");
    // The search reads the database as the generator wrote it, before any figure adds items.
    QList<BenchFigure> search;
    if (Wanted(QStringLiteral("14")) || Wanted(QStringLiteral("15")) || Wanted(QStringLiteral("16")) ||
        Wanted(QStringLiteral("17")))
        search = SearchFigures();
    // The big plan published as the generator wrote it, before figure 12 adds a sub-test to it.
    QList<BenchFigure> publication;
    if (Wanted(QStringLiteral("P22")) || Wanted(QStringLiteral("P23")))
        publication = PublicationFigures();
    // Measured while the big plan has its 10,000 occurrences, before figures 4 and 5 change it.
    QList<BenchFigure> window;
    if (Wanted(QStringLiteral("8")) || Wanted(QStringLiteral("9")) || Wanted(QStringLiteral("10")) ||
        Wanted(QStringLiteral("11")) || Wanted(QStringLiteral("12")) || Wanted(QStringLiteral("13"))) {
        window = WindowFigures(figures[0], figures[1]);
        RestorePlanNodes();
    }
    // The big plan exported as the generator wrote it, before figures 4 and 5 change it.
    QList<BenchFigure> exchange;
    if (Wanted(QStringLiteral("X24")))
        exchange << ExportFigure();
    if (Wanted(QStringLiteral("X25")))
        exchange << ImportFigure();
    // A procedure of the big plan's 10,000 occurrences, shown in the tree as figure 2 left it.
    QList<BenchFigure> save;
    if (Wanted(QStringLiteral("18")))
        save << DescriptionSaveFigure();
    // The result window while the big plan has its 10,000 procedure occurrences, before figures 4
    // and 5 add more; its Fill all leaves every result of the plan Passed.
    QList<BenchFigure> results;
    if (Wanted(QStringLiteral("R19")) || Wanted(QStringLiteral("R20")) || Wanted(QStringLiteral("R21")))
        results = ResultFillFigures();
    if (Wanted(QStringLiteral("3")))
        figures << WorkLoad();
    if (Wanted(QStringLiteral("4")))
        figures << CreateAndLink();
    if (Wanted(QStringLiteral("5")))
        figures << MoveAndUnlink();
    if (Wanted(QStringLiteral("6")))
        figures << Repair();
    QList<BenchFigure> editor;
    if (Wanted(QStringLiteral("20")) || Wanted(QStringLiteral("21")))
        editor = EditorFigures();
    if (Wanted(QStringLiteral("22")) || Wanted(QStringLiteral("23")))
        editor << TableFigures();
    if (Wanted(QStringLiteral("24")))
        editor << SourceViewFigures();
    figures << window << search << save << results << editor << exchange << publication << memory;
    return figures;
}

void BenchRun::Expect(bool ok, const QString& what)
{
    if (!ok && !m_failures.contains(what))
        m_failures << what;
}

QString BenchRun::PlanKey() const
{
    return Configuration::NodeKeyOf(QStringLiteral("1")) + NodeKey::kSeparator + m_bigPlanId;
}

QString BenchRun::FirstSubTestKey() const
{
    return PlanKey() + NodeKey::kSeparator +
           NodeKey::FormatLink(m_bigPlanId, FirstSubTest(m_bigPlanId), QStringLiteral("1"));
}

// The explorer's build down to the test plans, as the explorer window does it.
void BenchRun::FillTopLevels()
{
    ExplorerNodes& tree = gExplorerNodes();
    tree.Clear();
    Application application;
    Expect(application.LoadConfigurations() == 0, QStringLiteral("LoadConfigurations"));
    tree.Add({}, NodeKey::kRoot, QStringLiteral("Database"), kImageRoot);
    for (const auto& configuration : application.Configurations()) {
        const QString key = Configuration::NodeKeyOf(configuration->Id());
        tree.Add(NodeKey::kRoot, key, configuration->Name(), kImageConfiguration)->SetTag(configuration->Id());
        Expect(configuration->LoadTestPlans(false) == 0, QStringLiteral("LoadTestPlans"));
        for (const auto& plan : configuration->TestPlans()) {
            const QString planKey = key + NodeKey::kSeparator + plan->Id();
            tree.Add(key, planKey, plan->Name(), kImageTestPlan)->SetTag(plan->Id());
            plan->SetKey(planKey);
        }
    }
}

BenchFigure BenchRun::TopLevels()
{
    BenchFigure figure{QStringLiteral("1"), QStringLiteral("explorer top levels (configurations, test plans)"),
                       QStringLiteral("100 ms")};
    qint64 rows = 0;
    figure.floor = BenchClock::MedianMs(m_runs, [&] { rows = BenchFloors::TopLevels(); });
    figure.value = BenchClock::MedianMs(m_runs, [&] { FillTopLevels(); });
    const qint64 plans = qint64(m_shape.configurations) * m_shape.plansPerConfiguration + 1;
    Expect(rows == plans && gExplorerNodes().Count() == 1 + m_shape.configurations + plans,
           QStringLiteral("figure 1: the top levels hold %1 nodes").arg(gExplorerNodes().Count()));
    return figure;
}

BenchFigure BenchRun::PlanSubtree()
{
    BenchFigure figure{QStringLiteral("2"), QStringLiteral("subtree of the big test plan into the node model"),
                       QStringLiteral("300 ms, x5")};
    qint64 rows = 0;
    figure.floor = BenchClock::MedianMs(m_runs, [&] { rows = BenchFloors::PlanSubtree(m_bigPlanId); });
    const QString key = PlanKey();
    figure.value = BenchClock::MedianMs(
        m_runs, [&] { RemoveChildren(key); },
        [&] {
            TestPlan plan;
            plan.SetId(m_bigPlanId);
            ExplorerFill::AddTestPlanSubTests(key, plan);
        });
    const qint64 expected = m_shape.BigPlanOccurrences() + m_shape.PlanSubTestOccurrences(m_shape.bigPlanDepth);
    const int nodes = Subtree(gExplorerNodes().Item(key));
    Expect(
        rows == expected && nodes == expected,
        QStringLiteral("figure 2: %1 nodes and %2 floor rows for %3 occurrences").arg(nodes).arg(rows).arg(expected));
    return figure;
}

BenchFigure BenchRun::WorkLoad()
{
    BenchFigure figure{QStringLiteral("3"), QStringLiteral("work load of the big plan's first sub-test"), QString()};
    const QString id = FirstSubTest(m_bigPlanId);
    double floorSum = 0;
    qint64 rows = 0;
    figure.floor = BenchClock::MedianMs(m_runs, [&] { rows = BenchFloors::SubTestWorkLoad(id, floorSum); });
    float workLoad = 0;
    figure.value = BenchClock::MedianMs(m_runs, [&] {
        SubTest subTest;
        subTest.SetId(id);
        subTest.SetKey(PlanKey() + NodeKey::kSeparator + NodeKey::FormatLink(m_bigPlanId, id, QStringLiteral("1")));
        workLoad = subTest.WorkLoad();
    });
    Expect(rows == m_shape.PlanOccurrences(m_shape.bigPlanDepth - 1) && std::abs(workLoad - floorSum) < 0.01,
           QStringLiteral("figure 3: work load %1 against %2 read by the floor").arg(workLoad).arg(floorSum));
    return figure;
}

BenchFigure BenchRun::CreateAndLink()
{
    BenchFigure figure{QStringLiteral("4"), QStringLiteral("create and link 1,000 procedures under one sub-test"),
                       QStringLiteral("1000 ms")};
    const int runs = std::min(m_runs, 3);
    const QString firstKey = FirstSubTestKey();
    ExplorerNode* target = nullptr;
    const auto prepare = [&] {
        SubTest subTest;
        Expect(subTest.Create() == 0 && subTest.Link(gExplorerNodes().Item(firstKey)) == 0,
               QStringLiteral("figure 4: the sub-test could not be made"));
        target = gExplorerNodes().Item(subTest.Key());
    };
    figure.value = BenchClock::MedianMs(runs, prepare, [&] {
        for (int i = 0; i < 1000; ++i) {
            Procedure procedure;
            Expect(procedure.Create() == 0 && procedure.Link(target) == 0,
                   QStringLiteral("figure 4: a procedure could not be created or linked"));
        }
    });
    Expect(target && target->Children() == 1000, QStringLiteral("figure 4: the sub-test's node lacks procedures"));

    // Floor: the same 2,000 rows, written by two prepared statements in one transaction.
    QString subTestId;
    figure.floor = BenchClock::MedianMs(
        runs,
        [&] {
            SubTest subTest;
            Expect(subTest.Create() == 0, QStringLiteral("figure 4: the floor's sub-test could not be made"));
            subTestId = subTest.Id();
        },
        [&] {
            AdoConnection& connection = gConnection();
            DbTransaction transaction(connection);
            const int next = connection.Scalar(QStringLiteral("SELECT MAX(ID) FROM PROCEDURES")).toInt() + 1;
            QSqlQuery row(connection.Connection());
            QSqlQuery link(connection.Connection());
            row.prepare(
                QStringLiteral("INSERT INTO PROCEDURES (ID, NAME, TITLE, WORKLOAD, DATE_CREATION, DATE_UPDATE) "
                               "VALUES (?, ?, ?, 1, ?, ?)"));
            link.prepare(
                QStringLiteral("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) "
                               "VALUES (?, ?, ?)"));
            const QDate today = QDate::currentDate();
            for (int i = 0; i < 1000; ++i) {
                const QString name = QStringLiteral("Procedure%1").arg(next + i);
                for (const QVariant& value : QVariantList{next + i, name, name, today, today})
                    row.addBindValue(value);
                for (const QVariant& value : QVariantList{subTestId.toInt(), next + i, i + 1})
                    link.addBindValue(value);
                Expect(row.exec() && link.exec(), QStringLiteral("figure 4: the floor's rows could not be written"));
            }
            Expect(transaction.Commit(), QStringLiteral("figure 4: the floor's rows could not be committed"));
        });
    return figure;
}
