#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

// Statements that bind a list of values (IN lists, multi-row VALUES) come in as many texts as
// there are list lengths, and each new text is parsed and planned again. Cut into the shapes
// below, a connection meets few texts and keeps each one prepared.
namespace BoundLists {

// The lengths a list of `count` values goes through: as many `max` as fit, then the rest as
// powers of two, largest first. `max` is a power of two.
QList<qsizetype> Chunks(qsizetype count, qsizetype max);

// The first length of 1, 2, 3, 4, 6, 8, 12, 16, 24... not below `count`, at most `max`: for lists
// that may be padded (an IN list may repeat a value).
qsizetype Padded(qsizetype count, qsizetype max);

// Repeats the last of `values` up to Padded(values.size(), max) values: an IN list given the
// same value twice finds the same rows.
void PadWithLast(QVariantList& values, qsizetype max);

// `mark` `count` times, comma separated: "?, ?, ?" or "(?, ?), (?, ?)".
QString Marks(qsizetype count, const QString& mark);

}  // namespace BoundLists
