#include "core/services/ExplorerNodes.h"

#include "core/NodeKey.h"
#include "platform/KvlError.h"

#include <algorithm>

ExplorerNodes::ExplorerNodes(QObject* parent) : QObject(parent), m_pathSeparator(NodeKey::kSeparator) {}

ExplorerNodes::~ExplorerNodes() = default;

ExplorerNode* ExplorerNodes::CheckedParent(const QString& relativeKey, const QString& key) const
{
    if (key.isEmpty())
        throw KvlError(KvlError::kGeneric, QStringLiteral("Invalid procedure call or argument"));
    if (m_byKey.contains(key))
        throw KvlError(kKeyNotUnique, QStringLiteral("Key is not unique in collection"));
    if (relativeKey.isEmpty())
        return nullptr;
    ExplorerNode* parent = m_byKey.value(relativeKey, nullptr);
    if (!parent)
        throw KvlError(kElementNotFound, QStringLiteral("Element not found"));
    return parent;
}

ExplorerNode* ExplorerNodes::NewNode(ExplorerNode* parent, const QString& key, const QString& text, int image)
{
    // Removed nodes may not outnumber those in the tree.
    if (m_removed > m_live)
        Compact();
    m_nodes.push_back(std::unique_ptr<ExplorerNode>(new ExplorerNode(this, key, text, image)));
    ++m_live;
    ExplorerNode* node = m_nodes.back().get();
    node->m_serial = ++m_added;
    node->m_parent = parent;
    m_byKey.insert(key, node);
    return node;
}

void ExplorerNodes::Attach(ExplorerNode* parent, int first, std::span<ExplorerNode* const> nodes, bool announce)
{
    auto& siblings = ChildrenOf(parent);
    const int last = first + static_cast<int>(nodes.size()) - 1;
    if (announce)
        emit RowsAdding(parent, first, last);
    siblings.insert(siblings.begin() + first, nodes.begin(), nodes.end());
    for (size_t row = static_cast<size_t>(first); row < siblings.size(); ++row)
        siblings[row]->m_row = static_cast<int>(row);
    if (announce)
        emit RowsAdded(parent, first, last);
}

ExplorerNode* ExplorerNodes::Add(const QString& relativeKey, const QString& key, const QString& text, int image)
{
    ExplorerNode* parent = CheckedParent(relativeKey, key);
    ExplorerNode* node = NewNode(parent, key, text, image);
    auto& siblings = ChildrenOf(parent);
    if (m_batchDepth > 0 && (!parent || parent->m_serial <= m_batchStart)) {
        // The row it will have once the batch ends; an inserted node held back before it counts.
        size_t row = siblings.size();
        HeldBack* last = nullptr;
        for (HeldBack& held : m_heldBack) {
            if (held.parent != parent)
                continue;
            row += held.nodes.size();
            if (held.row < 0)
                last = &held;
        }
        if (!last)
            last = &m_heldBack.emplace_back(HeldBack{parent, -1, {}});
        node->m_row = static_cast<int>(row);
        last->nodes.push_back(node);
        return node;
    }
    // Inside a batch, a node added under a new node is part of a subtree nobody sees yet.
    Attach(parent, static_cast<int>(siblings.size()), std::span(&node, 1), m_batchDepth == 0);
    return node;
}

ExplorerNode* ExplorerNodes::Insert(const QString& relativeKey, const QString& beforeKey, const QString& key,
                                    const QString& text, int image)
{
    if (beforeKey.isEmpty())
        return Add(relativeKey, key, text, image);
    ExplorerNode* parent = CheckedParent(relativeKey, key);
    const ExplorerNode* before = Find(beforeKey);
    if (!before || before->m_parent != parent)
        throw KvlError(kElementNotFound, QStringLiteral("Element not found"));
    // A row is only sure among siblings that are all shown.
    if (m_batchDepth > 0)
        FlushBatch();
    const int row = before->m_row;
    ExplorerNode* node = NewNode(parent, key, text, image);
    if (m_batchDepth > 0) {
        // Alone, so that the subtree added below it comes with it when the batch ends.
        node->m_row = row;
        m_heldBack.push_back(HeldBack{parent, row, {node}});
        return node;
    }
    Attach(parent, row, std::span(&node, 1), true);
    return node;
}

void ExplorerNodes::BeginBatch()
{
    if (m_batchDepth++ == 0)
        m_batchStart = m_added;
}

