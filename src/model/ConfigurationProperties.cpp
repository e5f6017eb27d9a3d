#include "model/Configuration.h"

#include "core/KeyHelpers.h"
#include "core/services/PropertyGrid.h"
#include "model/PropertyRows.h"

namespace PR = PropertyRows;
namespace C = PropertyCaptions;

namespace {

QList<PR::Row> ConfigurationRows()
{
    using E = PR::Editor;
    return PR::Layout({PR::Group(C::kMain), PR::Property(C::kName, E::Plain), PR::Property(C::kTitle, E::Button),
                       PR::Property(C::kDescription, E::DocumentButton), PR::Property(C::kCreationDate),
                       PR::Property(C::kUpdateDate), PR::UsersOnly(C::kAuthor), PR::Group(C::kEquipments),
                       PR::Property(C::kFirst, E::Button), PR::Property(C::kSecond, E::Button),
                       PR::Property(C::kThird, E::Button), PR::Group(C::kLinks),
                       PR::Property(C::kTestPlans, E::ListButton)});
}

}  // namespace

void Configuration::Properties()
{
    LoadTestPlans(false);
    PR::Write(gPropertyGrid(), ConfigurationRows(), *this, [this](int caption) -> QString {
        if (caption == C::kFirst)
            return Equipment1();
        if (caption == C::kSecond)
            return Equipment2();
        if (caption == C::kThird)
            return Equipment3();
        return PR::ListText(HasTestPlans());
    });
}

bool Configuration::BeforeEditProperty(int intRow)
{
    if (!CanModify())
        return true;
    LoadTestPlans(false);
    return PR::ChooseEditor(gPropertyGrid(), intRow, PR::At(ConfigurationRows(), intRow).editor, HasTestPlans());
}

void Configuration::AfterEditProperty(int Row, int Col)
{
    const QString text = gPropertyGrid().TextMatrix(Row, Col);
    const int caption = PR::At(ConfigurationRows(), Row).caption;
    const Configuration stored = *this;
    if (caption == C::kFirst)
        SetEquipment1(PR::Fit(text));
    else if (caption == C::kSecond)
        SetEquipment2(PR::Fit(text));
    else if (caption == C::kThird)
        SetEquipment3(PR::Fit(text));
    else
        PR::SetMainText(*this, caption, text);
    PR::Save(*this, stored, caption, kImageConfiguration);
    Properties();
}
