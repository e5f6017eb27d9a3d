#include "publishing/ui/frmDlgImport.h"

#include "core/ui/DialogButtons.h"
#include "publishing/XmlImportCommand.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

frmDlgImport::frmDlgImport(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("XML Import"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Frame1 = new QGroupBox(QStringLiteral("Options"), this);
    chkTestConfiguration = new QCheckBox(QStringLiteral("Update the test configuration"), Frame1);
    chkTestConfiguration->setObjectName(QStringLiteral("chkTestConfiguration"));
    chkKeepName = new QCheckBox(QStringLiteral("Keep test components name"), Frame1);
    chkKeepName->setObjectName(QStringLiteral("chkKeepName"));
    chkCSS = new QCheckBox(QStringLiteral("Import Cascading StyleSheet within database"), Frame1);
    chkCSS->setObjectName(QStringLiteral("chkCSS"));
    auto* options = new QVBoxLayout(Frame1);
    options->addWidget(chkTestConfiguration);
    options->addWidget(chkKeepName);
    options->addWidget(chkCSS);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    LayOutDialog(this, Frame1, {OKButton});
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &frmDlgImport::OKButton_Click);
}

void frmDlgImport::OKButton_Click()
{
    XmlImportOptions options;
    options.configuration = chkTestConfiguration->isChecked();
    options.keepName = chkKeepName->isChecked();
    options.css = chkCSS->isChecked();
    const int result = RunXmlImport(m_fileName, options);
    done(result == 0 ? QDialog::Accepted : QDialog::Rejected);
}
