#include "model/TestPlan.h"

#include "core/NodeKey.h"
#include "core/db/AdoConnection.h"
#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/SubTest.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"

#include <QSqlQuery>

TestPlan::TestPlan()
    : ItemRecord({QStringLiteral("TESTPLAN"), QStringLiteral("TestPlan"), QStringLiteral("TestPlan"),
                  QStringLiteral("TestPlan")})
{
}

void TestPlan::SetKey(const QString& key)
{
    m_key = key;
    const NodeKey parsed = NodeKey::Parse(key);
    if (parsed.Count() >= 2)
        m_idConfiguration = parsed.ConfigurationId();
}

QStringList TestPlan::FindColumns() const
{
    return {QStringLiteral("CASE WHEN WORDTEMPLATE IS NULL THEN 0 ELSE 1 END AS HAS_WORDTEMPLATE")};
}

void TestPlan::ReadColumns(const QSqlQuery& row)
{
    if (row.value(QStringLiteral("HAS_WORDTEMPLATE")).toInt() != 0)
        m_wordTemplate = true;
}

int TestPlan::LoadDocument()
{
    DescriptionDocument document = Document(QStringLiteral("TestPlan"));
    document.testPlanId = Id();
    document.key = m_key;
    return document.Load();
}

int TestPlan::Find(const QString& id)
{
    return FindRow(id);
}

void TestPlan::StoreWordTemplate(const QByteArray& bytes)
{
    const QVariant value = bytes.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(bytes);
    const QSqlQuery query = gConnection().Query(QStringLiteral("UPDATE TESTPLAN SET WORDTEMPLATE = ? WHERE ID = ?"),
                                                {value, DbValues::Id(Id())});
    if (query.numRowsAffected() == 0)
        throw KvlError(kRowNotFound, QStringLiteral("The test plan %1 is not in the database.").arg(Id()));
    m_wordTemplate = !bytes.isEmpty();
}

int TestPlan::Update()
{
    return UpdateRow({});
}

int TestPlan::Create(const QString& idConfiguration)
{
    try {
        const QVariant configuration = DbValues::Id(idConfiguration);
        return CreateRow({{QStringLiteral("ID_CONFIGURATION"), configuration}});
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Create")), error);
        return 1;
    }
}
