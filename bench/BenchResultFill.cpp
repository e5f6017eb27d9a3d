// Figures R19 to R21: the result entry window on the big plan, offscreen, its grid laid out down
// to the last row. R19 opens it while most occurrences have no result row, so the window creates
// them; R20 opens it again with every row present; R21 runs Fill all and the grid's refill. The
// floor of R19 and R20 reads the plan's occurrences and its results, one query each; that of R21
// runs Fill all's two UPDATE statements alone.
#include "BenchClock.h"
#include "BenchFloors.h"
#include "BenchRun.h"

#include "ScriptedPrompts.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "model/History.h"
#include "publishing/ReportGrid.h"
#include "publishing/ReportGridModel.h"
#include "reports/ResultFill.h"
#include "reports/ui/ResultGridView.h"
#include "reports/ui/frmResultFill.h"

#include <QApplication>
#include <QDate>
#include <QHash>
#include <QSqlQuery>

#include <memory>

namespace {

// The big plan is shown under the first configuration.
const QString kConfiguration = QStringLiteral("1");

// The plan's results under the configuration: the status of each key and the iterations summed.
struct Stored
{
    QHash<QString, int> status;
    qint64 iterations = 0;
};

Stored StoredResults(const QString& planId)
{
    Stored stored;
    gConnection().ForEachRow(
        QStringLiteral("SELECT KEY_NODE, STATUS, ITERATION FROM RESULT WHERE ID_TESTPLAN = ? AND KEY_NODE LIKE ?"),
        {planId.toInt(), ConfigurationKeyPattern(kConfiguration)}, [&](const QSqlQuery& row) {
            stored.status.insert(row.value(0).toString(), row.value(1).toInt());
            stored.iterations += row.value(2).toLongLong();
        });
    return stored;
}

// The view has laid out every row down to the last one shown and painted what shows.
void LaidOut(ResultGridView* view)
{
    QApplication::processEvents();
    const ReportGridModel* model = view->Model();
    QModelIndex last = model->index(model->rowCount() - 1, 0);
    while (model->rowCount(last) > 0)
        last = model->index(model->rowCount(last) - 1, 0, last);
    view->scrollTo(last);
    QApplication::processEvents();
}

// What is wrong with the grid against the stored results: it must hold the header, the plan's
// row and one row per occurrence the floor read, one procedure row per procedure occurrence, each
// with a stored row whose status it shows. Empty when all holds.
QString GridFault(const ResultFill& fill, const Stored& stored, qint64 occurrences, qint64 procedures)
{
    const ReportGrid& grid = fill.Grid();
    if (grid.RowCount() != occurrences + 2)
        return QStringLiteral("%1 grid rows for %2 occurrences").arg(grid.RowCount()).arg(occurrences);
    qint64 procedureRows = 0;
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (!fill.IsProcedureRow(row))
            continue;
        ++procedureRows;
        const QString key = grid.Cell(row, ResultFill::colKey);
        const auto status = stored.status.constFind(key);
        if (status == stored.status.cend())
            return QStringLiteral("no result row for %1").arg(key);
        if (grid.Cell(row, ResultFill::colStatus) != StatusText(*status))
            return QStringLiteral("%1 shows \"%2\", stored %3")
                .arg(key, grid.Cell(row, ResultFill::colStatus))
                .arg(*status);
    }
    if (procedureRows != procedures || stored.status.size() != procedures)
        return QStringLiteral("%1 procedure rows and %2 result rows for %3 procedure occurrences")
            .arg(procedureRows)
            .arg(stored.status.size())
            .arg(procedures);
    return {};
}

}  // namespace

