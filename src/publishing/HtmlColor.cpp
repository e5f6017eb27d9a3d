#include "publishing/HtmlColor.h"

#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <cstdint>
#include <optional>

namespace {

constexpr std::uint32_t kSystemColourFlag = 0x80000000u;
constexpr std::uint32_t kSystemColourLast = 0x8FFFFFFFu;
constexpr long kMaxRgb = 0xFFFFFF;
constexpr long kInvalidCall = 5;  // "Invalid procedure call or argument"

struct SystemRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// By system colour index; index 25 is not a colour.
constexpr std::array<std::optional<SystemRole>, 31> kSystemRoles = {{
    SystemRole{QPalette::Active, QPalette::Button},
    SystemRole{QPalette::Active, QPalette::Window},
    SystemRole{QPalette::Active, QPalette::Highlight},
    SystemRole{QPalette::Active, QPalette::Dark},
    SystemRole{QPalette::Active, QPalette::Window},
    SystemRole{QPalette::Active, QPalette::Base},
    SystemRole{QPalette::Active, QPalette::Shadow},
    SystemRole{QPalette::Active, QPalette::WindowText},
    SystemRole{QPalette::Active, QPalette::WindowText},
    SystemRole{QPalette::Active, QPalette::HighlightedText},
    SystemRole{QPalette::Active, QPalette::Button},
    SystemRole{QPalette::Active, QPalette::Button},
    SystemRole{QPalette::Active, QPalette::Dark},
    SystemRole{QPalette::Active, QPalette::Highlight},
    SystemRole{QPalette::Active, QPalette::HighlightedText},
    SystemRole{QPalette::Active, QPalette::Button},
    SystemRole{QPalette::Active, QPalette::Dark},
    SystemRole{QPalette::Disabled, QPalette::Text},
    SystemRole{QPalette::Active, QPalette::ButtonText},
    SystemRole{QPalette::Active, QPalette::Light},
    SystemRole{QPalette::Active, QPalette::Light},
    SystemRole{QPalette::Active, QPalette::Shadow},
    SystemRole{QPalette::Active, QPalette::Midlight},
    SystemRole{QPalette::Active, QPalette::ToolTipText},
    SystemRole{QPalette::Active, QPalette::ToolTipBase},
    std::nullopt,
    SystemRole{QPalette::Active, QPalette::Link},
    SystemRole{QPalette::Active, QPalette::Highlight},
    SystemRole{QPalette::Active, QPalette::Dark},
    SystemRole{QPalette::Active, QPalette::Highlight},
    SystemRole{QPalette::Active, QPalette::Window},
}};

// The palette colour of a system colour value, as red | green << 8 | blue << 16.
long SystemColour(std::uint32_t value)
{
    const std::uint32_t index = value & ~kSystemColourFlag;
    if (index >= kSystemRoles.size() || !kSystemRoles[index])
        throw KvlError(kInvalidCall, QStringLiteral("Unknown system colour %1.").arg(index));
    const QColor colour = QGuiApplication::palette().color(kSystemRoles[index]->group, kSystemRoles[index]->role);
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

// An RGB value of 0 to 0xFFFFFF; raises for anything that is neither that nor a system colour.
long PlainColour(long color)
{
    // Callers hold system colours either as the negative 32-bit number or as its unsigned value.
    if (color >= INT32_MIN && color <= static_cast<long>(UINT32_MAX)) {
        const auto bits = static_cast<std::uint32_t>(color);
        if (bits >= kSystemColourFlag && bits <= kSystemColourLast)
            return SystemColour(bits);
    }
    if (color < 0 || color > kMaxRgb)
        throw KvlError(kInvalidCall, QStringLiteral("%1 is not a colour.").arg(color));
    return color;
}

QString Hex(long byte)
{
    return QStringLiteral("%1").arg(byte & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

QString Format(long color)
{
    const long rgb = PlainColour(color);
    return QLatin1Char('#') + Hex(rgb) + Hex(rgb >> 8) + Hex(rgb >> 16);
}

}  // namespace

QString ColorToHtml(long color)
{
    try {
        return Format(color);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_ColorToHtml : "), error);
        return {};
    }
}

QString HtmlColor(long color, bool quoted)
{
    try {
        const QString text = Format(color);
        return quoted ? QLatin1Char('"') + text + QLatin1Char('"') : text;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_HtmlColor : "), error);
        return {};
    }
}
