#pragma once

#include "platform/Prompts.h"

class QWidget;

// Prompts shown with Qt's message boxes and common dialogs, parented to the main window.
class WidgetPrompts final : public Prompts
{
public:
    explicit WidgetPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    using Prompts::Message;
    Answer Message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                   Answer preselected) override;
    std::optional<QString> InputText(const QString& caption, const QString& prompt, const QString& defaultText,
                                     int maxLength) override;
    QString OpenFile(const QString& caption, const QString& folder, const QString& filter) override;
    QString SaveFile(const QString& caption, const QString& folder, const QString& filter) override;
    QString Folder(const QString& caption, const QString& folder) override;
    std::optional<QColor> Colour(const QColor& initial) override;
    std::optional<QFont> Font(const QFont& initial) override;

private:
    QWidget* m_parent;
};
