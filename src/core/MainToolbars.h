#pragma once

#include "core/ComboModel.h"
#include "core/ToolbarModel.h"

// The editing state that the main window shows: the edit, format and table toolbars, the
// font-name, font-size and style combos, and the View, Toolbars items of the Edit and Table bands.
class MainToolbars
{
public:
    MainToolbars();

    ToolbarModel tlbEdit;
    ToolbarModel tlbFormat;
    ToolbarModel tlbTable;
    ComboModel cboFontName;
    ComboModel cboFontSize;  // positions 0 to 6 stand for the editor's sizes 1 to 7
    ComboModel cboStyles;
    bool mnuviewToolBarEdit = true;
    bool mnuViewToolBarTable = true;
};

// The one state of the run, shared by the editor procedures and the main window.
MainToolbars& gMainToolbars();
