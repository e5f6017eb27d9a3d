#include "model/Configuration.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/DbValues.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"

#include <QSqlQuery>

Configuration::Configuration()
    : ItemRecord({QStringLiteral("CONFIGURATION"), QStringLiteral("Configuration"), QStringLiteral("Configuration"),
                  QStringLiteral("Configuration")})
{
}

QString Configuration::NodeKeyOf(const QString& id)
{
    return NodeKey::kConfigurationPrefix + id;
}

QStringList Configuration::FindColumns() const
{
    return {QStringLiteral("EQUIPMENT1"), QStringLiteral("EQUIPMENT2"), QStringLiteral("EQUIPMENT3")};
}

void Configuration::ReadColumns(const QSqlQuery& row)
{
    if (!row.isNull(QStringLiteral("EQUIPMENT1")))
        m_equipment1 = row.value(QStringLiteral("EQUIPMENT1")).toString();
    if (!row.isNull(QStringLiteral("EQUIPMENT2")))
        m_equipment2 = row.value(QStringLiteral("EQUIPMENT2")).toString();
    if (!row.isNull(QStringLiteral("EQUIPMENT3")))
        m_equipment3 = row.value(QStringLiteral("EQUIPMENT3")).toString();
}

int Configuration::LoadDocument()
{
    return Document(QStringLiteral("Configuration")).Load();
}

int Configuration::Find(const QString& id)
{
    return FindRow(id);
}

int Configuration::Update()
{
    return UpdateRow({{QStringLiteral("EQUIPMENT1"), m_equipment1},
                      {QStringLiteral("EQUIPMENT2"), m_equipment2},
                      {QStringLiteral("EQUIPMENT3"), m_equipment3}});
}

int Configuration::AddNode(const QString& method)
{
    try {
        ExplorerNode* node = gExplorerNodes().Add(NodeKey::kRoot, NodeKeyOf(Id()), Name(), kImageConfiguration);
        node->SetTag(Id());
        return 0;
    } catch (const std::exception& error) {
        // The row stays: it is shown the next time the tree is loaded.
        LogError(Label(method), error);
        return 1;
    }
}

int Configuration::Create()
{
    if (CreateRow({}) != 0)
        return 1;
    return AddNode(QStringLiteral("Create"));
}

int Configuration::Clone()
{
    try {
        const QDate today = QDate::currentDate();
        const QString prefix = NamingPrefix();
        QString name;
        const QString id = InsertWithNewId([&](const QString& newId) {
            name = prefix + newId;
            return Columns{{QStringLiteral("NAME"), name},
                           {QStringLiteral("TITLE"), Title()},
                           {QStringLiteral("DATE_CREATION"), DbValues::Date(today)},
                           {QStringLiteral("DATE_UPDATE"), DbValues::Date(today)},
                           {QStringLiteral("EQUIPMENT1"), m_equipment1},
                           {QStringLiteral("EQUIPMENT2"), m_equipment2},
                           {QStringLiteral("EQUIPMENT3"), m_equipment3}};
        });
        // Only the id changes: the object keeps the source's name, dates and author.
        SetId(id);
        ExplorerNode* node = gExplorerNodes().Add(NodeKey::kRoot, NodeKeyOf(id), name, kImageConfiguration);
        node->SetTag(id);
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Clone")), error);
        return 1;
    }
}