void ExplorerNodes::EndBatch()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0)
        FlushBatch();
}

void ExplorerNodes::FlushBatch()
{
    std::vector<HeldBack> pending;
    pending.swap(m_heldBack);
    // An inserted node is only held back first in the list, so the rows of later entries hold.
    for (const HeldBack& held : pending)
        Attach(held.parent, held.row < 0 ? static_cast<int>(ChildrenOf(held.parent).size()) : held.row, held.nodes,
               true);
    // Later additions of this batch go straight in, as the tree now shows its nodes.
    m_batchStart = m_added;
}

ExplorerNode* ExplorerNodes::Item(const QString& key) const
{
    ExplorerNode* node = Find(key);
    if (!node)
        throw KvlError(kElementNotFound, QStringLiteral("Element not found"));
    return node;
}

ExplorerNode* ExplorerNodes::Item(int index) const
{
    Compact();
    if (index < 1 || index > Count())
        throw KvlError(kElementNotFound, QStringLiteral("Element not found"));
    return m_nodes[static_cast<size_t>(index - 1)].get();
}

int ExplorerNodes::IndexOf(const ExplorerNode* node) const
{
    Compact();
    const auto it =
        std::find_if(m_nodes.begin(), m_nodes.end(), [node](const auto& owned) { return owned.get() == node; });
    return it == m_nodes.end() ? 0 : static_cast<int>(it - m_nodes.begin()) + 1;
}

void ExplorerNodes::Remove(const QString& key)
{
    ExplorerNode* node = Item(key);
    FlushBatch();
    emit NodeRemoving(node);

    std::vector<ExplorerNode*> pending{node};
    while (!pending.empty()) {
        ExplorerNode* current = pending.back();
        pending.pop_back();
        current->m_removed = true;
        ++m_removed;
        --m_live;
        m_byKey.remove(current->m_key);
        if (size_t key = 0; TagId(current->m_tag, &key))
            m_byTagId.remove(key, current);
        pending.insert(pending.end(), current->m_children.begin(), current->m_children.end());
    }
    ExplorerNode* parent = node->m_parent;
    auto& siblings = ChildrenOf(parent);
    const int row = node->m_row;
    siblings.erase(siblings.begin() + row);
    for (auto it = siblings.begin() + row; it != siblings.end(); ++it)
        --(*it)->m_row;
    emit NodeRemoved(parent, row);
}

bool ExplorerNodes::TagId(const QString& tag, size_t* key)
{
    const qsizetype first = tag.indexOf(u'|');
    QStringView part = tag;
    if (first >= 0) {
        const qsizetype second = tag.indexOf(u'|', first + 1);
        part = second < 0 ? part.mid(first + 1) : part.mid(first + 1, second - first - 1);
    }
    *key = qHash(part);
    return !part.isEmpty();
}

void ExplorerNodes::Retag(ExplorerNode* node, const QString& oldTag)
{
    if (size_t key = 0; TagId(oldTag, &key))
        m_byTagId.remove(key, node);
    if (size_t key = 0; TagId(node->m_tag, &key))
        m_byTagId.insert(key, node);
}

bool ExplorerNodes::Tagged(const QString& id, std::vector<ExplorerNode*>& nodes) const
{
    nodes.clear();
    if (id.isEmpty())
        return false;
    const size_t key = qHash(QStringView(id));
    for (auto it = m_byTagId.constFind(key); it != m_byTagId.cend() && it.key() == key; ++it)
        nodes.push_back(it.value());
    std::sort(nodes.begin(), nodes.end(),
              [](const ExplorerNode* a, const ExplorerNode* b) { return a->m_serial < b->m_serial; });
    return true;
}

void ExplorerNodes::Compact() const
{
    if (m_removed == 0)
        return;
    std::erase_if(m_nodes, [](const auto& owned) { return owned->m_removed; });
    m_removed = 0;
}

void ExplorerNodes::Clear()
{
    emit Clearing();
    m_heldBack.clear();
    m_batchStart = m_added;
    m_byKey.clear();
    m_byTagId.clear();
    m_top.clear();
    m_nodes.clear();
    m_live = 0;
    m_removed = 0;
    emit Cleared();
}

ExplorerNodes& gExplorerNodes()
{
    // Never destroyed, like the connection: it lives until the process ends.
    static ExplorerNodes* instance = new ExplorerNodes();
    return *instance;
}
