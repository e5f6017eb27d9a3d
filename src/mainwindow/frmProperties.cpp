#include "mainwindow/frmProperties.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "core/services/PropertyGrid.h"
#include "core/services/SelectedNode.h"
#include "core/ui/Twips.h"
#include "mainwindow/PropertyGridModel.h"
#include "mainwindow/PropertyGridView.h"
#include "mainwindow/PropertySplitter.h"
#include "mainwindow/frmMdi.h"
#include "model/PropertyCaptions.h"
#include "model/PropertyHelp.h"
#include "model/SelectedProperties.h"
#include "platform/Settings.h"

#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

namespace C = PropertyCaptions;

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kSplitterKey = QStringLiteral("Splitter");

QString CaptionOf(int row)
{
    const PropertyGrid& grid = gPropertyGrid();
    return row >= 0 && row < grid.Rows() ? grid.TextMatrix(row, PropertyGrid::kCaptionCol) : QString();
}

}  // namespace

frmProperties::frmProperties(frmMdi* main, QWidget* parent)
    : QWidget(parent),
      m_main(main),
      m_model(new PropertyGridModel(gPropertyGrid(), this)),
      m_grid(new PropertyGridView(m_model, this)),
      m_splitter(new QSplitter(Qt::Vertical, this)),
      m_shape(new QFrame(this)),
      m_description(new QTextEdit(m_shape))
{
    setObjectName(QStringLiteral("frmProperties"));
    const int margin = Pixels(this, 40);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(m_splitter);

    m_shape->setObjectName(QStringLiteral("shaShape"));
    m_shape->setFrameShape(QFrame::Box);
    auto* frameLayout = new QVBoxLayout(m_shape);
    frameLayout->setContentsMargins(margin, margin, margin, margin);
    frameLayout->addWidget(m_description);
    m_description->setObjectName(QStringLiteral("txtDescription"));
    m_description->setReadOnly(true);
    m_description->setFrameShape(QFrame::NoFrame);
    m_description->setAcceptRichText(false);
    // The frame may be as low as the saved height asks; the box scrolls.
    m_description->setMinimumHeight(1);

    m_splitter->setObjectName(QStringLiteral("imgSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(margin);
    m_splitter->addWidget(m_grid);
    m_splitter->addWidget(m_shape);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    connect(m_splitter, &QSplitter::splitterMoved, this,
            [this, margin](int pos) { SizeControls(Twips(this, pos + margin, Qt::Vertical)); });

    m_grid->BeforeEdit = [this](int row, int col) { return grdProperties_BeforeEdit(row, col); };
    m_grid->ValidateEdit = [this](int row, int col, const QString& text) {
        return grdProperties_ValidateEdit(row, col, text);
    };
    m_model->AfterEdit = [this](int row, int col) { grdProperties_AfterEdit(row, col); };
    m_grid->CellButtonClick = [this](int row, int col) { grdProperties_CellButtonClick(row, col); };
    m_grid->Click = [this](const QModelIndex& index) { grdProperties_Click(index); };
    m_grid->KeyDown = [this](const QKeyEvent* event) { grdProperties_KeyDown(event); };
    m_grid->MouseMove = [this](const QModelIndex& index) { grdProperties_MouseMove(index); };
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmProperties::grdProperties_RowColChange);
    // Rows of another item: the old explanation goes with them.
    connect(m_model, &QAbstractItemModel::modelReset, m_description, &QTextEdit::clear);

    // Load: the saved height of the description frame.
    m_frame = SettingNumber(Settings::GetSetting(kSection, kSplitterKey)).value_or(PropertySplitter::kDefaultFrame);
    grdProperties_Initialize();
}

frmProperties::~frmProperties()
{
    Detach();
}

void frmProperties::Detach()
{
    // The grid and its editor outlive the pane's body: nothing may call back into it.
    m_grid->BeforeEdit = nullptr;
    m_grid->ValidateEdit = nullptr;
    m_grid->CellButtonClick = nullptr;
    m_grid->Click = nullptr;
    m_grid->KeyDown = nullptr;
    m_grid->MouseMove = nullptr;
    m_model->AfterEdit = nullptr;
}

void frmProperties::grdProperties_Initialize()
{
    PropertyGrid& grid = gPropertyGrid();
    grid.Clear();
    grid.SetRows(0);
    grid.Refresh();
    // Where Tahoma is missing the font system puts its closest face in.
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(QWidget::font().pointSizeF());
    m_grid->setFont(font);
    m_grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + Pixels(this, 60, Qt::Vertical));
    m_grid->setColumnWidth(PropertyGrid::kMarginCol, Pixels(this, 200));
    m_grid->setColumnWidth(PropertyGrid::kCaptionCol, Pixels(this, 1400));
}

