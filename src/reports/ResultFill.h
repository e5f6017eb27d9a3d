#pragma once

#include "publishing/ReportGrid.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class TestPlan;
class SubTest;
class SubTreeRows;
class PlanResults;
class Procedure;
class Result;

// The result entry window without its widgets: one test plan's outline grid of procedure
// occurrences and their results, the status filter, the outline commands, which cells may be
// selected and edited, and every write the window makes. Questions go through Prompts; failures
// are logged, never raised.
class ResultFill : public QObject
{
    Q_OBJECT

public:
    enum Column {
        colTest = 0,
        colProcedure,
        colStatus,
        colWorkLoad,
        colIteration,
        colTester,
        colComment,
        colKey,
        kColumnCount
    };
    static constexpr int kNoFilter = -1;
    static constexpr int kCommentLength = 100;

    // `selectedNodeKey` is the explorer node the window was opened for.
    explicit ResultFill(const QString& selectedNodeKey, QObject* parent = nullptr);
    ~ResultFill() override;

    ReportGrid& Grid() { return m_grid; }
    const ReportGrid& Grid() const { return m_grid; }

    // The filter's items in list order: text and status code (kNoFilter for "All").
    static QList<QPair<QString, int>> FilterItems();
    // The status texts of the Status column's list.
    static QStringList StatusList();
    int Filter() const { return m_filter; }
    // cboFilter_Click: refills the grid for the status code, expanded again after expand all.
    void SetFilter(int status);

    // Empties and refills the grid: 0 done, 1 failed (logged; the grid keeps what was read). A plan
    // that is gone leaves the header row alone and counts as done.
    int LoadResultGrid();
    void ExpandAllRows();
    void CollapseAllRows();
    bool Expanded() const { return m_expanded; }
    // Expands a collapsed or partly expanded node, collapses an expanded one.
    void ToggleRow(int row);

    bool IsProcedureRow(int row) const;
    // grdResult_RowColChange: the cell that may hold the selection when (row, column) is asked for;
    // a node row or column 0 gives the test plan's Test cell.
    QPair<int, int> SelectableCell(int row, int column) const;
    // Columns 2, 3, 4 and 6 of a procedure row.
    bool IsEditable(int row, int column) const;
    // grdResult_Click: WorkLoad and Iteration of a procedure row below the plan row open at once.
    bool OpensOnClick(int row, int column) const;
    // grdResult_ValidateEdit: WorkLoad takes a finite number with either decimal separator,
    // Iteration a number whose integer part fits 32 bits, Status one of the four status names,
    // Comment up to 100 characters.
    bool ValidateEdit(int row, int column, const QString& text) const;
    // The text a WorkLoad cell's number reads as, "," or "." being the decimal separator in any
    // locale; nullopt for text that is not a finite number.
    static std::optional<double> ReadWorkLoad(const QString& text);
    // An Iteration cell's count: the integer part of the number's absolute value; nullopt for text
    // that is not a number or a count beyond 32 bits.
    static std::optional<int> ReadIteration(const QString& text);
    // A work load as the WorkLoad column shows it: the user's locale, without group separators.
    static QString WorkLoadText(float workLoad);

    // grdResult_AfterEdit: puts `text` in the cell and writes it; 0 done, 1 failed or refused. A
    // failed write leaves the row showing its stored values.
    int grdResult_AfterEdit(int row, int column, const QString& text);
    // grdResult_CellButtonClick: the comment dialog of a Comment cell; 0 done, 1 failed.
    int grdResult_CellButtonClick(int row, int column);

    // The next procedure row below `row`, the nodes passed on the way expanded; -1 for none.
    int FillDownTarget(int row);
    // Both return the target row, -1 when nothing was copied.
    int FillDownCell(int row, int column);
    int FillDownResult(int row, int column);
    // Ask first; 0 done or answered No, 1 failed (logged, nothing half written).
    int FillAll();
    int ClearAll();

signals:
    // The grid was refilled: rows and cells are new.
    void GridReset();
    // Cells of these rows changed.
    void RowsChanged(int firstRow, int lastRow);
    // Node states changed: rows were hidden or shown.
    void OutlineChanged();

private:
    // A row found by the walk, added once the results are read.
    struct Pending
    {
        bool node;
        int level;
        QString name;
        QString key;
        std::shared_ptr<Procedure> procedure;
    };

    static std::optional<double> ReadNumber(const QString& text);
    // The plan's own node key under the configuration of the selected node.
    QString TestPlanKey() const;
    // Raises KvlError.
    void FillGrid();
    void AddSubTestRows(SubTest& parent);
    void AddProcedureRows(SubTest& subTest);
    QString TesterText(const Result& result);
    // The procedure of a row found again by its id, its key set; nullptr when it is gone.
    std::unique_ptr<Procedure> FindProcedure(int row) const;
    // The cell write rule inside the caller's transaction; raises KvlError.
    void WriteCell(int row, int column, const QString& text);
    // Shows the stored values of a procedure row again, in every row of its procedure for the
    // work load.
    void ShowStored(int row);
    void SetWorkLoadOfProcedure(const QString& procedureId, const QString& text);
    void EmitAllRowsChanged();

    QString m_selectedKey;
    ReportGrid m_grid;
    int m_filter = kNoFilter;
    bool m_expanded = false;
    std::unique_ptr<TestPlan> mobjTestPlan;
    std::unique_ptr<SubTreeRows> m_rows;
    std::unique_ptr<PlanResults> m_results;
    QList<Pending> m_pending;
    // Every procedure occurrence of the plan, the filtered ones too.
    QStringList m_keys;
    QHash<QString, QString> m_userNames;
};
