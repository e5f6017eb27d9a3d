#include "core/ui/Twips.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QWidget>
#include <algorithm>
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

QRect OnScreen(QRect wanted)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* home = QGuiApplication::primaryScreen();
    for (QScreen* screen : screens) {
        if (screen->availableGeometry().intersects(wanted)) {
            home = screen;
            break;
        }
    }
    if (!home)
        return wanted;
    const QRect available = home->availableGeometry();
    wanted.setWidth(std::clamp(wanted.width(), 1, available.width()));
    wanted.setHeight(std::clamp(wanted.height(), 1, available.height()));
    if (!available.intersects(wanted)) {
        wanted.moveLeft(std::clamp(wanted.left(), available.left(), available.right() - wanted.width() + 1));
        wanted.moveTop(std::clamp(wanted.top(), available.top(), available.bottom() - wanted.height() + 1));
    }
    return wanted;
}
