#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

class AdoConnection;

// Inserts many rows with multi-row INSERT statements, each statement shape prepared once: the
// cost of a large rewrite stays in the engine rather than in preparing statements.
class BatchInsert
{
public:
    // `head` is "INSERT INTO table (columns) VALUES "; every row binds `columns` values.
    BatchInsert(AdoConnection& connection, const QString& head, int columns);

    // Raises KvlError on failure.
    void Add(const QVariantList& row);
    void Flush();

private:
    void Run(QSqlQuery& query, const QString& statement, qsizetype rows);

    AdoConnection& m_connection;
    QString m_head;
    int m_columns;
    qsizetype m_rowsPerStatement;
    QVariantList m_values;
    QSqlQuery m_full;
    bool m_prepared = false;
};
