#pragma once

#include "model/TreeLinks.h"

#include <QString>

class ItemList;

// The search pane's searches without the pane (frmSelection.cmdFind_Click): the items whose
// description holds a text, one row per occurrence under the chosen location (gSearchLocation),
// added to a result list.
class Search
{
public:
    // Positions of the item kinds in the pane's cboItem.
    enum ItemType { kAll = 1, kConfiguration = 2, kTestPlan = 3, kSubTest = 4, kProcedure = 5 };

    explicit Search(ItemList& list) : m_list(list) {}

    // Runs the searches of the item type, for "All" (or any other position) test plans,
    // configurations, procedures and sub-tests in this order. A failing search is logged and
    // keeps the rows it added; the next still runs. 1 when any failed.
    int Find(const QString& text, int itemType);

    // Each search adds its kind's rows, items by id and an item's rows in tree order; an empty
    // text lists every item of the kind. 0 done, 1 failed (logged).
    int FindConfigurations(const QString& text);
    int FindTestPlans(const QString& text);
    int FindSubTests(const QString& text);
    int FindProcedures(const QString& text);

private:
    // The link tables, read once for the sub-test and procedure searches of one Find.
    TreeLinks& Links();

    ItemList& m_list;
    TreeLinks m_links;
    bool m_linksLoaded = false;
};
