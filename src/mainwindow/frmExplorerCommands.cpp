// What the explorer runs: its key table, the description of the current item, and the main
// window's commands that work on the tree (expand, collapse, refresh, the result reports).
#include "core/EditorWindows.h"
#include "core/KeyHelpers.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/ProgressBar.h"
#include "core/services/PropertyGrid.h"
#include "core/services/ReportWindows.h"
#include "core/services/SelectedNode.h"
#include "core/services/WindowServices.h"
#include "mainwindow/ExplorerTreeModel.h"
#include "mainwindow/ExplorerTreeView.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmMdi.h"
#include "model/Configuration.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/Hourglass.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"

#include <QKeyEvent>
#include <QPointer>

namespace {

enum class KeyAction {
    Delete,
    Copy,
    Paste,
    Print,
    Refresh,
    Preview,
    Html,
    Word,
    Expand,
    Collapse,
    Properties,
    Up,
    Down
};

struct KeyRow
{
    int key;
    bool ctrl;
    bool needsRights;
    KeyAction action;
};

// Tried in this order; the first row that matches runs.
const KeyRow kKeys[] = {
    {Qt::Key_Delete, false, true, KeyAction::Delete},  {Qt::Key_C, true, true, KeyAction::Copy},
    {Qt::Key_V, true, true, KeyAction::Paste},         {Qt::Key_P, true, true, KeyAction::Print},
    {Qt::Key_F2, false, false, KeyAction::Refresh},    {Qt::Key_F5, false, false, KeyAction::Preview},
    {Qt::Key_F7, false, false, KeyAction::Html},       {Qt::Key_F6, false, false, KeyAction::Word},
    {Qt::Key_F12, false, false, KeyAction::Expand},    {Qt::Key_F11, false, false, KeyAction::Collapse},
    {Qt::Key_F4, false, false, KeyAction::Properties}, {Qt::Key_U, true, true, KeyAction::Up},
    {Qt::Key_D, true, true, KeyAction::Down},
};

// Ctrl means Ctrl alone; the other keys take no modifier. A key with more held does nothing.
const KeyRow* Match(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    for (const KeyRow& row : kKeys)
        if (event->key() == row.key && held == (row.ctrl ? Qt::ControlModifier : Qt::NoModifier))
            return &row;
    return nullptr;
}

const QString kSelectPlan = QStringLiteral("Select a test plan in the Explorer.");

void Information(const QString& text)
{
    prompts().Message(text, Prompts::ProgramTitle(), Prompts::Icon::Information, Prompts::Buttons::Ok);
}

// The progress strip and the pointer are back to rest on every way out of a report.
struct ReportRun
{
    ReportRun()
    {
        Hourglass::Set();
        gProgressBar().SetVisible(true);
    }
    ~ReportRun()
    {
        gProgressBar().SetVisible(false);
        Hourglass::Reset();
    }
};

}  // namespace

bool frmExplorer::KeyRuns(const QKeyEvent* event) const
{
    return Match(event) != nullptr;
}

void frmExplorer::tvTestPlan_KeyDown(const QKeyEvent* event)
{
    const KeyRow* row = Match(event);
    if (!row || (row->needsRights && !CanModify()))
        return;
    switch (row->action) {
        case KeyAction::Delete:
            m_main->mnuItemDelete_Click();
            break;
        case KeyAction::Copy:
            m_main->mnuItemCopy_Click();
            break;
        case KeyAction::Paste:
            m_main->mnuItemPaste_Click();
            break;
        case KeyAction::Print:
            m_main->mnuFilePrint_Click();
            break;
        case KeyAction::Refresh:
            m_main->mnuViewRefresh_Click();
            break;
        case KeyAction::Preview:
            m_main->mnuFilePreview_Click();
            break;
        case KeyAction::Html:
            m_main->mnuExportHTML_Click();
            break;
        case KeyAction::Word:
            m_main->mnuExportWord_Click();
            break;
        case KeyAction::Expand:
            tvTestPlan_ExpandAll();
            break;
        case KeyAction::Collapse:
            tvTestPlan_CollapseAll();
            break;
        case KeyAction::Properties:
            if (!m_main->Commands().Checked(QStringLiteral("mnuViewProperties")))
                m_main->mnuViewProperties_Click();
            break;
        case KeyAction::Up:
            m_main->mnuItemUp_Click();
            break;
        case KeyAction::Down:
            m_main->mnuItemDown_Click();
            break;
    }
}

