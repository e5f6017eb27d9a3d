#pragma once

#include "core/TableDialog.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// What the table dialog writes, without its window: the column widths in percent, the spinners
// beside its number boxes, the checks of its boxes, the new table's HTML and an existing table's
// attributes.

// The unit lists' texts (index 0 "percent", 1 "pixels") and the alignment list's.
extern const QStringList kTableUnits;
extern const QStringList kTableAlignments;

// The width-grid texts for columns of these widths in a grid this wide (twips): each column's
// share of the grid in whole percent, the last one taking what is left; a column that passes the
// grid's edge keeps the part inside it and every column after it gets "0".
QStringList BuildColumnGrid(const QList<double>& columnTwips, double gridTwips);

// The spinners run 0 to 999 upside down, so that moving one up increases its number.
constexpr int kSpinnerMax = 999;
// Where a spinner stands for its box's text: the number the text starts with (0 when none).
int SpinnerPosition(const QString& text);
// The number a spinner at `position` writes into its box.
QString SpinnerText(int position);

// The objectName of the first box whose text may not go into a table tag: number boxes take
// whole numbers of 0 to 99999, colour boxes "#RRGGBB"; any box may be empty. A box still holding
// what `loaded` gave it (an existing table's own attribute) is not checked.
std::optional<QString> InvalidTableField(const TableDialogFields& fields, const TableDialogFields* loaded = nullptr);

// The HTML of a new table of `rows` rows whose columns have these widths in percent.
QString NewTableHtml(const TableDialogFields& fields, int rows, const QStringList& columnPercents);

// The attributes the dialog sets on an existing table, in the order they are written; an empty
// value removes its attribute. A height of 0 or none is left as the table has it.
QList<std::pair<QString, QString>> TableAttributes(const TableDialogFields& fields);
