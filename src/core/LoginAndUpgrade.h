#pragma once

// What follows every open of the database: the login when the database manages users, then the
// upgrades the database lacks. False when the login was refused: ShowLogin has then unloaded the
// windows and the program ends. A failed marker probe raises KvlError for the caller's trap.
bool LoginAndUpgrade();
