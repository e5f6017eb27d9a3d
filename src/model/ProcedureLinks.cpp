#include "model/Procedure.h"

#include "core/db/DbHelpers.h"
#include "core/KeyHelpers.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/UpdatedNodes.h"
#include "model/DbValues.h"
#include "model/ExplorerFill.h"
#include "model/LinkPlacement.h"
#include "model/LoadedRows.h"
#include "model/OccurrenceKey.h"
#include "model/SubTest.h"
#include "model/SubTestPaths.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

namespace LR = LoadedRows;

int Procedure::LoadSubTests(bool blnShowList)
{
    QList<LinkRow> rows;
    const QString label = Label(QStringLiteral("LoadSubTests"));
    const auto read = [this] {
        return LinkRow::Read(QStringLiteral("SELECT DISTINCT S.NAME, L.ID_SUBTEST AS ID, L.ID_PROCEDURE AS PARENT_ID, "
                                            "L.ORDER_PROCEDURE AS ORDER_NO, S.DATE_CREATION "
                                            "FROM PROCEDURE_LINKS L, SUBTEST S WHERE S.ID = L.ID_SUBTEST "
                                            "AND L.ID_PROCEDURE = ? ORDER BY L.ID_SUBTEST, L.ORDER_PROCEDURE"),
                             {DbValues::Id(Id())});
    };
    if (!LR::Query(read, rows, label))
        return 1;
    return LR::Fill<SubTest>(
        m_subTests, m_hasSubTests, rows, blnShowList, label,
        [&](const LinkRow& row, DataCollection<SubTest>& subTests, ItemList* list) {
            auto subTest = std::make_shared<SubTest>();
            subTest->SetId(LR::IdText(row.id));
            subTest->SetName(LR::Text(row.name));
            // Through which link, at which order, the procedure hangs there.
            auto self = std::make_shared<Procedure>();
            self->SetId(Id());
            self->SetOrder(LR::Order(row.order));
            DataCollection<Procedure> link;
            link.Add(self, Id());
            subTest->SetProcedures(link);
            subTests.Add(subTest, LR::CollectionKey(subTest->Id(), QString::number(self->Order())));
            if (list) {
                subTest->SetKey(QString());
                ListView_AddSubtestParent(*list, *subTest, LR::DateText(row.dateCreation), LR::Date(row.dateCreation));
            }
        });
}

int Procedure::Link(ExplorerNode* nodParent, const QString& strOrder)
{
    try {
        if (!nodParent)
            throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
        if (nodParent->Image() < kImageSubTestFirst || nodParent->Image() > kImageSubTestLast)
            throw KvlError(5, QStringLiteral("A procedure can only be linked under a sub-test."));
        const QString subTestId = KeyId(nodParent->Tag());
        const LinkPlacement::Placed placed =
            LinkPlacement::Place(LinkOrders::kProcedureLinks, subTestId, Id(), strOrder);
        m_order = placed.order;
        m_key = OccurrenceKey::Procedure(nodParent->Key(), subTestId, Id(), placed.order);
        LinkPlacement::ShowInExplorer(Label(QStringLiteral("Link")), [&] {
            // Every occurrence of the sub-test shows the new occurrence once, where a fill puts it.
            ExplorerNodes& tree = gExplorerNodes();
            const QString name = ProcedureName(Id());
            for (ExplorerNode* node : SubTestNodes(subTestId)) {
                const QString key = OccurrenceKey::Procedure(node->Key(), subTestId, Id(), placed.order);
                if (tree.Exist(key))
                    continue;
                ExplorerFill::InsertOccurrence(*node, key, name, kImageProcedure,
                                               OccurrenceKey::Tag(subTestId, Id(), placed.order));
            }
        });
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Link")), error);
        return 1;
    }
}
