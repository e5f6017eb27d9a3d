#pragma once

#include "publishing/XmlPlan.h"

#include <QString>
#include <QStringList>
#include <functional>

// Stores a plan read from an exchange file as a new test plan, all of it in one transaction: the
// configuration (an existing one of the file's id when asked, else a new one), the style sheet,
// the plan with its sub-tests, procedures, links, results and history rows, and today's history
// recomputed once. Touches no explorer node.
class XmlPlanStore
{
public:
    struct Options
    {
        bool css = false;            // the file's style sheet replaces template 17
        bool keepName = false;       // the items take the file's names
        bool configuration = false;  // a configuration of the file's id is updated and used
    };

    struct Stored
    {
        QString configurationId;
        QString configurationName;
        QString testPlanId;
        QString testPlanName;
        bool styleSheet = false;  // template 17 was replaced
        // What was left out and why, for the log: history rows a database without history drops.
        QStringList warnings;
    };

    // Raises KvlError with the reason; nothing is stored then. `progress` hears the share of the
    // rows written, 0 to 100.
    static Stored Store(const XmlPlan::Plan& plan, const Options& options,
                        const std::function<void(int)>& progress = {});
};
