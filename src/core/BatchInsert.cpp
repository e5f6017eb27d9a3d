#include "core/BatchInsert.h"

#include "core/AdoConnection.h"
#include "core/KvlError.h"

#include <QSqlError>

namespace {

// Bound values per statement stay under every engine's limit (SQLite's older one is 999).
constexpr int kValuesPerStatement = 900;

QString Rows(qsizetype rows, int columns)
{
    QStringList marks(columns, QStringLiteral("?"));
    const QString row = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    return QStringList(rows, row).join(QStringLiteral(", "));
}

}  // namespace

BatchInsert::BatchInsert(AdoConnection& connection, const QString& head, int columns)
    : m_connection(connection), m_head(head), m_columns(columns), m_rowsPerStatement(kValuesPerStatement / columns)
{
}

void BatchInsert::Run(QSqlQuery& query, const QString& statement, qsizetype rows)
{
    if (!statement.isEmpty() && !query.prepare(statement))
        throw KvlError(KvlError::kGeneric, query.lastError().text());
    for (qsizetype i = 0; i < rows * m_columns; ++i)
        query.bindValue(static_cast<int>(i), m_values[i]);
    if (!query.exec()) {
        bool ok = false;
        const long number = query.lastError().nativeErrorCode().toLong(&ok);
        throw KvlError(ok && number != 0 ? number : KvlError::kGeneric, query.lastError().text());
    }
    m_values.clear();
}

void BatchInsert::Add(const QVariantList& row)
{
    m_values += row;
    if (m_values.size() < m_rowsPerStatement * m_columns)
        return;
    if (!m_prepared) {
        m_full = QSqlQuery(m_connection.Connection());
        Run(m_full, m_head + Rows(m_rowsPerStatement, m_columns), m_rowsPerStatement);
        m_prepared = true;
    } else {
        Run(m_full, QString(), m_rowsPerStatement);
    }
}

void BatchInsert::Flush()
{
    if (m_values.isEmpty())
        return;
    QSqlQuery rest(m_connection.Connection());
    Run(rest, m_head + Rows(m_values.size() / m_columns, m_columns), m_values.size() / m_columns);
}
