#include "core/ui/Twips.h"

#include <QLocale>
#include <QWidget>
#include <cmath>

namespace {

int Dpi(const QWidget* widget, Qt::Orientation direction)
{
    const int dpi = direction == Qt::Horizontal ? widget->logicalDpiX() : widget->logicalDpiY();
    return dpi > 0 ? dpi : 96;
}

}  // namespace

int Pixels(const QWidget* widget, double twips, Qt::Orientation direction)
{
    return static_cast<int>(std::lround(twips * Dpi(widget, direction) / 1440.0));
}

double Twips(const QWidget* widget, int pixels, Qt::Orientation direction)
{
    return pixels * 1440.0 / Dpi(widget, direction);
}

std::optional<double> SettingNumber(const QString& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString SettingText(double value)
{
    return QLocale::c().toString(static_cast<double>(static_cast<float>(value)), 'g', 7);
}
