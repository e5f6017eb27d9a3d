#pragma once

// Runs the login dialog. When the login is refused, the connection dialog and the main window
// are closed and false is returned: the caller ends the program.
bool ShowLogin();
