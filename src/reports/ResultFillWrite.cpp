#include "reports/ResultFill.h"

#include "core/InputText.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/db/AdoConnection.h"
#include "model/PlanResults.h"
#include "model/Procedure.h"
#include "model/Result.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/Hourglass.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"

#include <cmath>

namespace {

const QString kAfterEditLabel = QStringLiteral("Error_AfterEdit Result : ");
const QString kToolbarLabel = QStringLiteral("Error_tlbResult: ");

// Restores the default pointer however the write ends.
struct HourglassScope
{
    HourglassScope() { Hourglass::Set(); }
    ~HourglassScope() { Hourglass::Reset(); }
};

KvlError Refused(const QString& what)
{
    return KvlError(13, QStringLiteral("Type mismatch: \"%1\"").arg(what));
}

// The procedure of an occurrence key is named by its last segment; the first ones name the plan
// and its sub-tests.
QString ProcedureIdOf(const QString& key)
{
    return KeyIdShort(key.section(NodeKey::kSeparator, -1));
}

}  // namespace

std::unique_ptr<Procedure> ResultFill::FindProcedure(int row) const
{
    const QString key = m_grid.Cell(row, colKey);
    auto procedure = std::make_unique<Procedure>();
    if (key.isEmpty() || procedure->Find(ProcedureIdOf(key)) != 0)
        return nullptr;
    procedure->SetKey(key);
    return procedure;
}

void ResultFill::WriteCell(int row, int column, const QString& text)
{
    const std::unique_ptr<Procedure> procedure = FindProcedure(row);
    if (!procedure)
        throw KvlError(0, QString());
    if (column == colWorkLoad) {
        const std::optional<double> workLoad = ReadWorkLoad(text);
        if (!workLoad)
            throw Refused(text);
        procedure->SetWorkLoad(static_cast<float>(std::fabs(*workLoad)));
        if (procedure->Update() != 0)
            throw KvlError(KvlError::kGeneric, QStringLiteral("The work load could not be stored."));
        SetWorkLoadOfProcedure(procedure->Id(), WorkLoadText(procedure->WorkLoad()));
        return;
    }
    std::shared_ptr<Result> result = procedure->Result();
    switch (column) {
        case colStatus: {
            // The empty cell of a status this program does not know must not store Passed.
            if (!StatusList().contains(text))
                throw Refused(text);
            const int status = StatusFromText(text);
            if (status != result->Status()) {
                result->SetIteration(result->Iteration() + 1);
                m_grid.SetCell(row, colIteration, QString::number(result->Iteration()));
            }
            result->SetStatus(status);
            break;
        }
        case colIteration: {
            const std::optional<int> iteration = ReadIteration(text);
            if (!iteration)
                throw Refused(text);
            result->SetIteration(*iteration);
            break;
        }
        case colComment:
            if (text.size() > kCommentLength)
                throw Refused(text.left(20) + QStringLiteral("..."));
            result->SetComment(text);
            break;
        default:
            return;
    }
    if (result->Update() != 0)
        throw KvlError(KvlError::kGeneric, QStringLiteral("The result could not be stored."));
    if (column == colIteration)
        m_grid.SetCell(row, colIteration, QString::number(result->Iteration()));
    if (gUserManagement)
        m_grid.SetCell(row, colTester, result->Tester());
}

void ResultFill::SetWorkLoadOfProcedure(const QString& procedureId, const QString& text)
{
    for (int other = 1; other < m_grid.RowCount(); ++other) {
        const QString key = m_grid.Cell(other, colKey);
        if (!key.isEmpty() && ProcedureIdOf(key) == procedureId)
            m_grid.SetCell(other, colWorkLoad, text);
    }
}

void ResultFill::EmitAllRowsChanged()
{
    if (m_grid.RowCount() > 1)
        emit RowsChanged(1, m_grid.RowCount() - 1);
}

void ResultFill::ShowStored(int row)
{
    const QString key = m_grid.Cell(row, colKey);
    Procedure procedure;
    if (procedure.Find(ProcedureIdOf(key)) == 0)
        SetWorkLoadOfProcedure(procedure.Id(), WorkLoadText(procedure.WorkLoad()));
    Result stored;
    if (stored.Find(key) != 0)
        stored = Result::NewRow(key);
    m_grid.SetCell(row, colStatus, StatusText(stored.Status()));
    m_grid.SetCell(row, colIteration, QString::number(stored.Iteration()));
    m_grid.SetCell(row, colTester, TesterText(stored));
    m_grid.SetCell(row, colComment, stored.Comment());
}

