#pragma once

#include <QString>

class ItemList;
class SubTest;

// Adds to `list` one row per place where `objSubTest` (Id and Name set) shows in the tree: the
// path of names from its configuration down to it, `strDate`, the sub-test's image at that
// depth and the node key of that place. The sub-test's FullPath is left at the last path.
void ListView_AddSubtestParent(ItemList& list, SubTest& objSubTest, const QString& strDate);
