#pragma once

// The property window's work on the item of the explorer node last selected (gSelectedNode),
// without the window: each call creates the item of the node's kind, finds its row anew and asks
// it for its rows or its edit, so nothing is kept between the calls.

// Refills the property grid; the root or no selection leaves it empty.
void Refresh_Properties();
// The Cancel answer for an edit of cell (row, col): true refuses. Only the value column is edited.
bool BeforeEditSelectedProperty(int row, int col);
// Stores the edited cell (row, col) into the item and redraws.
void AfterEditSelectedProperty(int row, int col);
