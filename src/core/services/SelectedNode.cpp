#include "core/services/SelectedNode.h"

#include "core/services/ExplorerNodes.h"

namespace {
QString gKey;
}

ExplorerNode* gSelectedNode()
{
    return gKey.isEmpty() ? nullptr : gExplorerNodes().Find(gKey);
}

QString SelectedNodeKey()
{
    return gKey;
}

void SetSelectedNode(const QString& key)
{
    gKey = key;
}
