#pragma once

#include <QString>

// Refuses the sub-test links that the tree cannot show: a sub-test under itself or under one of
// its own descendants (the tree, the work load and deletion would never end), and a chain of
// sub-tests deeper than ten levels (there is no image for it).
namespace LinkGuard {

// Raises KvlError with the reason when sub-test `id` may not be linked under `parentId`.
// `parentDepth` is the depth at which the caller sees the parent (0 for a test plan); the
// deepest place the parent has in the database counts as well.
void CheckSubTestLink(const QString& id, const QString& parentId, bool parentIsTestPlan, int parentDepth);

}  // namespace LinkGuard
