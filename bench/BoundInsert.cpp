#include "BoundInsert.h"

#include "core/db/AdoConnection.h"
#include "platform/KvlError.h"

#include <QSqlError>

namespace {

QSqlQuery Prepared(const QString& table, const QStringList& columns, int rows)
{
    QStringList marks(columns.size(), QStringLiteral("?"));
    const QString row = QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')');
    QSqlQuery query(gConnection().Connection());
    const QString statement =
        QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
            .arg(table, columns.join(QLatin1Char(',')), QStringList(rows, row).join(QLatin1Char(',')));
    if (!query.prepare(statement))
        throw KvlError(query.lastError().text());
    return query;
}

}  // namespace

BoundInsert::BoundInsert(const QString& table, const QStringList& columns)
    : m_columns(static_cast<int>(columns.size())),
      m_batch(Prepared(table, columns, kBatch)),
      m_single(Prepared(table, columns, 1))
{
}

void BoundInsert::Add(const QVariantList& values)
{
    m_pending << values;
    ++m_rows;
}

void BoundInsert::Flush()
{
    const qsizetype batch = qsizetype(kBatch) * m_columns;
    qsizetype start = 0;
    for (; start + batch <= m_pending.size(); start += batch)
        Run(m_batch, m_pending.mid(start, batch));
    for (; start < m_pending.size(); start += m_columns)
        Run(m_single, m_pending.mid(start, m_columns));
    m_pending.clear();
}

void BoundInsert::Run(QSqlQuery& query, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    if (!query.exec())
        throw KvlError(query.lastError().text());
}
