#include "mainwindow/MainLayout.h"

#include "core/ui/Twips.h"
#include "platform/BugLog.h"
#include "platform/Settings.h"

namespace {

const QString kSection = QStringLiteral("Settings");

double Stored(const char* key, double fallback)
{
    const QString name = QString::fromLatin1(key);
    const QString text = Settings::GetSetting(kSection, name, SettingText(fallback));
    if (const auto value = SettingNumber(text))
        return *value;
    LogError(QStringLiteral("Error_MDIForm_Load : "), 13,
             QStringLiteral("Type mismatch: %1 is \"%2\", not a number").arg(name, text));
    return fallback;
}

int Side(const char* key, int fallback)
{
    const double side = Stored(key, fallback);
    return (side == 1 || side == 2 || side == 3 || side == 4) ? static_cast<int>(side) : fallback;
}

}  // namespace

MainLayout MainLayout::Read()
{
    MainLayout layout;
    layout.MainLeft = Stored("MainLeft", layout.MainLeft);
    layout.MainTop = Stored("MainTop", layout.MainTop);
    layout.MainWidth = Stored("MainWidth", layout.MainWidth);
    layout.MainHeight = Stored("MainHeight", layout.MainHeight);
    layout.PropertiesAlign = Side("PropertiesAlign", layout.PropertiesAlign);
    layout.ExplorerAlign = Side("ExplorerAlign", layout.ExplorerAlign);
    layout.RightWidth = std::max(500.0, Stored("RightWidth", layout.RightWidth));
    layout.LeftWidth = std::max(500.0, Stored("LeftWidth", layout.LeftWidth));
    layout.PropertiesVisible = Stored("PropertiesVisible", -1) == -1;
    layout.ExplorerVisible = Stored("ExplorerVisible", -1) == -1;
    return layout;
}
