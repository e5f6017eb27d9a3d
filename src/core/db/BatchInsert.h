#pragma once

#include <QString>
#include <QVariantList>

class AdoConnection;

// Inserts many rows with multi-row INSERT statements of a few lengths, each kept prepared by the
// connection: the cost of a large rewrite stays in the engine rather than in parsing statements.
class BatchInsert
{
public:
    // `head` is "INSERT INTO table (columns) VALUES "; every row binds `columns` values.
    BatchInsert(AdoConnection& connection, const QString& head, int columns);

    // Raises KvlError on failure.
    void Add(const QVariantList& row);
    void Flush();

private:
    // Inserts the first `rows` rows held.
    void Run(qsizetype rows);

    AdoConnection& m_connection;
    QString m_head;
    QString m_rowMarks;
    int m_columns;
    qsizetype m_rowsPerStatement;
    QVariantList m_values;
};
