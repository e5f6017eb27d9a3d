#pragma once

#include "core/services/ItemList.h"
#include "core/services/ListWindow.h"

#include <QList>

// Records every list the object model asks to show, and installs itself for its lifetime.
class RecordingListWindow : public ListWindow
{
public:
    RecordingListWindow() { setListWindow(this); }
    ~RecordingListWindow() override { setListWindow(nullptr); }

    void ShowModal(const ItemList& rows) override { shown.append(rows.Rows()); }

    QList<QList<ItemList::Row>> shown;
};
