#pragma once

#include "publishing/FieldPlaceholders.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// One description column of many items, read in batches for the page generators: a section per
// occurrence would otherwise cost a query per description.
class StoredColumns
{
public:
    StoredColumns(const QString& table, const QString& column) : m_table(table), m_column(column) {}

    // Reads the column of the ids not read yet. Raises KvlError.
    void Prefetch(const QStringList& ids);
    // nullopt when the item has no row; a null QVariant when the column is Null. An id not
    // prefetched is read on its own. Raises KvlError.
    std::optional<QVariant> Value(const QString& id);
    FieldPlaceholders::DescriptionLookup Lookup()
    {
        return [this](const QString& id) { return Value(id); };
    }

private:
    QString m_table;
    QString m_column;
    // An id read without a row maps to nullopt.
    QHash<QString, std::optional<QVariant>> m_values;
};
