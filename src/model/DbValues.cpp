#include "model/DbValues.h"

#include "core/db/DbHelpers.h"
#include "platform/KvlError.h"

#include <QDateTime>

namespace {

// "YYYY-MM-DD" at the start of `text`, read without the general parser (the tree reads two
// dates per node); invalid when the text has another form.
QDate IsoDay(const QString& text)
{
    if (text.size() < 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return {};
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return {};
            parts[p] = parts[p] * 10 + (c - u'0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]);
}

}  // namespace

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
    if (value.typeId() == QMetaType::QString) {
        const QDate date = IsoDay(*static_cast<const QString*>(value.constData()));
        if (date.isValid())
            return date;
    }
    const QString text = value.toString().trimmed();
    QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    return date.isValid() ? date : QDate();
}

}  // namespace DbValues
