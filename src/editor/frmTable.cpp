#include "editor/frmTable.h"

#include "core/ActiveEditor.h"
#include "core/HtmlEditor.h"
#include "core/ui/DialogButtons.h"
#include "core/ui/Twips.h"
#include "editor/TableHtml.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"
#include "publishing/HtmlColor.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kSaveError = QStringLiteral("An error has occurred saving table properties.");
constexpr int kDefaultCount = 5;
constexpr int kGridWidth = 360;
constexpr int kPreviewHeight = 150;

QStringList Counts()
{
    QStringList counts;
    for (int n = 1; n <= kDefaultCount; ++n)
        counts << QString::number(n);
    return counts;
}

// A grid the user sizes by its column headers and does not type into.
QTableWidget* NewGrid(const QString& name, int height, QWidget* parent)
{
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->verticalHeader()->hide();
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(4);
    header->setFixedHeight(grid->fontMetrics().height() + 6);
    // The cells get the whole width, frame aside, so that five columns fill it exactly.
    grid->setFixedSize(kGridWidth + 2 * grid->frameWidth(), height);
    return grid;
}

// The room for cells inside a grid's frame and header.
int InnerWidth(const QTableWidget* grid)
{
    return grid->width() - 2 * grid->frameWidth();
}

// The header's height is fixed, and known before the grid has laid it out.
int HeaderHeight(const QTableWidget* grid)
{
    return grid->horizontalHeader()->minimumHeight();
}

int InnerHeight(const QTableWidget* grid)
{
    return grid->height() - 2 * grid->frameWidth() - HeaderHeight(grid);
}

void SetPercent(QTableWidget* grid, int column, const QString& text)
{
    auto* cell = new QTableWidgetItem(text);
    cell->setTextAlignment(Qt::AlignCenter);
    grid->setItem(0, column, cell);
}

QLabel* Caption(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

}  // namespace

frmTable::frmTable(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Table properties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    sstTabStrip = new QTabWidget(this);
    sstTabStrip->setObjectName(QStringLiteral("sstTabStrip"));
    sstTabStrip->addTab(BuildStructurePage(), QStringLiteral("&Rows and cols"));
    sstTabStrip->addTab(BuildFormatPage(), QStringLiteral("&Format"));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    LayOutDialog(this, sstTabStrip, {cmdOK, cmdCancel});
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmTable::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cboRow, &QComboBox::currentIndexChanged, this, &frmTable::cboRow_Click);
    connect(cboCol, &QComboBox::currentIndexChanged, this, &frmTable::cboCol_Click);
    connect(grdTable->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { SyncColumns(grdTable, grdColWidth); });
    connect(grdColWidth->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { SyncColumns(grdColWidth, grdTable); });
    Form_Load();
}

QWidget* frmTable::BuildStructurePage()
{
    auto* page = new QWidget;
    fraTable = new QGroupBox(QStringLiteral("Structure"), page);
    fraTable->setObjectName(QStringLiteral("fraTable"));
    cboRow = new QComboBox(fraTable);
    cboRow->setObjectName(QStringLiteral("cboRow"));
    cboRow->addItems(Counts());
    cboCol = new QComboBox(fraTable);
    cboCol->setObjectName(QStringLiteral("cboCol"));
    cboCol->addItems(Counts());
    auto* counts = new QHBoxLayout(fraTable);
    counts->addWidget(Caption(QStringLiteral("Number of rows:"), cboRow));
    counts->addWidget(cboRow);
    counts->addSpacing(24);
    counts->addWidget(Caption(QStringLiteral("Number of cols:"), cboCol));
    counts->addWidget(cboCol);
    counts->addStretch();

    grdTable = NewGrid(QStringLiteral("grdTable"), kPreviewHeight, page);
    grdColWidth = NewGrid(QStringLiteral("grdColWidth"), 0, page);
    grdColWidth->setFixedHeight(HeaderHeight(grdColWidth) + grdColWidth->fontMetrics().height() + 10 +
                                2 * grdColWidth->frameWidth());

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fraTable);
    layout->addWidget(grdTable, 0, Qt::AlignHCenter);
    layout->addWidget(grdColWidth, 0, Qt::AlignHCenter);
    layout->addStretch();
    return page;
}

