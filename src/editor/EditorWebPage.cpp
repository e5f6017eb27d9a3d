#include "editor/EditorWebPage.h"

#include <QWebEngineSettings>

EditorWebPage::EditorWebPage(QWebEngineProfile* profile) : QWebEnginePage(profile, nullptr)
{
    // A stored description is data: its scripts, event attributes and plug-ins never run. The
    // editor's own script lives in the application's world, which this switch leaves on.
    QWebEngineSettings* page = settings();
    page->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    page->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    page->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    page->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    page->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    page->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    page->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
}

bool EditorWebPage::acceptNavigationRequest(const QUrl& /*url*/, NavigationType /*type*/, bool /*isMainFrame*/)
{
    return m_open;
}

QWebEnginePage* EditorWebPage::createWindow(WebWindowType /*type*/)
{
    return nullptr;
}
