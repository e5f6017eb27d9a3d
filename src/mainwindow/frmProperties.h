#pragma once

#include <QWidget>
#include <optional>

class PropertyGridModel;
class PropertyGridView;
class QFrame;
class QKeyEvent;
class QModelIndex;
class QSplitter;
class QTextEdit;
class frmMdi;

// The property pane: the selected item's properties in a grid, edited in place, and under it a
// box that names and explains the current row. The rows are the item classes' (gPropertyGrid());
// the pane shows them and routes the grid's edit steps to the item.
class frmProperties : public QWidget
{
    Q_OBJECT

public:
    explicit frmProperties(frmMdi* main, QWidget* parent = nullptr);
    ~frmProperties() override;

    PropertyGridView* grdProperties() const { return m_grid; }
    PropertyGridModel* Model() const { return m_model; }
    QTextEdit* txtDescription() const { return m_description; }
    QSplitter* Splitter() const { return m_splitter; }
    // The description frame's height in twips.
    double FrameHeight() const { return m_frame; }

    // Empties the grid and sets up its columns and font.
    void grdProperties_Initialize();
    // Marks the current row's caption and explains the row in the box below.
    void grdProperties_RowColChange();
    // Each answers the grid's Cancel: true refuses the edit, or keeps the editor open.
    bool grdProperties_BeforeEdit(int row, int col);
    bool grdProperties_ValidateEdit(int row, int col, const QString& text);
    void grdProperties_AfterEdit(int row, int col);
    // A click on the value of a name, an iteration or a procedure's work load edits it at once.
    void grdProperties_Click(const QModelIndex& index);
    void grdProperties_KeyDown(const QKeyEvent* event);
    void grdProperties_CellButtonClick(int row, int col);
    void grdProperties_MouseMove(const QModelIndex& index);

    // The pointer over cell (row, col) whose row has that caption; nullopt leaves it as it is.
    static std::optional<Qt::CursorShape> PointerFor(int row, int col, const QString& caption);

    // Cuts the grid off from the pane's handlers, for a pane or main window being destroyed.
    void Detach();

    // Moves the border to strip top `y` (twips), within its limits, and saves the frame's height.
    void SizeControls(double y);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    double InnerHeight() const;
    double OuterHeight() const;
    // Lays grid and frame out with the frame `m_frame` high.
    void ApplyFrame();

    frmMdi* m_main;
    PropertyGridModel* m_model;
    PropertyGridView* m_grid;
    QSplitter* m_splitter;
    QFrame* m_shape;
    QTextEdit* m_description;
    double m_frame;
};
