#include "core/ui/WidgetPrompts.h"

#include "core/ui/frmInputText.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>

Prompts::Answer WidgetPrompts::Message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                                       Answer preselected)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(caption.isEmpty() ? ProgramTitle() : caption);
    // Messages quote names and paths the user typed: markup in them is shown, never rendered.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (icon) {
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::None:
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    const QMessageBox::StandardButton preselectedButton = preselected == Answer::Ok    ? QMessageBox::Ok
                                                          : preselected == Answer::Yes ? QMessageBox::Yes
                                                          : preselected == Answer::No  ? QMessageBox::No
                                                                                       : QMessageBox::Cancel;
    if (box.standardButtons() & preselectedButton)
        box.setDefaultButton(preselectedButton);
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

// The prompt has no place on the one-line popup: the caption says what is asked.
std::optional<QString> WidgetPrompts::InputText(const QString& caption, const QString& /*prompt*/,
                                                const QString& defaultText, int maxLength)
{
    frmInputText form(m_parent);
    form.setWindowTitle(caption);
    if (maxLength > 0)
        form.txtFilled->setMaxLength(maxLength);
    form.txtFilled->setText(defaultText);
    form.exec();
    if (!form.mblnOK)
        return std::nullopt;
    return form.mstrText;
}

QString WidgetPrompts::OpenFile(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(m_parent, caption, folder, filter);
}

QString WidgetPrompts::SaveFile(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getSaveFileName(m_parent, caption, folder, filter);
}

QString WidgetPrompts::Folder(const QString& caption, const QString& folder)
{
    return QFileDialog::getExistingDirectory(m_parent, caption, folder);
}

std::optional<QColor> WidgetPrompts::Colour(const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, m_parent);
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

std::optional<QFont> WidgetPrompts::Font(const QFont& initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, m_parent);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}
