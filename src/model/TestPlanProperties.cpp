#include "model/TestPlan.h"

#include "core/KeyHelpers.h"
#include "core/services/PropertyGrid.h"
#include "core/services/RenameItem.h"
#include "model/PropertyCaptions.h"
#include "model/PropertyRows.h"

namespace PR = PropertyRows;
namespace C = PropertyCaptions;

namespace {

QList<PR::Row> TestPlanRows()
{
    using E = PR::Editor;
    return PR::Layout({PR::Group(C::kMain), PR::Property(C::kName, E::Plain), PR::Property(C::kTitle, E::Button),
                       PR::Property(C::kDescription, E::DocumentButton), PR::Property(C::kCreationDate),
                       PR::Property(C::kUpdateDate), PR::UsersOnly(C::kAuthor), PR::Group(C::kLinks),
                       PR::Property(C::kConfigurations, E::Button), PR::Property(C::kSubtests, E::ListButton),
                       PR::Group(C::kPublication), PR::Property(C::kWordTemplate, E::Button)});
}

}  // namespace

void TestPlan::Properties()
{
    LoadSubTests1(false);
    PropertyGrid& grid = gPropertyGrid();
    const QList<PR::Row> rows = TestPlanRows();
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
            case C::kConfigurations: return PR::ListText(true);
            case C::kSubtests: return PR::ListText(HasSubTests1());
            case C::kWordTemplate: return PR::DocumentText(WordTemplate());
            default: return {};
            }
        });
    }
    PR::Finish(grid);
}

bool TestPlan::BeforeEditProperty(int intRow)
{
    if (!CanModify())
        return true;
    LoadSubTests1(false);
    LoadConfiguration(false);
    return PR::ChooseEditor(gPropertyGrid(), intRow, PR::At(TestPlanRows(), intRow).editor, HasSubTests1());
}

void TestPlan::AfterEditProperty(int Row, int Col)
{
    const QString text = gPropertyGrid().TextMatrix(Row, Col);
    const int caption = PR::At(TestPlanRows(), Row).caption;
    const TestPlan stored = *this;
    if (caption == C::kName)
        SetName(PR::Fit(text));
    else if (caption == C::kTitle)
        SetTitle(PR::Fit(text));
    // The tree shows a new name only once it is stored; a failed save shows the stored values again.
    if (Update() != 0)
        *this = stored;
    else if (caption == C::kName)
        RenameItem(kImageTestPlan, Id(), Name());
    Properties();
}
