#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <initializer_list>

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
inline Row Group(int caption) { return {caption, Editor::Refused, true, false}; }
inline Row Property(int caption, Editor editor = Editor::Refused) { return {caption, editor, false, false}; }
inline Row UsersOnly(int caption) { return {caption, Editor::Refused, false, true}; }

// The rows shown in the present user-management state: the rows after a users-only row move
// down by one while it is there.
QList<Row> Layout(std::initializer_list<Row> table);
// The row at a grid row, a refused one outside the layout.
Row At(const QList<Row>& rows, int row);

// Sets the row count, clears the grid and writes the captions with the group rows formatted.
void WriteCaptions(PropertyGrid& grid, const QList<Row>& rows);
// The value of every property row, as `value` gives it for the row's caption.
void WriteValues(PropertyGrid& grid, const QList<Row>& rows, const std::function<QString(int caption)>& value);
// Value column aligned left-top, then the window repaints.
void Finish(PropertyGrid& grid);

// Sets the editor of the value cell of `row` and returns the edit's Cancel answer (true refuses).
// `hasLinks` decides a list button.
bool ChooseEditor(PropertyGrid& grid, int row, Editor editor, bool hasLinks);

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
