#include "core/services/ProgressBar.h"

void ProgressBar::SetValue(int value)
{
    value = qBound(0, value, 100);
    if (value == m_value)
        return;
    m_value = value;
    emit ValueChanged(value);
}

void ProgressBar::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    emit VisibleChanged(visible);
}

ProgressBar& gProgressBar()
{
    // Never destroyed: the bar lives until the process ends.
    static ProgressBar* instance = new ProgressBar();
    return *instance;
}
