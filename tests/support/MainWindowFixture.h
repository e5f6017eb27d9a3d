#pragma once

#include "mainwindow/frmMdi.h"
#include "RecordingDesktop.h"
#include "ScriptedPrompts.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include <QStringList>
#include <memory>

// An offscreen main window on a new SQLite test database, with its own settings, prompts and
// desktop. Settings saved before Load() are what the window's load reads.
class MainWindowFixture
{
public:
    MainWindowFixture() : m_db(QStringLiteral("sqlite")) {}

    TestEnvironment Environment;
    ScriptedPrompts Prompts;
    RecordingDesktop Desktop;
    // Names of the commands run through the handlers that Record installed, in order.
    QStringList Ran;

    // Opens the database and loads the window; null with Error() set when the database failed.
    frmMdi* Load()
    {
        if (!m_db.Open())
            return nullptr;
        m_window = std::make_unique<frmMdi>();
        return m_window.get();
    }
    QString Error() const { return m_db.Error(); }
    frmMdi& Window() { return *m_window; }

    // Installs, for each name, a handler that records the name when it runs.
    void Record(const QStringList& names)
    {
        for (const QString& name : names)
            m_window->InstallHandler(name, [this, name] { Ran << name; });
    }

private:
    TestDatabase m_db;
    std::unique_ptr<frmMdi> m_window;
};
