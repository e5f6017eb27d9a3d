#include "model/SubTreeRows.h"

#include "model/DbValues.h"

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
}
