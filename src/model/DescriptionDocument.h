#pragma once

#include <QString>

#include <optional>

// Opening an item's description in its description window: one window per item, found by its
// title, with the stored body (and a procedure's expected result) wrapped in whole pages.
struct DescriptionDocument
{
    QString kind;      // "Configuration", "TestPlan", "SubTest" or "Procedure"
    QString table;     // the item's table
    QString fileName;  // the document file name before the id and ".htm"
    QString id;
    QString name;
    std::optional<QString> testPlanId;
    QString key;  // the explorer node opened  // configurations belong to no test plan
    // Procedures: the expected-result editor is filled too, under the main window's progress bar.
    bool withExpectedResult = false;

    // "Description <kind> : <id> ": the trailing blank keeps item 1 from finding item 12's window.
    QString Title() const;
    // The document file name in the program folder, recorded as the window's tag.
    QString DocumentFile() const;

    // Brings the item's open window forward, or opens a new one: 0 done, 1 failed (logged).
    int Load() const;
};
