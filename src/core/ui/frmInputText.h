#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The modal one-line text input popup behind InputText. The caller sets the caption, the text
// box's maximum length and its text, shows the form modally and reads mblnOK and mstrText.
class frmInputText : public QDialog
{
    Q_OBJECT

public:
    explicit frmInputText(QWidget* parent = nullptr);

    // True once OK was pressed; Cancel, Escape and the close box leave it false.
    bool mblnOK = false;
    // The text of txtFilled at the moment OK was pressed.
    QString mstrText;

    QLineEdit* txtFilled;
    QPushButton* cmdOKButton;
    QPushButton* cmdCancelButton;

    void cmdOKButton_Click();
    void cmdCancelButton_Click();

private:
    // Text pasted or dropped into the box keeps its first line only.
    void txtFilled_Change(const QString& text);

    QString m_lastText;
};
