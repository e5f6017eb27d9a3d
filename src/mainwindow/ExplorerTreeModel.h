#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>

class ExplorerNode;
class ExplorerNodes;

// Shows the explorer's node collection to a tree view, one column. The collection stays the one
// place where nodes are written: this model only follows its signals. A test plan not filled yet
// shows an expander and is filled when the view first opens it.
class ExplorerTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    using Filler = std::function<void(ExplorerNode* plan)>;

    explicit ExplorerTreeModel(ExplorerNodes& nodes, QObject* parent = nullptr);

    void SetFiller(Filler filler) { m_filler = std::move(filler); }
    ExplorerNode* NodeAt(const QModelIndex& index) const;
    QModelIndex IndexOf(const ExplorerNode* node) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Every node can be dragged; what a drag carries is the explorer's matter.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    // False for a node a batch still holds back: views must not hear of it yet.
    bool Shown(const ExplorerNode* node) const;
    QIcon Picture(int image) const;

    ExplorerNodes& m_nodes;
    Filler m_filler;
    mutable QHash<int, QIcon> m_pictures;
};
