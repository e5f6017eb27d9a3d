#include "core/ui/frmOptions.h"

#include "core/ui/DialogButtons.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// A label with its buddy box on one row of `grid`.
QLineEdit* AddTextRow(QGridLayout* grid, int row, const QString& caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    auto* box = new QLineEdit(parent);
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

QWidget* PageOf(std::initializer_list<QWidget*> frames)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (QWidget* frame : frames) {
        frame->setParent(page);
        layout->addWidget(frame);
    }
    layout->addStretch();
    return page;
}

}  // namespace

frmOptions::frmOptions(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    sstOptions = new QTabWidget(this);
    sstOptions->addTab(BuildGeneralPage(), QStringLiteral("&General"));
    sstOptions->addTab(BuildItemsPage(), QStringLiteral("&Items management"));
    sstOptions->addTab(BuildPublicationPage(), QStringLiteral("&Publication"));
    sstOptions->addTab(BuildFoldersPage(), QStringLiteral("&Folders"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdApply = new QPushButton(QStringLiteral("&Apply"), this);
    cmdOK->setDefault(true);
    LayOutDialog(this, sstOptions, {cmdOK, cmdCancel, cmdApply});

    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdTempFolder, &QPushButton::clicked, this, &frmOptions::cmdTempFolder_Click);
    connect(cmdImageFolder, &QPushButton::clicked, this, &frmOptions::cmdImageFolder_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmOptions::cmdHelp_Click);
    connect(chkStoreImage, &QCheckBox::clicked, this, &frmOptions::chkStoreImage_Click);
    Form_Load();
}

QWidget* frmOptions::BuildGeneralPage()
{
    auto* frame = new QGroupBox(QStringLiteral("General options"));
    chkUserManagement = new QCheckBox(QStringLiteral("Manage users"), frame);
    (new QVBoxLayout(frame))->addWidget(chkUserManagement);
    return PageOf({frame});
}

QWidget* frmOptions::BuildItemsPage()
{
    auto* naming = new QGroupBox(QStringLiteral("Naming Rules"));
    auto* grid = new QGridLayout(naming);
    txtTesplanTemplate = AddTextRow(grid, 0, QStringLiteral("&Test plan :"), naming);
    txtConfTemplate = AddTextRow(grid, 1, QStringLiteral("&Configuration :"), naming);
    txtSubtestTemplate = AddTextRow(grid, 2, QStringLiteral("Sub test :"), naming);
    txtProcedureTemplate = AddTextRow(grid, 3, QStringLiteral("Procedure :"), naming);
    auto* images = new QGroupBox(QStringLiteral("Images"));
    chkStoreImage = new QCheckBox(QStringLiteral("Store Images in Database"), images);
    (new QVBoxLayout(images))->addWidget(chkStoreImage);
    return PageOf({naming, images});
}

QWidget* frmOptions::BuildPublicationPage()
{
    auto* rules = new QGroupBox(QStringLiteral("&Rules"));
    auto* grid = new QGridLayout(rules);
    chkMultiPages = new QCheckBox(QStringLiteral("Multi documents"), rules);
    grid->addWidget(chkMultiPages, 0, 0, 1, 2);
    txtCharset = AddTextRow(grid, 1, QStringLiteral("Character set:"), rules);
    chkPageBreak = new QCheckBox(QStringLiteral("Insert a page break after a procedures' sequence"), rules);
    grid->addWidget(chkPageBreak, 2, 0, 1, 2);
    chkUseSubTestTemplate =
        new QCheckBox(QStringLiteral("Use sub test section only if there are procedures linked."), rules);
    grid->addWidget(chkUseSubTestTemplate, 3, 0, 1, 2);
    return PageOf({rules});
}

QWidget* frmOptions::BuildFoldersPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    const auto addRow = [&](int row, const QString& caption, QLineEdit*& box, QPushButton*& button) {
        box = AddTextRow(grid, row, caption, page);
        button = new QPushButton(QStringLiteral("..."), page);
        grid->addWidget(button, row, 2);
    };
    addRow(0, QStringLiteral("Help file:"), txtHelp, cmdHelp);
    addRow(1, QStringLiteral("Temporary files:"), txtTempPath, cmdTempFolder);
    addRow(2, QStringLiteral("Image files:"), txtImagePath, cmdImageFolder);
    grid->addWidget(new QLabel(QStringLiteral("The folders must be writable"), page), 3, 0, 1, 3);
    grid->setRowStretch(4, 1);
    txtTempPath->setMinimumWidth(300);
    return page;
}
