#include "platform/Prompts.h"

namespace {

// Used until a real implementation is installed: never blocks, never agrees.
class SilentPrompts final : public Prompts
{
public:
    using Prompts::Message;
    Answer Message(const QString&, const QString&, Icon, Buttons buttons, Answer) override
    {
        return buttons == Buttons::Ok ? Answer::Ok : (buttons == Buttons::OkCancel ? Answer::Cancel : Answer::No);
    }
    std::optional<QString> InputText(const QString&, const QString&, const QString&, int) override
    {
        return std::nullopt;
    }
    QString OpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString Folder(const QString&, const QString&) override { return {}; }
    std::optional<QColor> Colour(const QColor&) override { return std::nullopt; }
    std::optional<QFont> Font(const QFont&) override { return std::nullopt; }
};

SilentPrompts gSilent;
Prompts* gInstance = &gSilent;

}  // namespace

QString Prompts::ProgramTitle()
{
    return QStringLiteral("Koravel");
}

void Prompts::Information(const QString& text, const QString& caption)
{
    Message(text, caption.isEmpty() ? ProgramTitle() : caption, Icon::Information, Buttons::Ok);
}

void Prompts::Critical(const QString& text, const QString& caption)
{
    Message(text, caption.isEmpty() ? ProgramTitle() : caption, Icon::Critical, Buttons::Ok);
}

bool Prompts::Question(const QString& text, const QString& caption)
{
    return Message(text, caption.isEmpty() ? ProgramTitle() : caption, Icon::Question, Buttons::YesNo) == Answer::Yes;
}

Prompts& prompts()
{
    return *gInstance;
}

void setPrompts(Prompts* instance)
{
    gInstance = instance ? instance : &gSilent;
}
