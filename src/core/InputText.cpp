#include "core/InputText.h"

#include "platform/Prompts.h"

QString InputText(const QString& caption, const QString& defaultText, int maxLength)
{
    const std::optional<QString> answer = prompts().InputText(caption, QString(), defaultText, maxLength);
    return answer ? *answer : defaultText;
}
