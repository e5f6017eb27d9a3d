#include "core/services/CommandStates.h"

#include "platform/KvlError.h"

void CommandStates::Add(const QString& name, bool enabled, bool checked)
{
    m_states.insert(name, State{enabled, checked});
}

bool CommandStates::Enabled(const QString& name) const
{
    const auto it = m_states.constFind(name);
    return it != m_states.constEnd() && it->enabled;
}

bool CommandStates::Checked(const QString& name) const
{
    const auto it = m_states.constFind(name);
    return it != m_states.constEnd() && it->checked;
}

CommandStates::State& CommandStates::Find(const QString& name)
{
    const auto it = m_states.find(name);
    if (it == m_states.end())
        throw KvlError(5, QStringLiteral("Unknown command: ") + name);
    return *it;
}

void CommandStates::SetEnabled(const QString& name, bool enabled)
{
    State& state = Find(name);
    if (state.enabled == enabled)
        return;
    state.enabled = enabled;
    emit Changed(name);
}

void CommandStates::SetChecked(const QString& name, bool checked)
{
    State& state = Find(name);
    if (state.checked == checked)
        return;
    state.checked = checked;
    emit Changed(name);
}
