#include "model/PropertyHelp.h"

#include "model/PropertyCaptions.h"

#include <array>
#include <utility>

QString PropertyHelpText(const QString& caption)
{
    namespace C = PropertyCaptions;
    static const std::array<std::pair<int, const char*>, 26> table = {{
        {C::kName, "Identifies a test plan component."},
        {C::kTitle, "Title of a test plan component used in the test plan publication."},
        {C::kDescription, "Describes a test plan component."},
        {C::kTestPlans, "Lists test plans directly linked to the test plan component."},
        {C::kProcedures, "Lists procedures (test cases) linked to the test plan component."},
        {C::kSubtestsParents, "Lists subtests parents linked to the test plan component."},
        {C::kSubtestsChildren, "Lists subtests children linked to the test plan component."},
        {C::kExpectedResult, "Describes procedure's result expected."},
        {C::kSubtests, "Lists subtests linked to the test plan component."},
        {C::kWorkload, "Estimated time to realize the test plan item."},
        {C::kStatus, "Test Plan item's status."},
        {C::kWordTemplate, "Test Plan microsoft word template (dot file) used in RTF and Word publication."},
        {C::kCss, "Cascading Style Sheet inserted in the HTML documents."},
        {C::kComment, "Result comment."},
        {C::kCreationDate, "Date of creation."},
        {C::kUpdateDate, "Date of the last modification."},
        {C::kEquipments, "List of equipments related to the test configuration."},
        {C::kFirst, "First equipment."},
        {C::kSecond, "Second equipment."},
        {C::kThird, "Third equipment."},
        {C::kIteration, "Number of times the procedure was played."},
        {C::kFirstPlayedDate, "Date of the first time the procedure was played."},
        {C::kLastPlayedDate, "Date of the last time the procedure was played."},
        {C::kTester, "Person who played the procedure."},
        {C::kAuthor, "Testplan's item author."},
        {C::kConfigurations, "Lists test configurations linked to the test plan."},
    }};
    for (const auto& [id, help] : table) {
        if (caption == C::Text(id))
            return QString::fromLatin1(help);
    }
    return QString();
}
