#pragma once

#include <QString>
#include <QTemporaryDir>

// Puts a test in its own world: settings and data folders in Qt's test locations (emptied
// first), and the temp folder of the error log in a fresh temporary directory.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    QString Root() const { return m_dir.path(); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    // The error log's text ("" when there is none).
    QString BugLog() const;
    // Number of framed entries in the error log.
    int BugLogEntries() const;
    void ClearBugLog() const;

private:
    QTemporaryDir m_dir;
};