QList<BenchFigure> BenchRun::ResultFillFigures()
{
    BenchFigure first{QStringLiteral("R19"), QStringLiteral("big plan's result window, rows created (2 reads)"),
                      QStringLiteral("500 ms")};
    BenchFigure later{QStringLiteral("R20"), QStringLiteral("result window opened again, every row stored"),
                      QStringLiteral("500 ms")};
    BenchFigure fillAll{QStringLiteral("R21"), QStringLiteral("Fill all and the grid refilled (floor: 2 UPDATEs)"),
                        QStringLiteral("1000 ms")};
    AdoConnection& connection = gConnection();
    const QString planKey = PlanKey();
    const qint64 procedures = m_shape.BigPlanOccurrences();
    qint64 occurrences = 0;
    qint64 results = 0;
    first.floor = BenchClock::MedianMs(m_runs, [&] {
        occurrences = BenchFloors::PlanSubtree(m_bigPlanId);
        results = BenchFloors::PlanResults(m_bigPlanId, kConfiguration);
    });
    later.floor = first.floor;
    const qsizetype generated = StoredResults(m_bigPlanId).status.size();
    Expect(generated == results && generated > 0 && generated < procedures,
           QStringLiteral("figure R19: %1 results stored before the first opening, %2 read by the floor")
               .arg(generated)
               .arg(results));

    std::unique_ptr<frmResultFill> window;
    const auto open = [&] {
        window = std::make_unique<frmResultFill>(planKey);
        window->show();
        LaidOut(window->grdResult());
    };
    // Each run starts with the rows the generator wrote: those the window created, which have no
    // iteration yet, go again, and so does today's history they were counted in.
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    first.value = BenchClock::MedianMs(
        m_runs,
        [&] {
            window.reset();
            DbTransaction transaction(connection);
            connection.Run(QStringLiteral("DELETE FROM RESULT WHERE ID_TESTPLAN = ? AND KEY_NODE LIKE ? AND "
                                          "ITERATION IS NULL"),
                           {m_bigPlanId.toInt(), ConfigurationKeyPattern(kConfiguration)});
            connection.Run(
                QStringLiteral(
                    "DELETE FROM HISTORY WHERE ID_TESTPLAN = ? AND ID_CONFIGURATION = ? AND DATE_UPDATE = ?"),
                {m_bigPlanId.toInt(), kConfiguration.toInt(), today});
            Expect(transaction.Commit() && StoredResults(m_bigPlanId).status.size() == generated,
                   QStringLiteral("figure R19: the created result rows could not be deleted again"));
        },
        open);
    Stored stored = StoredResults(m_bigPlanId);
    QString fault = GridFault(window->Fill(), stored, occurrences, procedures);
    Expect(fault.isEmpty(), QStringLiteral("figure R19: %1").arg(fault));
    const bool counted = !connection
                              .Scalar(QStringLiteral("SELECT COUNT_FAILED FROM HISTORY WHERE ID_TESTPLAN = ? AND "
                                                     "ID_CONFIGURATION = ? AND DATE_UPDATE = ?"),
                                      {m_bigPlanId.toInt(), kConfiguration.toInt(), today})
                              .isNull();
    Expect(counted, QStringLiteral("figure R19: the created rows were not counted in today's history"));

    later.value = BenchClock::MedianMs(
        m_runs, [&] { window.reset(); }, open);
    stored = StoredResults(m_bigPlanId);
    fault = GridFault(window->Fill(), stored, occurrences, procedures);
    Expect(fault.isEmpty(), QStringLiteral("figure R20: %1").arg(fault));

    // Every run raises each result's iteration by one, an empty one counting as none, and leaves
    // all of them Passed, as the grid shows them after its refill.
    qint64 changed = 0;
    fillAll.floor =
        BenchClock::MedianMs(m_runs, [&] { changed = BenchFloors::SetAllPassed(m_bigPlanId, kConfiguration); });
    Expect(changed == procedures, QStringLiteral("figure R21: the floor changed %1 results").arg(changed));
    ScriptedPrompts prompts;
    Stored before;
    bool raised = true;
    const auto check = [&] {
        if (before.status.isEmpty())
            return;
        const Stored after = StoredResults(m_bigPlanId);
        raised = raised && after.iterations == before.iterations + after.status.size();
        for (const int status : after.status)
            raised = raised && status == kPassed;
        const QString wrong = GridFault(window->Fill(), after, occurrences, procedures);
        Expect(wrong.isEmpty(), QStringLiteral("figure R21: %1").arg(wrong));
    };
    fillAll.value = BenchClock::MedianMs(
        m_runs,
        [&] {
            check();
            before = StoredResults(m_bigPlanId);
            prompts.Push(Prompts::Answer::Yes);
        },
        [&] {
            window->tlbResult_ButtonClick(QStringLiteral("FillAll"));
            LaidOut(window->grdResult());
        });
    check();
    Expect(raised && prompts.Messages().size() == m_runs && prompts.Pending() == 0,
           QStringLiteral("figure R21: not every result was set Passed with its iteration raised once a run"));
    window.reset();
    return {first, later, fillAll};
}
