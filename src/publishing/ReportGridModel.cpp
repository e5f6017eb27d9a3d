#include "publishing/ReportGridModel.h"

#include "publishing/HtmlColor.h"
#include "publishing/ReportGrid.h"

#include <QColor>
#include <QHash>

namespace {

// The system's menu colour.
constexpr long kMenuColour = 0x80000004L;

QColor RowShade()
{
    return QColor(240, 240, 240);
}

}  // namespace

ReportGridModel::ReportGridModel(ReportGrid& grid, QObject* parent) : QAbstractItemModel(parent), m_grid(grid)
{
    Rebuild();
}

void ReportGridModel::SetHeaderShading(int first, int last)
{
    m_headerShading = {first, last};
}

void ReportGridModel::SetRowShading(int first, int last)
{
    m_rowShading = {first, last};
}

void ReportGridModel::Rebuild()
{
    const int rows = m_grid.RowCount();
    m_columns = m_grid.ColumnCount();
    m_parent.fill(-1, rows);
    m_node.fill(false, rows);
    m_anyChild.fill(false, rows);
    m_position.fill(-1, rows);
    m_children = QList<QList<int>>(qMax(rows, 1));
    // Children in grid order: a sub-test's own procedures, then its child sub-tests, as the grid
    // lists them and as fill-down walks them. A row's parent always comes before it.
    for (int row = 1; row < rows; ++row) {
        const ReportGrid::Row& item = m_grid.RowAt(row);
        m_parent[row] = item.parent;
        m_node[row] = item.node;
        if (item.parent >= 0)
            m_anyChild[item.parent] = true;
        if (item.hidden)
            continue;
        QList<int>& siblings = m_children[Slot(item.parent)];
        m_position[row] = static_cast<int>(siblings.size());
        siblings.append(row);
    }
}

int ReportGridModel::GridRow(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex ReportGridModel::IndexOf(int row, int column) const
{
    if (row < 1 || row >= m_position.size() || m_position.at(row) < 0 || column < 0 || column >= m_columns)
        return {};
    return createIndex(m_position.at(row), column, static_cast<quintptr>(row));
}

bool ReportGridModel::HasShownChildren(int row) const
{
    return row >= 1 && row < m_children.size() && !m_children.at(row).isEmpty();
}

void ReportGridModel::Reset()
{
    beginResetModel();
    Rebuild();
    endResetModel();
}

void ReportGridModel::RowsChanged(int first, int last)
{
    // A signal covers one parent's run of rows: the shown rows of the range, grouped by parent.
    QHash<int, std::pair<int, int>> runs;
    const int end = qMin(last, static_cast<int>(m_position.size()) - 1);
    for (int row = qMax(first, 1); row <= end; ++row) {
        const int position = m_position.at(row);
        if (position < 0)
            continue;
        auto run = runs.find(Slot(m_parent.at(row)));
        if (run == runs.end())
            runs.insert(Slot(m_parent.at(row)), {position, position});
        else
            *run = {qMin(run->first, position), qMax(run->second, position)};
    }
    for (auto run = runs.cbegin(); run != runs.cend(); ++run) {
        const QList<int>& siblings = m_children.at(run.key());
        emit dataChanged(IndexOf(siblings.at(run->first), 0), IndexOf(siblings.at(run->second), m_columns - 1));
    }
}

void ReportGridModel::OutlineChanged()
{
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QList<int> rows;
    rows.reserve(before.size());
    for (const QModelIndex& index : before)
        rows.append(GridRow(index));
    Rebuild();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype at = 0; at < before.size(); ++at)
        after.append(IndexOf(rows.at(at), before.at(at).column()));
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

QModelIndex ReportGridModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return {};
    const int slot = parent.isValid() ? GridRow(parent) : 0;
    if (slot < 0 || slot >= m_children.size())
        return {};
    const QList<int>& siblings = m_children.at(slot);
    if (row < 0 || row >= siblings.size() || column < 0 || column >= m_columns)
        return {};
    return createIndex(row, column, static_cast<quintptr>(siblings.at(row)));
}

QModelIndex ReportGridModel::parent(const QModelIndex& child) const
{
    const int row = GridRow(child);
    if (row < 1 || row >= m_parent.size())
        return {};
    return IndexOf(m_parent.at(row), 0);
}

QModelIndex ReportGridModel::sibling(int row, int column, const QModelIndex& index) const
{
    if (row == index.row() && index.isValid() && column >= 0 && column < m_columns)
        return createIndex(row, column, index.internalId());
    return QAbstractItemModel::sibling(row, column, index);
}

int ReportGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    const int slot = parent.isValid() ? GridRow(parent) : 0;
    return slot >= 0 && slot < m_children.size() ? static_cast<int>(m_children.at(slot).size()) : 0;
}

int ReportGridModel::columnCount(const QModelIndex&) const
{
    return m_columns;
}

bool ReportGridModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return rowCount() > 0;
    const int row = GridRow(parent);
    return parent.column() == 0 && row >= 1 && row < m_anyChild.size() && m_anyChild.at(row);
}

QVariant ReportGridModel::data(const QModelIndex& index, int role) const
{
    const int row = GridRow(index);
    // The grid may already hold other rows than the model was last told of.
    if (row < 1 || row >= m_grid.RowCount() || row >= m_node.size())
        return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return m_grid.Cell(row, index.column());
        case Qt::BackgroundRole:
            if (!m_node.at(row) && m_rowShading.Holds(index.column()))
                return RowShade();
            return {};
        default:
            return {};
    }
}

QVariant ReportGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns || m_grid.RowCount() < 1)
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return m_grid.Cell(0, section);
        case Qt::BackgroundRole:
            if (m_headerShading.Holds(section))
                return QColor::fromString(ColorToHtml(kMenuColour));
            return {};
        default:
            return {};
    }
}

Qt::ItemFlags ReportGridModel::flags(const QModelIndex& index) const
{
    const int row = GridRow(index);
    if (row < 1 || row >= m_node.size())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_node.at(row))
        flags |= Qt::ItemNeverHasChildren;
    if (Editable && Editable(row, index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}
