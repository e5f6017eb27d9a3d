#include "model/SubTest.h"

#include "core/db/DbHelpers.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNode.h"
#include "core/services/SelectedNode.h"
#include "model/DbValues.h"
#include "model/LoadedRows.h"
#include "model/OccurrenceKey.h"
#include "model/Procedure.h"
#include "model/SubTestPaths.h"
#include "model/TestPlan.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"

namespace LR = LoadedRows;

namespace {

// The icon of a listed child: one level below the node whose children are listed.
int ChildIcon(int childLevel)
{
    const ExplorerNode* selected = gSelectedNode();
    return selected ? selected->Image() + 1 : childLevel;
}

}  // namespace

int SubTest::LoadSubTestChildren(bool blnShowList)
{
    QList<LinkRow> rows;
    if (!LR::Query([this] { return LinkRow::SubTestChildren({Id()}); }, rows,
                   Label(QStringLiteral("LoadSubTestChildren"))))
        return 1;
    return FillSubTestChildren(rows, blnShowList);
}

int SubTest::FillSubTestChildren(const QList<LinkRow>& rows, bool showList)
{
    const QString path = showList ? LR::SelectedPath() : QString();
    return LR::Fill<SubTest>(
        m_subTestChildren, m_hasSubTestChildren, rows, showList, Label(QStringLiteral("LoadSubTestChildren")),
        [&](const LinkRow& row, DataCollection<SubTest>& children, ItemList* list) {
            const int level = m_level + 1;
            // Beyond ten levels there is no image; a deeper chain can only come from a cycle.
            if (level > kImageSubTestLast)
                throw KvlError(6, QStringLiteral("Sub-tests are nested more than %1 levels deep below \"%2\".")
                                      .arg(OccurrenceKey::kMaxSubTestDepth)
                                      .arg(Name()));
            auto child = std::make_shared<SubTest>();
            child->SetId(LR::IdText(row.id));
            child->SetDateCreation(LR::Date(row.dateCreation));
            child->SetDateUpdate(LR::Date(row.dateUpdate));
            child->SetName(LR::Text(row.name));
            child->SetTitle(LR::Text(row.title));
            child->SetOrder(LR::Order(row.order));
            child->SetLevel(level);
            child->SetKey(OccurrenceKey::SubTest(m_key, Id(), child->Id(), child->Order()));
            if (gUserManagement)
                child->SetAuthor(LR::Author(row.idUser));
            children.Add(child, LR::CollectionKey(child->Id(), QString::number(child->Order())));
            if (list)
                list->AddRow(child->Name(), path, LR::DateText(row.dateCreation), ChildIcon(level),
                             OccurrenceKey::SubTest(LR::SelectedKey(), Id(), child->Id(), child->Order()));
        });
}

int SubTest::LoadProcedures(bool blnShowList)
{
    QList<LinkRow> rows;
    if (!LR::Query([this] { return LinkRow::Procedures({Id()}); }, rows, Label(QStringLiteral("LoadProcedures"))))
        return 1;
    return FillProcedures(rows, blnShowList);
}

int SubTest::FillProcedures(const QList<LinkRow>& rows, bool showList)
{
    const QString path = showList ? LR::SelectedPath() : QString();
    return LR::Fill<Procedure>(
        m_procedures, m_hasProcedures, rows, showList, Label(QStringLiteral("LoadProcedures")),
        [&](const LinkRow& row, DataCollection<Procedure>& procedures, ItemList* list) {
            auto procedure = std::make_shared<Procedure>();
            procedure->SetId(LR::IdText(row.id));
            procedure->SetDateCreation(LR::Date(row.dateCreation));
            procedure->SetDateUpdate(LR::Date(row.dateUpdate));
            procedure->SetTitle(LR::Text(row.title));
            procedure->SetName(LR::Text(row.name));
            // No planned effort counts as none, as when the procedure is found.
            procedure->SetWorkLoad(row.workLoad.isNull() ? 0.0f : row.workLoad.toFloat());
            procedure->SetOrder(LR::Order(row.order));
            procedure->SetKey(OccurrenceKey::Procedure(m_key, Id(), procedure->Id(), procedure->Order()));
            if (gUserManagement)
                procedure->SetAuthor(LR::Author(row.idUser));
            procedures.Add(procedure, LR::CollectionKey(procedure->Id(), QString::number(procedure->Order())));
            if (list)
                list->AddRow(procedure->Name(), path, LR::DateText(row.dateCreation), kImageProcedure,
                             OccurrenceKey::Procedure(LR::SelectedKey(), Id(), procedure->Id(), procedure->Order()));
        });
}

