#pragma once

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "mainwindow/frmMdi.h"
#include "publishing/HTMLTemplate.h"
#include "RecordingDesktop.h"
#include "ScriptedPrompts.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include <QStringList>
#include <memory>

// An offscreen main window on a new SQLite test database with the program's schema, with its own
// settings, prompts and desktop. Settings saved before Load() are what the window's load reads;
// Prepare() opens the database first, for a test that stores rows before the window loads.
class MainWindowFixture
{
public:
    // On the engine the test run names (SQLite when it names none).
    explicit MainWindowFixture(const QString& backend = TestDatabase::Backends().first()) : m_db(backend) {}

    // False: the database is left without tables.
    bool Schema = true;

    TestEnvironment Environment;
    ScriptedPrompts Prompts;
    RecordingDesktop Desktop;
    // Names of the commands run through the handlers that Record installed, in order.
    QStringList Ran;

    // Opens the database and loads the window; null with Error() set when the database failed.
    bool Prepare()
    {
        if (m_prepared)
            return true;
        if (!m_db.Open())
            return false;
        // Descriptions open with the page head the template store gives, as in the program.
        HTMLTemplate::InstallStyleSheetLoader();
        if (Schema &&
            (kvlDatabase().AddTables(gConnection()) != 0 || kvlDatabase().AddConstraints(gConnection()) != 0)) {
            m_error = QStringLiteral("the schema could not be made");
            return false;
        }
        return m_prepared = true;
    }
    frmMdi* Load()
    {
        if (!Prepare())
            return nullptr;
        m_window = std::make_unique<frmMdi>();
        return m_window.get();
    }
    QString Error() const { return m_error.isEmpty() ? m_db.Error() : m_error; }
    QString DatabaseFile() const { return m_db.FilePath(); }
    TestDatabase& Database() { return m_db; }
    frmMdi& Window() { return *m_window; }

    // Installs, for each name, a handler that records the name when it runs.
    void Record(const QStringList& names)
    {
        for (const QString& name : names)
            m_window->InstallHandler(name, [this, name] { Ran << name; });
    }

private:
    TestDatabase m_db;
    QString m_error;
    bool m_prepared = false;
    std::unique_ptr<frmMdi> m_window;
};
