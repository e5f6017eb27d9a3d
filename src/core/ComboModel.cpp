#include "core/ComboModel.h"

void ComboModel::SetItems(const QStringList& items)
{
    m_items = items;
    m_listIndex = static_cast<int>(m_items.indexOf(m_text));
}

void ComboModel::SetText(const QString& text)
{
    m_text = text;
    m_listIndex = static_cast<int>(m_items.indexOf(text));
}

bool ComboModel::SetListIndex(int index)
{
    if (index < -1 || index >= m_items.size())
        return false;
    m_listIndex = index;
    m_text = index < 0 ? QString() : m_items[index];
    return true;
}
