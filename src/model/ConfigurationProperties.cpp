#include "model/Configuration.h"

#include "core/KeyHelpers.h"
#include "core/services/PropertyGrid.h"
#include "core/services/RenameItem.h"
#include "model/PropertyCaptions.h"
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
    PropertyGrid& grid = gPropertyGrid();
    const QList<PR::Row> rows = ConfigurationRows();
    PR::WriteCaptions(grid, rows);
    if (!Id().isEmpty()) {
        PR::WriteValues(grid, rows, [this](int caption) -> QString {
            switch (caption) {
            case C::kName: return Name();
            case C::kTitle: return Title();
            case C::kDescription: return PR::DocumentText(HasDescription());
            case C::kCreationDate: return PR::DateText(DateCreation());
            case C::kUpdateDate: return PR::DateText(DateUpdate());
            case C::kAuthor: return Author();
            case C::kFirst: return Equipment1();
            case C::kSecond: return Equipment2();
            case C::kThird: return Equipment3();
            case C::kTestPlans: return PR::ListText(HasTestPlans());
            default: return {};
            }
        });
    }
    PR::Finish(grid);
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
    switch (caption) {
    case C::kName: SetName(PR::Fit(text)); break;
    case C::kTitle: SetTitle(PR::Fit(text)); break;
    case C::kFirst: SetEquipment1(PR::Fit(text)); break;
    case C::kSecond: SetEquipment2(PR::Fit(text)); break;
    case C::kThird: SetEquipment3(PR::Fit(text)); break;
    default: break;
    }
    // The tree shows a new name only once it is stored; a failed save shows the stored values again.
    if (Update() != 0)
        *this = stored;
    else if (caption == C::kName)
        RenameItem(kImageConfiguration, Id(), Name());
    Properties();
}
