#include "core/ToolbarModel.h"

ToolbarModel::ToolbarModel(const QStringList& keys)
{
    for (const QString& key : keys)
        m_buttons.append(Button{key});
}

QStringList ToolbarModel::Keys() const
{
    QStringList keys;
    for (const Button& button : m_buttons)
        keys.append(button.key);
    return keys;
}

const ToolbarModel::Button* ToolbarModel::Find(const QString& key) const
{
    for (const Button& button : m_buttons) {
        if (button.key == key)
            return &button;
    }
    return nullptr;
}

ToolbarModel::Button* ToolbarModel::Find(const QString& key)
{
    return const_cast<Button*>(std::as_const(*this).Find(key));
}

bool ToolbarModel::Enabled(const QString& key) const
{
    const Button* button = Find(key);
    return button && button->enabled;
}

bool ToolbarModel::Pressed(const QString& key) const
{
    const Button* button = Find(key);
    return button && button->pressed;
}

bool ToolbarModel::SetEnabled(const QString& key, bool enabled)
{
    Button* button = Find(key);
    if (!button)
        return false;
    button->enabled = enabled;
    return true;
}

bool ToolbarModel::SetPressed(const QString& key, bool pressed)
{
    Button* button = Find(key);
    if (!button)
        return false;
    button->pressed = pressed;
    return true;
}
