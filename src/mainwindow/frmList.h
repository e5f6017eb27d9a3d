#pragma once

#include "core/services/ItemList.h"

#include <QDialog>

class ItemListModel;
class QLabel;
class QStatusBar;
class QTreeView;
class frmMdi;

// "Item's list": the rows a search or a loader found, one per occurrence in the explorer. A
// double click selects that occurrence in the explorer and shows its properties. The loaders
// show it modally; a search shows it beside the main window.
class frmList : public QDialog
{
    Q_OBJECT

public:
    frmList(const ItemList& rows, frmMdi* main, QWidget* parent = nullptr);

    QTreeView* lvwItems() const { return m_items; }
    ItemListModel* Model() const { return m_model; }
    QString PanelText(int panel) const;

    // A header click sorts by that column; a second click on it reverses the order.
    void lvwItems_ColumnClick(int column);
    void lvwItems_DblClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    frmMdi* m_main;
    ItemListModel* m_model;
    QTreeView* m_items;
    QStatusBar* m_status;
    QLabel* m_count;
    QLabel* m_hint;
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_sorted = false;
    bool m_laidOut = false;
};

// Installs the modal result list of the loaders for the main window's lifetime.
void InstallListWindow(frmMdi* main);
