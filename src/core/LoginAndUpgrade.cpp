#include "core/LoginAndUpgrade.h"

#include "core/DbHelpers.h"
#include "core/Globals.h"
#include "core/ShowLogin.h"
#include "core/kvlDatabase.h"

bool LoginAndUpgrade()
{
    gUserManagement = IsUserManagementOn();
    if (gUserManagement && !ShowLogin())
        return false;
    // The upgrades log their own failures; the database stays usable without them.
    if (!HasConfigurationLinks())
        kvlDatabase().AddConfigurationLinksTable();
    if (!HasHistory())
        kvlDatabase().AddHistoryTable();
    return true;
}
