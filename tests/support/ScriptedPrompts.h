#pragma once

#include "platform/Prompts.h"

#include <QList>
#include <QQueue>
#include <QVariant>

// Answers questions from a queue and records every message shown. With the queue empty it
// answers as a user who cancels: No, Cancel, no text, no file.
class ScriptedPrompts final : public Prompts
{
public:
    struct Shown
    {
        QString kind;  // "message", "input", "open", "save", "folder", "colour", "font"
        QString text;
        QString caption;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        // The input box's length limit and default text (a colour picker's initial "#RRGGBB");
        // a file picker's folder and filter.
        int maxLength = 0;
        QString defaultText{};
        QString folder{};
        QString filter{};
        // The button a message box preselects.
        Answer preselected = Answer::Ok;
    };

    ScriptedPrompts() { setPrompts(this); }
    ~ScriptedPrompts() override { setPrompts(nullptr); }

    // Queue an answer: an Answer for message boxes, a QString for text and file questions,
    // a QColor or QFont for their pickers. A null QVariant cancels the next question.
    void Push(const QVariant& answer) { m_answers.enqueue(answer); }
    void Push(Answer answer) { m_answers.enqueue(QVariant::fromValue(static_cast<int>(answer))); }

    const QList<Shown>& History() const { return m_shown; }
    QStringList Messages() const;
    void ClearHistory() { m_shown.clear(); }
    int Pending() const { return static_cast<int>(m_answers.size()); }

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
    QVariant Next();
    QString NextText(const QString& kind, const QString& caption);

    QQueue<QVariant> m_answers;
    QList<Shown> m_shown;
};
