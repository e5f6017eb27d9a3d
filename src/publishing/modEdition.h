#pragma once

#include <QStringList>

class IControl;

// The installed font families, in the order of the main window's font-name list.
extern QStringList gFontNames;

// Fills the font-name list (and gFontNames) with the installed families in alphabetical order and
// the font-size list with the seven sizes the editor knows, then shows the saved font and size.
// Runs once, while the main window loads.
void LoadFontLists();

// Hands the stored page set-up to a print and preview control just before it prints or previews:
// the six lengths in hundredths of an inch, then the orientation and the sheet as it lies, of the
// stored paper (A4 for a code Qt does not know). Read anew on every call.
void ApplyPageSetup(IControl& control);
