#include "model/Configuration.h"

#include "core/db/DbHelpers.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "model/DbValues.h"
#include "model/LoadedRows.h"
#include "model/TestPlan.h"

namespace LR = LoadedRows;

int Configuration::LoadTestPlans(bool blnShowList)
{
    QList<LinkRow> rows;
    const QString label = Label(QStringLiteral("LoadTestPlans"));
    const auto read = [this] {
        return LinkRow::Read(
            QStringLiteral("SELECT T.ID, T.NAME, T.DATE_CREATION FROM TESTPLAN T, CONFIGURATION_LINKS L "
                           "WHERE T.ID = L.ID_TESTPLAN AND L.ID_CONFIGURATION = ? ORDER BY T.ID"),
            {DbValues::Id(Id())});
    };
    if (!LR::Query(read, rows, label))
        return 1;
    const QString configurationName = blnShowList ? ConfigurationName(Id()) : QString();
    return LR::Fill<TestPlan>(m_testPlans, m_hasTestPlans, rows, blnShowList, label,
                              [&](const LinkRow& row, DataCollection<TestPlan>& plans, ItemList* list) {
                                  auto plan = std::make_shared<TestPlan>();
                                  plan->SetId(LR::IdText(row.id));
                                  plan->SetName(LR::Text(row.name));
                                  plans.Add(plan, plan->Id());
                                  if (list)
                                      list->AddRow(plan->Name(), configurationName, LR::DateText(row.dateCreation),
                                                   kImageTestPlan, NodeKeyOf(Id()) + NodeKey::kSeparator + plan->Id());
                              });
}
