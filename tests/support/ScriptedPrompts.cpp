#include "ScriptedPrompts.h"

QStringList ScriptedPrompts::Messages() const
{
    QStringList texts;
    for (const Shown& shown : m_shown) {
        if (shown.kind == QLatin1String("message"))
            texts << shown.text;
    }
    return texts;
}

QVariant ScriptedPrompts::Next()
{
    return m_answers.isEmpty() ? QVariant() : m_answers.dequeue();
}

Prompts::Answer ScriptedPrompts::Message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                                         Answer preselected)
{
    m_shown.append({QStringLiteral("message"), text, caption, icon, buttons});
    m_shown.last().preselected = preselected;
    const QVariant answer = Next();
    if (answer.isValid())
        return static_cast<Answer>(answer.toInt());
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
            return Answer::Cancel;
        default:
            return Answer::No;
    }
}

QString ScriptedPrompts::NextText(const QString& kind, const QString& caption)
{
    m_shown.append({kind, QString(), caption, Icon::None, Buttons::Ok});
    return Next().toString();
}

std::optional<QString> ScriptedPrompts::InputText(const QString& caption, const QString& prompt,
                                                  const QString& defaultText, int maxLength)
{
    m_shown.append({QStringLiteral("input"), prompt, caption, Icon::None, Buttons::OkCancel, maxLength, defaultText});
    const QVariant answer = Next();
    if (!answer.isValid())
        return std::nullopt;
    QString text = answer.toString();
    if (maxLength > 0)
        text.truncate(maxLength);
    return text;
}

QString ScriptedPrompts::OpenFile(const QString& caption, const QString& folder, const QString& filter)
{
    const QString answer = NextText(QStringLiteral("open"), caption);
    m_shown.last().folder = folder;
    m_shown.last().filter = filter;
    return answer;
}

QString ScriptedPrompts::SaveFile(const QString& caption, const QString&, const QString&)
{
    return NextText(QStringLiteral("save"), caption);
}

QString ScriptedPrompts::Folder(const QString& caption, const QString&)
{
    return NextText(QStringLiteral("folder"), caption);
}

std::optional<QColor> ScriptedPrompts::Colour(const QColor& initial)
{
    m_shown.append({QStringLiteral("colour"), QString(), QString(), Icon::None, Buttons::OkCancel});
    m_shown.last().defaultText = initial.name(QColor::HexRgb).toUpper();
    const QVariant answer = Next();
    return answer.isValid() ? std::optional<QColor>(answer.value<QColor>()) : std::nullopt;
}

std::optional<QFont> ScriptedPrompts::Font(const QFont&)
{
    m_shown.append({QStringLiteral("font"), QString(), QString(), Icon::None, Buttons::OkCancel});
    const QVariant answer = Next();
    return answer.isValid() ? std::optional<QFont>(answer.value<QFont>()) : std::nullopt;
}
