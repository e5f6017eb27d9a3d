#pragma once

class ItemList;

// Shows a filled result list modally. The main window installs the widget implementation; the
// object model only fills the rows and asks for them to be shown.
class ListWindow
{
public:
    virtual ~ListWindow() = default;
    // Returns when the user has closed the window.
    virtual void ShowModal(const ItemList& rows) = 0;
};

// The program-wide instance; until one is installed nothing is shown.
ListWindow& listWindow();
void setListWindow(ListWindow* instance);
