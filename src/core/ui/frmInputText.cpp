#include "core/ui/frmInputText.h"

#include "core/ui/DialogButtons.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

bool IsLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f' || u == 0x85 || u == QChar::LineSeparator ||
           u == QChar::ParagraphSeparator;
}

qsizetype FirstLineBreak(const QString& text, qsizetype from = 0)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (IsLineBreak(text.at(i)))
            return i;
    }
    return -1;
}

}  // namespace

frmInputText::frmInputText(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Fill "));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    txtFilled = new QLineEdit(this);
    txtFilled->setObjectName(QStringLiteral("txtFilled"));
    txtFilled->setMinimumWidth(300);
    cmdOKButton = new QPushButton(QStringLiteral("OK"), this);
    cmdOKButton->setObjectName(QStringLiteral("cmdOKButton"));
    cmdOKButton->setDefault(true);
    cmdCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancelButton->setObjectName(QStringLiteral("cmdCancelButton"));

    // The design's two decorative lines: one etched rule between the box and the buttons.
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtFilled);
    layout->addWidget(rule);
    layout->addLayout(ButtonRow({cmdOKButton, cmdCancelButton}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOKButton, &QPushButton::clicked, this, &frmInputText::cmdOKButton_Click);
    connect(cmdCancelButton, &QPushButton::clicked, this, &frmInputText::cmdCancelButton_Click);
    connect(txtFilled, &QLineEdit::textChanged, this, &frmInputText::txtFilled_Change);
    txtFilled->setFocus();
}

void frmInputText::cmdOKButton_Click()
{
    mstrText = txtFilled->text();
    mblnOK = true;
    accept();
}

void frmInputText::cmdCancelButton_Click()
{
    reject();
}

void frmInputText::txtFilled_Change(const QString& text)
{
    const qsizetype lineBreak = FirstLineBreak(text);
    if (lineBreak < 0) {
        m_lastText = text;
        return;
    }
    // The text before the change had no line break, so every break lies in the inserted part:
    // the part between what the old and the new text share at their start and at their end.
    qsizetype prefix = 0;
    const qsizetype shared = std::min(text.size(), m_lastText.size());
    while (prefix < shared && text.at(prefix) == m_lastText.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shared - prefix &&
           text.at(text.size() - 1 - suffix) == m_lastText.at(m_lastText.size() - 1 - suffix))
        ++suffix;
    const qsizetype insertedEnd = text.size() - suffix;
    const QString oneLine = lineBreak < insertedEnd ? text.left(lineBreak) + text.right(suffix) : text.left(lineBreak);
    m_lastText = oneLine;
    txtFilled->setText(oneLine);  // re-enters with a text free of breaks
    txtFilled->setCursorPosition(static_cast<int>(lineBreak));
}
