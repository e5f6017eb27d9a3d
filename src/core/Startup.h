#pragma once

#include <QString>

// Where the program stands when start-up returns.
enum class StartupState {
    Connected,     // main window shown on an open database, user logged in when required
    NotConnected,  // main window shown without a database: the user defines a connection
    Ended,         // no main window: login refused or start-up failed; the program ends
};

// The program's entry procedure: working folders, error log, help file, the database of the
// stored provider, the login and the schema upgrades, then the main window (through AppShell).
class Startup
{
public:
    Startup();

    StartupState Main();

    // The process exit code when Main ended the program: 0 after a refused login, 1 after an error.
    int ExitCode() const { return m_exitCode; }

    // The sample copied to the default database path when none is there.
    QString SampleDatabasePath;

private:
    StartupState Run();
    void PrepareFolders();
    void SaveBarPicture() const;
    void LocateHelpFile() const;
    bool OpenDatabase();
    StartupState LoginAndUpgrade();

    int m_exitCode = 0;
};
