#pragma once

class CommandStates;
class MainToolbars;

// The rules that set the File, Item, Test Plan and Tools menus each time one drops down, on the
// current node and the user's rights. The states last until the menu opens again.
void mnuFile_Click(CommandStates& states);
void mnuItem_Click(CommandStates& states);
void mnuTestPlan_Click(CommandStates& states);
void mnuTools_Click(CommandStates& states, bool hasActiveChild);

// Switches the document-editing commands on or off, and nothing else: the editing menu items,
// every button of the Edit, Table and Format toolbars, the three combos and the Standard
// toolbar's HTML code, Save and Save All buttons.
void SetEditMode(CommandStates& states, MainToolbars& bars, bool blnEdition);
