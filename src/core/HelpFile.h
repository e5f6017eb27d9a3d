#pragma once

#include <QString>

// The application's help file, opened by the main window's help commands; empty when unset.
QString HelpFile();
void SetHelpFile(const QString& path);
