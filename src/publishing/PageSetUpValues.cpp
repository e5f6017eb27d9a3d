#include "publishing/PageSetupModel.h"

#include "platform/BugLog.h"
#include "platform/Settings.h"

#include <QLocale>
#include <QPageSize>

#include <cmath>
#include <limits>
#include <optional>

namespace PageSetUp {
namespace {

constexpr long kOverflow = 6;
constexpr long kTypeMismatch = 13;

const Entry& EntryOf(Key key)
{
    return kKeys[static_cast<size_t>(key)];
}

std::optional<double> Number(const QString& text)
{
    QString plain = text.trimmed();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void LogBad(const QString& label, long number, const Entry& entry, const QString& stored)
{
    LogError(label, number,
             QStringLiteral("%1/%2 holds \"%3\"; %4 is used.").arg(kSection, entry.key, stored, entry.defaultValue));
}

double Twips(double length, QPageSize::Unit unit)
{
    return unit == QPageSize::Millimeter ? length / 25.4 * 1440 : length * 1440;
}

}  // namespace

int ReadNumber(Key key, const QString& label)
{
    const Entry& entry = EntryOf(key);
    const QString stored = Settings::GetSetting(kSection, entry.key, entry.defaultValue);
    const std::optional<double> value = Number(stored);
    if (!value) {
        LogBad(label, kTypeMismatch, entry, stored);
        return QString(entry.defaultValue).toInt();
    }
    const double whole = std::nearbyint(*value);
    const bool inRange =
        key == Name ? whole >= std::numeric_limits<qint16>::min() && whole <= std::numeric_limits<qint16>::max()
                    : *value >= 0 && whole <= std::numeric_limits<qint16>::max();
    if (!inRange) {
        LogBad(label, kOverflow, entry, stored);
        return QString(entry.defaultValue).toInt();
    }
    return static_cast<int>(whole);
}

bool ReadPortrait(const QString& label)
{
    const Entry& entry = EntryOf(Orientation);
    const QString stored = Settings::GetSetting(kSection, entry.key, entry.defaultValue);
    const std::optional<double> value = Number(stored);
    if (!value) {
        LogBad(label, kTypeMismatch, entry, stored);
        return true;
    }
    return *value != 0;
}

QSize PaperTwips(int code)
{
    QPageSize paper(QPageSize::id(code));
    if (!paper.isValid())
        paper = QPageSize(QPageSize::A4);
    // The size as the paper is defined: points would round A4 to 11900 x 16840.
    QSizeF size = paper.definitionSize();
    QPageSize::Unit unit = paper.definitionUnits();
    if (unit != QPageSize::Millimeter && unit != QPageSize::Inch) {
        size = paper.size(QPageSize::Inch);
        unit = QPageSize::Inch;
    }
    return QSize(static_cast<int>(std::nearbyint(Twips(size.width(), unit))),
                 static_cast<int>(std::nearbyint(Twips(size.height(), unit))));
}

QString LengthText(double hundredths)
{
    return QString::number(hundredths, 'g', 15);
}

}  // namespace PageSetUp
