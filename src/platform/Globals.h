#pragma once

#include <QString>

// Program-wide state shared by every subsystem.
extern QString gTempPath;   // work files and the error log
extern QString gImagePath;  // pictures of descriptions
extern bool gUserManagement;
extern QString gUserId;    // USERS.ID of the logged user
extern int gUserCategory;  // 4 Administrator, 3 Author, 2 Tester, 1 Unknown
