#include "model/DbValues.h"

#include "core/DbHelpers.h"
#include "core/KvlError.h"

#include <QDateTime>

namespace DbValues {

QVariant Id(const QString& id)
{
    if (id.isEmpty())
        return QVariant(QMetaType::fromType<int>());
    return IdValue(id);
}

QString IdText(const QVariant& value)
{
    return value.isNull() ? QString() : QString::number(value.toLongLong());
}

QVariant Date(const QDate& date)
{
    return date.isValid() ? QVariant(date) : QVariant(QMetaType::fromType<QDate>());
}

QDate ReadDate(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
        case QMetaType::QDate:
            return value.toDate();
        case QMetaType::QDateTime:
            return value.toDateTime().date();
        default:
            break;
    }
    // SQLite gives the ISO text back; tolerate a time after the day.
    const QString text = value.toString().trimmed();
    QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    return date.isValid() ? date : QDate();
}

}  // namespace DbValues
