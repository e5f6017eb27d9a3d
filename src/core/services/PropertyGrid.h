#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <Qt>

// The property window's grid without a widget: three columns (margin, caption, value) whose rows
// the item classes write and the property window displays. Only the value column is edited.
class PropertyGrid : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMarginCol = 0;
    static constexpr int kCaptionCol = 1;
    static constexpr int kValueCol = 2;
    static constexpr int kCols = 3;

    // What the value cell's editor looks like: "" plain text, "..." an ellipsis button, texts joined
    // by "|" a pick list.
    static inline const QString kPlainEditor = QString();
    static inline const QString kButtonEditor = QStringLiteral("...");

    enum class ButtonPicture { None, Edit };

    explicit PropertyGrid(QObject* parent = nullptr);

    int Rows() const { return static_cast<int>(m_rows.size()); }
    // New rows start empty; rows beyond the count go.
    void SetRows(int rows);
    int Cols() const { return kCols; }
    // Empties every cell and resets its formatting; the rows stay.
    void Clear();

    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString& text);
    bool CellFontBold(int row, int col) const;
    Qt::Alignment CellAlignment(int row, int col) const;
    // Over the block of rows row1..row2 and columns col1..col2 (either order).
    void SetCellFontBold(int row1, int col1, int row2, int col2, bool bold);
    void SetCellAlignment(int row1, int col1, int row2, int col2, Qt::Alignment alignment);

    // A group row: a caption in bold and no value, heading the rows up to the next group.
    bool IsSubtotal(int row) const;
    void SetIsSubtotal(int row, bool group);
    int RowOutlineLevel(int row) const;
    void SetRowOutlineLevel(int row, int level);

    // The editor of the row's value cell and the picture on its button.
    QString EditKind(int row) const;
    ButtonPicture CellButtonPicture(int row) const;
    void SetEditor(int row, const QString& editKind, ButtonPicture picture = ButtonPicture::None);

    // Tells the window to show the rows as they now stand.
    void Refresh();

signals:
    void Changed();

private:
    struct Cell
    {
        QString text;
        bool bold = false;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    };
    struct Row
    {
        Cell cells[kCols];
        bool group = false;
        int level = 0;
        QString editKind;
        ButtonPicture picture = ButtonPicture::None;
    };

    Row& At(int row);
    const Row& At(int row) const;
    Cell& CellAt(int row, int col);
    const Cell& CellAt(int row, int col) const;
    template <class Apply>
    void ForBlock(int row1, int col1, int row2, int col2, Apply apply);

    QList<Row> m_rows;
};

// The program's one property grid, kept for the whole run.
PropertyGrid& gPropertyGrid();
