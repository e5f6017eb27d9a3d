#include "platform/Globals.h"

QString gTempPath;
QString gImagePath;
bool gUserManagement = false;
QString gUserId;
int gUserCategory = 0;
