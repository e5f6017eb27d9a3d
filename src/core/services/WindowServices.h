#pragma once

#include <QString>
#include <functional>

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
    // Switches the main window's editing commands on (a description window loaded) or off.
    std::function<void(bool)> SetEditMode;

    // Callers use these: a missing hook does nothing.
    bool CloseDocuments() const { return !CloseDocumentWindows || CloseDocumentWindows(); }
    void ShowDatabaseText(const QString& text) const
    {
        if (ShowDatabase)
            ShowDatabase(text);
    }
    void EditMode(bool blnEdition) const
    {
        if (SetEditMode)
            SetEditMode(blnEdition);
    }
    void RefreshPropertyRows() const
    {
        if (RefreshProperties)
            RefreshProperties();
    }
};

// The program-wide instance.
WindowServices& windowServices();
