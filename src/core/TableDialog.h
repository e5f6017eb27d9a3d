#pragma once

#include <QString>

#include <functional>
#include <memory>

// The fields of the insert-table and table-properties dialog.
struct TableDialogFields
{
    bool rowsAndColsPageEnabled = true;  // the "&Rows and cols" page of the tab strip
    int cboWidthRange = 0;               // 0 "percent", 1 "pixels"
    QString txtWidth;
    int cboHeightRange = 0;
    QString txtHeight;
    int cboAlignment = 0;  // 0 "", 1 "left", 2 "right", 3 "center"
    QString txtBorder;
    QString txtSpacing;
    QString txtPading;
    QString txtBorderColor;
    QString txtBorderShadow;
    QString txtBorderLight;
    QString txtBackGroundColor;
};

// The table dialog, shown modally; its OK applies the fields to the table selected in the
// active editor.
class TableDialog
{
public:
    virtual ~TableDialog() = default;
    virtual void ShowModal(const TableDialogFields& fields) = 0;

    // The editor subsystem installs the factory of its dialog window.
    using Factory = std::function<std::unique_ptr<TableDialog>()>;
    static void SetFactory(Factory factory);
    static std::unique_ptr<TableDialog> Create();
};
