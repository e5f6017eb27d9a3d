#pragma once

#include "core/services/ExplorerNode.h"

#include <QHash>
#include <QMultiHash>
#include <QObject>
#include <QString>
#include <memory>
#include <span>
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
    // Inserts a node under the node with `relativeKey` (the top level when empty) just before its
    // child `beforeKey`, or last when `beforeKey` is empty; the later siblings move down a row.
    // Raises as Add does, and when `beforeKey` names no child of that node.
    ExplorerNode* Insert(const QString& relativeKey, const QString& beforeKey, const QString& key, const QString& text,
                         int image);

    // Between BeginBatch and EndBatch the nodes added under a node that was in the tree before are
    // held back and announced when the batch ends, in one insertion per such parent, so that a
    // view takes a whole filled subtree at once. They can be found by key meanwhile. Batches nest;
    // a removal, a clear or an Insert ends the pending insertions first, and a node inserted
    // before a sibling is then held back on its own with what is added below it.
    void BeginBatch();
    void EndBatch();
    class Batch
    {
    public:
        explicit Batch(ExplorerNodes& nodes) : m_nodes(nodes) { m_nodes.BeginBatch(); }
        ~Batch() { m_nodes.EndBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ExplorerNodes& m_nodes;
    };
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
    // Children `first` to `last` of `parent` (null for the top level) are about to be added, and
    // were added; they come with whatever subtree they hold.
    void RowsAdding(ExplorerNode* parent, int first, int last);
    void RowsAdded(ExplorerNode* parent, int first, int last);
    // Sent before the node and its subtree go, and after, with the row it had.
    void NodeRemoving(ExplorerNode* node);
    void NodeRemoved(ExplorerNode* parent, int row);
    void NodeChanged(ExplorerNode* node);
    void Clearing();
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
    // Announces and attaches the nodes a batch held back.
    void FlushBatch();
    std::vector<ExplorerNode*>& ChildrenOf(ExplorerNode* parent) { return parent ? parent->m_children : m_top; }
    // Checks the key and finds the parent as Add does; raises when either is wrong.
    ExplorerNode* CheckedParent(const QString& relativeKey, const QString& key) const;
    ExplorerNode* NewNode(ExplorerNode* parent, const QString& key, const QString& text, int image);
    // Puts `nodes` among the children of `parent` from row `first` on and renumbers the rows
    // after them; `announce` sends RowsAdding and RowsAdded around it.
    void Attach(ExplorerNode* parent, int first, std::span<ExplorerNode* const> nodes, bool announce);

    mutable std::vector<std::unique_ptr<ExplorerNode>> m_nodes;  // in the order they were added
    int m_live = 0;                                              // nodes in the tree
    mutable qsizetype m_removed = 0;                             // removed nodes still in m_nodes
    std::vector<ExplorerNode*> m_top;
    QHash<QString, ExplorerNode*> m_byKey;
    // Finding every occurrence of an item would otherwise look at every node of the tree.
    QMultiHash<size_t, ExplorerNode*> m_byTagId;
    quint64 m_added = 0;
    QString m_pathSeparator;
    int m_batchDepth = 0;
    quint64 m_batchStart = 0;  // nodes with a later serial were added inside the batch
    // Children held back for a parent that existed before the batch (nullptr for the top level):
    // appended after its children, or inserted at `row`.
    struct HeldBack
    {
        ExplorerNode* parent = nullptr;
        int row = -1;  // -1: after the last child
        std::vector<ExplorerNode*> nodes;
    };
    // In the order the parents first got a held-back child.
    std::vector<HeldBack> m_heldBack;
};

// The program's one explorer tree, kept for the whole run.
ExplorerNodes& gExplorerNodes();
