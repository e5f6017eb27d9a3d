#pragma once

#include <QDialog>

#include <memory>

class QAction;
class QComboBox;
class QStatusBar;
class QToolBar;
class ReportGridModel;
class ResultFill;
class ResultGridView;

// The result entry window: one test plan's results in an outline grid, the status filter, the
// fill commands and the outline keys (F12 expands all, F11 collapses all, wherever the focus is
// in the window). Every edit is written at once; an editor still open is written before a command
// runs and when the window closes, whichever way it closes.
class frmResultFill : public QDialog
{
    Q_OBJECT

public:
    // Loads the grid of the test plan that holds `selectedNodeKey`.
    explicit frmResultFill(const QString& selectedNodeKey, QWidget* parent = nullptr);
    ~frmResultFill() override;

    // Makes the main window's result entry command open this window modally for the selected
    // node, the progress strip shown while the grid loads.
    static void Install();

    ResultFill& Fill() const { return *m_fill; }
    ResultGridView* grdResult() const { return m_grid; }
    QComboBox* cboFilter() const { return m_filter; }
    QToolBar* tlbResult() const { return m_toolbar; }
    QToolBar* tlbClose() const { return m_closeBar; }
    QStatusBar* staStatusBar() const { return m_statusBar; }

    // The tool bar's commands by button key.
    void tlbResult_ButtonClick(const QString& key);
    void ExpandAllRows();
    void CollapseAllRows();

public slots:
    void reject() override;

private:
    void BuildToolbars();
    QAction* AddCommand(QToolBar* bar, const QString& key, const QString& toolTip);
    void BuildStatusBar();
    void Form_Load();
    void cboFilter_Click(int index);
    void FillDownCell();
    void FillDownResult();

    std::unique_ptr<ResultFill> m_fill;
    ReportGridModel* m_model;
    ResultGridView* m_grid;
    QComboBox* m_filter;
    QToolBar* m_toolbar;
    QToolBar* m_closeBar;
    QStatusBar* m_statusBar;
};
