#include "mainwindow/frmMdi.h"

#include "core/db/AdoConnection.h"
#include "platform/BugLog.h"
#include "platform/Hourglass.h"
#include "platform/Settings.h"

#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>

frmMdi::frmMdi(QWidget* parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("Koravel"));
    m_mdiArea->setViewMode(QMdiArea::TabbedView);
    m_mdiArea->setTabsClosable(true);
    m_mdiArea->setTabsMovable(true);
    m_mdiArea->setDocumentMode(true);
    setCentralWidget(m_mdiArea);
    BuildStatusBar();
    resize(1024, 700);
    MDIForm_Load();
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

void frmMdi::MDIForm_Load()
{
    try {
        RefreshDatabasePanel();
        connect(&gConnection(), &AdoConnection::Connected, this, &frmMdi::RefreshDatabasePanel);
        connect(&gConnection(), &AdoConnection::Disconnected, this, &frmMdi::RefreshDatabasePanel);
        // Start-up set the hourglass.
        Hourglass::Reset();
    } catch (const std::exception& error) {
        Hourglass::Reset();
        LogError(QStringLiteral("Error_MDIForm_Load : "), error);
    }
}
