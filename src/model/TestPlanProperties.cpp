#include "model/TestPlan.h"

#include "core/KeyHelpers.h"
#include "core/services/PropertyGrid.h"
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
    PR::Write(gPropertyGrid(), TestPlanRows(), *this, [this](int caption) -> QString {
        if (caption == C::kConfigurations)
            return PR::ListText(true);
        if (caption == C::kSubtests)
            return PR::ListText(HasSubTests1());
        return PR::DocumentText(WordTemplate());
    });
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
    PR::SetMainText(*this, caption, text);
    PR::Save(*this, stored, caption, kImageTestPlan);
    Properties();
}
