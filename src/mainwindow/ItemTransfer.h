#pragma once

#include <QString>

// The one text an item travels as, by drag or by the clipboard: kind, tag and key joined by "¤".
// A new item from the toolbox carries the marker in place of a tag and no key.
namespace ItemTransfer {

inline const QString kNewItem = QStringLiteral("New_ITEM");

// A node of the tree: its image, tag and key.
QString Write(int kind, const QString& tag, const QString& key);
// A new item of the toolbox button's kind.
QString WriteNew(int kind);

struct Fields
{
    QString kind;  // the text before the first separator, as it came
    QString tag;

    bool IsNew() const { return tag == kNewItem; }
    // As a drag reads the kind: the number its leading digits make, 0 when it starts with none.
    int DragKind() const;
    // As a paste reads it: the whole field a whole number; raises KvlError (type mismatch)
    // otherwise.
    int PasteKind() const;
};

// False for a text without a separator, which is not item data. Raises KvlError when the text
// has one separator only, so that no tag can be read.
bool Read(const QString& text, Fields& fields);

// Text a copy of a tree node wrote: a kind of node and both separators.
bool IsItemText(const QString& text);

// Whether an item of `kind` may be dropped or pasted on a node of image `target`: configurations
// on the root, test plans on configurations, a level-n sub-test on a level n-1 sub-test (level 1
// on a test plan), procedures on sub-tests. Other kinds are not refused here.
bool Refused(int kind, int target);

}  // namespace ItemTransfer
