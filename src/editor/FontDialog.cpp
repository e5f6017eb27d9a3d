#include "editor/FontDialog.h"

#include "platform/Prompts.h"
#include "publishing/modEdition.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// The point sizes of the size list; position i is HTML size i + 1.
const QStringList kPointSizes = {QStringLiteral("8"),  QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("14"),
                                 QStringLiteral("18"), QStringLiteral("24"), QStringLiteral("36")};

FontDialog::Asker& InstalledAsker()
{
    static FontDialog::Asker asker;
    return asker;
}

}  // namespace

FontDialog::FontDialog(const FontChoice& initial, QWidget* parent)
    : QDialog(parent),
      m_family(new QComboBox(this)),
      m_size(new QComboBox(this)),
      m_bold(new QCheckBox(QStringLiteral("&Bold"), this)),
      m_italic(new QCheckBox(QStringLiteral("&Italic"), this)),
      m_underline(new QCheckBox(QStringLiteral("&Underline"), this)),
      m_colourSample(new QLabel(this)),
      m_colour(initial.colour)
{
    setWindowTitle(QStringLiteral("Font"));
    m_family->setObjectName(QStringLiteral("cboFamily"));
    m_family->addItem(QString());
    m_family->addItems(gFontNames);
    m_family->setCurrentIndex(std::max(0, m_family->findText(initial.family, Qt::MatchFixedString)));
    m_size->setObjectName(QStringLiteral("cboSize"));
    m_size->addItem(QString());
    m_size->addItems(kPointSizes);
    m_size->setCurrentIndex(initial.size >= 1 && initial.size <= 7 ? initial.size : 0);
    m_bold->setObjectName(QStringLiteral("chkBold"));
    m_bold->setChecked(initial.bold);
    m_italic->setObjectName(QStringLiteral("chkItalic"));
    m_italic->setChecked(initial.italic);
    m_underline->setObjectName(QStringLiteral("chkUnderline"));
    m_underline->setChecked(initial.underline);

    auto* colourButton = new QPushButton(QStringLiteral("..."), this);
    colourButton->setObjectName(QStringLiteral("cmdColor"));
    connect(colourButton, &QPushButton::clicked, this, &FontDialog::ChooseColour);
    m_colourSample->setObjectName(QStringLiteral("lblColor"));
    m_colourSample->setMinimumWidth(80);
    m_colourSample->setFrameShape(QFrame::Box);
    ShowColour();
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(m_colourSample, 1);
    colourRow->addWidget(colourButton);

    auto* styles = new QHBoxLayout;
    styles->addWidget(m_bold);
    styles->addWidget(m_italic);
    styles->addWidget(m_underline);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Font:"), m_family);
    form->addRow(QStringLiteral("&Size:"), m_size);
    form->addRow(QString(), styles);
    form->addRow(QStringLiteral("&Color:"), colourRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

FontChoice FontDialog::Choice() const
{
    FontChoice choice;
    choice.family = m_family->currentText();
    choice.size = m_size->currentIndex();
    choice.bold = m_bold->isChecked();
    choice.italic = m_italic->isChecked();
    choice.underline = m_underline->isChecked();
    choice.colour = m_colour;
    return choice;
}

void FontDialog::ChooseColour()
{
    const QColor initial = QColor::isValidColorName(m_colour) ? QColor(m_colour) : QColor(Qt::black);
    // A cancelled colour keeps the one shown.
    if (const std::optional<QColor> chosen = prompts().Colour(initial)) {
        m_colour = chosen->name(QColor::HexRgb).toUpper();
        ShowColour();
    }
}

void FontDialog::ShowColour()
{
    m_colourSample->setText(m_colour);
    m_colourSample->setStyleSheet(m_colour.isEmpty() ? QString()
                                                     : QStringLiteral("background-color: %1; color: %2")
                                                           .arg(m_colour, QColor(m_colour).lightness() < 128
                                                                              ? QStringLiteral("white")
                                                                              : QStringLiteral("black")));
}

std::optional<FontChoice> FontDialog::Ask(const FontChoice& initial, QWidget* parent)
{
    if (InstalledAsker())
        return InstalledAsker()(initial);
    FontDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

void FontDialog::SetAsker(Asker asker)
{
    InstalledAsker() = std::move(asker);
}
