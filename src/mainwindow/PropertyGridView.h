#pragma once

#include <QTableView>
#include <functional>

class PropertyGridModel;

// The property pane's grid: three columns over the property rows, the value column edited in
// place. Its edit steps are the pane's: the pane may refuse an edit before the editor opens, keep
// it open while the text is not acceptable, and run a cell's button.
class PropertyGridView : public QTableView
{
    Q_OBJECT

public:
    explicit PropertyGridView(PropertyGridModel* model, QWidget* parent = nullptr);
    using QTableView::edit;

    PropertyGridModel* Model() const { return m_model; }
    // The open editor's text; empty with no editor open.
    QString EditorText() const;
    QWidget* Editor() const;
    // Puts the caret of the open editor after its last character.
    void CaretToEnd();

    // True refuses the edit of a cell; asked before any editor opens.
    std::function<bool(int row, int col)> BeforeEdit;
    // True keeps the editor open with the text typed.
    std::function<bool(int row, int col, const QString& text)> ValidateEdit;
    std::function<void(int row, int col)> CellButtonClick;
    std::function<void(const QModelIndex& index)> Click;
    std::function<void(const QKeyEvent* event)> KeyDown;
    std::function<void(const QModelIndex& index)> MouseMove;

    // Whether the open editor's text may leave it.
    bool EditorAcceptable() const;
    // The button of a "..." cell: closes the editor without storing, then runs the cell's action.
    void RunCellButton(QWidget* editor, int row, int col);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void ApplyFolds();
    // A press on a caption moves to its value; a press in the margin of a group folds it.
    bool PressOnMargin(const QModelIndex& index);

    PropertyGridModel* m_model;
    QPersistentModelIndex m_editing;
};
