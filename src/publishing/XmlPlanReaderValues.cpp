#include "publishing/XmlPlanReader.h"

#include <QDateTime>
#include <QStringList>
#include <atomic>
#include <cmath>

namespace {

const QString kOpen = QStringLiteral("<![CDATA[");
const QString kClose = QStringLiteral("]]>");

std::atomic<qint64> gSizeLimit{XmlPlanReader::kDefaultSizeLimit};

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

std::optional<QDate> Checked(const QDate& date)
{
    // Dates are stored as ISO text: four-digit years only.
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return std::nullopt;
    return date;
}

std::optional<QDate> DateInFormat(const QString& text, const QString& format)
{
    QDate date = QDate::fromString(text, format);
    // Qt reads a two-digit year as 19yy; the files come from this century.
    if (date.isValid() && !format.contains(QLatin1String("yyyy")) && format.contains(QLatin1String("yy")))
        date = date.addYears(100);
    return Checked(date);
}

std::optional<QDate> DateOnly(const QString& text, const QLocale& locale)
{
    // Qt reads an ISO date from the first ten characters, whatever follows them.
    if (text.size() == 10) {
        if (auto date = Checked(QDate::fromString(text, Qt::ISODate)))
            return date;
    }
    if (auto date = Checked(QDateTime::fromString(text, Qt::ISODate).date()))
        return date;
    // The short form, with its year widened first so that a four-digit year is not misread.
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    if (!shortFormat.contains(QLatin1String("yyyy"))) {
        QString wide = shortFormat;
        wide.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        if (auto date = DateInFormat(text, wide))
            return date;
    }
    if (auto date = DateInFormat(text, shortFormat))
        return date;
    return DateInFormat(text, QStringLiteral("M-d-yyyy"));
}

}  // namespace

void XmlPlanReader::SetSizeLimit(qint64 bytes)
{
    gSizeLimit = bytes;
}

qint64 XmlPlanReader::SizeLimit()
{
    return gSizeLimit;
}

QString XmlPlanReader::Wrap(const QString& html)
{
    return kOpen + html + kClose;
}

QString XmlPlanReader::Unwrap(const QString& text)
{
    QStringView content = text;
    const qsizetype open = text.indexOf(kOpen);
    if (open >= 0) {
        const qsizetype start = open + kOpen.size();
        // The last marker: the HTML itself may hold "]]>".
        const qsizetype close = text.lastIndexOf(kClose);
        if (close >= start)
            content = content.mid(start, close - start);
    }
    return content.trimmed().isEmpty() ? QString() : content.toString();
}

std::optional<qint64> XmlPlanReader::ParseWhole(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype first = 0;
    if (trimmed.startsWith(QLatin1Char('+')) || trimmed.startsWith(QLatin1Char('-')))
        first = 1;
    if (first == trimmed.size())
        return std::nullopt;
    for (qsizetype i = first; i < trimmed.size(); ++i) {
        if (!IsAsciiDigit(trimmed[i]))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

std::optional<double> XmlPlanReader::ParseDecimal(const QString& text)
{
    QString number = text.trimmed();
    if (number.contains(QLatin1Char(',')) && number.contains(QLatin1Char('.')))
        return std::nullopt;
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(number, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<QDate> XmlPlanReader::ParseDate(const QString& text, const QLocale& locale)
{
    // A time part may follow the date: drop words from the end until the rest reads as a date.
    QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int dropped = 0; dropped < 3 && !words.isEmpty(); ++dropped) {
        if (auto date = DateOnly(words.join(QLatin1Char(' ')), locale))
            return date;
        words.removeLast();
    }
    return std::nullopt;
}
