#include "publishing/XmlPlanStore.h"

#include "core/db/AdoConnection.h"
#include "core/db/BatchInsert.h"
#include "core/db/DbHelpers.h"
#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/History.h"
#include "model/Procedure.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"
#include "publishing/HTMLTemplate.h"
#include "publishing/XmlPlanTree.h"

#include <QSqlQuery>

namespace {

constexpr int kStyleSheet = 17;

QVariant NullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

QVariant Optional(const std::optional<QString>& text)
{
    return text ? QVariant(*text) : NullText();
}

QStringList ColumnNames(const ItemRecord::Columns& columns)
{
    QStringList names;
    for (const auto& column : columns)
        names << column.first;
    return names;
}

QVariantList ColumnValues(const ItemRecord::Columns& columns)
{
    QVariantList values;
    for (const auto& column : columns)
        values << column.second;
    return values;
}

// Writes tables in a few statements each and tells the share of all the rows written so far.
class RowWriter
{
public:
    RowWriter(qsizetype total, const std::function<void(int)>& progress) : m_total(total), m_progress(progress) {}

    void Write(const TableRows& rows)
    {
        if (rows.rows.isEmpty())
            return;
        BatchInsert insert(gConnection(),
                           QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(rows.table, rows.columns.join(", ")),
                           static_cast<int>(rows.columns.size()));
        for (const QVariantList& row : rows.rows) {
            insert.Add(row);
            ++m_done;
            Report();
        }
        insert.Flush();
    }

private:
    void Report()
    {
        if (!m_progress || m_total == 0)
            return;
        const int percent = static_cast<int>(static_cast<double>(m_done) * 100.0 / static_cast<double>(m_total));
        if (percent != m_reported) {
            m_reported = percent;
            m_progress(percent);
        }
    }

    qsizetype m_total;
    qsizetype m_done = 0;
    int m_reported = -1;
    std::function<void(int)> m_progress;
};

// The name of the configuration `id`, when it exists.
std::optional<QString> ConfigurationName(int id)
{
    std::optional<QString> name;
    gConnection().ForEachRow(QStringLiteral("SELECT NAME FROM CONFIGURATION WHERE ID = ?"), {id},
                             [&](const QSqlQuery& row) { name = row.value(0).toString(); });
    return name;
}

// Updates the configuration `id` from the fields the file has, as Update stamps it.
void UpdateConfiguration(const XmlPlan::Configuration& file, int id, const QDate& today)
{
    ItemRecord::Columns columns;
    const QList<std::pair<const char*, const std::optional<QString>*>> fields{{"NAME", &file.name},
                                                                              {"TITLE", &file.title},
                                                                              {"EQUIPMENT1", &file.equipment1},
                                                                              {"EQUIPMENT2", &file.equipment2},
                                                                              {"EQUIPMENT3", &file.equipment3}};
    for (const auto& [column, value] : fields) {
        if (*value)
            columns.append({QString::fromLatin1(column), **value});
    }
    columns << ItemRecord::Stamp(today, false);
    gConnection().Run(QStringLiteral("UPDATE CONFIGURATION SET %1 = ? WHERE ID = ?")
                          .arg(ColumnNames(columns).join(QStringLiteral(" = ?, "))),
                      ColumnValues(columns) << id);
}

// A new item row as Create makes it, with `own` columns after ID, NAME and TITLE.
TableRows NewItemRow(const ItemRecord& kind, int id, const QString& name, const QString& title,
                     const ItemRecord::Columns& own, const QDate& today)
{
    const ItemRecord::Columns columns = own + ItemRecord::Stamp(today, true);
    return {kind.TableInfo().name,
            QStringList{QStringLiteral("ID"), QStringLiteral("NAME"), QStringLiteral("TITLE")} + ColumnNames(columns),
            {QVariantList{id, name, title} + ColumnValues(columns)}};
}

// The file's history rows of the plan; a row without a date is today's. The reader keeps one row
// per day, as the table's key does.
TableRows HistoryRows(const QList<XmlPlan::History>& history, const QVariantList& place, const QDate& today)
{
    TableRows rows{QStringLiteral("HISTORY"),
                   {QStringLiteral("ID_TESTPLAN"), QStringLiteral("ID_CONFIGURATION"), QStringLiteral("ADVANCEMENT"),
                    QStringLiteral("WORKLOAD"), QStringLiteral("DATE_UPDATE"), QStringLiteral("COUNT_PASSED"),
                    QStringLiteral("COUNT_FAILED"), QStringLiteral("COUNT_CANCELED"), QStringLiteral("COUNT_WARNING")},
                   {}};
    for (const XmlPlan::History& row : history) {
        const QString day = (row.date.isValid() ? row.date : today).toString(Qt::ISODate);
        rows.rows.append(place + QVariantList{row.advancement, row.workload, day, row.passed, row.failed, row.canceled,
                                              row.warning});
    }
    return rows;
}

}  // namespace

