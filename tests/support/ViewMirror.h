#pragma once

#include "core/services/ExplorerNodes.h"

#include <QHash>
#include <QList>
#include <algorithm>
#include <QObject>
#include <QStringList>

// Follows the collection's signals as a view does, knowing only the children it was told of,
// and notes every point where that differs from the collection.
class ViewMirror
{
public:
    explicit ViewMirror(ExplorerNodes& nodes) : m_nodes(nodes)
    {
        Learn(nullptr);
        QObject::connect(&nodes, &ExplorerNodes::RowsAdding, &m_context, [this](ExplorerNode* parent, int first) {
            Expect(m_known.contains(parent), "rows added under a node the view does not know");
            Expect(Same(Actual(parent), m_known.value(parent)), "children changed before RowsAdding");
            Expect(first >= 0 && first <= m_known.value(parent).size(), "first row out of range");
        });
        QObject::connect(&nodes, &ExplorerNodes::RowsAdded, &m_context,
                         [this](ExplorerNode* parent, int first, int last) {
                             const QList<ExplorerNode*> actual = Actual(parent);
                             QList<ExplorerNode*> expected = m_known.value(parent);
                             for (int row = first; row <= last && row < actual.size(); ++row)
                                 expected.insert(row, actual[row]);
                             Expect(Same(actual, expected), "RowsAdded names other rows than were added");
                             m_known[parent] = actual;
                             for (int row = first; row <= last && row < actual.size(); ++row)
                                 Learn(actual[row]);
                             CheckRows(parent);
                         });
        QObject::connect(&nodes, &ExplorerNodes::NodeRemoving, &m_context, [this](ExplorerNode* node) {
            Expect(m_known.value(node->Parent()).value(node->Row()) == node, "removing a node not at its row");
        });
        QObject::connect(&nodes, &ExplorerNodes::NodeRemoved, &m_context, [this](ExplorerNode* parent, int row) {
            m_known[parent].removeAt(row);
            Expect(Same(Actual(parent), m_known.value(parent)), "NodeRemoved names another row");
            CheckRows(parent);
        });
        QObject::connect(&nodes, &ExplorerNodes::Cleared, &m_context, [this] {
            m_known.clear();
            Learn(nullptr);
        });
    }

    // Every difference noted so far, plus one for each node whose children the view would show
    // wrongly now.
    QStringList Faults()
    {
        Compare(nullptr);
        return m_faults;
    }

private:
    // Qt's list comparison hands an empty list's null data to memcmp, which the sanitizer rejects.
    static bool Same(const QList<ExplorerNode*>& left, const QList<ExplorerNode*>& right)
    {
        return std::equal(left.begin(), left.end(), right.begin(), right.end());
    }

    QList<ExplorerNode*> Actual(const ExplorerNode* parent) const
    {
        const auto& children = parent ? parent->ChildNodes() : m_nodes.TopNodes();
        return QList<ExplorerNode*>(children.begin(), children.end());
    }
    void Learn(ExplorerNode* node)
    {
        m_known[node] = Actual(node);
        for (ExplorerNode* child : m_known[node])
            Learn(child);
    }
    void CheckRows(const ExplorerNode* parent)
    {
        const QList<ExplorerNode*> children = Actual(parent);
        for (int row = 0; row < children.size(); ++row)
            Expect(children[row]->Row() == row, "a cached row is stale");
    }
    void Compare(ExplorerNode* node)
    {
        Expect(Same(Actual(node), m_known.value(node)), "the view misses children of " + (node ? node->Key() : "top"));
        for (ExplorerNode* child : Actual(node))
            Compare(child);
    }
    void Expect(bool ok, const QString& fault)
    {
        if (!ok)
            m_faults << fault;
    }

    ExplorerNodes& m_nodes;
    QObject m_context;
    QHash<const ExplorerNode*, QList<ExplorerNode*>> m_known;
    QStringList m_faults;
};
