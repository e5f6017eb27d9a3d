#include "publishing/StoredColumns.h"

#include "core/db/AdoConnection.h"
#include "core/db/BoundLists.h"
#include "model/DbValues.h"
#include "model/SubTreeRows.h"

#include <QSqlQuery>

namespace {

constexpr qsizetype kIdsPerQuery = 512;

}  // namespace

void StoredColumns::Prefetch(const QStringList& ids)
{
    QStringList missing;
    for (const QString& id : ids)
        if (!m_values.contains(id) && !DbValues::Id(id).isNull())
            missing << id;
    const QString statement = QStringLiteral("SELECT ID, %1 FROM %2 WHERE ID IN (%3)").arg(m_column, m_table);
    for (qsizetype start = 0; start < missing.size(); start += kIdsPerQuery) {
        const QStringList batch = missing.mid(start, kIdsPerQuery);
        QVariantList values;
        for (const QString& id : batch) {
            values << DbValues::Id(id);
            m_values.insert(id, std::nullopt);
        }
        // Padded, so that few statement texts are met and each stays prepared.
        BoundLists::PadWithLast(values, kIdsPerQuery);
        gConnection().ForEachRow(
            statement.arg(BoundLists::Marks(values.size(), QStringLiteral("?"))), values,
            [&](const QSqlQuery& row) { m_values.insert(DbValues::IdText(row.value(0)), row.value(1)); });
    }
}

std::optional<QVariant> StoredColumns::Value(const QString& id)
{
    auto found = m_values.constFind(id);
    if (found == m_values.constEnd()) {
        Prefetch({id});
        found = m_values.constFind(id);
    }
    return found == m_values.constEnd() ? std::nullopt : *found;
}

void DescriptionColumns::Prefetch(const SubTreeRows& rows)
{
    subTestDescriptions.Prefetch(rows.SubTestIds());
    const QStringList procedures = rows.ProcedureIds();
    procedureDescriptions.Prefetch(procedures);
    expectedResults.Prefetch(procedures);
}