XmlPlanStore::Stored XmlPlanStore::Store(const XmlPlan::Plan& plan, const Options& options,
                                         const std::function<void(int)>& progress)
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    const QDate today = QDate::currentDate();
    Stored stored;

    // The file's configuration id is checked whether it is used or not.
    const int fileConfigurationId = IdValue(plan.configuration.id);
    const std::optional<QString> existingName =
        options.configuration ? ConfigurationName(fileConfigurationId) : std::nullopt;
    const Configuration configurationKind;
    const int configurationId = existingName ? fileConfigurationId : NewId(configurationKind.TableInfo().idTable);
    const QString defaultConfigurationName = configurationKind.NamingPrefix() + QString::number(configurationId);
    stored.configurationId = QString::number(configurationId);
    stored.configurationName = plan.configuration.name.value_or(existingName.value_or(defaultConfigurationName));

    const TestPlan planKind;
    const int testPlanId = NewId(planKind.TableInfo().idTable);
    const QString defaultPlanName = planKind.NamingPrefix() + QString::number(testPlanId);
    stored.testPlanId = QString::number(testPlanId);
    stored.testPlanName = options.keepName ? plan.name.value_or(defaultPlanName) : defaultPlanName;

    XmlPlanTree::Place place;
    place.configurationId = stored.configurationId;
    place.testPlanId = stored.testPlanId;
    place.keepName = options.keepName;
    place.today = today;
    // Each table's new ids follow its highest one: the allocation locks, held to the commit, keep
    // them free.
    place.firstSubTestId = NewId(SubTest().TableInfo().idTable);
    place.firstProcedureId = NewId(Procedure().TableInfo().idTable);
    XmlPlanTree tree(place);
    tree.Add(plan.subTests);

    const QVariantList planPlace{testPlanId, configurationId};
    TableRows history;
    if (HasHistory()) {
        history = HistoryRows(plan.history, planPlace, today);
    } else if (!plan.history.isEmpty()) {
        stored.warnings << QStringLiteral("The database keeps no history: the file's history rows were not imported.");
    }

    const QList<const TableRows*> treeTables{&tree.subTests,     &tree.procedures,     &tree.testPlanLinks,
                                             &tree.subTestLinks, &tree.procedureLinks, &tree.results};
    qsizetype total = 3 + history.rows.size();
    for (const TableRows* table : treeTables)
        total += table->rows.size();
    RowWriter writer(total, progress);

    if (existingName) {
        UpdateConfiguration(plan.configuration, configurationId, today);
    } else {
        writer.Write(NewItemRow(configurationKind, configurationId, stored.configurationName,
                                plan.configuration.title.value_or(defaultConfigurationName),
                                {{QStringLiteral("EQUIPMENT1"), Optional(plan.configuration.equipment1)},
                                 {QStringLiteral("EQUIPMENT2"), Optional(plan.configuration.equipment2)},
                                 {QStringLiteral("EQUIPMENT3"), Optional(plan.configuration.equipment3)}},
                                today));
    }
    if (options.css && plan.css) {
        if (HTMLTemplate().Save(kStyleSheet, *plan.css) != 0)
            throw KvlError(3251, QStringLiteral("The style sheet could not be stored."));
        stored.styleSheet = true;
    }
    writer.Write(NewItemRow(planKind, testPlanId, stored.testPlanName, plan.title.value_or(defaultPlanName),
                            {{QStringLiteral("DESCRIPTION"), DescriptionValue(plan.description)},
                             {QStringLiteral("ID_CONFIGURATION"), configurationId}},
                            today));
    writer.Write({QStringLiteral("CONFIGURATION_LINKS"),
                  {QStringLiteral("ID_TESTPLAN"), QStringLiteral("ID_CONFIGURATION")},
                  {planPlace}});
    // Items before the links that name them, procedures before the results that name them.
    for (const TableRows* table : treeTables)
        writer.Write(*table);
    writer.Write(history);
    // Today's history counts the imported results once; it replaces a row of today from the file.
    if (!tree.results.rows.isEmpty())
        UpdateHistory(stored.testPlanId, stored.configurationId);
    if (!transaction.Commit())
        throw KvlError(3251, QStringLiteral("The imported test plan could not be committed."));
    return stored;
}
