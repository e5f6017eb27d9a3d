#include "mainwindow/frmMdi.h"

#include "editor/EditorCommands.h"
#include "mainwindow/ItemCommands.h"
#include "mainwindow/frmProperties.h"
#include "mainwindow/frmSelection.h"

#include "core/HelpFile.h"
#include "core/db/AdoConnection.h"
#include "core/services/ProgressBar.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/PaneDock.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmExplorer.h"
#include "platform/BugLog.h"
#include "platform/DesktopOpen.h"
#include "platform/Hourglass.h"
#include "platform/Prompts.h"
#include "platform/Settings.h"
#include "publishing/modEdition.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

frmMdi::frmMdi(QWidget* parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("Koravel"));
    m_mdiArea->setViewMode(QMdiArea::TabbedView);
    m_mdiArea->setTabsClosable(true);
    m_mdiArea->setTabsMovable(true);
    m_mdiArea->setDocumentMode(true);
    setCentralWidget(m_mdiArea);
    BuildStatusBar();
    BuildMenus();
    BuildBands();
    BuildPanes();
    InstallOwnHandlers();
    InstallEditorCommands();
    MDIForm_Load();
}

frmMdi::~frmMdi()
{
    // The child windows go after this window's members, moving the focus as they go.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // An editor still open in the property grid loses its focus while the widgets go, after
    // this window's members: its edit must not reach them.
    if (m_properties)
        m_properties->Detach();
}

QMdiSubWindow* frmMdi::ActiveForm() const
{
    return m_mdiArea->activeSubWindow();
}

QStatusBar* frmMdi::sbStatusBar() const
{
    return statusBar();
}

void frmMdi::BuildStatusBar()
{
    const QStringList initial = {QStringLiteral("Koravel"), QStringLiteral("Current database"),
                                 QStringLiteral("Current test plan"), QStringLiteral("Current test plan item"),
                                 QString()};
    for (int i = 0; i < initial.size(); ++i) {
        auto* panel = new QLabel(initial[i], this);
        // Panels show database paths and item names as typed, markup included.
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        m_panels.append(panel);
        // The date keeps its place at the right; the three panels the program writes share the rest.
        if (i == 4)
            statusBar()->addPermanentWidget(panel);
        else
            statusBar()->addWidget(panel, i == 0 ? 0 : 1);
    }
    m_panels[0]->setToolTip(QStringLiteral("Koravel"));
    RefreshDatePanel();
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &frmMdi::RefreshDatePanel);
    clock->start(60 * 1000);
}

void frmMdi::RefreshDatePanel()
{
    m_panels[4]->setText(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
}

QString frmMdi::PanelText(int panel) const
{
    return (panel >= 1 && panel <= m_panels.size()) ? m_panels[panel - 1]->text() : QString();
}

void frmMdi::SetPanelText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= m_panels.size())
        m_panels[panel - 1]->setText(text);
}

void frmMdi::RefreshDatabasePanel()
{
    const AdoConnection& connection = gConnection();
    QString text;
    if (connection.IsOpen()) {
        const QString provider =
            Settings::GetSetting(QStringLiteral("DataBase"), QStringLiteral("Provider"), QStringLiteral("3"));
        if (provider == QLatin1String("3") || provider == QLatin1String("2"))
            text = connection.DataSource;
        else if (provider == QLatin1String("5"))
            text = connection.DSN;
    }
    SetPanelText(2, text);
}

void frmMdi::ShowProgress()
{
    const ProgressBar& progress = gProgressBar();
    m_prgProgress->setValue(progress.Value());
    m_picProgressAction->setVisible(progress.Visible());
}

void frmMdi::InstallOwnHandlers()
{
    const QList<std::pair<QString, void (frmMdi::*)()>> own = {
        {QStringLiteral("mnuViewProperties"), &frmMdi::mnuViewProperties_Click},
        {QStringLiteral("mnuViewTestPlanExplorer"), &frmMdi::mnuViewTestPlanExplorer_Click},
        {QStringLiteral("mnuviewToolBarEdit"), &frmMdi::mnuviewToolBarEdit_Click},
        {QStringLiteral("mnuViewToolBarFormat"), &frmMdi::mnuViewToolBarFormat_Click},
        {QStringLiteral("mnuViewToolBarStandard"), &frmMdi::mnuViewToolBarStandard_Click},
        {QStringLiteral("mnuViewToolBarTable"), &frmMdi::mnuViewToolBarTable_Click},
        {QStringLiteral("mnuHelpContents"), &frmMdi::mnuHelpContents_Click},
        {QStringLiteral("mnuHelpSearchForHelpOn"), &frmMdi::mnuHelpSearchForHelpOn_Click},
        {QStringLiteral("mnuHelpAbout"), &frmMdi::mnuHelpAbout_Click},
        {QStringLiteral("mnuFileClose"), &frmMdi::mnuFileClose_Click},
        {QStringLiteral("mnuTestPlanFind"), &frmMdi::mnuTestPlanFind_Click},
    };
    for (const auto& [name, member] : own)
        InstallHandler(name, [this, member = member] { (this->*member)(); });
}

void frmMdi::MDIForm_Load()
{
    try {
        RefreshDatabasePanel();
        connect(&gConnection(), &AdoConnection::Connected, this, &frmMdi::RefreshDatabasePanel);
        connect(&gConnection(), &AdoConnection::Disconnected, this, &frmMdi::RefreshDatabasePanel);
        const MainLayout layout = MainLayout::Read();
        RestoreGeometry(layout);
        DockPanes(layout);
        LoadFontLists();
        UpdateMenuImage();
        SetEditMode(false);
        ShowEditingBands();
        SelectLastNode();
        ShowProgress();
        connect(&gProgressBar(), &ProgressBar::ValueChanged, this, &frmMdi::ShowProgress);
        connect(&gProgressBar(), &ProgressBar::VisibleChanged, this, &frmMdi::ShowProgress);
        // Start-up set the hourglass.
        Hourglass::Reset();
    } catch (const std::exception& error) {
        Hourglass::Reset();
        LogError(QStringLiteral("Error_MDIForm_Load : "), error);
    }
}

bool frmMdi::CloseChildWindows()
{
    // Newest first, and the first window the user keeps stops the exit.
    const QList<QMdiSubWindow*> children = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        if (!(*it)->close())
            return false;
    }
    return true;
}

bool frmMdi::MDIForm_Unload()
{
    if (!CloseChildWindows())
        return false;
    SaveLayout();
    if (m_explorer)
        m_explorer->Form_Unload();
    return true;
}

void frmMdi::closeEvent(QCloseEvent* event)
{
    if (!MDIForm_Unload()) {
        event->ignore();
        return;
    }
    // The result windows have no owner: they go with the program, not after it.
    if (m_selection)
        m_selection->CloseResultWindows();
    event->accept();
}

void frmMdi::mnuFileClose_Click()
{
    close();
}

void frmMdi::OpenHelpFile()
{
    const QString file = HelpFile();
    if (file.isEmpty() || !desktopOpen().Open(QUrl::fromLocalFile(file)))
        prompts().Message(
            QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."),
            Prompts::ProgramTitle(), Prompts::Icon::Information, Prompts::Buttons::Ok);
}

void frmMdi::mnuHelpContents_Click()
{
    OpenHelpFile();
}

void frmMdi::mnuHelpSearchForHelpOn_Click()
{
    // The viewer has no search of its own to open: the file is shown as a whole.
    OpenHelpFile();
}

void frmMdi::mnuHelpAbout_Click()
{
    frmAbout about(this);
    about.exec();
}
