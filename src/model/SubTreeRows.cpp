#include "model/SubTreeRows.h"

#include "model/DbValues.h"

#include <algorithm>

namespace {

// A parent's links in their stored sequence: by order, then child id. The engine would sort the
// whole level at once; each parent's few rows mostly come in sequence already.
void SortByOrder(QHash<QString, QList<LinkRow>>& lists)
{
    const auto key = [](const LinkRow& row) { return std::pair{row.order.toLongLong(), row.id.toLongLong()}; };
    for (QList<LinkRow>& rows : lists) {
        const auto before = [&](const LinkRow& a, const LinkRow& b) { return key(a) < key(b); };
        if (!std::is_sorted(rows.cbegin(), rows.cend(), before))
            std::stable_sort(rows.begin(), rows.end(), before);
    }
}

}  // namespace

void SubTreeRows::Load(const QStringList& rootIds, int levels)
{
    QStringList pending;
    QSet<QString> queued;
    for (const QString& id : rootIds)
        if (!m_read.contains(id) && !queued.contains(id)) {
            pending << id;
            queued.insert(id);
        }
    for (int level = 0; level <= levels && !pending.isEmpty(); ++level) {
        for (const QString& id : pending)
            m_read.insert(id);
        QStringList next;
        for (LinkRow& row : LinkRow::SubTreeLevel(pending)) {
            const QString parent = DbValues::IdText(row.parentId);
            if (row.kind.toInt() == 1) {
                m_procedures[parent].append(std::move(row));
                continue;
            }
            const QString child = DbValues::IdText(row.id);
            m_children[parent].append(std::move(row));
            if (!m_read.contains(child) && !queued.contains(child)) {
                next << child;
                queued.insert(child);
            }
        }
        pending = next;
    }
    SortByOrder(m_children);
    SortByOrder(m_procedures);
}
