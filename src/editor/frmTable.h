#pragma once

#include <optional>

#include "core/TableDialog.h"

#include <QDialog>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QTableWidget;

// "Table properties": a new table's rows, columns and column widths on the first page, the
// table's layout and colours on the second. With the first page enabled OK pastes a new table
// into the editor in use; with it disabled OK sets the attributes of the table selected there.
// Closing it by any way emits QDialog::finished.
class frmTable : public QDialog
{
    Q_OBJECT

public:
    explicit frmTable(QWidget* parent = nullptr);

    // New-table mode, modeless: the defaults again, the first page enabled and in front.
    void ShowNewTable();
    // The boxes and lists as `fields` give them, the first page enabled as they say.
    void LoadFields(const TableDialogFields& fields);
    TableDialogFields Fields() const;

    QTabWidget* sstTabStrip;
    QGroupBox* fraTable;
    QComboBox* cboRow;
    QComboBox* cboCol;
    QTableWidget* grdTable;
    QTableWidget* grdColWidth;
    QGroupBox* Frame1;
    QLineEdit* txtPading;
    QLineEdit* txtSpacing;
    QLineEdit* txtBorder;
    QLineEdit* txtWidth;
    QLineEdit* txtHeight;
    QScrollBar* VScroll1;
    QScrollBar* VScroll2;
    QScrollBar* VScroll3;
    QScrollBar* VScroll4;
    QScrollBar* VScroll5;
    QComboBox* cboWidthRange;
    QComboBox* cboHeightRange;
    QComboBox* cboAlignment;
    QGroupBox* Frame2;
    QLineEdit* txtBorderColor;
    QLineEdit* txtBackGroundColor;
    QLineEdit* txtBorderShadow;
    QLineEdit* txtBorderLight;
    QPushButton* cmdBorderColor;
    QPushButton* cmdBackgroundColor;
    QPushButton* cmdBorderShadow;
    QPushButton* cmdBorderLight;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void Form_Load();
    void cboRow_Click();
    void cboCol_Click();
    // The width grid's percentages from the preview's column widths.
    void BuildColumnGrid();
    void cmdOK_Click();

private:
    // An existing table's own attributes as the dialog received them: kept boxes are not checked.
    std::optional<TableDialogFields> m_loaded;

    QWidget* BuildStructurePage();
    QWidget* BuildFormatPage();
    QScrollBar* AddNumberRow(QGridLayout* grid, int row, const QString& caption, QLineEdit*& box,
                             QComboBox* units = nullptr);
    QPushButton* AddColourRow(QGridLayout* grid, int row, const QString& caption, QLineEdit*& box);
    void ChooseColour(QLineEdit* box);
    // Copies the column widths of `from` to the other grid and recomputes the percentages.
    void SyncColumns(QTableWidget* from, QTableWidget* to);
    void ApplyToEditor(const TableDialogFields& fields);

    bool m_syncingColumns = false;
};

// The table dialog of an existing table: a fresh modal frmTable each time.
class TableDialogWindow final : public TableDialog
{
public:
    void ShowModal(const TableDialogFields& fields) override;
};

// Makes TableDialog::Create answer TableDialogWindow.
void InstallTableDialog();
