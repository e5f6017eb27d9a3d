#pragma once

#include <QDate>
#include <QString>

class ItemList;
class SubTest;
class TreeLinks;

// Adds to `list` one row per place where `objSubTest` (Id and Name set) shows in the tree and
// which the search location accepts: its name, the names of its ancestors from the
// configuration down to its direct parent, `strDate` (showing `day`), the sub-test's image at
// that depth and the node key of that place. Rows follow the tree's order.
void ListView_AddSubtestParent(ItemList& list, SubTest& objSubTest, const QString& strDate, const QDate& day = {});

// The same rows for a sub-test known by id and name, climbing `links` already read; raises
// KvlError for the caller's trap.
void AddSubTestRows(ItemList& list, TreeLinks& links, const QString& id, const QString& name, const QString& date,
                    const QDate& day);
