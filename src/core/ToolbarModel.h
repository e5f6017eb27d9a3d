#pragma once

#include <QList>
#include <QString>

// The buttons of one toolbar by key, with their enabled and pressed states, for the main window
// to display.
class ToolbarModel
{
public:
    explicit ToolbarModel(const QStringList& keys = {});

    QStringList Keys() const;
    bool HasButton(const QString& key) const { return Find(key) != nullptr; }
    bool Enabled(const QString& key) const;
    bool Pressed(const QString& key) const;
    // False, changing nothing, when the toolbar has no button of that key.
    bool SetEnabled(const QString& key, bool enabled);
    bool SetPressed(const QString& key, bool pressed);

private:
    struct Button
    {
        QString key;
        bool enabled = true;
        bool pressed = false;
    };
    const Button* Find(const QString& key) const;
    Button* Find(const QString& key);

    QList<Button> m_buttons;
};
