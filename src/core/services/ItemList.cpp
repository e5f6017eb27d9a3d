#include "core/services/ItemList.h"

QStringList ItemList::Columns()
{
    return {QStringLiteral("Item"), QStringLiteral("Path"), QStringLiteral("Date")};
}

void ItemList::AddRow(const QString& text, const QString& path, const QString& date, int icon, const QString& tag,
                      const QDate& day)
{
    m_rows.append({text, path, date, icon, tag, day});
}
