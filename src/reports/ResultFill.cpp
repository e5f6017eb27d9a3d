#include "reports/ResultFill.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/db/DbHelpers.h"
#include "core/services/ProgressBar.h"
#include "model/PlanResults.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/SubTreeRows.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/Hourglass.h"
#include "platform/KvlError.h"

#include <QLocale>
#include <bit>
#include <cfloat>
#include <cmath>

namespace {

const QString kLoadLabel = QStringLiteral("Error_LoadResultGrid : ");

}  // namespace

ResultFill::ResultFill(const QString& selectedNodeKey, QObject* parent)
    : QObject(parent), m_selectedKey(selectedNodeKey)
{
    m_grid.SetName(QStringLiteral("grdResult"));
    m_grid.SetOutlineColumn(colTest);
    using Type = ReportGrid::DataType;
    m_grid.SetColumns({{QStringLiteral("Test"), 2500},
                       {QStringLiteral("Procedure"), 2500},
                       {QStringLiteral("Status"), 1000},
                       {QStringLiteral("WorkLoad"), 1000, false, Type::Number},
                       {QStringLiteral("Iteration"), -1, false, Type::Number},
                       {QStringLiteral("Tester"), -1, !gUserManagement},
                       {QStringLiteral("Comment")},
                       {QString(), -1, true}});
}

ResultFill::~ResultFill() = default;

QList<QPair<QString, int>> ResultFill::FilterItems()
{
    return {{QStringLiteral("All"), kNoFilter},
            {StatusName(kPassed), kPassed},
            {StatusName(kWarning), kWarning},
            {StatusName(kFailed), kFailed},
            {StatusName(kCanceled), kCanceled}};
}

QStringList ResultFill::StatusList()
{
    return {StatusName(kPassed), StatusName(kWarning), StatusName(kFailed), StatusName(kCanceled)};
}

QString ResultFill::WorkLoadText(float workLoad)
{
    // No group separator: the text must read back as the same number when filled down or edited.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // Seven digits show most work loads as typed; some single-precision numbers need up to nine
    // to read back unchanged.
    QString text;
    for (int digits = 7; digits <= 9; ++digits) {
        text = locale.toString(static_cast<double>(workLoad), 'g', digits);
        const std::optional<double> back = ReadWorkLoad(text);
        if (back && static_cast<float>(*back) == workLoad)
            break;
    }
    return text;
}

