#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QGroupBox;
class QPushButton;

// The options of an XML import. The main window hands over the chosen file and shows the dialog
// modally; OK runs the import and closes it, any other way out imports nothing.
class frmDlgImport : public QDialog
{
    Q_OBJECT

public:
    explicit frmDlgImport(QWidget* parent = nullptr);

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& fileName) { m_fileName = fileName; }

    QGroupBox* Frame1;
    QCheckBox* chkTestConfiguration;
    QCheckBox* chkKeepName;
    QCheckBox* chkCSS;
    QPushButton* OKButton;

    void OKButton_Click();

private:
    QString m_fileName;
};
