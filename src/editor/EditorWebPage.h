#pragma once

#include <QWebEnginePage>

// The editor's page: it goes nowhere but where the editor sends it, and opens no windows.
class EditorWebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit EditorWebPage(QWebEngineProfile* profile);

    // While open, the editor's own loads pass; every other navigation is refused.
    void SetOpen(bool open) { m_open = open; }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    bool m_open = false;
};
