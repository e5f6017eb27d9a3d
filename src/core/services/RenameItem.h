#pragma once

#include <QString>

// After an item's name was stored: shows the new name on every explorer node of the item and as
// the caption of its open description windows. A sub-test is renamed at every depth it appears
// at, whichever node the rename came from.
void RenameItem(int itemType, const QString& id, const QString& name);
