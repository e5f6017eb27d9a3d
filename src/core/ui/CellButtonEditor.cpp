#include "core/ui/CellButtonEditor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

CellButtonEditor::CellButtonEditor(QWidget* parent)
    : QWidget(parent), m_text(new QLineEdit(this)), m_button(new QToolButton(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_text->setFrame(false);
    m_button->setText(QStringLiteral("..."));
    m_button->setObjectName(QStringLiteral("cellButton"));
    m_button->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_button);
    setFocusProxy(m_text);
    setAutoFillBackground(true);
}

CellButtonEditor* CellButtonEditor::Owning(QObject* text)
{
    return qobject_cast<QLineEdit*>(text) ? qobject_cast<CellButtonEditor*>(text->parent()) : nullptr;
}

QLineEdit* CellButtonEditor::LineOf(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        return line;
    if (auto* button = qobject_cast<CellButtonEditor*>(editor))
        return button->Text();
    return nullptr;
}

QString CellButtonEditor::TextOf(QWidget* editor)
{
    if (const QLineEdit* line = LineOf(editor))
        return line->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(editor))
        return combo->currentText();
    return {};
}
