#include "mainwindow/PropertyGridModel.h"

#include "core/services/PropertyGrid.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>

PropertyGridModel::PropertyGridModel(PropertyGrid& grid, QObject* parent) : QAbstractTableModel(parent), m_grid(grid)
{
    m_rows = m_grid.Rows();
    connect(&m_grid, &PropertyGrid::Changed, this, &PropertyGridModel::Reset);
}

void PropertyGridModel::Reset()
{
    beginResetModel();
    m_rows = m_grid.Rows();
    m_currentRow = -1;
    m_folded.clear();
    endResetModel();
    emit FoldsChanged();
}

int PropertyGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int PropertyGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : PropertyGrid::kCols;
}

QVariant PropertyGridModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    const int col = index.column();
    // Rows being rewritten are not shown until the writer is done.
    if (!index.isValid() || row >= m_grid.Rows())
        return {};
    const bool group = m_grid.IsSubtotal(row);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (col == PropertyGrid::kMarginCol)
                return group ? QString(Folded(row) ? QStringLiteral("+") : QStringLiteral("\u2212")) : QString();
            return m_grid.TextMatrix(row, col);
        case Qt::FontRole:
            if (m_grid.CellFontBold(row, col) || (group && col == PropertyGrid::kMarginCol)) {
                QFont font;
                font.setBold(true);
                return font;
            }
            return {};
        case Qt::TextAlignmentRole:
            if (col == PropertyGrid::kMarginCol)
                return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
            return QVariant::fromValue(m_grid.CellAlignment(row, col));
        case Qt::BackgroundRole:
            if (col == PropertyGrid::kCaptionCol)
                return QGuiApplication::palette().color(row == m_currentRow ? QPalette::Highlight : QPalette::Base);
            return {};
        case Qt::ForegroundRole:
            if (col == PropertyGrid::kCaptionCol)
                return row == m_currentRow ? QGuiApplication::palette().color(QPalette::Base) : QColor(Qt::black);
            return {};
        default:
            return {};
    }
}

bool PropertyGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != PropertyGrid::kValueCol ||
        index.row() >= m_grid.Rows())
        return false;
    const QString text = value.toString();
    if (text == m_grid.TextMatrix(index.row(), index.column()))
        return true;
    m_grid.SetTextMatrix(index.row(), index.column(), text);
    emit dataChanged(index, index);
    if (AfterEdit)
        AfterEdit(index.row(), index.column());
    return true;
}

Qt::ItemFlags PropertyGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == PropertyGrid::kValueCol)
        flags |= Qt::ItemIsEditable;
    return flags;
}

void PropertyGridModel::SetCurrentRow(int row)
{
    const int previous = m_currentRow;
    m_currentRow = row;
    for (const int changed : {previous, row}) {
        if (changed >= 0 && changed < m_rows)
            emit dataChanged(index(changed, PropertyGrid::kCaptionCol), index(changed, PropertyGrid::kCaptionCol),
                             {Qt::BackgroundRole, Qt::ForegroundRole});
    }
}

void PropertyGridModel::ToggleFold(int row)
{
    if (row < 0 || row >= m_rows || row >= m_grid.Rows() || !m_grid.IsSubtotal(row))
        return;
    if (!m_folded.remove(row))
        m_folded.insert(row);
    const QModelIndex margin = index(row, PropertyGrid::kMarginCol);
    emit dataChanged(margin, margin);
    emit FoldsChanged();
}

bool PropertyGridModel::RowHidden(int row) const
{
    if (row >= m_grid.Rows() || m_grid.IsSubtotal(row))
        return false;
    for (int above = row - 1; above >= 0; --above) {
        if (m_grid.IsSubtotal(above))
            return Folded(above);
    }
    return false;
}
