#pragma once

#include <vector>

// One entry of the main window's menu bar. Entries are listed in the order they show, each after
// the menu that holds it; a name that other entries give as their parent is a submenu.
struct MenuEntry
{
    const char* name;      // objectName; "-" for a separator
    const char* parent;    // objectName of the holding menu; "" for the menu bar
    const char* caption;   // as shown, "&" before the access key
    const char* shortcut;  // portable key text, "" for none
    int helpTopic;         // 0 for none
    const char* icon;      // key in the menu icon list, "" for none
    int check;             // -1 not a check item, 0 unchecked, 1 checked at start
};

const std::vector<MenuEntry>& MenuTable();

// One button of a toolbar band; key "|" is a separator.
struct ToolButtonEntry
{
    const char* toolbar;
    const char* key;  // objectName, and what the click handlers test
    const char* toolTip;
    bool checkable;
    bool enabled;  // at start
};

const std::vector<ToolButtonEntry>& ToolButtonTable();
