#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Rows of one table, kept until Flush writes them through prepared statements bound again for
// every batch: a statement of `kBatch` rows, then one of a single row for the rest. The caller
// flushes tables in the order of their foreign keys.
class BoundInsert
{
public:
    BoundInsert(const QString& table, const QStringList& columns);

    void Add(const QVariantList& values);
    // Raises KvlError when a statement fails.
    void Flush();
    qint64 Rows() const { return m_rows; }
    // Rows added and not yet flushed.
    qint64 Pending() const { return m_pending.size() / m_columns; }

private:
    static constexpr int kBatch = 100;
    void Run(QSqlQuery& query, const QVariantList& values);

    int m_columns;
    QSqlQuery m_batch;
    QSqlQuery m_single;
    QVariantList m_pending;
    qint64 m_rows = 0;
};
