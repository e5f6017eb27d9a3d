#pragma once

#include <QStyledItemDelegate>

class CellButtonEditor;
class ReportGridModel;
class ResultFill;

// The editors of the result grid's cells: a pick list of the status texts, numbers and the comment
// typed in place, the comment's "..." button opening its dialog. A finished edit goes through the
// window's edit check and cell write; an edit the check refuses is dropped, the cell keeping what
// it showed.
class ResultFillDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    ResultFillDelegate(ResultFill& fill, const ReportGridModel& model, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // Closes the comment's editor unwritten, then runs the dialog in its place.
    void RunCellButton(CellButtonEditor* editor, int row, int column);

    ResultFill& m_fill;
    const ReportGridModel& m_model;
};
