#pragma once

#include <QString>

// The property window's work on the item of the explorer node last selected (gSelectedNode),
// without the window: each call creates the item of the node's kind, finds its row anew and asks
// it for its rows or its edit, so nothing is kept between the calls.

// Refills the property grid; the root empties it, no selection leaves it as it is. An item that
// no longer exists empties it too, with one log entry.
void Refresh_Properties();
// The Cancel answer for an edit of cell (row, col): true refuses. Only the value column is edited.
bool BeforeEditSelectedProperty(int row, int col);
// Whether a typed text may leave the editor of the row with that caption: the work load and the
// iteration must read as the model stores them; every other row takes any text.
bool AcceptsTypedProperty(const QString& caption, const QString& text);
// Stores the edited cell (row, col) into the item and redraws. 1 when the item is no longer in the
// database: logged, told to the user and the rows read again; 0 otherwise.
int AfterEditSelectedProperty(int row, int col);
// The action of the button of value cell (row, col): a list, a document, a text asked in the
// input popup or the test plan's Word template file.
void CellButtonSelectedProperty(int row, int col);
// Delete on row `row`: removes the test plan's Word template after asking, when the row is the
// template's and the user may edit it.
void DeleteSelectedWordTemplate(int row);

// The largest Word template file taken.
constexpr qint64 kMaxWordTemplateBytes = 32LL * 1024 * 1024;
