#include "editor/MdiDescriptionWindows.h"

#include "core/OpenForms.h"
#include "core/services/ProgressBar.h"
#include "core/services/WindowServices.h"
#include "editor/frmDescription.h"
#include "platform/Hourglass.h"
#include "platform/KvlError.h"
#include "publishing/Publication.h"

#include <QMdiArea>
#include <QMdiSubWindow>

MdiDescriptionWindows::MdiDescriptionWindows(QMdiArea* area) : QObject(area), m_area(area)
{
    connect(m_area, &QMdiArea::subWindowActivated, this, &MdiDescriptionWindows::FollowCurrentWindow);
    SetDescriptionWindows(this);
}

MdiDescriptionWindows::~MdiDescriptionWindows()
{
    try {
        if (&gDescriptionWindows() == this)
            SetDescriptionWindows(nullptr);
    } catch (const KvlError&) {
        // Uninstalled already.
    }
}

void MdiDescriptionWindows::FollowCurrentWindow()
{
    QMdiSubWindow* current = m_area->currentSubWindow();
    OpenForms::SetActive(current ? qobject_cast<frmDescription*>(current->widget()) : nullptr);
}

QMdiSubWindow* MdiDescriptionWindows::SubWindow(DescriptionForm* form) const
{
    auto* window = dynamic_cast<frmDescription*>(form);
    QMdiSubWindow* sub = window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr;
    if (!sub)
        throw KvlError(QStringLiteral("The description window is not open."));
    return sub;
}

DescriptionForm* MdiDescriptionWindows::Create()
{
    // The editors' web views are made in their final window: moving a view to another
    // top-level window afterwards cuts it off from its page.
    auto* sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose);
    m_area->addSubWindow(sub);
    auto* form = new frmDescription(sub);
    sub->setWidget(form);
    sub->resize(m_area->size() * 3 / 4);
    return form;
}

void MdiDescriptionWindows::Activate(DescriptionForm* form)
{
    QMdiSubWindow* sub = SubWindow(form);
    m_area->setActiveSubWindow(sub);
    OpenForms::SetActive(form);
    static_cast<frmDescription*>(form)->DescriptionView()->setFocus();
}

void MdiDescriptionWindows::Show(DescriptionForm* form)
{
    SubWindow(form)->show();
    Activate(form);
}

void MdiDescriptionWindows::Unload(DescriptionForm* form)
{
    QMdiSubWindow* sub = SubWindow(form);
    // Asks nothing: the window never showed a document.
    if (OpenForms::All().size() == 1)
        windowServices().EditMode(false);
    delete sub;
}

void MdiDescriptionWindows::SetProgressVisible(bool visible)
{
    gProgressBar().SetVisible(visible);
}

void MdiDescriptionWindows::SetProgressValue(int value)
{
    gProgressBar().SetValue(value);
}

void MdiDescriptionWindows::DefaultMousePointer()
{
    Hourglass::Reset();
}

void MdiDescriptionWindows::RefreshProperties()
{
    windowServices().RefreshPropertyRows();
}

void MdiDescriptionWindows::RefreshTabs()
{
    for (QMdiSubWindow* sub : m_area->subWindowList()) {
        if (auto* form = qobject_cast<frmDescription*>(sub->widget()))
            sub->setWindowTitle(form->Caption());
    }
}

void MdiDescriptionWindows::DownLoadPicture(QString& html)
{
    Publication().DownLoadPicture(html);
}
