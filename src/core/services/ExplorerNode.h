#pragma once

#include <QString>
#include <vector>

class ExplorerNodes;

// One node of the explorer tree: an occurrence of an item, found by its node key. Nodes are owned
// by their ExplorerNodes; a pointer stays valid until its node (or an ancestor) is removed.
class ExplorerNode
{
public:
    const QString& Key() const { return m_key; }
    const QString& Text() const { return m_text; }
    void SetText(const QString& text);
    const QString& Tag() const { return m_tag; }
    void SetTag(const QString& tag);
    int Image() const { return m_image; }
    void SetImage(int image);

    ExplorerNode* Parent() const { return m_parent; }
    const std::vector<ExplorerNode*>& ChildNodes() const { return m_children; }
    int Children() const { return static_cast<int>(m_children.size()); }
    // First child, or null.
    ExplorerNode* Child() const { return m_children.empty() ? nullptr : m_children.front(); }
    ExplorerNode* FirstSibling() const;
    ExplorerNode* LastSibling() const;
    // The next sibling, or null for the last one.
    ExplorerNode* Next() const;
    // The previous sibling, or null for the first one.
    ExplorerNode* Previous() const;
    // Position among the nodes of the whole collection, counted from 1 in the order they were added.
    int Index() const;
    // Position among its siblings, from 0; kept by the collection, so no siblings are walked.
    int Row() const { return m_row; }
    // False for a test plan whose subtree has not been read yet: the explorer reads it when the
    // plan is first opened, and whoever fills it marks it filled.
    bool Filled() const { return m_filled; }
    void SetFilled(bool filled) { m_filled = filled; }
    // The texts from the top node down to this one, joined by the tree's path separator.
    QString FullPath() const;

private:
    friend class ExplorerNodes;
    ExplorerNode(ExplorerNodes* owner, const QString& key, const QString& text, int image)
        : m_owner(owner), m_key(key), m_text(text), m_image(image)
    {
    }
    const std::vector<ExplorerNode*>& Siblings() const;

    ExplorerNodes* m_owner;
    QString m_key;
    QString m_text;
    QString m_tag;
    int m_image = 0;
    bool m_removed = false;
    quint64 m_serial = 0;  // rank among the nodes added, for the insertion order
    int m_row = 0;
    bool m_filled = true;
    ExplorerNode* m_parent = nullptr;
    std::vector<ExplorerNode*> m_children;
};
