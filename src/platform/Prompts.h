#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

// Every question or message to the user goes through this interface, so that the object model
// and the dialogs' logic run in tests with scripted answers.
class Prompts
{
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompts() = default;

    // `preselected` is the button Enter presses.
    virtual Answer Message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                           Answer preselected) = 0;
    // With the first button preselected.
    Answer Message(const QString& text, const QString& caption, Icon icon, Buttons buttons)
    {
        return Message(text, caption, icon, buttons, FirstAnswer(buttons));
    }
    static Answer FirstAnswer(Buttons buttons)
    {
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    // The one-line input box; nullopt when cancelled.
    virtual std::optional<QString> InputText(const QString& caption, const QString& prompt, const QString& defaultText,
                                             int maxLength) = 0;
    // File and folder pickers answer an empty text when cancelled.
    virtual QString OpenFile(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QString SaveFile(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QString Folder(const QString& caption, const QString& folder) = 0;
    virtual std::optional<QColor> Colour(const QColor& initial) = 0;
    virtual std::optional<QFont> Font(const QFont& initial) = 0;

    // Shorthands for the most common boxes; the caption defaults to the program's title.
    void Information(const QString& text, const QString& caption = QString());
    void Critical(const QString& text, const QString& caption = QString());
    bool Question(const QString& text, const QString& caption = QString());

    static QString ProgramTitle();
};

// The program-wide instance. The application installs the widget implementation at start-up and
// tests install a scripted one; until then every question is answered "no" and cancelled.
Prompts& prompts();
void setPrompts(Prompts* instance);
