#include "publishing/ReportGrid.h"

void ReportGrid::SetColumns(const QList<Column>& columns)
{
    m_columns = columns;
    Clear();
}

void ReportGrid::Clear()
{
    QStringList headers;
    headers.reserve(m_columns.size());
    for (const Column& column : m_columns)
        headers << column.header;
    m_rows.clear();
    Row header;
    header.cells = headers;
    m_rows.append(header);
    m_lastNodeAt.clear();
}

QString ReportGrid::Cell(int row, int column) const
{
    const QStringList& cells = m_rows.at(row).cells;
    return column >= 0 && column < cells.size() ? cells.at(column) : QString();
}

void ReportGrid::SetCell(int row, int column, const QString& text)
{
    QStringList& cells = m_rows[row].cells;
    while (cells.size() <= column)
        cells.append(QString());
    cells[column] = text;
}

bool ReportGrid::HiddenUnder(int parent, bool node) const
{
    if (parent < 0)
        return false;
    const Row& above = m_rows.at(parent);
    if (above.hidden || above.state == OutlineState::Collapsed)
        return true;
    return above.state == OutlineState::PartlyExpanded && !node;
}

int ReportGrid::AddRow(const QStringList& cells, bool node, int level, const QString& key)
{
    Row row{cells, node, node ? level : 0, -1, false, key};
    while (row.cells.size() < m_columns.size())
        row.cells.append(QString());
    if (node) {
        for (int above = qMin(level, m_lastNodeAt.size()) - 1; above >= 0 && row.parent < 0; --above)
            row.parent = m_lastNodeAt.at(above);
        m_lastNodeAt.resize(level + 1, -1);
        m_lastNodeAt[level] = m_rows.size();
    } else {
        for (int above = m_lastNodeAt.size() - 1; above >= 0 && row.parent < 0; --above)
            row.parent = m_lastNodeAt.at(above);
    }
    row.hidden = HiddenUnder(row.parent, node);
    m_rows.append(std::move(row));
    return m_rows.size() - 1;
}

QList<int> ReportGrid::Children(int row) const
{
    QList<int> children;
    for (int below = row + 1; below < m_rows.size(); ++below) {
        const Row& candidate = m_rows.at(below);
        if (candidate.parent == row)
            children.append(below);
        // Rows of a subtree follow their node; a node of this level or above ends it.
        else if (candidate.node && candidate.level <= m_rows.at(row).level)
            break;
    }
    return children;
}

void ReportGrid::ApplyStates()
{
    for (int row = 1; row < m_rows.size(); ++row)
        m_rows[row].hidden = HiddenUnder(m_rows.at(row).parent, m_rows.at(row).node);
}

void ReportGrid::SetState(int row, OutlineState state)
{
    if (!m_rows.at(row).node || m_rows.at(row).state == state)
        return;
    m_rows[row].state = state;
    ApplyStates();
}

void ReportGrid::Toggle(int row)
{
    SetState(row, State(row) == OutlineState::Expanded ? OutlineState::Collapsed : OutlineState::Expanded);
}

void ReportGrid::SetAllStates(OutlineState state)
{
    for (Row& row : m_rows)
        if (row.node)
            row.state = state;
    ApplyStates();
}

void ReportGrid::Reveal(int row)
{
    bool changed = false;
    for (int above = m_rows.at(row).parent; above >= 0; above = m_rows.at(above).parent) {
        if (m_rows.at(above).state != OutlineState::Expanded) {
            m_rows[above].state = OutlineState::Expanded;
            changed = true;
        }
    }
    if (changed)
        ApplyStates();
}