QScrollBar* frmTable::AddNumberRow(QGridLayout* grid, int row, const QString& caption, QLineEdit*& box,
                                   QComboBox* units)
{
    QWidget* frame = grid->parentWidget();
    box = new QLineEdit(frame);
    box->setFixedWidth(56);
    auto* spinner = new QScrollBar(Qt::Vertical, frame);
    spinner->setRange(0, kSpinnerMax);
    spinner->setPageStep(10);
    spinner->setFixedSize(16, box->sizeHint().height());
    grid->addWidget(Caption(caption, box), row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(spinner, row, 2);
    if (units) {
        units->addItems(kTableUnits);
        grid->addWidget(units, row, 3);
    }
    QLineEdit* target = box;
    connect(spinner, &QScrollBar::valueChanged, box,
            [target](int position) { target->setText(SpinnerText(position)); });
    // The spinner follows the typing without writing back over it.
    connect(box, &QLineEdit::textChanged, spinner, [spinner](const QString& text) {
        const QSignalBlocker quiet(spinner);
        spinner->setValue(SpinnerPosition(text));
    });
    return spinner;
}

QPushButton* frmTable::AddColourRow(QGridLayout* grid, int row, const QString& caption, QLineEdit*& box)
{
    QWidget* frame = grid->parentWidget();
    box = new QLineEdit(frame);
    box->setFixedWidth(72);
    auto* button = new QPushButton(QStringLiteral("..."), frame);
    button->setFixedSize(28, box->sizeHint().height());
    grid->addWidget(Caption(caption, box), row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(button, row, 2);
    QLineEdit* target = box;
    connect(button, &QPushButton::clicked, this, [this, target] { ChooseColour(target); });
    return button;
}

QWidget* frmTable::BuildFormatPage()
{
    auto* page = new QWidget;
    Frame1 = new QGroupBox(QStringLiteral("Layout"), page);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* layoutGrid = new QGridLayout(Frame1);
    cboWidthRange = new QComboBox(Frame1);
    cboWidthRange->setObjectName(QStringLiteral("cboWidthRange"));
    cboHeightRange = new QComboBox(Frame1);
    cboHeightRange->setObjectName(QStringLiteral("cboHeightRange"));
    VScroll1 = AddNumberRow(layoutGrid, 0, QStringLiteral("Cell padding:"), txtPading);
    VScroll2 = AddNumberRow(layoutGrid, 1, QStringLiteral("Cell spacing:"), txtSpacing);
    VScroll3 = AddNumberRow(layoutGrid, 2, QStringLiteral("Border size:"), txtBorder);
    VScroll4 = AddNumberRow(layoutGrid, 3, QStringLiteral("Width:"), txtWidth, cboWidthRange);
    VScroll5 = AddNumberRow(layoutGrid, 4, QStringLiteral("Height"), txtHeight, cboHeightRange);
    cboAlignment = new QComboBox(Frame1);
    cboAlignment->setObjectName(QStringLiteral("cboAlignment"));
    cboAlignment->addItems(kTableAlignments);
    layoutGrid->addWidget(Caption(QStringLiteral("Alignment:"), cboAlignment), 5, 0);
    layoutGrid->addWidget(cboAlignment, 5, 1, 1, 3);
    layoutGrid->setRowStretch(6, 1);

    Frame2 = new QGroupBox(QStringLiteral("Colors"), page);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* colourGrid = new QGridLayout(Frame2);
    cmdBorderColor = AddColourRow(colourGrid, 0, QStringLiteral("Border:"), txtBorderColor);
    cmdBackgroundColor = AddColourRow(colourGrid, 1, QStringLiteral("Background:"), txtBackGroundColor);
    cmdBorderShadow = AddColourRow(colourGrid, 2, QStringLiteral("Border Shadow:"), txtBorderShadow);
    cmdBorderLight = AddColourRow(colourGrid, 3, QStringLiteral("Border Light:"), txtBorderLight);
    colourGrid->setRowStretch(4, 1);

    const std::pair<QObject*, const char*> names[] = {
        {txtPading, "txtPading"},
        {txtSpacing, "txtSpacing"},
        {txtBorder, "txtBorder"},
        {txtWidth, "txtWidth"},
        {txtHeight, "txtHeight"},
        {VScroll1, "VScroll1"},
        {VScroll2, "VScroll2"},
        {VScroll3, "VScroll3"},
        {VScroll4, "VScroll4"},
        {VScroll5, "VScroll5"},
        {txtBorderColor, "txtBorderColor"},
        {txtBackGroundColor, "txtBackGroundColor"},
        {txtBorderShadow, "txtBorderShadow"},
        {txtBorderLight, "txtBorderLight"},
        {cmdBorderColor, "cmdBorderColor"},
        {cmdBackgroundColor, "cmdBackgroundColor"},
        {cmdBorderShadow, "cmdBorderShadow"},
        {cmdBorderLight, "cmdBorderLight"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    return page;
}

void frmTable::Form_Load()
{
    m_loaded.reset();
    {
        const QSignalBlocker rows(cboRow);
        const QSignalBlocker cols(cboCol);
        cboRow->setCurrentIndex(kDefaultCount - 1);
        cboCol->setCurrentIndex(kDefaultCount - 1);
    }
    m_syncingColumns = true;
    const int columnWidth = static_cast<int>(std::lround(InnerWidth(grdTable) / double(kDefaultCount)));
    for (QTableWidget* grid : {grdTable, grdColWidth}) {
        grid->horizontalHeader()->setDefaultSectionSize(columnWidth);
        grid->setColumnCount(0);
        grid->setColumnCount(kDefaultCount);
    }
    grdTable->verticalHeader()->setDefaultSectionSize(InnerHeight(grdTable) / kDefaultCount);
    grdTable->setRowCount(0);
    grdTable->setRowCount(kDefaultCount);
    grdColWidth->verticalHeader()->setDefaultSectionSize(InnerHeight(grdColWidth));
    grdColWidth->setRowCount(1);
    for (int c = 0; c < kDefaultCount; ++c)
        SetPercent(grdColWidth, c, QStringLiteral("20"));
    m_syncingColumns = false;

    txtPading->setText(QStringLiteral("0"));
    txtSpacing->setText(QStringLiteral("0"));
    txtHeight->setText(QString());
    txtBorder->setText(QStringLiteral("1"));
    txtWidth->setText(QStringLiteral("100"));
    cboWidthRange->setCurrentIndex(0);
    cboHeightRange->setCurrentIndex(1);
    cboAlignment->setCurrentIndex(0);
    txtBorderColor->setText(QStringLiteral("#000000"));
    txtBackGroundColor->clear();
    txtBorderShadow->clear();
    txtBorderLight->clear();
}

void frmTable::ShowNewTable()
{
    // Still open: the user's values stay, the dialog comes forward.
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    Form_Load();
    sstTabStrip->setTabEnabled(0, true);
    sstTabStrip->setCurrentIndex(0);
    setModal(false);
    show();
    raise();
    activateWindow();
}

namespace {

// The boxes and lists of the dialog and the fields they show.
constexpr std::pair<QLineEdit * frmTable::*, QString TableDialogFields::*> kTextFields[] = {
    {&frmTable::txtWidth, &TableDialogFields::txtWidth},
    {&frmTable::txtHeight, &TableDialogFields::txtHeight},
    {&frmTable::txtBorder, &TableDialogFields::txtBorder},
    {&frmTable::txtSpacing, &TableDialogFields::txtSpacing},
    {&frmTable::txtPading, &TableDialogFields::txtPading},
    {&frmTable::txtBorderColor, &TableDialogFields::txtBorderColor},
    {&frmTable::txtBorderShadow, &TableDialogFields::txtBorderShadow},
    {&frmTable::txtBorderLight, &TableDialogFields::txtBorderLight},
    {&frmTable::txtBackGroundColor, &TableDialogFields::txtBackGroundColor},
};
constexpr std::pair<QComboBox * frmTable::*, int TableDialogFields::*> kListFields[] = {
    {&frmTable::cboWidthRange, &TableDialogFields::cboWidthRange},
    {&frmTable::cboHeightRange, &TableDialogFields::cboHeightRange},
    {&frmTable::cboAlignment, &TableDialogFields::cboAlignment},
};

}  // namespace

void frmTable::LoadFields(const TableDialogFields& fields)
{
    m_loaded.reset();
    if (!fields.rowsAndColsPageEnabled)
        m_loaded = fields;
    sstTabStrip->setTabEnabled(0, fields.rowsAndColsPageEnabled);
    sstTabStrip->setCurrentIndex(fields.rowsAndColsPageEnabled ? 0 : 1);
    for (const auto& [list, field] : kListFields)
        (this->*list)->setCurrentIndex(fields.*field);
    for (const auto& [box, field] : kTextFields)
        (this->*box)->setText(fields.*field);
}

TableDialogFields frmTable::Fields() const
{
    TableDialogFields fields;
    fields.rowsAndColsPageEnabled = sstTabStrip->isTabEnabled(0);
    for (const auto& [list, field] : kListFields)
        fields.*field = (this->*list)->currentIndex();
    for (const auto& [box, field] : kTextFields)
        fields.*field = (this->*box)->text();
    return fields;
}

void frmTable::cboRow_Click()
{
    grdTable->setRowCount(cboRow->currentText().toInt());
    BuildColumnGrid();
}

void frmTable::cboCol_Click()
{
    m_syncingColumns = true;
    const int count = cboCol->currentText().toInt();
    grdTable->setColumnCount(count);
    grdColWidth->setColumnCount(count);
    m_syncingColumns = false;
    BuildColumnGrid();
}

void frmTable::BuildColumnGrid()
{
    SyncColumns(grdTable, grdColWidth);
}

void frmTable::SyncColumns(QTableWidget* from, QTableWidget* to)
{
    if (m_syncingColumns)
        return;
    m_syncingColumns = true;
    QList<double> widths;
    for (int c = 0; c < from->columnCount(); ++c) {
        to->setColumnWidth(c, from->columnWidth(c));
        widths << Twips(this, from->columnWidth(c));
    }
    const QStringList percents = ::BuildColumnGrid(widths, Twips(this, InnerWidth(from)));
    for (int c = 0; c < percents.size(); ++c)
        SetPercent(grdColWidth, c, percents.at(c));
    m_syncingColumns = false;
}

void frmTable::ChooseColour(QLineEdit* box)
{
    const QString current = box->text().trimmed();
    const QColor initial = QColor::isValidColorName(current) ? QColor(current) : QColor(Qt::black);
    if (const std::optional<QColor> chosen = prompts().Colour(initial))
        box->setText(HtmlColor(chosen->red() | (chosen->green() << 8) | (chosen->blue() << 16), false));
}

void frmTable::cmdOK_Click()
{
    const TableDialogFields fields = Fields();
    // Typed values go into the table's tag as they are: anything but a number or a colour is refused.
    const bool existing = m_loaded && !fields.rowsAndColsPageEnabled;
    if (const std::optional<QString> invalid = InvalidTableField(fields, existing ? &*m_loaded : nullptr)) {
        prompts().Critical(kSaveError);
        if (auto* box = findChild<QLineEdit*>(*invalid)) {
            sstTabStrip->setCurrentWidget(sstTabStrip->widget(1));
            box->setFocus();
            box->selectAll();
        }
        return;
    }
    try {
        ApplyToEditor(fields);
        accept();
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_UpdateTable:"), error);
        prompts().Critical(kSaveError);
    }
}

void frmTable::ApplyToEditor(const TableDialogFields& fields)
{
    HtmlEditor* editor = ActiveEditorDocument();
    if (!editor)
        throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
    if (fields.rowsAndColsPageEnabled) {
        QStringList percents;
        for (int c = 0; c < grdColWidth->columnCount(); ++c)
            percents << (grdColWidth->item(0, c) ? grdColWidth->item(0, c)->text() : QStringLiteral("0"));
        editor->PasteHTML(NewTableHtml(fields, grdTable->rowCount(), percents));
    } else {
        editor->SetSelectedTableAttributes(TableAttributes(fields));
    }
}

void TableDialogWindow::ShowModal(const TableDialogFields& fields)
{
    frmTable dialog(QApplication::activeWindow());
    dialog.LoadFields(fields);
    dialog.exec();
}

void InstallTableDialog()
{
    TableDialog::SetFactory([] { return std::make_unique<TableDialogWindow>(); });
}
