#pragma once

#include <QString>

class ExplorerNode;

// The explorer node last selected (gSelectedNode). Held by key, so a node removed since it was
// selected reads as none rather than as a dangling node.
ExplorerNode* gSelectedNode();
QString SelectedNodeKey();
void SetSelectedNode(const QString& key);
