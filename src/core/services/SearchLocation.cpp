#include "core/services/SearchLocation.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "platform/BugLog.h"

#include <QHash>
#include <QSqlQuery>

namespace {

const QString kRootKey = QStringLiteral("Root");
const QString kKeyPrefix = QStringLiteral("KeyId:");

struct Named
{
    QString id;
    QString name;
};

struct FirstLevel
{
    QString id;
    QString name;
    QString order;
};

}  // namespace

void SearchLocation::Choose(int index)
{
    if (index < 0 || index >= m_entries.size()) {
        m_chosen = -1;
        m_text.clear();
        m_key.clear();
        return;
    }
    m_chosen = index;
    m_text = m_entries[index].text;
    m_key = m_entries[index].key;
}

void SearchLocation::Choose(const QString& text, const QString& key)
{
    m_chosen = -1;
    m_text = text;
    m_key = key;
}

void SearchLocation::Reset()
{
    m_entries.clear();
    m_chosen = -1;
    m_text = kWholeDatabaseLocation;
    m_key = kRootKey;
}

int SearchLocation::Fill()
{
    m_entries = {{kWholeDatabaseLocation, kRootKey, kImageRoot, 0}};
    Choose(-1);
    const AdoConnection& db = gConnection();
    QList<Named> configurations;
    QHash<QString, QList<Named>> plans;
    QHash<QString, QList<FirstLevel>> subTests;
    try {
        // One query per table: the explorer's orders, configurations and plans by id, first-level
        // sub-tests by their order under the plan.
        db.ForEachRow(QStringLiteral("SELECT ID, NAME FROM CONFIGURATION ORDER BY ID"), {}, [&](const QSqlQuery& row) {
            configurations.append({row.value(0).toString(), row.value(1).toString()});
        });
        db.ForEachRow(QStringLiteral("SELECT L.ID_CONFIGURATION, T.ID, T.NAME FROM TESTPLAN T, CONFIGURATION_LINKS L "
                                     "WHERE T.ID = L.ID_TESTPLAN ORDER BY L.ID_CONFIGURATION, T.ID"),
                      {}, [&](const QSqlQuery& row) {
                          plans[row.value(0).toString()].append({row.value(1).toString(), row.value(2).toString()});
                      });
        db.ForEachRow(QStringLiteral("SELECT L.ID_TESTPLAN, L.ID_SUBTEST, L.ORDER_SUBTEST, S.NAME "
                                     "FROM TESTPLAN_LINKS L, SUBTEST S WHERE S.ID = L.ID_SUBTEST "
                                     "ORDER BY L.ID_TESTPLAN, L.ORDER_SUBTEST, L.ID_SUBTEST"),
                      {}, [&](const QSqlQuery& row) {
                          subTests[row.value(0).toString()].append(
                              {row.value(1).toString(), row.value(3).toString(), row.value(2).toString()});
                      });
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_LoadConfigurations : "), error);
        return 1;
    }
    for (const Named& configuration : configurations) {
        const QString configurationKey = NodeKey::kConfigurationPrefix + configuration.id;
        m_entries.append({configuration.name, kKeyPrefix + configurationKey, kImageConfiguration, 1});
        for (const Named& plan : plans.value(configuration.id)) {
            const QString planKey = configurationKey + NodeKey::kSeparator + plan.id;
            m_entries.append({plan.name, kKeyPrefix + planKey, kImageTestPlan, 2});
            for (const FirstLevel& subTest : subTests.value(plan.id))
                m_entries.append({subTest.name,
                                  kKeyPrefix + planKey + NodeKey::kSeparator +
                                      NodeKey::FormatLink(plan.id, subTest.id, subTest.order),
                                  kImageSubTestFirst, 3});
        }
    }
    Choose(0);
    return 0;
}

int SearchLocation::Refill()
{
    const QString key = m_key;
    const int result = Fill();
    if (result != 0 || key.isEmpty())
        return result;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].key == key) {
            Choose(i);
            break;
        }
    }
    return result;
}

SearchLocation& gSearchLocation()
{
    static SearchLocation instance;
    return instance;
}
