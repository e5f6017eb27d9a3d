#include "publishing/FieldPlaceholders.h"

#include "core/db/AdoConnection.h"
#include "core/KeyHelpers.h"
#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/Procedure.h"
#include "model/PropertyRows.h"
#include "model/Result.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"

namespace FieldPlaceholders {
namespace {

struct DescriptionField
{
    QString name;
    QString statement;  // the column of one row, the id bound
    DescriptionLookup lookup;
};

std::optional<QVariant> StoredColumn(const QString& statement, const QString& id)
{
    QSqlQuery query = gConnection().Query(statement, {DbValues::Id(id)});
    if (!query.next())
        return std::nullopt;
    return query.value(0);
}

// The item's fields, then the page break and its description columns in turn. A failed read
// raises with `values` holding the fields read before it.
void AppendFields(QList<FieldValue>& values, const QList<FieldValue>& fields, const QString& id,
                  const QList<DescriptionField>& descriptions)
{
    values.append(fields);
    values.append(FieldValue::Html(QStringLiteral("PAGEBREAK"), kPageBreak));
    for (const DescriptionField& description : descriptions) {
        const std::optional<QVariant> stored =
            description.lookup ? description.lookup(id) : StoredColumn(description.statement, id);
        if (stored)
            values.append(FieldValue::Html(description.name, stored->toString()));
    }
}

// A failed read leaves the page with the fields read before it.
void WriteFields(QString& html, const QList<FieldValue>& fields, const QString& id,
                 const QList<DescriptionField>& descriptions)
{
    QList<FieldValue> values;
    try {
        AppendFields(values, fields, id, descriptions);
    } catch (...) {
        ReplaceTags(html, values);
        throw;
    }
    ReplaceTags(html, values);
}

FieldValue Date(const QString& name, const QDate& date)
{
    return FieldValue::Text(name, PropertyRows::DateText(date));
}

// The fields that test plans, configurations and sub-tests begin with.
QList<FieldValue> Heading(const QString& prefix, const ItemRecord& item)
{
    return {FieldValue::Text(prefix + QLatin1String("NAME"), item.Name()),
            FieldValue::Text(prefix + QLatin1String("TITLE"), item.Title()),
            Date(prefix + QLatin1String("DATECREATION"), item.DateCreation()),
            Date(prefix + QLatin1String("DATEUPDATE"), item.DateUpdate())};
}

DescriptionField Description(const QString& prefix, const QString& table, const DescriptionLookup& lookup)
{
    return {prefix + QLatin1String("DESCRIPTION"), QStringLiteral("SELECT DESCRIPTION FROM %1 WHERE ID = ?").arg(table),
            lookup};
}

// A test plan's or a sub-test's fields; their table has the name of their prefix.
QList<FieldValue> PlainItem(const ItemRecord& item, const QString& prefix)
{
    return Heading(prefix, item) << FieldValue::Text(prefix + QLatin1String("AUTHOR"), item.Author());
}

QList<FieldValue> ConfigurationHeading(const Configuration& configuration)
{
    return Heading(QStringLiteral("CONFIGURATION"), configuration)
           << FieldValue::Text(QStringLiteral("CONFIGURATIONFIRST"), configuration.Equipment1())
           << FieldValue::Text(QStringLiteral("CONFIGURATIONSECOND"), configuration.Equipment2())
           << FieldValue::Text(QStringLiteral("CONFIGURATIONTHIRD"), configuration.Equipment3())
           << FieldValue::Text(QStringLiteral("CONFIGURATIONAUTHOR"), configuration.Author());
}

QList<FieldValue> ProcedureHeading(const Procedure& procedure, const Result& result)
{
    return {FieldValue::Text(QStringLiteral("PROCEDURETITLE"), procedure.Title()),
            FieldValue::Text(QStringLiteral("PROCEDURENAME"), procedure.Name()),
            Date(QStringLiteral("PROCEDUREDATECREATION"), procedure.DateCreation()),
            Date(QStringLiteral("PROCEDUREDATEUPDATE"), procedure.DateUpdate()),
            FieldValue::Text(QStringLiteral("PROCEDUREWORKLOAD"), PropertyRows::NumberText(procedure.WorkLoad())),
            FieldValue::Text(QStringLiteral("PROCEDUREAUTHOR"), procedure.Author()),
            FieldValue::Text(QStringLiteral("PROCEDURETESTER"), result.Tester()),
            FieldValue::Text(QStringLiteral("PROCEDURESTATUS"), StatusText(result.Status())),
            FieldValue::Text(QStringLiteral("PROCEDURECOMMENT"), result.Comment())};
}

QList<DescriptionField> ProcedureColumns(const DescriptionLookup& description, const DescriptionLookup& expectedResult)
{
    return {Description(QStringLiteral("PROCEDURE"), QStringLiteral("PROCEDURES"), description),
            {QStringLiteral("PROCEDUREEXPECTEDRESULT"), QStringLiteral("SELECT RESULT FROM PROCEDURES WHERE ID = ?"),
             expectedResult}};
}

const QString kTestPlan = QStringLiteral("TESTPLAN");
const QString kConfiguration = QStringLiteral("CONFIGURATION");
const QString kSubTest = QStringLiteral("SUBTEST");

}  // namespace

void WriteTestPlanFields(QString& html, const TestPlan& testPlan, const DescriptionLookup& description)
{
    WriteFields(html, PlainItem(testPlan, kTestPlan), testPlan.Id(), {Description(kTestPlan, kTestPlan, description)});
}

void WriteConfigurationFields(QString& html, const Configuration& configuration, const DescriptionLookup& description)
{
    WriteFields(html, ConfigurationHeading(configuration), configuration.Id(),
                {Description(kConfiguration, kConfiguration, description)});
}

void WriteSubTestFields(QString& html, const SubTest& subTest, const DescriptionLookup& description)
{
    WriteFields(html, PlainItem(subTest, kSubTest), subTest.Id(), {Description(kSubTest, kSubTest, description)});
}

void WriteProcedureFields(QString& html, const Procedure& procedure, const Result& result,
                          const DescriptionLookup& description, const DescriptionLookup& expectedResult)
{
    WriteFields(html, ProcedureHeading(procedure, result), procedure.Id(),
                ProcedureColumns(description, expectedResult));
}

void AppendTestPlanFields(QList<FieldValue>& values, const TestPlan& testPlan, const DescriptionLookup& description)
{
    AppendFields(values, PlainItem(testPlan, kTestPlan), testPlan.Id(),
                 {Description(kTestPlan, kTestPlan, description)});
}

void AppendConfigurationFields(QList<FieldValue>& values, const Configuration& configuration,
                               const DescriptionLookup& description)
{
    AppendFields(values, ConfigurationHeading(configuration), configuration.Id(),
                 {Description(kConfiguration, kConfiguration, description)});
}

void AppendSubTestFields(QList<FieldValue>& values, const SubTest& subTest, const DescriptionLookup& description)
{
    AppendFields(values, PlainItem(subTest, kSubTest), subTest.Id(), {Description(kSubTest, kSubTest, description)});
}

void AppendProcedureFields(QList<FieldValue>& values, const Procedure& procedure, const Result& result,
                           const DescriptionLookup& description, const DescriptionLookup& expectedResult)
{
    AppendFields(values, ProcedureHeading(procedure, result), procedure.Id(),
                 ProcedureColumns(description, expectedResult));
}

}  // namespace FieldPlaceholders