int ResultFill::grdResult_AfterEdit(int row, int column, const QString& text)
{
    if (!IsProcedureRow(row) || column < colProcedure || column > colComment)
        return 1;
    HourglassScope hourglass;
    m_grid.SetCell(row, column, text);
    int status = 0;
    try {
        DbTransaction transaction(gConnection());
        WriteCell(row, column, text);
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The result could not be committed."));
    } catch (const std::exception& error) {
        LogError(kAfterEditLabel, error);
        ShowStored(row);
        status = 1;
    }
    // A work load shows in every row of its procedure.
    if (column == colWorkLoad)
        EmitAllRowsChanged();
    else
        emit RowsChanged(row, row);
    return status;
}

int ResultFill::grdResult_CellButtonClick(int row, int column)
{
    if (column != colComment || !IsProcedureRow(row))
        return 1;
    if (!FindProcedure(row))
        return 1;
    const QString comment =
        InputText(QStringLiteral("Fill result comment"), m_grid.Cell(row, colComment), kCommentLength);
    return grdResult_AfterEdit(row, colComment, comment);
}

int ResultFill::FillDownTarget(int row)
{
    int target = -1;
    bool expanded = false;
    for (int below = row + 1; below < m_grid.RowCount() && target < 0; ++below) {
        if (IsProcedureRow(below)) {
            target = below;
        } else if (m_grid.IsNode(below) && m_grid.State(below) != ReportGrid::OutlineState::Expanded) {
            m_grid.SetState(below, ReportGrid::OutlineState::Expanded);
            expanded = true;
        }
    }
    if (target > 0 && m_grid.RowAt(target).hidden) {
        m_grid.Reveal(target);
        expanded = true;
    }
    if (expanded)
        emit OutlineChanged();
    return target;
}

int ResultFill::FillDownCell(int row, int column)
{
    // Only stored columns are copied: a tester's name copied down would show a false author.
    if (row <= 0 || row >= m_grid.RowCount() - 1 || !IsEditable(row, column))
        return -1;
    const int target = FillDownTarget(row);
    if (target < 0)
        return -1;
    grdResult_AfterEdit(target, column, m_grid.Cell(row, column));
    return target;
}

int ResultFill::FillDownResult(int row, int column)
{
    if (row <= 0 || row >= m_grid.RowCount() - 1 || column <= colTest || !IsProcedureRow(row))
        return -1;
    const int target = FillDownTarget(row);
    if (target < 0)
        return -1;
    HourglassScope hourglass;
    // A status change raises the target's iteration first; the copied iteration then sets it.
    const QList<int> columns{colStatus, colWorkLoad, colIteration, colComment};
    try {
        DbTransaction transaction(gConnection());
        for (int copied : columns) {
            m_grid.SetCell(target, copied, m_grid.Cell(row, copied));
            WriteCell(target, copied, m_grid.Cell(row, copied));
        }
        if (!transaction.Commit())
            throw KvlError(3251, QStringLiteral("The result could not be committed."));
    } catch (const std::exception& error) {
        LogError(kAfterEditLabel, error);
        ShowStored(target);
    }
    EmitAllRowsChanged();
    return target;
}

int ResultFill::FillAll()
{
    if (prompts().Message(QStringLiteral("Do you want to set Passed the test plan results ?"), Prompts::ProgramTitle(),
                          Prompts::Icon::Question, Prompts::Buttons::YesNo) != Prompts::Answer::Yes)
        return 0;
    HourglassScope hourglass;
    try {
        const QString planKey = TestPlanKey();
        PlanResults::SetAllPassed(TestPlanIdFromKey(planKey), ConfigurationIdFromKey(planKey));
    } catch (const std::exception& error) {
        LogError(kToolbarLabel, error);
        return 1;
    }
    return LoadResultGrid();
}

int ResultFill::ClearAll()
{
    if (prompts().Message(QStringLiteral("Do you want to clear all the test plan results ?"), Prompts::ProgramTitle(),
                          Prompts::Icon::Question, Prompts::Buttons::YesNo) != Prompts::Answer::Yes)
        return 0;
    HourglassScope hourglass;
    try {
        const QString planKey = TestPlanKey();
        // Every occurrence gets its fresh row in the same transaction, so the plan is never left
        // without results if the refill fails.
        PlanResults::ClearAll(TestPlanIdFromKey(planKey), ConfigurationIdFromKey(planKey), m_keys);
    } catch (const std::exception& error) {
        LogError(kToolbarLabel, error);
        return 1;
    }
    return LoadResultGrid();
}
