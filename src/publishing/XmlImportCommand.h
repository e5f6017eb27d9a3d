#pragma once

#include <QString>

// The options the import dialog offers, all off unless checked.
struct XmlImportOptions
{
    bool configuration = false;
    bool keepName = false;
    bool css = false;
};

// What the import dialog's OK button runs: the file imported with the options under the
// hourglass, the progress bar hidden afterwards and the outcome told to the user, a failure with
// its reason and logged. 0 imported, 1 failed.
int RunXmlImport(const QString& fileName, const XmlImportOptions& options);
