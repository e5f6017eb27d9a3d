#include "model/SubTreeRows.h"

#include "core/KeyHelpers.h"
#include "model/DbValues.h"
#include "model/OccurrenceKey.h"
#include "platform/BugLog.h"

#include <algorithm>

namespace {

// A parent's links in their stored sequence: by order, then child id. The engine would sort the
// whole level at once; each parent's few rows mostly come in sequence already.
void SortByOrder(QHash<qint64, QList<LinkRow>>& lists)
{
    const auto key = [](const LinkRow& row) { return std::pair{row.order.toLongLong(), row.id.toLongLong()}; };
    for (QList<LinkRow>& rows : lists) {
        const auto before = [&](const LinkRow& a, const LinkRow& b) { return key(a) < key(b); };
        if (!std::is_sorted(rows.cbegin(), rows.cend(), before))
            std::stable_sort(rows.begin(), rows.end(), before);
    }
}

}  // namespace

qint64 SubTreeRows::Key(const QString& id)
{
    bool ok = false;
    const qint64 key = id.toLongLong(&ok);
    return ok ? key : -1;
}

QList<LinkRow> SubTreeRows::ChildrenAt(const QString& subTestId, int level, const QString& name)
{
    QList<LinkRow> rows = Children(subTestId);
    if (level < kImageSubTestLast || rows.isEmpty())
        return rows;
    // One entry per fill: a cycle reaches the deepest level along every path through it.
    if (!m_refusalLogged) {
        m_refusalLogged = true;
        LogError(m_refusalLabel, 6,
                 QStringLiteral("Sub-tests are nested more than %1 levels deep below \"%2\"; the deeper ones are "
                                "not shown.")
                     .arg(OccurrenceKey::kMaxSubTestDepth)
                     .arg(name));
    }
    return {};
}

void SubTreeRows::Load(const QStringList& rootIds, int levels)
{
    QStringList pending;
    QSet<qint64> queued;
    for (const QString& id : rootIds) {
        const qint64 key = Key(id);
        if (!m_read.contains(key) && !queued.contains(key)) {
            pending << id;
            queued.insert(key);
        }
    }
    for (int level = 0; level <= levels && !pending.isEmpty(); ++level) {
        for (const QString& id : pending)
            m_read.insert(Key(id));
        QStringList next;
        for (LinkRow& row : LinkRow::SubTreeLevel(pending)) {
            const qint64 parent = row.parentId.isNull() ? -1 : row.parentId.toLongLong();
            if (row.kind.toInt() == 1) {
                m_procedures[parent].append(std::move(row));
                continue;
            }
            const qint64 child = row.id.isNull() ? -1 : row.id.toLongLong();
            if (!m_read.contains(child) && !queued.contains(child)) {
                next << DbValues::IdText(row.id);
                queued.insert(child);
            }
            m_children[parent].append(std::move(row));
        }
        pending = next;
    }
    SortByOrder(m_children);
    SortByOrder(m_procedures);
}

QStringList SubTreeRows::SubTestIds() const
{
    QSet<qint64> seen(m_read.cbegin(), m_read.cend());
    for (const QList<LinkRow>& rows : m_children)
        for (const LinkRow& row : rows)
            seen.insert(row.id.toLongLong());
    QStringList ids;
    ids.reserve(seen.size());
    for (const qint64 id : seen)
        ids << QString::number(id);
    return ids;
}

QStringList SubTreeRows::ProcedureIds() const
{
    QSet<qint64> seen;
    for (const QList<LinkRow>& rows : m_procedures)
        for (const LinkRow& row : rows)
            seen.insert(row.id.toLongLong());
    QStringList ids;
    ids.reserve(seen.size());
    for (const qint64 id : seen)
        ids << QString::number(id);
    return ids;
}
