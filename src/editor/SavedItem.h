#pragma once

#include <QString>

// The item a description window saves into, read from the window key ("Description <kind> :
// <id> ") and the explorer node the window was opened from.
class SavedItem
{
public:
    enum ItemKind { None, Configuration, TestPlan, SubTest, Procedure };

    // Raises KvlError when the key names a kind but its id is not a whole number.
    SavedItem(const QString& windowKey, const QString& nodeKey);

    ItemKind Kind() const { return m_kind; }
    int Id() const { return m_id; }
    QString Table() const;
    // The owner kind of the description's pictures.
    int PictureKind() const;

    // Finds the item's row and writes its update stamp; raises when the row is gone or the write
    // fails.
    void Stamp() const;
    // Refills the property grid when the explorer's selected node shows this item; the grid then
    // keeps showing that node's own occurrence.
    void ShowProperties() const;

private:
    bool SelectedNodeShowsItem() const;

    ItemKind m_kind = None;
    int m_id = 0;
    QString m_nodeKey;
};
