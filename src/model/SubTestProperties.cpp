#include "model/SubTest.h"

#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "core/services/PropertyGrid.h"
#include "core/services/SelectedNode.h"
#include "model/PropertyRows.h"
#include "platform/BugLog.h"

namespace PR = PropertyRows;
namespace C = PropertyCaptions;

namespace {

QList<PR::Row> SubTestRows()
{
    using E = PR::Editor;
    return PR::Layout(
        {PR::Group(C::kMain), PR::Property(C::kName, E::Plain), PR::Property(C::kTitle, E::Button),
         PR::Property(C::kDescription, E::DocumentButton), PR::Property(C::kCreationDate), PR::Property(C::kUpdateDate),
         PR::UsersOnly(C::kAuthor), PR::Group(C::kLinks), PR::Property(C::kTestPlans, E::ListButton),
         PR::Property(C::kProcedures, E::ListButton), PR::Property(C::kSubtestsParents, E::ListButton),
         PR::Property(C::kSubtestsChildren, E::ListButton), PR::Group(C::kAdvancement), PR::Property(C::kWorkload)});
}

// The item type a rename names: the level of the node the sub-test was selected at.
int SelectedSubTestImage()
{
    const ExplorerNode* node = gSelectedNode();
    const int image = node ? node->Image() : kImageSubTestFirst;
    return (image >= kImageSubTestFirst && image <= kImageSubTestLast) ? image : kImageSubTestFirst;
}

// The link lists behind the rows, so that their flags are current.
void LoadLinks(SubTest& subTest)
{
    subTest.LoadTestPlans(false, true);
    subTest.LoadSubTestChildren(false);
    subTest.LoadSubTestParents(false);
    subTest.LoadProcedures(false);
}

bool HasLinks(const SubTest& subTest, int caption)
{
    switch (caption) {
        case C::kTestPlans:
            return subTest.HasTestPlans();
        case C::kProcedures:
            return subTest.HasProcedures();
        case C::kSubtestsParents:
            return subTest.HasSubTestParents();
        case C::kSubtestsChildren:
            return subTest.HasSubTestChildren();
        default:
            return false;
    }
}

}  // namespace

int SubTest::Properties()
{
    try {
        LoadLinks(*this);
        PR::Write(gPropertyGrid(), SubTestRows(), *this, [this](int caption) -> QString {
            return caption == C::kWorkload ? PR::NumberText(HeldWorkLoad()) : PR::ListText(HasLinks(*this, caption));
        });
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Properties")), error);
        return 1;
    }
}

bool SubTest::BeforeEditProperty(int intRow)
{
    if (!CanModify())
        return true;
    LoadLinks(*this);
    const PR::Row row = PR::At(SubTestRows(), intRow);
    return PR::ChooseEditor(gPropertyGrid(), intRow, row.editor, HasLinks(*this, row.caption));
}

void SubTest::AfterEditProperty(int Row, int Col)
{
    const QString text = gPropertyGrid().TextMatrix(Row, Col);
    const int caption = PR::At(SubTestRows(), Row).caption;
    const SubTest stored = *this;
    PR::SetMainText(*this, caption, text);
    PR::Save(*this, stored, caption, SelectedSubTestImage());
    Properties();
}
