#pragma once

#include "core/services/DescriptionWindows.h"

#include <QObject>

class QMdiArea;
class QMdiSubWindow;
class frmDescription;

// Description windows as tabs of the main window's MDI area. Installs itself while it lives and
// keeps the active description window in step with the area's current tab, which stays set while
// a dialog is the active window.
class MdiDescriptionWindows : public QObject, public DescriptionWindows
{
    Q_OBJECT

public:
    explicit MdiDescriptionWindows(QMdiArea* area);
    ~MdiDescriptionWindows() override;

    DescriptionForm* Create() override;
    void Activate(DescriptionForm* form) override;
    void Show(DescriptionForm* form) override;
    void Unload(DescriptionForm* form) override;
    void SetProgressVisible(bool visible) override;
    void SetProgressValue(int value) override;
    void DefaultMousePointer() override;
    void RefreshProperties() override;
    void RefreshTabs() override;
    void DownLoadPicture(QString& html) override;

private:
    void FollowCurrentWindow();
    QMdiSubWindow* SubWindow(DescriptionForm* form) const;

    QMdiArea* m_area;
};
