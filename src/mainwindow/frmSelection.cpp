#include "mainwindow/frmSelection.h"

#include "core/KeyHelpers.h"
#include "core/services/ItemList.h"
#include "core/services/SearchLocation.h"
#include "core/ui/Twips.h"
#include "mainwindow/ItemPicture.h"
#include "mainwindow/PaneDock.h"
#include "mainwindow/frmList.h"
#include "mainwindow/frmMdi.h"
#include "model/Search.h"
#include "platform/BugLog.h"
#include "platform/Hourglass.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmSelection::frmSelection(frmMdi* main, QWidget* parent)
    : QWidget(parent),
      m_main(main),
      m_text(new QLineEdit(this)),
      m_item(new QComboBox(this)),
      m_device(new QComboBox(this)),
      m_find(new QPushButton(QStringLiteral("&Find"), this)),
      m_cancel(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setObjectName(QStringLiteral("frmSelection"));
    setWindowTitle(QStringLiteral("Search"));
    setFixedSize(Pixels(this, 6450), Pixels(this, 2595, Qt::Vertical));
    m_text->setObjectName(QStringLiteral("txtFind"));
    m_item->setObjectName(QStringLiteral("cboItem"));
    m_device->setObjectName(QStringLiteral("cboDevice"));
    m_find->setObjectName(QStringLiteral("cmdFind"));
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_find->setDefault(true);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraSearch"));
    auto* grid = new QGridLayout(frame);
    auto* text = new QLabel(QStringLiteral("Text contained in item's description :"), frame);
    text->setObjectName(QStringLiteral("lblText"));
    auto* type = new QLabel(QStringLiteral("Item type :"), frame);
    type->setObjectName(QStringLiteral("lblType"));
    auto* location = new QLabel(QStringLiteral("Location:"), frame);
    location->setObjectName(QStringLiteral("Label1"));
    grid->addWidget(text, 0, 0, 1, 2);
    grid->addWidget(m_text, 1, 0, 1, 2);
    grid->addWidget(type, 2, 0);
    grid->addWidget(location, 2, 1);
    grid->addWidget(m_item, 3, 0);
    grid->addWidget(m_device, 3, 1);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_find);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    const QList<std::pair<QString, int>> kinds = {{QStringLiteral("All"), kImageRoot},
                                                  {QStringLiteral("Configuration"), kImageConfiguration},
                                                  {QStringLiteral("TestPlan"), kImageTestPlan},
                                                  {QStringLiteral("SubTest"), kImageSubTestFirst},
                                                  {QStringLiteral("Procedure"), kImageProcedure}};
    for (const auto& [name, image] : kinds)
        m_item->addItem(ItemPicture(image), name);
    m_item->setCurrentIndex(0);

    connect(m_find, &QPushButton::clicked, this, &frmSelection::cmdFind_Click);
    connect(m_cancel, &QPushButton::clicked, this, &frmSelection::cmdCancel_Click);
    connect(m_text, &QLineEdit::returnPressed, this, &frmSelection::cmdFind_Click);
    connect(m_device, &QComboBox::activated, this, [](int index) { gSearchLocation().Choose(index); });

    // The pane waits hidden until a search asks for it; until then the location is the whole
    // database and nothing is read.
    ShowLocations();
}

frmSelection::~frmSelection()
{
    gSearchLocation().Reset();
    for (const QPointer<frmList>& window : m_results)
        delete window.data();
}

QList<frmList*> frmSelection::ResultWindows() const
{
    QList<frmList*> open;
    for (const QPointer<frmList>& window : m_results)
        if (window)
            open << window.data();
    return open;
}

void frmSelection::CloseResultWindows()
{
    for (frmList* window : ResultWindows())
        window->close();
}

void frmSelection::ShowLocations()
{
    const SearchLocation& location = gSearchLocation();
    m_device->clear();
    for (const SearchLocation::Entry& entry : location.Entries())
        m_device->addItem(ItemPicture(entry.image), QString(entry.indentation * 4, QLatin1Char(' ')) + entry.text,
                          entry.key);
    m_device->setCurrentIndex(location.ChosenIndex());
}

void frmSelection::RefillLocations()
{
    // A closed pane narrows nothing; it reads its locations when it is shown.
    if (parentWidget() && parentWidget()->isHidden())
        return;
    gSearchLocation().Refill();
    ShowLocations();
}

void frmSelection::ShowPane()
{
    if (QWidget* pane = parentWidget())
        pane->show();
    RefillLocations();
    m_text->setFocus();
}

void frmSelection::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_text->setFocus();
}

void frmSelection::cmdFind_Click()
{
    Hourglass::Set();
    try {
        ItemList rows;
        Search(rows).Find(m_text->text(), m_item->currentIndex() + 1);
        Hourglass::Reset();
        // A window of its own for every search, beside the main window and owned by none.
        auto* window = new frmList(rows, m_main);
        window->setAttribute(Qt::WA_DeleteOnClose);
        m_results.removeAll(nullptr);
        m_results << window;
        window->show();
    } catch (const std::exception& error) {
        Hourglass::Reset();
        LogError(QStringLiteral("Error_Find : "), error);
    }
}

void frmSelection::cmdCancel_Click()
{
    gSearchLocation().Reset();
    ShowLocations();
    if (QWidget* pane = parentWidget())
        pane->hide();
}
