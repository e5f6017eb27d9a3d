#include "publishing/modEdition.h"

#include "core/MainToolbars.h"
#include "platform/Settings.h"

#include <QFontDatabase>
#include <algorithm>

QStringList gFontNames;

void LoadFontLists()
{
    MainToolbars& bars = gMainToolbars();
    QStringList families = QFontDatabase::families();
    std::sort(families.begin(), families.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    bars.cboFontName.SetItems(families);
    gFontNames = families;
    // Positions 0 to 6 stand for the editor's sizes 1 to 7.
    bars.cboFontSize.SetItems({QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("14"),
                               QStringLiteral("18"), QStringLiteral("24"), QStringLiteral("36")});
    bars.cboFontName.SetText(
        Settings::GetSetting(QStringLiteral("Settings"), QStringLiteral("FontName"), QStringLiteral("Arial")));
    bars.cboFontSize.SetText(
        Settings::GetSetting(QStringLiteral("Settings"), QStringLiteral("FontSize"), QStringLiteral("10")));
    bars.NotifyChanged();
}
