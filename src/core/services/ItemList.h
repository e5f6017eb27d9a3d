#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The rows of the search-result window (frmList) without a widget: what a loader lists when asked
// to show where an item is used or what lies under it. The window displays these rows and selects
// the explorer node named by a row's tag.
class ItemList
{
public:
    struct Row
    {
        QString text;  // column "Item"
        QString path;  // sub-item 1, column "Path"
        QString date;  // sub-item 2, column "Date"
        int icon = 0;  // small icon: the item image
        QString tag;   // the NodeKey of the row's item
        QDate day;     // the date the date text shows, for sorting; invalid when there is none
    };

    static QStringList Columns();

    void AddRow(const QString& text, const QString& path, const QString& date, int icon, const QString& tag,
                const QDate& day = QDate());
    const QList<Row>& Rows() const { return m_rows; }
    int Count() const { return static_cast<int>(m_rows.size()); }

private:
    QList<Row> m_rows;
};
