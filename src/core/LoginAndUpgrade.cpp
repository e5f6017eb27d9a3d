#include "core/LoginAndUpgrade.h"

#include "core/db/DbHelpers.h"
#include "core/db/kvlDatabase.h"
#include "core/ShowLogin.h"
#include "platform/Globals.h"

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
