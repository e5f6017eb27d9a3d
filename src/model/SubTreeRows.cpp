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
        for (const LinkRow& row : LinkRow::Procedures(pending))
            m_procedures[DbValues::IdText(row.parentId)].append(row);
        QStringList next;
        for (const LinkRow& row : LinkRow::SubTestChildren(pending)) {
            m_children[DbValues::IdText(row.parentId)].append(row);
            const QString child = DbValues::IdText(row.id);
            if (!m_read.contains(child) && !queued.contains(child)) {
                next << child;
                queued.insert(child);
            }
        }
        pending = next;
    }
}
