#pragma once

#include "editor/StyleSheet.h"

#include <QDialog>

#include <array>

class HtmlEditor;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// "Cascading Style Sheet": the style sheet every description uses, edited tag by tag (alignment,
// page break, font) and stored on Apply or OK. Every way of closing it puts the stored sheet back
// into the open description windows.
class frmCSS : public QDialog
{
    Q_OBJECT

public:
    explicit frmCSS(QWidget* parent = nullptr);

    // Lists the stored sheet's tags; false, after telling the user, when it cannot be read.
    bool Form_Load();
    // Loads, then runs modally; a sheet that cannot be read closes the dialog at once.
    int exec() override;
    void done(int result) override;

    QGroupBox* fraTag;
    QListWidget* lstStyles;
    QPushButton* cmdAdd;
    QPushButton* cmdDelete;
    QPushButton* cmdClear;
    QGroupBox* fraStyle;
    QPlainTextEdit* txtStyles;
    QLabel* lblAlignment;
    QComboBox* cboAlignment;
    QLabel* Label1;
    QPushButton* cmdFont;
    QGroupBox* fraPageBreak;
    std::array<QRadioButton*, 3> optPageBreak;
    HtmlEditor* DHTMLEdit1;
    QWidget* DHTMLEdit1View;
    QPushButton* cmApply;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void lstStyles_Click();
    void cboAlignment_Click();
    void optPageBreak_Click(int index);
    void cmdFont_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdClear_Click();
    // Stores the sheet; false, after telling the user, when it could not be stored.
    bool cmApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    // The sheet as Apply stores it.
    StyleSheet Sheet() const;

private:
    // Rules by each list entry's item data.
    QList<StyleRule> m_rules;
    QString m_unplaced;
    bool m_loading = false;

    StyleRule* SelectedRule();
    int PageBreak() const;
    QWidget* BuildTagFrame();
    QWidget* BuildStyleFrame();
};
