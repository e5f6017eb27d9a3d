#include "mainwindow/PropertyGridView.h"

#include "core/services/PropertyGrid.h"
#include "core/ui/CellButtonEditor.h"
#include "mainwindow/PropertyGridModel.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace {

// Chooses each value cell's editor from the row's edit kind, which the pane's before-edit step
// has just set.
class PropertyDelegate : public QStyledItemDelegate
{
public:
    explicit PropertyDelegate(PropertyGridView* view) : QStyledItemDelegate(view), m_view(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const PropertyGrid& grid = m_view->Model()->Grid();
        const int row = index.row();
        const QString kind = row < grid.Rows() ? grid.EditKind(row) : QString();
        if (kind == PropertyGrid::kButtonEditor) {
            auto* editor = new CellButtonEditor(parent);
            editor->Text()->installEventFilter(const_cast<PropertyDelegate*>(this));
            const int col = index.column();
            QObject::connect(editor->Button(), &QToolButton::clicked, m_view,
                             [view = m_view, editor, row, col] { view->RunCellButton(editor, row, col); });
            return editor;
        }
        if (!kind.isEmpty()) {
            auto* combo = new QComboBox(parent);
            combo->addItems(kind.split(QLatin1Char('|')));
            // A choice is the edit: it is stored at once.
            QObject::connect(combo, &QComboBox::activated, m_view, [this, combo] {
                emit const_cast<PropertyDelegate*>(this)->commitData(combo);
                emit const_cast<PropertyDelegate*>(this)->closeEditor(combo, QAbstractItemDelegate::SubmitModelCache);
            });
            return combo;
        }
        auto* line = new QLineEdit(parent);
        line->setFrame(false);
        return line;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (QLineEdit* line = CellButtonEditor::LineOf(editor))
            line->setText(text);
        else if (auto* combo = qobject_cast<QComboBox*>(editor))
            combo->setCurrentIndex(std::max(0, combo->findText(text)));
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, CellButtonEditor::TextOf(editor), Qt::EditRole);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        // Enter, Tab or leaving the editor with a text the row does not take keeps it open.
        bool leaves = event->type() == QEvent::FocusOut;
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            leaves = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab;
        }
        if (leaves && !m_view->EditorAcceptable())
            return true;
        // The focus sits in a button cell's text, not in the cell's editor: leaving the text for
        // anything outside the editor hands the typed text over, as leaving a plain editor does.
        if (auto* owner = CellButtonEditor::Owning(object); owner && event->type() == QEvent::FocusOut) {
            const QWidget* focus = QApplication::focusWidget();
            while (focus && focus != owner)
                focus = focus->parentWidget();
            if (!focus) {
                emit const_cast<PropertyDelegate*>(this)->commitData(owner);
                emit const_cast<PropertyDelegate*>(this)->closeEditor(owner, QAbstractItemDelegate::NoHint);
            }
            return false;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    PropertyGridView* m_view;
};

}  // namespace

PropertyGridView::PropertyGridView(PropertyGridModel* model, QWidget* parent) : QTableView(parent), m_model(model)
{
    setObjectName(QStringLiteral("grdProperties"));
    setModel(model);
    setItemDelegate(new PropertyDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setMouseTracking(true);
    setWordWrap(false);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setMinimumSectionSize(1);
    connect(model, &PropertyGridModel::FoldsChanged, this, &PropertyGridView::ApplyFolds);
}

QWidget* PropertyGridView::Editor() const
{
    return m_editing.isValid() ? indexWidget(m_editing) : nullptr;
}

QString PropertyGridView::EditorText() const
{
    return CellButtonEditor::TextOf(Editor());
}

void PropertyGridView::CaretToEnd()
{
    if (QLineEdit* line = CellButtonEditor::LineOf(Editor()))
        line->setCursorPosition(static_cast<int>(line->text().size()));
}

bool PropertyGridView::EditorAcceptable() const
{
    QWidget* editor = Editor();
    return !editor || !ValidateEdit ||
           !ValidateEdit(m_editing.row(), m_editing.column(), CellButtonEditor::TextOf(editor));
}

bool PropertyGridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool starts =
        index.isValid() && state() != EditingState && (trigger == AllEditTriggers || (editTriggers() & trigger)) &&
        (trigger != AnyKeyPressed ||
         (event && event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->text().isEmpty()));
    if (!starts)
        return QTableView::edit(index, trigger, event);
    if (BeforeEdit && BeforeEdit(index.row(), index.column()))
        return false;
    if (!QTableView::edit(index, trigger, event))
        return false;
    m_editing = index;
    return true;
}

void PropertyGridView::RunCellButton(QWidget* editor, int row, int col)
{
    // The action runs in place of typing: the editor goes first, unsaved.
    closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    if (CellButtonClick)
        CellButtonClick(row, col);
}

void PropertyGridView::commitData(QWidget* editor)
{
    if (editor == Editor() && !EditorAcceptable())
        return;
    QTableView::commitData(editor);
}

void PropertyGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == Editor() && hint != QAbstractItemDelegate::RevertModelCache && !EditorAcceptable())
        return;
    if (editor == Editor())
        m_editing = QModelIndex();
    QTableView::closeEditor(editor, hint);
}

void PropertyGridView::keyPressEvent(QKeyEvent* event)
{
    if (KeyDown)
        KeyDown(event);
    QTableView::keyPressEvent(event);
}

bool PropertyGridView::PressOnMargin(const QModelIndex& index)
{
    if (!index.isValid())
        return false;
    if (index.column() == PropertyGrid::kMarginCol) {
        m_model->ToggleFold(index.row());
        return true;
    }
    if (index.column() == PropertyGrid::kCaptionCol) {
        setCurrentIndex(index.sibling(index.row(), PropertyGrid::kValueCol));
        return true;
    }
    return false;
}

void PropertyGridView::mousePressEvent(QMouseEvent* event)
{
    // A value the row does not take holds the editor: the click goes nowhere.
    if (Editor() && !EditorAcceptable()) {
        Editor()->setFocus();
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    if (PressOnMargin(index))
        return;
    QTableView::mousePressEvent(event);
}

void PropertyGridView::mouseReleaseEvent(QMouseEvent* event)
{
    if (Editor() && !EditorAcceptable())
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableView::mouseReleaseEvent(event);
    if (index.isValid() && index.column() == PropertyGrid::kCaptionCol)
        setCurrentIndex(index.sibling(index.row(), PropertyGrid::kValueCol));
    if (event->button() == Qt::LeftButton && Click)
        Click(index);
}

void PropertyGridView::mouseMoveEvent(QMouseEvent* event)
{
    if (MouseMove)
        MouseMove(indexAt(event->position().toPoint()));
    QTableView::mouseMoveEvent(event);
}

void PropertyGridView::ApplyFolds()
{
    for (int row = 0; row < m_model->rowCount(); ++row)
        setRowHidden(row, m_model->RowHidden(row));
}
