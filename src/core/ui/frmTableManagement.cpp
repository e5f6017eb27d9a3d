#include "core/ui/frmTableManagement.h"

#include "core/UsersTableModel.h"
#include "core/ui/DialogButtons.h"
#include "core/ui/Twips.h"
#include "core/ui/UsersItemDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>

frmTableManagement::frmTableManagement(QWidget* parent) : QDialog(parent), m_users(new UsersTableModel(this))
{
    setWindowTitle(QStringLiteral("Users Management"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    grdTable = new QTableView(this);
    grdTable->setModel(m_users);
    grdTable->setItemDelegate(new UsersItemDelegate(grdTable));
    grdTable->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                              QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked);
    grdTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdTable->verticalHeader()->hide();
    grdTable->installEventFilter(this);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdApply = new QPushButton(QStringLiteral("&Apply"), this);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    LayOutDialog(this, grdTable, {cmdOK, cmdApply, cmdCancel});

    connect(cmdOK, &QPushButton::clicked, this, &frmTableManagement::cmdOK_Click);
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmTableManagement::cmdCancel_Click);
    connect(grdTable->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmTableManagement::grdTable_CurrentChanged);
    connect(grdTable, &QTableView::clicked, this, &frmTableManagement::grdTable_Clicked);
    Form_Load();
}

void frmTableManagement::Form_Load()
{
    const int widths[] = {280, 1500, 1500, 2000, 1000};
    grdTable->horizontalHeader()->setMinimumSectionSize(1);
    for (int column = 0; column < UsersTableModel::Id; ++column)
        grdTable->setColumnWidth(column, Pixels(this, widths[column]));
    grdTable->setColumnHidden(UsersTableModel::Id, true);
    resize(Pixels(this, 280 + 1500 + 1500 + 2000 + 1000) + 40, 320);
    m_users->LoadUsers();
}

int frmTableManagement::cmdApply_Click()
{
    // The cell being typed into counts too.
    QWidget* editor = QApplication::focusWidget();
    if (editor && grdTable->viewport()->isAncestorOf(editor))
        emit grdTable->itemDelegate()->commitData(editor);
    return m_users->Apply();
}

void frmTableManagement::cmdOK_Click()
{
    if (cmdApply_Click() == 0)
        accept();
}

void frmTableManagement::cmdCancel_Click()
{
    reject();
}

void frmTableManagement::grdTable_KeyDown(int key)
{
    if (key != Qt::Key_Delete)
        return;
    QList<int> rows;
    for (const QModelIndex& index : grdTable->selectionModel()->selectedIndexes())
        rows.append(index.row());
    if (rows.isEmpty() && grdTable->currentIndex().isValid())
        rows.append(grdTable->currentIndex().row());
    m_users->DeleteRows(rows);
}

bool frmTableManagement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grdTable && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        grdTable_KeyDown(Qt::Key_Delete);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmTableManagement::grdTable_CurrentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    m_users->HighlightRow(-1);
    if (m_returning || !previous.isValid() || current.row() == previous.row()) {
        m_users->MarkRow(current.row());
        return;
    }
    if (!m_users->CanLeaveRow(previous.row())) {
        m_returning = true;
        grdTable->setCurrentIndex(m_users->index(previous.row(), UsersTableModel::Name));
        m_returning = false;
        grdTable->edit(grdTable->currentIndex());
        return;
    }
    m_users->MarkRow(current.row());
}

void frmTableManagement::grdTable_Clicked(const QModelIndex& index)
{
    m_users->HighlightRow(index.column() == UsersTableModel::Marker ? index.row() : -1);
}
