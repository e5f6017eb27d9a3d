#include "core/ui/UsersItemDelegate.h"

#include "core/UsersTableModel.h"

#include <QComboBox>
#include <QLineEdit>

QWidget* UsersItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    if (index.column() == UsersTableModel::Category) {
        auto* list = new QComboBox(parent);
        list->addItems(UsersTableModel::CategoryNames());
        return list;
    }
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* box = qobject_cast<QLineEdit*>(editor))
        box->setMaxLength(UsersTableModel::EditLength(index.column()));
    return editor;
}

void UsersItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        list->setCurrentIndex(list->findText(index.data(Qt::EditRole).toString()));
        return;
    }
    if (auto* box = qobject_cast<QLineEdit*>(editor)) {
        box->setText(index.data(Qt::EditRole).toString());
        // The edit starts with no text selected.
        box->deselect();
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void UsersItemDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        // A stored category outside the list ("Unknown") stays as long as nothing is chosen.
        if (list->currentIndex() >= 0)
            model->setData(index, list->currentText());
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}
