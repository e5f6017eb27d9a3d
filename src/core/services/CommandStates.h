#pragma once

#include <QHash>
#include <QObject>
#include <QString>

// The enabled and checked states of the main window's commands by name (menu items and Standard
// toolbar buttons), kept without a window so that the opening rules and the edit mode can be
// driven by tests. The main window shows them.
class CommandStates : public QObject
{
    Q_OBJECT

public:
    explicit CommandStates(QObject* parent = nullptr) : QObject(parent) {}

    // Registers a command, enabled and unchecked unless told otherwise.
    void Add(const QString& name, bool enabled = true, bool checked = false);
    bool Has(const QString& name) const { return m_states.contains(name); }
    QStringList Names() const { return m_states.keys(); }

    // An unknown name reads as disabled and unchecked, and setting it raises KvlError: a
    // misspelt name in a rule must not pass unnoticed.
    bool Enabled(const QString& name) const;
    void SetEnabled(const QString& name, bool enabled);
    bool Checked(const QString& name) const;
    void SetChecked(const QString& name, bool checked);

signals:
    void Changed(const QString& name);

private:
    struct State
    {
        bool enabled = true;
        bool checked = false;
    };
    State& Find(const QString& name);

    QHash<QString, State> m_states;
};
