#include "reports/ui/frmResultFill.h"

#include "core/services/ProgressBar.h"
#include "core/services/ReportWindows.h"
#include "core/services/SelectedNode.h"
#include "platform/Hourglass.h"
#include "publishing/ReportGridModel.h"
#include "reports/ResultFill.h"
#include "reports/ui/ResultFillDelegate.h"
#include "reports/ui/ResultGridView.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kOutlineHint = QStringLiteral("Press F12 to expand all, F11 to collapse all");

}  // namespace

frmResultFill::frmResultFill(const QString& selectedNodeKey, QWidget* parent)
    : QDialog(parent), m_fill(std::make_unique<ResultFill>(selectedNodeKey))
{
    setObjectName(QStringLiteral("frmResultFill"));
    setWindowTitle(QStringLiteral("Result Fill In"));
    resize(900, 560);

    m_model = new ReportGridModel(m_fill->Grid(), this);
    m_model->SetHeaderShading(ResultFill::colTest, ResultFill::colComment);
    m_model->SetRowShading(ResultFill::colProcedure, ResultFill::colComment);
    m_model->Editable = [fill = m_fill.get()](int row, int column) { return fill->IsEditable(row, column); };
    connect(m_fill.get(), &ResultFill::GridReset, m_model, &ReportGridModel::Reset);
    connect(m_fill.get(), &ResultFill::RowsChanged, m_model, &ReportGridModel::RowsChanged);
    connect(m_fill.get(), &ResultFill::OutlineChanged, m_model, &ReportGridModel::OutlineChanged);

    m_grid = new ResultGridView(*m_fill, m_model, this);
    m_grid->setItemDelegate(new ResultFillDelegate(*m_fill, *m_model, m_grid));

    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("cboFilter"));
    m_filter->setToolTip(QStringLiteral("Filter the procedures"));
    for (const auto& [text, status] : ResultFill::FilterItems())
        m_filter->addItem(text, status);

    BuildToolbars();
    BuildStatusBar();

    // The tool-bar band: the result commands and the filter on the left, Close on the right.
    auto* band = new QWidget(this);
    band->setObjectName(QStringLiteral("picProgress"));
    auto* bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(0, 0, 0, 0);
    bandLayout->addWidget(m_toolbar);
    bandLayout->addWidget(m_filter);
    bandLayout->addStretch(1);
    bandLayout->addWidget(m_closeBar);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 0);
    layout->setSpacing(3);
    layout->addWidget(band);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_statusBar);

    // F12 and F11 belong to the whole window: the grid, its editors and the filter alike.
    const QList<std::tuple<QString, Qt::Key, void (frmResultFill::*)()>> outlineKeys = {
        {QStringLiteral("ExpandAll"), Qt::Key_F12, &frmResultFill::ExpandAllRows},
        {QStringLiteral("CollapseAll"), Qt::Key_F11, &frmResultFill::CollapseAllRows}};
    for (const auto& [name, key, command] : outlineKeys) {
        auto* action = new QAction(this);
        action->setObjectName(name);
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, command);
        addAction(action);
    }

    Form_Load();
    connect(m_filter, &QComboBox::currentIndexChanged, this, &frmResultFill::cboFilter_Click);
    m_grid->setFocus();
}

frmResultFill::~frmResultFill()
{
    // The grid view and its model read the fill's grid to the last: they go before it.
    delete m_grid;
    delete m_model;
}

QAction* frmResultFill::AddCommand(QToolBar* bar, const QString& key, const QString& toolTip)
{
    QAction* action = bar->addAction(QIcon(QStringLiteral(":/icons/toolbar/%1.png").arg(key)), toolTip);
    action->setObjectName(key);
    action->setToolTip(toolTip);
    return action;
}

