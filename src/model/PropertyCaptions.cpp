#include "model/PropertyCaptions.h"

#include <QHash>

namespace PropertyCaptions {

QString Text(int id)
{
    static const QHash<int, QString> table = {
        {kMain, QStringLiteral("Main")},
        {kName, QStringLiteral("Name")},
        {kTitle, QStringLiteral("Title")},
        {kDescription, QStringLiteral("Description")},
        {kCreationDate, QStringLiteral("Creation date")},
        {kUpdateDate, QStringLiteral("Update date")},
        {kAuthor, QStringLiteral("Author")},
        {kWordTemplate, QStringLiteral("Word template")},
        {kCss, QStringLiteral("CSS")},
        {kLinks, QStringLiteral("Links")},
        {kConfigurations, QStringLiteral("Configurations")},
        {kTestPlans, QStringLiteral("Test plans")},
        {kSubtests, QStringLiteral("Subtests")},
        {kSubtestsChildren, QStringLiteral("Subtests children")},
        {kSubtestsParents, QStringLiteral("Subtests  parents")},
        {kProcedures, QStringLiteral("Procedures")},
        {kResult, QStringLiteral("Result")},
        {kExpectedResult, QStringLiteral("Expected result")},
        {kStatus, QStringLiteral("Status")},
        {kComment, QStringLiteral("Comment")},
        {kIteration, QStringLiteral("Iteration")},
        {kFirstPlayedDate, QStringLiteral("First played date")},
        {kLastPlayedDate, QStringLiteral("Last played date")},
        {kTester, QStringLiteral("Tester")},
        {kAdvancement, QStringLiteral("Advancement")},
        {kWorkload, QStringLiteral("Workload")},
        {kEquipments, QStringLiteral("Equipments")},
        {kFirst, QStringLiteral("First")},
        {kSecond, QStringLiteral("Second")},
        {kThird, QStringLiteral("Third")},
        {kDocument, QStringLiteral("(document)")},
        {kList, QStringLiteral("(list)")},
        {kNone, QStringLiteral("(none)")},
        {kPublication, QStringLiteral("Publication")},
    };
    return table.value(id);
}

}  // namespace PropertyCaptions
