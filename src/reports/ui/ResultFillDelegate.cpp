#include "reports/ui/ResultFillDelegate.h"

#include "core/ui/CellButtonEditor.h"
#include "publishing/ReportGridModel.h"
#include "reports/ResultFill.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

ResultFillDelegate::ResultFillDelegate(ResultFill& fill, const ReportGridModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_fill(fill), m_model(model)
{
}

QWidget* ResultFillDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const int row = m_model.GridRow(index);
    const int column = index.column();
    if (!m_fill.IsEditable(row, column))
        return nullptr;
    auto* self = const_cast<ResultFillDelegate*>(this);
    switch (column) {
        case ResultFill::colStatus: {
            auto* combo = new QComboBox(parent);
            combo->addItems(ResultFill::StatusList());
            // A choice is the edit, the same status chosen again too: it is written at once.
            connect(combo, &QComboBox::activated, self, [self, combo] {
                emit self->commitData(combo);
                emit self->closeEditor(combo, QAbstractItemDelegate::SubmitModelCache);
            });
            return combo;
        }
        case ResultFill::colComment: {
            auto* editor = new CellButtonEditor(parent);
            editor->Text()->setMaxLength(ResultFill::kCommentLength);
            // Keys and the focus reach the text, not the editor that holds it.
            editor->Text()->installEventFilter(self);
            connect(editor->Button(), &QToolButton::clicked, self,
                    [self, editor, row, column] { self->RunCellButton(editor, row, column); });
            return editor;
        }
        default: {
            auto* line = new QLineEdit(parent);
            line->setFrame(false);
            return line;
        }
    }
}

void ResultFillDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (QLineEdit* line = CellButtonEditor::LineOf(editor))
        line->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(editor))
        combo->setCurrentIndex(qMax(0, combo->findText(text)));
}

void ResultFillDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    const int row = m_model.GridRow(index);
    const QString text = CellButtonEditor::TextOf(editor);
    if (m_fill.ValidateEdit(row, index.column(), text))
        m_fill.grdResult_AfterEdit(row, index.column(), text);
}

bool ResultFillDelegate::eventFilter(QObject* object, QEvent* event)
{
    if (CellButtonEditor* owner = CellButtonEditor::Owning(object))
        return QStyledItemDelegate::eventFilter(owner, event);
    return QStyledItemDelegate::eventFilter(object, event);
}

void ResultFillDelegate::RunCellButton(CellButtonEditor* editor, int row, int column)
{
    // The text loses the focus as the editor goes; that is no edit to write.
    editor->Text()->removeEventFilter(this);
    emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    m_fill.grdResult_CellButtonClick(row, column);
}
