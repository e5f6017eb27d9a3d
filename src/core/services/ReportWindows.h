#pragma once

#include <functional>

// The four report windows of a test plan, each shown modally for the current node's plan: result
// entry, progress report, execution time and daily history. Each window installs itself here;
// the main window's command for a report without its window stays disabled. A window's load
// hides the progress strip and restores the pointer; the command makes sure of both afterwards.
class ReportWindows
{
public:
    std::function<void()> ResultFill;
    std::function<void()> Progress;
    std::function<void()> TimePassed;
    std::function<void()> HistoryBrowser;
};

// The program-wide instance.
ReportWindows& reportWindows();
