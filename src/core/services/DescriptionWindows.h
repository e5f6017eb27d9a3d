#pragma once

#include <QString>

class DescriptionForm;

// What opening an item's description needs of the main window and of the publication code,
// which the object model cannot link: the application installs its windows here, the tests a
// fake. Calls made while nothing is installed raise KvlError.
class DescriptionWindows
{
public:
    virtual ~DescriptionWindows() = default;

    // A new description window, loaded (so OpenForms lists it) but not yet shown.
    virtual DescriptionForm* Create() = 0;
    // Brings a loaded window to the front with the focus.
    virtual void Activate(DescriptionForm* form) = 0;
    // Shows the window modeless.
    virtual void Show(DescriptionForm* form) = 0;
    // Unloads a window that could not be filled.
    virtual void Unload(DescriptionForm* form) = 0;

    // The main window's progress bar (0 to 100) and the panel that holds it.
    virtual void SetProgressVisible(bool visible) = 0;
    virtual void SetProgressValue(int value) = 0;
    // Puts the mouse pointer back to the default one.
    virtual void DefaultMousePointer() = 0;
    // Refills the property grid with the item of the selected explorer node.
    virtual void RefreshProperties() = 0;
    // Makes the tab strip of the main window's child windows follow their captions.
    virtual void RefreshTabs() = 0;

    // Writes the stored pictures the page names into the images folder and points the page at
    // them; failures are logged there and leave the page as it was.
    virtual void DownLoadPicture(QString& html) = 0;
};

// The installed services; raises KvlError when none is.
DescriptionWindows& gDescriptionWindows();
// Installs the services (not owned); null uninstalls them.
void SetDescriptionWindows(DescriptionWindows* windows);
