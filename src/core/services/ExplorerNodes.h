#pragma once

#include "core/services/ExplorerNode.h"

#include <QHash>
#include <QMultiHash>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

// The explorer tree's node collection without a widget: the item classes add, retitle and remove
// nodes here, and the main window shows the collection. Keys are unique and compared exactly.
class ExplorerNodes : public QObject
{
    Q_OBJECT

public:
    // Raised when a key is already in the tree or the relative key is not.
    static constexpr long kKeyNotUnique = 35602;
    static constexpr long kElementNotFound = 35601;

    explicit ExplorerNodes(QObject* parent = nullptr);
    ~ExplorerNodes() override;

    // Appends a node as the last child of the node with `relativeKey`, or as a top node when
    // `relativeKey` is empty. Raises KvlError on an empty or duplicate key or an unknown relative.
    ExplorerNode* Add(const QString& relativeKey, const QString& key, const QString& text, int image);
    // Removes the node with its whole subtree. Raises KvlError when the key is unknown.
    void Remove(const QString& key);
    void Clear();

    int Count() const { return m_live; }
    bool Exist(const QString& key) const { return m_byKey.contains(key); }
    // Null when absent.
    ExplorerNode* Find(const QString& key) const { return m_byKey.value(key, nullptr); }
    // Raises KvlError when absent.
    ExplorerNode* Item(const QString& key) const;
    // By position, counted from 1 in the order the nodes were added. Raises when out of range.
    ExplorerNode* Item(int index) const;
    const std::vector<ExplorerNode*>& TopNodes() const { return m_top; }
    // The nodes whose tag may name `id`, in the order they were added: a tag "parent|id|order"
    // names its middle part, a tag without "|" itself. They are filed by a hash of that part, so
    // the caller compares the tags itself. False for an empty id; the caller then looks at every
    // node.
    bool Tagged(const QString& id, std::vector<ExplorerNode*>& nodes) const;

    QString PathSeparator() const { return m_pathSeparator; }
    void SetPathSeparator(const QString& separator) { m_pathSeparator = separator; }

signals:
    void NodeAdded(ExplorerNode* node);
    // Sent before the node and its subtree go.
    void NodeRemoving(ExplorerNode* node);
    void NodeChanged(ExplorerNode* node);
    void Cleared();

private:
    friend class ExplorerNode;
    int IndexOf(const ExplorerNode* node) const;
    // The hash of the part a tag names; false when that part is empty.
    static bool TagId(const QString& tag, size_t* key);
    void Retag(ExplorerNode* node, const QString& oldTag);
    // Drops the removed nodes from m_nodes. A removal only marks them, so that emptying a node
    // of many children costs one pass over the tree, not one per child.
    void Compact() const;

    mutable std::vector<std::unique_ptr<ExplorerNode>> m_nodes;  // in the order they were added
    int m_live = 0;                                              // nodes in the tree
    mutable qsizetype m_removed = 0;                             // removed nodes still in m_nodes
    std::vector<ExplorerNode*> m_top;
    QHash<QString, ExplorerNode*> m_byKey;
    // Finding every occurrence of an item would otherwise look at every node of the tree.
    QMultiHash<size_t, ExplorerNode*> m_byTagId;
    quint64 m_added = 0;
    QString m_pathSeparator;
};

// The program's one explorer tree, kept for the whole run.
ExplorerNodes& gExplorerNodes();
