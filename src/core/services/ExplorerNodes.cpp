#include "core/services/ExplorerNodes.h"

#include "core/NodeKey.h"
#include "platform/KvlError.h"

#include <algorithm>

ExplorerNodes::ExplorerNodes(QObject* parent) : QObject(parent), m_pathSeparator(NodeKey::kSeparator) {}

ExplorerNodes::~ExplorerNodes() = default;

ExplorerNode* ExplorerNodes::Add(const QString& relativeKey, const QString& key, const QString& text, int image)
{
    if (key.isEmpty())
        throw KvlError(KvlError::kGeneric, QStringLiteral("Invalid procedure call or argument"));
    if (m_byKey.contains(key))
        throw KvlError(kKeyNotUnique, QStringLiteral("Key is not unique in collection"));
    ExplorerNode* parent = nullptr;
    if (!relativeKey.isEmpty()) {
        parent = m_byKey.value(relativeKey, nullptr);
        if (!parent)
            throw KvlError(kElementNotFound, QStringLiteral("Element not found"));
    }
    // Removed nodes may not outnumber those in the tree.
    if (m_removed > m_live)
        Compact();
    m_nodes.push_back(std::unique_ptr<ExplorerNode>(new ExplorerNode(this, key, text, image)));
    ++m_live;
    ExplorerNode* node = m_nodes.back().get();
    node->m_serial = ++m_added;
    node->m_parent = parent;
    (parent ? parent->m_children : m_top).push_back(node);
    m_byKey.insert(key, node);
    emit NodeAdded(node);
    return node;
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
    auto& siblings = node->m_parent ? node->m_parent->m_children : m_top;
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
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
