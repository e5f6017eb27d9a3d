#pragma once

#include "FakeEditorPanes.h"
#include "MainWindowFixture.h"
#include "ModelFixture.h"

#include "core/ActiveEditor.h"
#include "core/MainToolbars.h"
#include "editor/frmDescription.h"
#include "mainwindow/WindowServicesInstall.h"
#include "model/SubTest.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

// The main window of `fixture`, shown and active, for the commands that act on a description
// window of scripted panes (SetEditorPaneFactory(FakeEditorPane)).

// Sub-test 1 holds `description`. Null when the database or the window failed.
inline frmMdi* ShowEditorWindow(MainWindowFixture& fixture, const QString& description)
{
    if (!fixture.Prepare())
        return nullptr;
    ModelFixture::Run("INSERT INTO SUBTEST (ID, NAME, DESCRIPTION) VALUES (1, 'One', ?)", {description});
    frmMdi* window = fixture.Load();
    if (!window)
        return nullptr;
    InstallWindowServices(window);
    gMainToolbars().cboStyles.SetItems({});
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return nullptr;
    window->activateWindow();
    return QTest::qWaitForWindowActive(window) ? window : nullptr;
}

inline frmDescription* ActiveDescriptionWindow(frmMdi* window)
{
    QMdiSubWindow* child = window->MdiArea()->currentSubWindow();
    return child ? qobject_cast<frmDescription*>(child->widget()) : nullptr;
}

// Opens sub-test 1 and puts the focus in its description pane; null when that failed.
inline FakeHtmlEditor* OpenFocusedSubTest(frmMdi* window)
{
    SubTest item;
    if (item.Find("1") != 0 || item.LoadDocument() != 0)
        return nullptr;
    frmDescription* form = ActiveDescriptionWindow(window);
    if (!form || !QTest::qWaitFor([form] { return form->DHTMLEditInitialized; }))
        return nullptr;
    form->DescriptionView()->setFocus();
    if (!QTest::qWaitFor([form] { return ActiveEditor() == form->DHTMLEdit1(); }))
        return nullptr;
    return static_cast<FakeHtmlEditor*>(form->DHTMLEdit1());
}
