#pragma once

#include <QString>

class TestPlan;
namespace XmlPlan {
struct Plan;
}

// Exchanges one test plan with an XML file: the plan with its configuration, daily history, its
// whole sub-test tree, each procedure occurrence with its result, the descriptions and the style
// sheet. One object serves one command.
class XMLFile
{
public:
    // Import options, all off unless set.
    // The file's style sheet replaces the database's.
    void SetCSS(bool on) { m_css = on; }
    // The plan, sub-tests and procedures take the file's names, not the default ones.
    void SetKeepName(bool on) { m_keepName = on; }
    // An existing configuration of the file's id is updated and receives the plan.
    void SetConfiguration(bool on) { m_configuration = on; }

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& fileName) { m_fileName = fileName; }

    // Writes the plan (its IdConfiguration set) to FileName: 0 written, 1 failed (logged, the
    // previous file unchanged). Reads only: no result or history row is created.
    int Export(TestPlan& objTestPlan);
    // Stores the file's plan as a new test plan, all or nothing: 0 imported, 1 failed (logged,
    // nothing changed). On success the new plan is shown and selected in the explorer.
    int Import();
    // Why the last Import failed (element and line), for the user; empty after a success.
    QString ImportError() const { return m_importError; }
    // The id of the test plan the last successful Import created.
    QString ImportedTestPlanId() const { return m_importedTestPlanId; }

private:
    friend class tst_XmlImport;

    // Stores a plan read from the file with the options, then shows it: 0 imported, 1 failed
    // (logged, nothing changed).
    int StorePlan(const XmlPlan::Plan& plan);
    // Logs the reason of a failed import and keeps it for ImportError; gives 1.
    int ImportFailed(long number, const QString& reason);

    QString m_fileName;
    bool m_css = false;
    bool m_keepName = false;
    bool m_configuration = false;
    QString m_importError;
    QString m_importedTestPlanId;
};
