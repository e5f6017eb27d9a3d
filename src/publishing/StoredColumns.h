#pragma once

#include "publishing/FieldPlaceholders.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class SubTreeRows;

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

// The description columns of a plan's items, each read in batches: what a document or an export
// of the plan shows of every item.
struct DescriptionColumns
{
    // Reads the columns of every sub-test and procedure that `rows` holds. Raises KvlError.
    void Prefetch(const SubTreeRows& rows);

    StoredColumns planDescriptions{QStringLiteral("TESTPLAN"), QStringLiteral("DESCRIPTION")};
    StoredColumns configurationDescriptions{QStringLiteral("CONFIGURATION"), QStringLiteral("DESCRIPTION")};
    StoredColumns subTestDescriptions{QStringLiteral("SUBTEST"), QStringLiteral("DESCRIPTION")};
    StoredColumns procedureDescriptions{QStringLiteral("PROCEDURES"), QStringLiteral("DESCRIPTION")};
    StoredColumns expectedResults{QStringLiteral("PROCEDURES"), QStringLiteral("RESULT")};
};
