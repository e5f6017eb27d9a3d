#pragma once

#include <QString>
#include <functional>

class ExplorerNode;

// What the core dialogs need of the main window's parts. The main window and the property window
// install their handlers when they load; until then each hook behaves as if no window were open.
class WindowServices
{
public:
    // Closes every document window of the main window, each asking its usual question first;
    // false when one of them stayed open.
    std::function<bool()> CloseDocumentWindows;
    // Shows the current database in the main window's status bar.
    std::function<void(const QString&)> ShowDatabase;
    // Refills the property rows with the item of the selected node.
    std::function<void()> RefreshProperties;
    // The explorer's node with that key, its test plan read first when needed; null when none.
    std::function<ExplorerNode*(const QString&)> NodeByKey;
    // Selects the node in the explorer as every command that ends on a node does: marked in the
    // tree, made the current node, shown in status panels 4 and 3, drop-highlighted. False when
    // the key names no node.
    std::function<bool(const QString&)> SelectNode;
    // Switches the main window's editing commands on (a description window loaded) or off.
    std::function<void(bool)> SetEditMode;
    // Pops the main window's Edit menu up at the mouse (a description's context menu).
    std::function<void()> PopupEditMenu;

    // Callers use these: a missing hook does nothing.
    bool CloseDocuments() const { return !CloseDocumentWindows || CloseDocumentWindows(); }
    void ShowDatabaseText(const QString& text) const
    {
        if (ShowDatabase)
            ShowDatabase(text);
    }
    ExplorerNode* FindNode(const QString& key) const { return NodeByKey ? NodeByKey(key) : nullptr; }
    bool Select(const QString& key) const { return SelectNode && SelectNode(key); }
    void EditMode(bool blnEdition) const
    {
        if (SetEditMode)
            SetEditMode(blnEdition);
    }
    void EditMenu() const
    {
        if (PopupEditMenu)
            PopupEditMenu();
    }
    void RefreshPropertyRows() const
    {
        if (RefreshProperties)
            RefreshProperties();
    }
};

// The program-wide instance.
WindowServices& windowServices();
