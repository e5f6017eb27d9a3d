#include "core/MainToolbars.h"

MainToolbars::MainToolbars()
    : tlbEdit({"Find", "Redo", "Undo", "Copy", "Cut", "Paste"}),
      tlbFormat({"Bold", "Italic", "Underline", "Numbers", "Bullets", "Outdent", "Indent", "LeftJustify", "Center",
                 "RightJustify", "Color"}),
      tlbTable({"RemoveCell", "RemoveColumn", "RemoveRow", "InsertRow", "InsertCell", "InsertColumn", "SplitCell",
                "MergeCell", "InsertTable"}),
      cboFontSize({"1", "2", "3", "4", "5", "6", "7"})
{
}

MainToolbars& gMainToolbars()
{
    static MainToolbars state;
    return state;
}

void MainToolbars::NotifyChanged() const
{
    emit gMainToolbarsNotifier().Changed();
}

MainToolbarsNotifier& gMainToolbarsNotifier()
{
    static MainToolbarsNotifier notifier;
    return notifier;
}