int SubTest::LoadSubTestParents(bool blnShowList)
{
    QList<LinkRow> rows;
    const QString label = Label(QStringLiteral("LoadSubTests"));
    const auto read = [this] {
        return LinkRow::Read(QStringLiteral("SELECT S.NAME, L.ID_SUBTEST_PARENT AS ID, L.ORDER_SUBTEST AS ORDER_NO, "
                                            "S.DATE_CREATION FROM SUBTEST_LINKS L, SUBTEST S "
                                            "WHERE S.ID = L.ID_SUBTEST_PARENT AND L.ID_SUBTEST_CHILD = ? "
                                            "ORDER BY L.ORDER_SUBTEST"),
                             {DbValues::Id(Id())});
    };
    if (!LR::Query(read, rows, label))
        return 1;
    return LR::Fill<SubTest>(m_subTestParents, m_hasSubTestParents, rows, blnShowList, label,
                             [&](const LinkRow& row, DataCollection<SubTest>& parents, ItemList* list) {
                                 auto parent = std::make_shared<SubTest>();
                                 parent->SetId(LR::IdText(row.id));
                                 parent->SetName(LR::Text(row.name));
                                 parent->SetLevel(m_level - 1);
                                 // Through which link, at which order, this sub-test hangs under it.
                                 auto self = std::make_shared<SubTest>();
                                 self->SetId(Id());
                                 self->SetOrder(LR::Order(row.order));
                                 DataCollection<SubTest> link;
                                 link.Add(self, Id());
                                 parent->SetSubTestChildren(link);
                                 parents.Add(parent, LR::CollectionKey(parent->Id(), QString::number(self->Order())));
                                 if (list)
                                     ListView_AddSubtestParent(*list, *parent, LR::DateText(row.dateCreation),
                                                               LR::Date(row.dateCreation));
                             });
}

int SubTest::LoadTestPlans(bool blnShowList, bool blnWithConfiguration)
{
    QList<LinkRow> rows;
    const QString label = Label(QStringLiteral("LoadTestPlans"));
    const auto read = [this] {
        return LinkRow::Read(QStringLiteral("SELECT C.ID_CONFIGURATION, P.NAME, P.ID, L.ORDER_SUBTEST AS ORDER_NO, "
                                            "P.DATE_CREATION FROM TESTPLAN_LINKS L, TESTPLAN P, CONFIGURATION_LINKS C "
                                            "WHERE P.ID = C.ID_TESTPLAN AND P.ID = L.ID_TESTPLAN AND L.ID_SUBTEST = ? "
                                            "ORDER BY C.ID_CONFIGURATION, P.NAME, L.ORDER_SUBTEST"),
                             {DbValues::Id(Id())});
    };
    if (!LR::Query(read, rows, label))
        return 1;
    const QChar sep = NodeKey::kSeparator;
    return LR::Fill<TestPlan>(
        m_testPlans, m_hasTestPlans, rows, blnShowList, label,
        [&](const LinkRow& row, DataCollection<TestPlan>& plans, ItemList* list) {
            const QString configuration = LR::IdText(row.idConfiguration);
            const QString planId = LR::IdText(row.id);
            const int order = LR::Order(row.order);
            const QString link = planId + QLatin1Char('|') + Id() + QLatin1Char('|') + QString::number(order);
            QString key;
            if (!blnWithConfiguration)
                key = link;
            else if (blnShowList)
                key = configuration + sep + planId;  // one entry per configuration and plan
            else
                key = configuration + sep + link;
            if (plans.Exist(key))
                return;
            auto plan = std::make_shared<TestPlan>();
            plan->SetId(planId);
            plan->SetIdConfiguration(configuration);
            plan->SetName(LR::Text(row.name));
            auto self = std::make_shared<SubTest>();
            self->SetId(Id());
            self->SetOrder(order);
            DataCollection<SubTest> level1;
            level1.Add(self, Id());
            plan->SetSubTests1(level1);
            plans.Add(plan, key);
            if (list)
                list->AddRow(plan->Name(), ConfigurationName(configuration), LR::DateText(row.dateCreation),
                             kImageTestPlan, NodeKey::kConfigurationPrefix + configuration + sep + planId);
        });
}
