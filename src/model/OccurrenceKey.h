#pragma once

#include "core/NodeKey.h"

#include <QString>

// Node keys of sub-test and procedure occurrences, built from the key of the place above them.
namespace OccurrenceKey {

inline QString SubTest(const QString& parentKey, const QString& parentId, const QString& id, int order)
{
    return parentKey + NodeKey::kSeparator + NodeKey::FormatLink(parentId, id, QString::number(order));
}

inline QString Procedure(const QString& subTestKey, const QString& subTestId, const QString& id, int order)
{
    return SubTest(subTestKey, subTestId, id, order) + QLatin1Char('$');
}

inline QString Tag(const QString& parentId, const QString& id, int order)
{
    return NodeKey::FormatLink(parentId, id, QString::number(order));
}

// The deepest sub-test image: ten levels of sub-tests below a test plan.
constexpr int kMaxSubTestDepth = 10;

}  // namespace OccurrenceKey
