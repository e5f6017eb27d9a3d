#pragma once

#include <QString>
#include <QStringList>

// A combo box's state: its list, its text, the selected list position (-1 for none) and whether
// it is enabled. Selecting a position shows that entry; a text not in the list selects nothing.
class ComboModel
{
public:
    explicit ComboModel(const QStringList& items = {}) : m_items(items) {}

    QStringList Items() const { return m_items; }
    void SetItems(const QStringList& items);
    QString Text() const { return m_text; }
    void SetText(const QString& text);
    int ListIndex() const { return m_listIndex; }
    // A position outside the list is refused and changes nothing.
    bool SetListIndex(int index);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }

private:
    QStringList m_items;
    QString m_text;
    int m_listIndex = -1;
    bool m_enabled = true;
};
