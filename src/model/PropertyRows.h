#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <initializer_list>

#include "core/services/RenameItem.h"
#include "model/PropertyCaptions.h"

class ItemRecord;
class PropertyGrid;

// The row tables of the four item classes and what they share: captions and group rows, the
// value texts, and the editor a value cell gets.
namespace PropertyRows {

enum class Editor {
    Refused,
    Plain,
    Button,
    DocumentButton,  // a button showing the edit picture
    ListButton,      // a button only while the item has such links
    StatusList,      // the four result statuses to pick from
};

struct Row
{
    int caption = 0;  // a PropertyCaptions::Id
    Editor editor = Editor::Refused;
    bool group = false;
    bool withUsers = false;  // shown only while user management is on
};

// Rows written on their own: a group heading and a property row.
inline Row Group(int caption)
{
    return {caption, Editor::Refused, true, false};
}
inline Row Property(int caption, Editor editor = Editor::Refused)
{
    return {caption, editor, false, false};
}
inline Row UsersOnly(int caption)
{
    return {caption, Editor::Refused, false, true};
}

// The rows shown in the present user-management state: the rows after a users-only row move
// down by one while it is there.
QList<Row> Layout(std::initializer_list<Row> table);
// The row at a grid row, a refused one outside the layout.
Row At(const QList<Row>& rows, int row);

// Rewrites the grid for `item`: row count, captions and group rows, then, for a stored item, the
// values (the rows every item has read from it, the others from `own`), then the alignment and
// the repaint.
void Write(PropertyGrid& grid, const QList<Row>& rows, const ItemRecord& item,
           const std::function<QString(int caption)>& own);

// Sets the editor of the value cell of `row` and returns the edit's Cancel answer (true refuses).
// `hasLinks` decides a list button.
bool ChooseEditor(PropertyGrid& grid, int row, Editor editor, bool hasLinks);

// Stores a typed name or title into the item, cut to the column; false for the other rows.
bool SetMainText(ItemRecord& item, int caption, const QString& text);

// Saves an edited item. The tree shows a new name only once it is stored; after a failed save
// the item goes back to what was stored, so the rows show that again.
template <class Item>
void Save(Item& item, const Item& stored, int caption, int itemType)
{
    if (item.Update() != 0)
        item = stored;
    else if (caption == PropertyCaptions::kName)
        RenameItem(itemType, item.Id(), item.Name());
}

QString DocumentText(bool present);
QString ListText(bool present);
QString DateText(const QDate& date);
QString NumberText(double value);

// Name, title and the other short texts are stored in columns of this width.
constexpr int kNameWidth = 50;
// The longest result comment the column holds.
constexpr int kCommentWidth = 100;
QString Fit(const QString& text, int width = kNameWidth);

// A typed work load in either decimal separator, as an absolute value. Raises on a text that is
// not a number.
float WorkLoadFromText(const QString& text);
// A typed iteration: the integer part of its absolute value. Raises on a text that is not a
// number or does not fit.
int IterationFromText(const QString& text);

}  // namespace PropertyRows
