#include "core/services/PropertyGrid.h"

#include "platform/KvlError.h"

#include <algorithm>

namespace {

// What the grid control raises for a cell outside it.
constexpr long kSubscriptOutOfRange = 381;

}  // namespace

PropertyGrid::PropertyGrid(QObject* parent) : QObject(parent) {}

void PropertyGrid::SetRows(int rows)
{
    if (rows < 0)
        throw KvlError(kSubscriptOutOfRange, QStringLiteral("Invalid Row value"));
    m_rows.resize(rows);
}

void PropertyGrid::Clear()
{
    for (Row& row : m_rows)
        row = Row();
}

PropertyGrid::Row& PropertyGrid::At(int row)
{
    if (row < 0 || row >= Rows())
        throw KvlError(kSubscriptOutOfRange, QStringLiteral("Invalid Row value"));
    return m_rows[row];
}

const PropertyGrid::Row& PropertyGrid::At(int row) const
{
    return const_cast<PropertyGrid*>(this)->At(row);
}

PropertyGrid::Cell& PropertyGrid::CellAt(int row, int col)
{
    if (col < 0 || col >= kCols)
        throw KvlError(kSubscriptOutOfRange, QStringLiteral("Invalid Column value"));
    return At(row).cells[col];
}

const PropertyGrid::Cell& PropertyGrid::CellAt(int row, int col) const
{
    return const_cast<PropertyGrid*>(this)->CellAt(row, col);
}

template <class Apply>
void PropertyGrid::ForBlock(int row1, int col1, int row2, int col2, Apply apply)
{
    const auto [rowFirst, rowLast] = std::minmax(row1, row2);
    const auto [colFirst, colLast] = std::minmax(col1, col2);
    // Checked before any change, so a bad block changes nothing.
    CellAt(rowFirst, colFirst);
    CellAt(rowLast, colLast);
    for (int row = rowFirst; row <= rowLast; ++row)
        for (int col = colFirst; col <= colLast; ++col)
            apply(CellAt(row, col));
}

QString PropertyGrid::TextMatrix(int row, int col) const
{
    return CellAt(row, col).text;
}

void PropertyGrid::SetTextMatrix(int row, int col, const QString& text)
{
    CellAt(row, col).text = text;
}

bool PropertyGrid::CellFontBold(int row, int col) const
{
    return CellAt(row, col).bold;
}

Qt::Alignment PropertyGrid::CellAlignment(int row, int col) const
{
    return CellAt(row, col).alignment;
}

void PropertyGrid::SetCellFontBold(int row1, int col1, int row2, int col2, bool bold)
{
    ForBlock(row1, col1, row2, col2, [bold](Cell& cell) { cell.bold = bold; });
}

void PropertyGrid::SetCellAlignment(int row1, int col1, int row2, int col2, Qt::Alignment alignment)
{
    ForBlock(row1, col1, row2, col2, [alignment](Cell& cell) { cell.alignment = alignment; });
}

bool PropertyGrid::IsSubtotal(int row) const
{
    return At(row).group;
}

void PropertyGrid::SetIsSubtotal(int row, bool group)
{
    At(row).group = group;
}

int PropertyGrid::RowOutlineLevel(int row) const
{
    return At(row).level;
}

void PropertyGrid::SetRowOutlineLevel(int row, int level)
{
    At(row).level = level;
}

QString PropertyGrid::EditKind(int row) const
{
    return At(row).editKind;
}

PropertyGrid::ButtonPicture PropertyGrid::CellButtonPicture(int row) const
{
    return At(row).picture;
}

void PropertyGrid::SetEditor(int row, const QString& editKind, ButtonPicture picture)
{
    Row& target = At(row);
    target.editKind = editKind;
    target.picture = picture;
}

void PropertyGrid::Refresh()
{
    emit Changed();
}

PropertyGrid& gPropertyGrid()
{
    static PropertyGrid instance;
    return instance;
}
