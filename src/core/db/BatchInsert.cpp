#include "core/db/BatchInsert.h"

#include "core/db/AdoConnection.h"
#include "core/db/BoundLists.h"

namespace {

// Bound values per statement stay under every engine's limit (SQLite's older one is 999).
constexpr int kValuesPerStatement = 900;

qsizetype RowsPerStatement(int columns)
{
    qsizetype rows = 1;
    while (rows * 2 * columns <= kValuesPerStatement)
        rows *= 2;
    return rows;
}

}  // namespace

BatchInsert::BatchInsert(AdoConnection& connection, const QString& head, int columns)
    : m_connection(connection),
      m_head(head),
      m_rowMarks(QLatin1Char('(') + BoundLists::Marks(columns, QStringLiteral("?")) + QLatin1Char(')')),
      m_columns(columns),
      m_rowsPerStatement(RowsPerStatement(columns))
{
}

void BatchInsert::Run(qsizetype rows)
{
    const qsizetype count = rows * m_columns;
    m_connection.Run(m_head + BoundLists::Marks(rows, m_rowMarks),
                     count == m_values.size() ? m_values : m_values.first(count));
    m_values.remove(0, count);
}

void BatchInsert::Add(const QVariantList& row)
{
    m_values += row;
    if (m_values.size() >= m_rowsPerStatement * m_columns)
        Run(m_rowsPerStatement);
}

void BatchInsert::Flush()
{
    for (qsizetype rows : BoundLists::Chunks(m_values.size() / m_columns, m_rowsPerStatement))
        Run(rows);
}
