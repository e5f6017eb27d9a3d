#include "core/MenuRules.h"

#include "core/KeyHelpers.h"
#include "core/MainToolbars.h"
#include "core/services/CommandStates.h"
#include "core/services/ExplorerNode.h"
#include "core/services/SelectedNode.h"
#include "platform/Globals.h"

#include <initializer_list>

namespace {

void SetAll(CommandStates& states, std::initializer_list<const char*> names, bool enabled)
{
    for (const char* name : names)
        states.SetEnabled(QString::fromLatin1(name), enabled);
}

void SetAll(ToolbarModel& toolbar, bool enabled)
{
    for (const QString& key : toolbar.Keys())
        toolbar.SetEnabled(key, enabled);
}

bool IsAdministrator()
{
    return gUserManagement && gUserCategory == 4;
}

}  // namespace

void mnuFile_Click(CommandStates& states)
{
    const bool allowed = !gUserManagement || gUserCategory == 4;
    SetAll(states, {"mnuFileImport", "mnuExportXML"}, allowed);
}

void mnuItem_Click(CommandStates& states)
{
    SetAll(states, {"mnuAddConfiguration", "mnuAddTestPlan", "mnuAddSubtest", "mnuAddProcedure"}, false);
    const ExplorerNode* node = gSelectedNode();
    if (!node)
        return;
    const int image = node->Image();
    if (image == kImageRoot)
        states.SetEnabled("mnuAddConfiguration", true);
    else if (image == kImageConfiguration)
        states.SetEnabled("mnuAddTestPlan", true);
    else if (image == kImageTestPlan)
        states.SetEnabled("mnuAddSubtest", true);
    else if (image > kImageTestPlan && image < kImageProcedure)
        SetAll(states, {"mnuAddProcedure", "mnuAddSubtest"}, true);
}

void mnuTestPlan_Click(CommandStates& states)
{
    SetAll(states, {"mnuItemCopy", "mnuItemDelete", "mnuItemDown", "mnuItemPaste", "mnuItemUp", "mnuItemEdit"}, false);
    const ExplorerNode* node = gSelectedNode();
    if (!node)
        return;
    const int image = node->Image();
    if (image > kImageTestPlan) {
        states.SetEnabled("mnuItemUp", node != node->FirstSibling());
        states.SetEnabled("mnuItemDown", node != node->LastSibling());
        // A sub-test never moves past a procedure, and two siblings showing the same text never
        // pass each other.
        if (const ExplorerNode* next = node->Next()) {
            const bool blocked =
                (next->Image() == kImageProcedure && image < kImageProcedure) || next->Text() == node->Text();
            states.SetEnabled("mnuItemDown", !blocked);
        }
        if (const ExplorerNode* previous = node->Previous()) {
            const bool blocked =
                (previous->Image() < kImageProcedure && image == kImageProcedure) || previous->Text() == node->Text();
            states.SetEnabled("mnuItemUp", !blocked);
        }
    } else {
        SetAll(states, {"mnuItemUp", "mnuItemDown"}, false);
    }
    if (image > kImageRoot) {
        if (CanModify())
            SetAll(states, {"mnuItemCopy", "mnuItemDelete", "mnuItemPaste", "mnuItemEdit"}, true);
        else
            SetAll(states, {"mnuItemCopy", "mnuItemDelete", "mnuItemDown", "mnuItemPaste", "mnuItemUp", "mnuItemEdit"},
                   false);
    }
}

void mnuTools_Click(CommandStates& states, bool hasActiveChild)
{
    states.SetEnabled("mnuToolsHTML", hasActiveChild);
    states.SetEnabled("mnuToolsUsers", IsAdministrator());
    SetAll(states, {"mnuToolDatabase", "mnuToolsCSS", "mnuToolTemplates"}, CanModify());
}

void SetEditMode(CommandStates& states, MainToolbars& bars, bool blnEdition)
{
    SetAll(states,
           {"mnuFileSave",         "mnuFileSaveAll",  "mnuEditCopy",      "mnuEditCut",        "mnuEditFind",
            "mnuEditInsert",       "mnuEditPaste",    "mnuEditSelectAll", "mnuEditProperties", "mnuEditUndo",
            "mnuEditRedo",         "mnuIns",          "mnuRemoveTable",   "mnuMergeCells",     "mnuSplitCells",
            "mnuFormatBackGround", "mnuFormatBullet", "mnuFormatFont",    "mnuFormatIndent",   "mnuFormatNumbers",
            "mnuFormatOutdent"},
           blnEdition);
    SetAll(bars.tlbEdit, blnEdition);
    SetAll(bars.tlbTable, blnEdition);
    SetAll(bars.tlbFormat, blnEdition);
    bars.cboFontName.SetEnabled(blnEdition);
    bars.cboFontSize.SetEnabled(blnEdition);
    bars.cboStyles.SetEnabled(blnEdition);
    SetAll(states, {"HTMLView", "Save", "SaveAll"}, blnEdition);
    bars.NotifyChanged();
}
