#pragma once

#include "core/ComboModel.h"
#include "core/ToolbarModel.h"

#include <QObject>

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
    // Equal to the check marks of View > Toolbars: the editor updates only the bands shown.
    bool mnuviewToolBarEdit = true;
    bool mnuViewToolBarTable = false;

    // Writers call this after a batch of changes, so the main window shows them.
    void NotifyChanged() const;
};

// Reports changes of the one MainToolbars state; a separate object, so that the state itself
// stays a value that tests can reset.
class MainToolbarsNotifier : public QObject
{
    Q_OBJECT

signals:
    void Changed();
};

MainToolbarsNotifier& gMainToolbarsNotifier();

// The one state of the run, shared by the editor procedures and the main window.
MainToolbars& gMainToolbars();
