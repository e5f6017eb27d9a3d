#pragma once

#include <QRect>
#include <QString>
#include <Qt>
#include <optional>

class QWidget;

// Stored layouts keep twips (1/1440 inch), converted with the screen's logical DPI.
int Pixels(const QWidget* widget, double twips, Qt::Orientation direction = Qt::Horizontal);
double Twips(const QWidget* widget, int pixels, Qt::Orientation direction = Qt::Horizontal);

// Numbers in the settings store are C-locale text whatever the user's locale: "1000", "6500.5".
std::optional<double> SettingNumber(const QString& text);
// A single-precision number as such text.
QString SettingText(double value);

// A stored window place made to fit: larger than its screen, it is cut to it; off every screen,
// it comes back onto the primary one.
QRect OnScreen(QRect wanted);
