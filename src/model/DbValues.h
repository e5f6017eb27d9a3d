#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// Conversions between the objects' values and bound column values. Ids are held as text and
// bound as 32-bit integers; dates are bound as dates.
namespace DbValues {

// An id as an integer to bind: null for an empty id; raises KvlError (type mismatch) for text
// that is not a whole number.
QVariant Id(const QString& id);
// A stored id as text: the empty text for Null.
QString IdText(const QVariant& value);
// A date to bind: null for an invalid (zero) date.
QVariant Date(const QDate& date);
// A stored date: an invalid (zero) date for Null or unreadable values.
QDate ReadDate(const QVariant& value);

}  // namespace DbValues
