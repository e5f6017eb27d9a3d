#include "mainwindow/frmList.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNode.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/ListWindow.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/frmExplorer.h"
#include "mainwindow/frmMdi.h"
#include "model/SelectedProperties.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kHint = QStringLiteral("Double click on an item to highlight it in the explorer.");

// The loaders' list: a new window for every list, closed before the loader goes on.
class ModalListWindow : public ListWindow
{
public:
    explicit ModalListWindow(frmMdi* main) : m_main(main) {}
    void ShowModal(const ItemList& rows) override
    {
        frmList list(rows, m_main, m_main);
        list.exec();
    }

private:
    QPointer<frmMdi> m_main;
};

}  // namespace

frmList::frmList(const ItemList& rows, frmMdi* main, QWidget* parent)
    : QDialog(parent),
      m_main(main),
      m_model(new ItemListModel(rows, this)),
      m_items(new QTreeView(this)),
      m_status(new QStatusBar(this)),
      m_count(new QLabel(m_status)),
      m_hint(new QLabel(kHint, m_status))
{
    setObjectName(QStringLiteral("frmList"));
    setWindowTitle(QStringLiteral("Item's list"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setSizeGripEnabled(true);
    resize(640, 360);
    m_items->setObjectName(QStringLiteral("lvwItems"));
    m_items->setModel(m_model);
    m_items->setRootIsDecorated(false);
    m_items->setUniformRowHeights(true);
    m_items->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_items->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_items->header()->setSectionsClickable(true);
    m_items->header()->setStretchLastSection(true);
    m_status->setObjectName(QStringLiteral("staList"));
    m_status->addWidget(m_count);
    m_status->addWidget(m_hint, 1);
    m_hint->setToolTip(kHint);
    m_count->setText(rows.Count() > 0 ? QString::number(rows.Count()) + QStringLiteral(" items found.")
                                      : QStringLiteral("No items founded."));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 0);
    layout->addWidget(m_items);
    layout->addWidget(m_status);
    connect(m_items->header(), &QHeaderView::sectionClicked, this, &frmList::lvwItems_ColumnClick);
    connect(m_items, &QTreeView::doubleClicked, this, &frmList::lvwItems_DblClick);
}

QString frmList::PanelText(int panel) const
{
    return panel == 1 ? m_count->text() : panel == 2 ? m_hint->text() : QString();
}

void frmList::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_laidOut)
        return;
    m_laidOut = true;
    // A quarter, a half and a quarter of the list's width when it first shows.
    const int width = m_items->viewport()->width();
    m_items->setColumnWidth(0, width / 4);
    m_items->setColumnWidth(1, width / 2);
}

void frmList::lvwItems_ColumnClick(int column)
{
    if (m_sorted && column == m_sortColumn)
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        m_sortOrder = Qt::AscendingOrder;
    m_sortColumn = column;
    m_sorted = true;
    m_items->header()->setSortIndicatorShown(true);
    m_items->header()->setSortIndicator(column, m_sortOrder);
    m_model->sort(column, m_sortOrder);
}

void frmList::lvwItems_DblClick()
{
    const QModelIndex current = m_items->currentIndex();
    if (!current.isValid() || !m_main || !m_main->Explorer())
        return;
    frmExplorer* explorer = m_main->Explorer();
    const QString tag = m_model->RowAt(current.row()).tag;
    try {
        // The explorer reads a plan when a key below it is asked for; a key that is still
        // missing names an occurrence gone since the list was filled: the deepest node of its
        // path that remains is shown opened.
        ExplorerNode* node = explorer->NodeByKey(tag);
        if (!node) {
            QString key = tag;
            ExplorerNode* above = nullptr;
            while (!above) {
                const qsizetype cut = key.lastIndexOf(NodeKey::kSeparator);
                if (cut <= 0)
                    break;
                key = key.left(cut);
                above = gExplorerNodes().Find(key);
            }
            explorer->ShowNode(above);
            throw KvlError(ExplorerNodes::kElementNotFound, QStringLiteral("Element not found: ") + tag);
        }
        explorer->SelectNode(tag);
        Refresh_Properties();
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_ListDblClick:"), error);
    }
}

void InstallListWindow(frmMdi* main)
{
    auto* window = new ModalListWindow(main);
    setListWindow(window);
    QObject::connect(main, &QObject::destroyed, [window] {
        if (&listWindow() == window)
            setListWindow(nullptr);
        delete window;
    });
}