void frmExplorer::Edition()
{
    const ExplorerNode* node = gSelectedNode();
    if (!node)
        return;
    Hourglass::Set();
    const QString tag = node->Tag();
    long number = 0;
    QString text;
    bool failed = false;
    try {
        int answer = 0;
        switch (node->Image()) {
            case kImageConfiguration: {
                Configuration item;
                answer = item.Find(tag) != 0 ? 1 : item.LoadDocument();
                break;
            }
            case kImageTestPlan: {
                TestPlan item;
                answer = item.Find(tag) != 0 ? 1 : item.LoadDocument();
                break;
            }
            case kImageProcedure: {
                Procedure item;
                if (item.Find(KeyIdShort(tag)) != 0) {
                    answer = 1;
                    break;
                }
                item.SetKey(node->Key());
                answer = item.LoadDocument();
                break;
            }
            default:
                if (node->Image() >= kImageSubTestFirst && node->Image() <= kImageSubTestLast) {
                    SubTest item;
                    if (item.Find(KeyId(tag)) != 0) {
                        answer = 1;
                        break;
                    }
                    item.SetKey(node->Key());
                    answer = item.LoadDocument();
                }
        }
        failed = answer == 1;
    } catch (const KvlError& error) {
        failed = true;
        number = error.Number();
        text = error.Description();
    } catch (const std::exception& error) {
        failed = true;
        number = KvlError::kGeneric;
        text = QString::fromStdString(error.what());
    }
    Hourglass::Reset();
    if (!failed)
        return;
    prompts().Message(QStringLiteral("An error occurred in item loading description."), Prompts::ProgramTitle(),
                      Prompts::Icon::Critical, Prompts::Buttons::Ok);
    LogError(QStringLiteral("Error_TestPlan_DblClick : "), number, text);
}

void frmExplorer::InstallHandlers()
{
    m_main->InstallHandler(QStringLiteral("mnuExpandExplorer"), [this] { tvTestPlan_ExpandAll(); });
    m_main->InstallHandler(QStringLiteral("mnuCollapseExplorer"), [this] { tvTestPlan_CollapseAll(); });
    m_main->InstallHandler(QStringLiteral("mnuItemEdit"), [this] {
        if (gSelectedNode())
            Edition();
    });
    m_main->InstallHandler(QStringLiteral("mnuViewRefresh"), [this] {
        Hourglass::Set();
        try {
            const QString key = gSelectedNode() ? SelectedNodeKey() : QString();
            tvTestPlan_Initialize();
            if (!key.isEmpty() && !SelectNode(key))
                throw KvlError(ExplorerNodes::kElementNotFound, QStringLiteral("Element not found: ") + key);
            EmptyPropertyGrid();
        } catch (const std::exception& error) {
            LogError(QStringLiteral("Error_Refresh:"), error);
        }
        Hourglass::Reset();
    });

    // A report opens for the test plan of the current node, with open documents saved first.
    const ReportWindows& reports = reportWindows();
    const QList<std::pair<QString, std::function<void()>>> planReports = {
        {QStringLiteral("mnuResultFill"), reports.ResultFill},
        {QStringLiteral("mnuTestPlanFurtherance"), reports.Progress},
        {QStringLiteral("mnuTestPlanTimePassed"), reports.TimePassed}};
    for (const auto& [name, window] : planReports) {
        if (!window)
            continue;
        const bool fillIn = name == QLatin1String("mnuResultFill");
        m_main->InstallHandler(name, [this, name = name, window = window, fillIn] {
            const ExplorerNode* node = gSelectedNode();
            if (!node || node->Image() <= kImageConfiguration) {
                Information(kSelectPlan);
                return;
            }
            const QString key = node->Key();
            SaveCurrentForm();
            m_main->raise();
            try {
                const ReportRun run;
                window();
            } catch (const std::exception& error) {
                LogError(QStringLiteral("Error_%1_Click : ").arg(name), error);
            }
            // The results entered there show in the property grid.
            const ExplorerNode* shown = gExplorerNodes().Find(key);
            if (fillIn && shown && shown->Image() == kImageProcedure) {
                Procedure procedure;
                procedure.SetKey(key);
                procedure.Find(KeyIdShort(shown->Tag()));
                procedure.Properties();
            }
        });
    }
    if (const auto history = reports.HistoryBrowser) {
        m_main->InstallHandler(QStringLiteral("mnuResultHistory"), [this, history] {
            m_main->raise();
            if (!gSelectedNode()) {
                const ExplorerNode* treeNode = m_model->NodeAt(m_tree->currentIndex());
                if (!treeNode) {
                    Information(kSelectPlan);
                    return;
                }
                SetSelectedNode(treeNode->Key());
            }
            if (gSelectedNode()->Image() < kImageTestPlan) {
                Information(kSelectPlan);
                return;
            }
            try {
                const ReportRun run;
                gProgressBar().SetValue(10);
                SaveCurrentForm();
                gProgressBar().SetValue(20);
                history();
            } catch (const std::exception& error) {
                prompts().Message(QStringLiteral("History not avalaible."), Prompts::ProgramTitle(),
                                  Prompts::Icon::Critical, Prompts::Buttons::Ok);
                LogError(QStringLiteral("Error_ResultHistory : "), error);
            }
        });
    }

    WindowServices& services = windowServices();
    const QPointer<frmExplorer> self(this);
    services.NodeByKey = [self](const QString& key) { return self ? self->NodeByKey(key) : nullptr; };
    services.SelectNode = [self](const QString& key) { return self && self->SelectNode(key); };
}