void frmResultFill::BuildToolbars()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("tlbResult"));
    m_toolbar->setIconSize(QSize(22, 22));
    QAction* exportAction = AddCommand(m_toolbar, QStringLiteral("Export"), QStringLiteral("Export Progress Report"));
    auto* exportMenu = new QMenu(this);
    exportMenu->addAction(QStringLiteral("Export to &HTML"))->setObjectName(QStringLiteral("HTML"));
    exportMenu->addAction(QStringLiteral("Export to &Excel"))->setObjectName(QStringLiteral("MSExcel"));
    exportAction->setMenu(exportMenu);
    QList<QAction*> reports{exportAction};
    reports << AddCommand(m_toolbar, QStringLiteral("WebPreview"), QStringLiteral("Print Preview"));
    reports << AddCommand(m_toolbar, QStringLiteral("Print"), QStringLiteral("Print"));
    // The report's printing and export come with the report pages.
    for (QAction* action : reports + exportMenu->actions())
        action->setEnabled(false);
    const QList<std::pair<QString, QString>> fills = {
        {QStringLiteral("FillDownCell"), QStringLiteral("Fill down cell")},
        {QStringLiteral("FillDownResult"), QStringLiteral("Fill down result")},
        {QStringLiteral("FillAll"), QStringLiteral("Fill all")},
        {QStringLiteral("ClearAll"), QStringLiteral("Clear all")}};
    for (const auto& [key, toolTip] : fills) {
        QAction* action = AddCommand(m_toolbar, key, toolTip);
        connect(action, &QAction::triggered, this, [this, key = key] { tlbResult_ButtonClick(key); });
    }

    m_closeBar = new QToolBar(this);
    m_closeBar->setObjectName(QStringLiteral("tlbClose"));
    m_closeBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* closeAction = new QAction(QStringLiteral("&Close  "), m_closeBar);
    closeAction->setObjectName(QStringLiteral("Close"));
    closeAction->setToolTip(QStringLiteral("Close"));
    // The button shows the icon text; set as given, it keeps its access key.
    closeAction->setIconText(closeAction->text());
    m_closeBar->addAction(closeAction);
    connect(closeAction, &QAction::triggered, this, &QDialog::close);
}

void frmResultFill::BuildStatusBar()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("staStatusBar"));
    m_statusBar->setToolTip(kOutlineHint);
    auto* info = new QLabel(kOutlineHint, m_statusBar);
    info->setObjectName(QStringLiteral("Info"));
    info->setToolTip(kOutlineHint);
    m_statusBar->addWidget(info, 1);
}

void frmResultFill::Form_Load()
{
    m_filter->setCurrentIndex(0);
    m_fill->LoadResultGrid();
    ProgressBar& progress = gProgressBar();
    progress.SetValue(100);
    progress.SetVisible(false);
    Hourglass::Reset();
}

void frmResultFill::cboFilter_Click(int index)
{
    m_grid->CommitEditor();
    m_fill->SetFilter(m_filter->itemData(index).toInt());
}

void frmResultFill::ExpandAllRows()
{
    m_grid->CommitEditor();
    m_fill->ExpandAllRows();
}

void frmResultFill::CollapseAllRows()
{
    m_grid->CommitEditor();
    m_fill->CollapseAllRows();
}

void frmResultFill::tlbResult_ButtonClick(const QString& key)
{
    // No printer is needed to fill results: only printing and previewing check for one.
    m_grid->CommitEditor();
    if (key == QLatin1String("FillDownCell"))
        FillDownCell();
    else if (key == QLatin1String("FillDownResult"))
        FillDownResult();
    else if (key == QLatin1String("FillAll"))
        m_fill->FillAll();
    else if (key == QLatin1String("ClearAll"))
        m_fill->ClearAll();
    Hourglass::Reset();
    m_grid->setFocus();
}

void frmResultFill::FillDownCell()
{
    const int column = m_grid->CurrentColumn();
    const int target = m_fill->FillDownCell(m_grid->CurrentRow(), column);
    if (target > 0)
        m_grid->SetCurrentCell(target, column);
}

void frmResultFill::FillDownResult()
{
    const int row = m_grid->CurrentRow();
    const int column = m_grid->CurrentColumn();
    const int target = m_fill->FillDownResult(row, column);
    if (target <= 0 || !m_grid->SetCurrentCell(target, column))
        return;
    // The copied result shows selected, the comment too when sub-test rows lay between.
    const int last = target == row + 1 ? ResultFill::colTester : ResultFill::colComment;
    m_grid->selectionModel()->select(
        QItemSelection(m_model->IndexOf(target, ResultFill::colProcedure), m_model->IndexOf(target, last)),
        QItemSelectionModel::ClearAndSelect);
}

void frmResultFill::reject()
{
    // The close box, Close and Escape all end here: what is typed is written first.
    m_grid->CommitEditor();
    QDialog::reject();
}

void frmResultFill::Install()
{
    reportWindows().ResultFill = [] {
        gProgressBar().SetVisible(true);
        Hourglass::Set();
        frmResultFill window(SelectedNodeKey(), QApplication::activeWindow());
        window.exec();
    };
}
