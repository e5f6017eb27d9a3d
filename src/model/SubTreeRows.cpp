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
        for (LinkRow& row : LinkRow::Procedures(pending)) {
            const QString parent = DbValues::IdText(row.parentId);
            m_procedures[parent].append(std::move(row));
        }
        QStringList next;
        for (LinkRow& row : LinkRow::SubTestChildren(pending)) {
            const QString child = DbValues::IdText(row.id);
            const QString parent = DbValues::IdText(row.parentId);
            m_children[parent].append(std::move(row));
            if (!m_read.contains(child) && !queued.contains(child)) {
                next << child;
                queued.insert(child);
            }
        }
        pending = next;
    }
}
