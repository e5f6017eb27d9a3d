#include "model/TestPlan.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/ExplorerFill.h"
#include "model/LinkPlacement.h"
#include "model/LoadedRows.h"
#include "model/OccurrenceKey.h"
#include "model/SubTest.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"

namespace LR = LoadedRows;

int TestPlan::LoadConfiguration(bool blnShowList)
{
    QList<LinkRow> rows;
    const QString label = Label(QStringLiteral("LoadConfiguration"));
    const QString user = gUserManagement ? QStringLiteral(", C.ID_USER") : QString();
    const auto read = [&] {
        return LinkRow::Read(QStringLiteral("SELECT C.ID, C.NAME, C.TITLE, C.DATE_CREATION, C.DATE_UPDATE%1 "
                                            "FROM CONFIGURATION_LINKS L, CONFIGURATION C "
                                            "WHERE L.ID_CONFIGURATION = C.ID AND L.ID_TESTPLAN = ? ORDER BY C.ID")
                                 .arg(user),
                             {DbValues::Id(Id())});
    };
    if (!LR::Query(read, rows, label))
        return 1;
    bool loaded = false;  // this collection has no flag of its own
    return LR::Fill<Configuration>(
        m_linkedConfigurations, loaded, rows, blnShowList, label,
        [&](const LinkRow& row, DataCollection<Configuration>& configurations, ItemList* list) {
            auto configuration = std::make_shared<Configuration>();
            configuration->SetId(LR::IdText(row.id));
            configuration->SetName(LR::Text(row.name));
            configuration->SetTitle(LR::Text(row.title));
            configurations.Add(configuration, configuration->Id());
            if (list)
                list->AddRow(configuration->Name(), configuration->Name(), LR::DateText(row.dateCreation),
                             kImageConfiguration, Configuration::NodeKeyOf(configuration->Id()));
        });
}

int TestPlan::LoadSubTests1(bool blnShowList)
{
    QList<LinkRow> rows;
    const QString label = Label(QStringLiteral("LoadSubTests1"));
    const QString user = gUserManagement ? QStringLiteral("S.ID_USER, ") : QString();
    const auto read = [&] {
        return LinkRow::Read(QStringLiteral("SELECT T.ID_SUBTEST AS ID, S.NAME, S.TITLE, S.DATE_CREATION, "
                                            "S.DATE_UPDATE, %1T.ORDER_SUBTEST AS ORDER_NO "
                                            "FROM TESTPLAN_LINKS T, SUBTEST S WHERE S.ID = T.ID_SUBTEST "
                                            "AND T.ID_TESTPLAN = ? ORDER BY T.ORDER_SUBTEST")
                                 .arg(user),
                             {DbValues::Id(Id())});
    };
    if (!LR::Query(read, rows, label))
        return 1;
    const QString path = blnShowList ? LR::SelectedPath() : QString();
    return LR::Fill<SubTest>(
        m_subTests1, m_hasSubTests1, rows, blnShowList, label,
        [&](const LinkRow& row, DataCollection<SubTest>& subTests, ItemList* list) {
            auto subTest = std::make_shared<SubTest>();
            subTest->SetId(LR::IdText(row.id));
            subTest->SetName(LR::Text(row.name));
            subTest->SetTitle(LR::Text(row.title));
            subTest->SetOrder(LR::Order(row.order));
            subTest->SetDateCreation(LR::Date(row.dateCreation));
            subTest->SetDateUpdate(LR::Date(row.dateUpdate));
            subTest->SetKey(OccurrenceKey::SubTest(m_key, Id(), subTest->Id(), subTest->Order()));
            subTest->SetLevel(kImageSubTestFirst);
            if (gUserManagement)
                subTest->SetAuthor(LR::Author(row.idUser));
            subTests.Add(subTest, LR::CollectionKey(subTest->Id(), QString::number(subTest->Order())));
            if (list)
                list->AddRow(subTest->Name(), path, LR::DateText(row.dateCreation), kImageSubTestFirst, subTest->Key());
        });
}

int TestPlan::Link(ExplorerNode* nodParent)
{
    try {
        if (!nodParent)
            throw KvlError(91, QStringLiteral("Object variable or With block variable not set"));
        const QString configurationId = nodParent->Key().mid(NodeKey::kConfigurationPrefix.size());
        AdoConnection& connection = gConnection();
        const QVariantList ids{DbValues::Id(Id()), DbValues::Id(configurationId)};
        const QVariant linked = connection.Scalar(
            QStringLiteral(
                "SELECT ID_TESTPLAN FROM CONFIGURATION_LINKS WHERE ID_TESTPLAN = ? AND ID_CONFIGURATION = ?"),
            ids);
        if (!linked.isNull())
            return 0;
        connection.Run(QStringLiteral("INSERT INTO CONFIGURATION_LINKS (ID_TESTPLAN, ID_CONFIGURATION) VALUES (?, ?)"),
                       ids);
        LinkPlacement::ShowInExplorer(QStringLiteral("Error_Link Testplan : "), [&] {
            const QString parentKey = Configuration::NodeKeyOf(configurationId);
            const QString key = parentKey + NodeKey::kSeparator + Id();
            gExplorerNodes().Add(parentKey, key, Name(), kImageTestPlan)->SetTag(Id());
            ExplorerFill::AddTestPlanSubTests(key, *this);
        });
        return 0;
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_Link Testplan : "), error);
        return 1;
    }
}