std::optional<double> ResultFill::ReadNumber(const QString& text)
{
    // Either separator is the decimal one, whatever the locale; a group separator is refused.
    QString number = text.trimmed();
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> ResultFill::ReadWorkLoad(const QString& text)
{
    const std::optional<double> value = ReadNumber(text);
    // The work load is stored in single precision.
    if (!value || std::fabs(*value) > static_cast<double>(FLT_MAX))
        return std::nullopt;
    return value;
}

std::optional<int> ResultFill::ReadIteration(const QString& text)
{
    const std::optional<double> value = ReadNumber(text);
    if (!value)
        return std::nullopt;
    const double count = std::trunc(std::fabs(*value));
    if (count > static_cast<double>(std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(count);
}

void ResultFill::SetFilter(int status)
{
    m_filter = status;
    Hourglass::Set();
    LoadResultGrid();
    if (m_expanded)
        ExpandAllRows();
    Hourglass::Reset();
}

QString ResultFill::TestPlanKey() const
{
    const qsizetype first = m_selectedKey.indexOf(NodeKey::kSeparator);
    return m_selectedKey.left(first + 1) + TestPlanIdFromKey(m_selectedKey);
}

int ResultFill::LoadResultGrid()
{
    m_grid.Clear();
    m_keys.clear();
    m_userNames.clear();
    int status = 0;
    try {
        if (!mobjTestPlan)
            mobjTestPlan = std::make_unique<TestPlan>();
        if (mobjTestPlan->Find(TestPlanIdFromKey(m_selectedKey)) == 0)
            FillGrid();
    } catch (const std::exception& error) {
        LogError(kLoadLabel, error);
        status = 1;
    }
    emit GridReset();
    return status;
}

void ResultFill::FillGrid()
{
    TestPlan& plan = *mobjTestPlan;
    plan.SetKey(TestPlanKey());
    m_grid.AddRow({plan.Name()}, true, 0, plan.Key());
    if (plan.LoadSubTests1(false) != 0)
        throw KvlError(KvlError::kGeneric, QStringLiteral("The sub-tests of the test plan could not be read."));

    // The whole subtree is read once and walked once; its rows are added after the results are read.
    const auto subTests = plan.SubTests1();
    QStringList ids;
    for (const auto& subTest : subTests)
        ids << subTest->Id();
    m_rows = std::make_unique<SubTreeRows>();
    m_rows->Load(ids, kImageSubTestLast - kImageSubTestFirst);
    m_pending.clear();
    int handled = 0;
    for (const auto& subTest : subTests) {
        gProgressBar().SetValue(handled++ * 100 / subTests.Count());
        m_pending.append({true, 1, subTest->Name(), subTest->Key(), nullptr});
        AddProcedureRows(*subTest);
        AddSubTestRows(*subTest);
    }

    // Every occurrence gets its row, also those the filter hides, before the results are read.
    const QString configurationId = ConfigurationIdFromKey(plan.Key());
    PlanResults::CreateMissing(plan.Id(), configurationId, m_keys);
    m_results = std::make_unique<PlanResults>();
    m_results->Load(plan.Id(), configurationId);

    m_grid.Reserve(m_pending.size() + 2);
    // A plan's work loads take few values: each is formatted once, by its bits, so that -0 and 0
    // keep their own texts.
    QHash<quint32, QString> workLoads;
    for (const Pending& pending : m_pending) {
        if (pending.node) {
            m_grid.AddRow({pending.name}, true, pending.level, pending.key);
            continue;
        }
        const Result result = m_results->ResultOf(pending.key);
        if (m_filter != kNoFilter && result.Status() != m_filter)
            continue;
        const float workLoad = pending.procedure->WorkLoad();
        auto workLoadText = workLoads.constFind(std::bit_cast<quint32>(workLoad));
        if (workLoadText == workLoads.cend())
            workLoadText = workLoads.insert(std::bit_cast<quint32>(workLoad), WorkLoadText(workLoad));
        m_grid.AddRow({QString(), pending.name, StatusText(result.Status()), *workLoadText,
                       QString::number(result.Iteration()), TesterText(result), result.Comment(), pending.key},
                      false, 0, pending.key);
    }
    m_pending.clear();
    // The load state: every sub-test shows, the procedures wait until their sub-test is expanded.
    m_grid.SetAllStates(ReportGrid::OutlineState::PartlyExpanded);
}

void ResultFill::AddSubTestRows(SubTest& parent)
{
    parent.FillSubTestChildren(m_rows->ChildrenAt(parent.Id(), parent.Level(), parent.Name()), false);
    for (const auto& child : parent.SubTestChildren()) {
        m_pending.append({true, child->Level() - (kImageSubTestFirst - 1), child->Name(), child->Key(), nullptr});
        AddProcedureRows(*child);
        AddSubTestRows(*child);
    }
}

void ResultFill::AddProcedureRows(SubTest& subTest)
{
    subTest.FillProcedures(m_rows->Procedures(subTest.Id()), false);
    for (const auto& procedure : subTest.Procedures()) {
        m_keys << procedure->Key();
        m_pending.append({false, 0, procedure->Name(), procedure->Key(), procedure});
    }
}

QString ResultFill::TesterText(const Result& result)
{
    if (!gUserManagement)
        return QStringLiteral(" ");
    auto known = m_userNames.constFind(result.IdTester());
    if (known == m_userNames.constEnd())
        known = m_userNames.insert(result.IdTester(), result.Tester());
    return *known;
}

void ResultFill::ExpandAllRows()
{
    m_grid.SetAllStates(ReportGrid::OutlineState::Expanded);
    m_expanded = true;
    emit OutlineChanged();
}

void ResultFill::CollapseAllRows()
{
    m_grid.SetAllStates(ReportGrid::OutlineState::Collapsed);
    m_expanded = false;
    emit OutlineChanged();
}

void ResultFill::ToggleRow(int row)
{
    if (row <= 0 || row >= m_grid.RowCount() || !m_grid.IsNode(row))
        return;
    m_grid.Toggle(row);
    emit OutlineChanged();
}

bool ResultFill::IsProcedureRow(int row) const
{
    return row > 0 && row < m_grid.RowCount() && !m_grid.IsNode(row) && !m_grid.RowAt(row).key.isEmpty();
}

QPair<int, int> ResultFill::SelectableCell(int row, int column) const
{
    if (!IsProcedureRow(row) || column <= colTest || column > colComment)
        return {m_grid.RowCount() > 1 ? 1 : 0, colTest};
    return {row, column};
}

bool ResultFill::IsEditable(int row, int column) const
{
    return IsProcedureRow(row) &&
           (column == colStatus || column == colWorkLoad || column == colIteration || column == colComment);
}

bool ResultFill::OpensOnClick(int row, int column) const
{
    return row > 1 && IsProcedureRow(row) && (column == colWorkLoad || column == colIteration);
}

bool ResultFill::ValidateEdit(int row, int column, const QString& text) const
{
    if (!IsEditable(row, column))
        return false;
    switch (column) {
        case colWorkLoad:
            return ReadWorkLoad(text).has_value();
        case colIteration:
            return ReadIteration(text).has_value();
        case colStatus:
            return StatusList().contains(text);
        case colComment:
            return text.size() <= kCommentLength;
        default:
            return true;
    }
}
