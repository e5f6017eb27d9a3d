#include "mainwindow/ExplorerTreeModel.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNodes.h"
#include "mainwindow/ItemPicture.h"

ExplorerTreeModel::ExplorerTreeModel(ExplorerNodes& nodes, QObject* parent) : QAbstractItemModel(parent), m_nodes(nodes)
{
    connect(&nodes, &ExplorerNodes::RowsAdding, this,
            [this](ExplorerNode* parent, int first, int last) { beginInsertRows(IndexOf(parent), first, last); });
    connect(&nodes, &ExplorerNodes::RowsAdded, this, [this] { endInsertRows(); });
    connect(&nodes, &ExplorerNodes::NodeRemoving, this,
            [this](ExplorerNode* node) { beginRemoveRows(IndexOf(node->Parent()), node->Row(), node->Row()); });
    connect(&nodes, &ExplorerNodes::NodeRemoved, this, [this] { endRemoveRows(); });
    connect(&nodes, &ExplorerNodes::Clearing, this, [this] { beginResetModel(); });
    connect(&nodes, &ExplorerNodes::Cleared, this, [this] { endResetModel(); });
    connect(&nodes, &ExplorerNodes::NodeChanged, this, [this](ExplorerNode* node) {
        if (Shown(node)) {
            const QModelIndex index = IndexOf(node);
            emit dataChanged(index, index);
        }
    });
}

bool ExplorerTreeModel::Shown(const ExplorerNode* node) const
{
    for (; node; node = node->Parent()) {
        const auto& siblings = node->Parent() ? node->Parent()->ChildNodes() : m_nodes.TopNodes();
        const size_t row = static_cast<size_t>(node->Row());
        if (row >= siblings.size() || siblings[row] != node)
            return false;
    }
    return true;
}

ExplorerNode* ExplorerTreeModel::NodeAt(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<ExplorerNode*>(index.internalPointer()) : nullptr;
}

QModelIndex ExplorerTreeModel::IndexOf(const ExplorerNode* node) const
{
    return node ? createIndex(node->Row(), 0, const_cast<ExplorerNode*>(node)) : QModelIndex();
}

QModelIndex ExplorerTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const ExplorerNode* node = NodeAt(parent);
    const auto& children = node ? node->ChildNodes() : m_nodes.TopNodes();
    if (column != 0 || row < 0 || static_cast<size_t>(row) >= children.size())
        return {};
    return createIndex(row, 0, children[static_cast<size_t>(row)]);
}

QModelIndex ExplorerTreeModel::parent(const QModelIndex& child) const
{
    const ExplorerNode* node = NodeAt(child);
    return node ? IndexOf(node->Parent()) : QModelIndex();
}

int ExplorerTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const ExplorerNode* node = NodeAt(parent);
    return static_cast<int>(node ? node->ChildNodes().size() : m_nodes.TopNodes().size());
}

int ExplorerTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant ExplorerTreeModel::data(const QModelIndex& index, int role) const
{
    const ExplorerNode* node = NodeAt(index);
    if (!node)
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return node->Text();
        case Qt::DecorationRole:
            return Picture(node->Image());
        default:
            return {};
    }
}

bool ExplorerTreeModel::hasChildren(const QModelIndex& parent) const
{
    return canFetchMore(parent) || rowCount(parent) > 0;
}

bool ExplorerTreeModel::canFetchMore(const QModelIndex& parent) const
{
    const ExplorerNode* node = NodeAt(parent);
    return node && !node->Filled() && m_filler;
}

void ExplorerTreeModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        m_filler(NodeAt(parent));
}

QIcon ExplorerTreeModel::Picture(int image) const
{
    if (image < kImageRoot || image > kImageProcedure)
        return {};
    auto it = m_pictures.find(image);
    if (it == m_pictures.end())
        it = m_pictures.insert(image, ItemPicture(image));
    return *it;
}

Qt::ItemFlags ExplorerTreeModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? QAbstractItemModel::flags(index) | Qt::ItemIsDragEnabled : Qt::NoItemFlags;
}
