#pragma once

#include "core/DataCollection.h"
#include "core/services/ItemList.h"
#include "core/services/ListWindow.h"
#include "model/LinkRow.h"
#include "platform/BugLog.h"

#include <QDate>
#include <functional>

// What every loader shares: conversions of the row values and the fill of a fresh collection.
namespace LoadedRows {

// Null reads as the empty text: a missing title must not hide the items after it.
QString Text(const QVariant& value);
QString IdText(const QVariant& value);
QDate Date(const QVariant& value);
// A link's order; raises KvlError for a missing one.
int Order(const QVariant& value);
// The author id by the loaders' rule: "0" for Null. Only meaningful while user management is on.
QString Author(const QVariant& value);
// Dates in the list's "Date" column.
QString DateText(const QVariant& value);
// The selected explorer node's path with "\" between the names, and its key.
QString SelectedPath();
QString SelectedKey();
// A collection key made of parts that cannot run into each other ("1" & "23" vs "12" & "3").
QString CollectionKey(const QString& id, const QString& order);

// Replaces `collection` with a fresh one, clears `flag`, adds one child per row through `addRow`
// and sets the flag after each; with `showList` the rows written by `addRow` are shown at the
// end. An error stops the fill: it is logged under `label` and 1 returned, the list not shown.
template <class T>
int Fill(DataCollection<T>& collection, bool& flag, const QList<LinkRow>& rows, bool showList, const QString& label,
         const std::function<void(const LinkRow&, DataCollection<T>&, ItemList*)>& addRow)
{
    ItemList list;
    collection = DataCollection<T>();
    flag = false;
    try {
        for (const LinkRow& row : rows) {
            addRow(row, collection, showList ? &list : nullptr);
            flag = true;
        }
    } catch (const std::exception& error) {
        LogError(label, error);
        return 1;
    }
    if (showList)
        listWindow().ShowModal(list);
    return 0;
}

// Reads the rows of a loader's query; a failed query is logged under `label` and gives false.
bool Query(const std::function<QList<LinkRow>()>& read, QList<LinkRow>& rows, const QString& label);

}  // namespace LoadedRows
