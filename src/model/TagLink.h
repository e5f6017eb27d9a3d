#pragma once

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNode.h"
#include "platform/KvlError.h"

// The link a sub-test or procedure node stands for, read from its tag (parent|id|order).
struct TagLink
{
    int parent = 0;
    int child = 0;
    int order = 0;

    // False for a tag or key segment that is not three whole numbers.
    static bool TryParse(const QString& tag, TagLink& parsed)
    {
        const NodeKey::Link link = NodeKey::ParseLink(tag);
        bool parentOk = false;
        bool childOk = false;
        bool orderOk = false;
        parsed = {link.parentId.toInt(&parentOk), link.id.toInt(&childOk), link.order.toInt(&orderOk)};
        return link.valid && parentOk && childOk && orderOk;
    }

    // Raises KvlError (type mismatch) for a tag that is not three whole numbers.
    static TagLink Parse(const QString& tag)
    {
        TagLink parsed;
        if (!TryParse(tag, parsed))
            throw KvlError(13, QStringLiteral("The node tag \"%1\" names no link.").arg(tag));
        return parsed;
    }

    // The image of the node's parent node; without one, the image a parent at that depth has.
    static int ParentImage(const ExplorerNode& node)
    {
        if (node.Parent())
            return node.Parent()->Image();
        return node.Image() == kImageProcedure ? kImageSubTestFirst : node.Image() - 1;
    }
};
