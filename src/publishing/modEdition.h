#pragma once

#include <QStringList>

// The installed font families, in the order of the main window's font-name list.
extern QStringList gFontNames;

// Fills the font-name list (and gFontNames) with the installed families in alphabetical order and
// the font-size list with the seven sizes the editor knows, then shows the saved font and size.
// Runs once, while the main window loads.
void LoadFontLists();
