#include "publishing/modEdition.h"

#include "core/MainToolbars.h"
#include "kvlBrowser/IControl.h"
#include "platform/Settings.h"
#include "publishing/PageSetupModel.h"

#include <QFontDatabase>
#include <algorithm>
#include <cmath>

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

void ApplyPageSetup(IControl& control)
{
    using namespace PageSetUp;
    const QString label = QStringLiteral("Error_ApplyPageSetup : ");
    // Hundredths of a millimetre to hundredths of an inch, halves to even.
    const auto length = [&](Key key) { return static_cast<qint32>(std::nearbyint(ReadNumber(key, label) / 25.4)); };
    control.SetFooterHeight(length(FooterHeight));
    control.SetHeaderHeight(length(HeaderHeight));
    control.SetMarginBottom(length(MarginBottom));
    control.SetMarginTop(length(MarginTop));
    control.SetMarginLeft(length(MarginLeft));
    control.SetMarginRight(length(MarginRight));
    const bool portrait = ReadPortrait(label);
    const QSize paper = PaperTwips(ReadNumber(Name, label));
    // 567 twips per centimetre.
    const auto hundredths = [](int twips) { return static_cast<qint32>(std::nearbyint(twips / 567.0 / 2.54 * 100)); };
    control.SetOrientation(portrait ? QStringLiteral("portrait") : QStringLiteral("landscape"));
    control.SetPageWidth(hundredths(portrait ? paper.width() : paper.height()));
    control.SetPageHeight(hundredths(portrait ? paper.height() : paper.width()));
}