void frmProperties::grdProperties_RowColChange()
{
    const int row = m_grid->currentIndex().row();
    if (row < 0 || row >= gPropertyGrid().Rows())
        return;
    m_model->SetCurrentRow(row);
    const QString caption = CaptionOf(row);
    m_description->clear();
    QTextCursor cursor(m_description->document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(caption + QLatin1Char('\n'), bold);
    cursor.insertText(PropertyHelpText(caption), QTextCharFormat());
}

bool frmProperties::grdProperties_BeforeEdit(int row, int col)
{
    if (!gSelectedNode() || col != PropertyGrid::kValueCol)
        return true;
    return BeforeEditSelectedProperty(row, col);
}

bool frmProperties::grdProperties_ValidateEdit(int row, int, const QString& text)
{
    return !AcceptsTypedProperty(CaptionOf(row), text);
}

void frmProperties::grdProperties_AfterEdit(int row, int col)
{
    if (AfterEditSelectedProperty(row, col) != 0)
        return;
    if (const ExplorerNode* node = gSelectedNode())
        m_main->SetPanelText(4, node->Text());
    Refresh_Properties();
}

void frmProperties::grdProperties_Click(const QModelIndex& index)
{
    if (!index.isValid() || index.row() < 1 || index.column() != PropertyGrid::kValueCol)
        return;
    const QString caption = CaptionOf(index.row());
    const ExplorerNode* node = gSelectedNode();
    const bool procedure = node && node->Image() == kImageProcedure;
    if (caption != C::Text(C::kName) && caption != C::Text(C::kIteration) &&
        !(caption == C::Text(C::kWorkload) && procedure))
        return;
    m_grid->setCurrentIndex(index);
    m_grid->edit(index);
    m_grid->CaretToEnd();
}

void frmProperties::grdProperties_KeyDown(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier)
        DeleteSelectedWordTemplate(m_grid->currentIndex().row());
}

void frmProperties::grdProperties_CellButtonClick(int row, int col)
{
    CellButtonSelectedProperty(row, col);
}

std::optional<Qt::CursorShape> frmProperties::PointerFor(int row, int col, const QString& caption)
{
    const ExplorerNode* node = gSelectedNode();
    if (row < 1 || col != PropertyGrid::kValueCol || !node)
        return Qt::ArrowCursor;
    if (caption == C::Text(C::kName)) {
        if (CanModify())
            return Qt::IBeamCursor;
        return std::nullopt;
    }
    if (caption == C::Text(C::kIteration))
        return Qt::IBeamCursor;
    if (caption == C::Text(C::kWorkload))
        return node->Image() == kImageProcedure && CanModify() ? Qt::IBeamCursor : Qt::ArrowCursor;
    return Qt::ArrowCursor;
}

void frmProperties::grdProperties_MouseMove(const QModelIndex& index)
{
    const int row = index.isValid() ? index.row() : -1;
    if (const std::optional<Qt::CursorShape> shape = PointerFor(row, index.column(), CaptionOf(row)))
        m_grid->viewport()->setCursor(*shape);
}

double frmProperties::InnerHeight() const
{
    return Twips(this, height(), Qt::Vertical);
}

double frmProperties::OuterHeight() const
{
    const QWidget* outer = parentWidget() ? parentWidget() : this;
    return Twips(this, outer->height(), Qt::Vertical);
}

void frmProperties::SizeControls(double y)
{
    const double inner = InnerHeight();
    m_frame = PropertySplitter::FrameBelow(PropertySplitter::Clamp(y, inner, OuterHeight()), inner);
    ApplyFrame();
    Settings::SaveSetting(kSection, kSplitterKey, SettingText(m_frame));
}

void frmProperties::ApplyFrame()
{
    const int total = m_splitter->height() - m_splitter->handleWidth();
    const int frame = std::clamp(Pixels(this, m_frame, Qt::Vertical), 0, std::max(0, total));
    m_splitter->setSizes({total - frame, frame});
}

void frmProperties::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (window()->isMinimized())
        return;
    m_frame = PropertySplitter::Fitted(m_frame, InnerHeight());
    layout()->activate();
    ApplyFrame();
}
