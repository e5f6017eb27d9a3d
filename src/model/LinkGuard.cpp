#include "model/LinkGuard.h"

#include "model/DbValues.h"
#include "model/LinkRow.h"
#include "model/OccurrenceKey.h"
#include "platform/KvlError.h"

#include <QSet>

namespace {

constexpr int kMaxDepth = OccurrenceKey::kMaxSubTestDepth;

// The sub-tests one level below or above `ids`.
QStringList Neighbours(const QStringList& ids, bool down)
{
    const QString statement = down ? QStringLiteral(
                                         "SELECT ID_SUBTEST_CHILD AS ID FROM SUBTEST_LINKS "
                                         "WHERE ID_SUBTEST_PARENT IN (%1)")
                                   : QStringLiteral(
                                         "SELECT ID_SUBTEST_PARENT AS ID FROM SUBTEST_LINKS "
                                         "WHERE ID_SUBTEST_CHILD IN (%1)");
    QStringList found;
    QSet<QString> seen;
    for (const LinkRow& row : LinkRow::ReadByIds(statement, ids)) {
        const QString id = DbValues::IdText(row.id);
        if (!seen.contains(id)) {
            seen.insert(id);
            found << id;
        }
    }
    return found;
}

bool AnyUnderTestPlan(const QStringList& ids)
{
    return !LinkRow::ReadByIds(QStringLiteral("SELECT ID_SUBTEST AS ID FROM TESTPLAN_LINKS WHERE ID_SUBTEST IN (%1)"),
                               ids)
                .isEmpty();
}

[[noreturn]] void RefuseCycle()
{
    throw KvlError(5, QStringLiteral("A sub-test cannot be linked under itself or under one of its own sub-tests."));
}

}  // namespace

namespace LinkGuard {

void CheckSubTestLink(const QString& id, const QString& parentId, bool parentIsTestPlan, int parentDepth)
{
    if (!parentIsTestPlan && id == parentId)
        RefuseCycle();

    // Levels of sub-tests below the one being linked; the walk meets the parent when it is a
    // descendant. It stops once it is too deep, which also ends it on a cycle already stored.
    int below = 0;
    QStringList level{id};
    while (below <= kMaxDepth) {
        level = Neighbours(level, true);
        if (level.isEmpty())
            break;
        if (!parentIsTestPlan && level.contains(parentId))
            RefuseCycle();
        if (level.contains(id))
            RefuseCycle();
        ++below;
    }

    // The deepest place of the parent: the longest chain of links up to a test plan.
    int depth = parentIsTestPlan ? 0 : parentDepth;
    if (!parentIsTestPlan) {
        level = QStringList{parentId};
        for (int up = 1; up <= kMaxDepth && !level.isEmpty(); ++up) {
            if (AnyUnderTestPlan(level))
                depth = qMax(depth, up);
            level = Neighbours(level, false);
        }
        if (!level.isEmpty())
            depth = kMaxDepth + 1;
    }

    if (depth + 1 + below > kMaxDepth)
        throw KvlError(6, QStringLiteral("The sub-test cannot be linked there: sub-tests would be nested more than %1 "
                                         "levels deep.")
                              .arg(kMaxDepth));
}

}  // namespace LinkGuard
