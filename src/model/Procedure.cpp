#include "model/Procedure.h"

#include "core/KeyHelpers.h"
#include "model/Result.h"
#include "model/SubTest.h"

#include <QSqlQuery>

Procedure::Procedure()
    : ItemRecord({QStringLiteral("PROCEDURES"), QStringLiteral("Procedure"), QStringLiteral("Procedure"),
                  QStringLiteral("PROCEDURES")})
{
}

Procedure::~Procedure() = default;

std::shared_ptr<::Result> Procedure::Result()
{
    if (!m_result) {
        m_result = std::make_shared<::Result>();
        // Both report their own failures; the object is handed out in any case.
        if (m_result->Find(m_key) != 0)
            m_result->Create();
    }
    return m_result;
}

QStringList Procedure::FindColumns() const
{
    return {QStringLiteral("WORKLOAD"), QStringLiteral("CASE WHEN RESULT IS NULL THEN 0 ELSE 1 END AS HAS_RESULT")};
}

void Procedure::ReadColumns(const QSqlQuery& row)
{
    // A Null work load counts as no work.
    const QVariant workLoad = row.value(QStringLiteral("WORKLOAD"));
    m_workLoad = workLoad.isNull() ? 0.0f : workLoad.toFloat();
    if (row.value(QStringLiteral("HAS_RESULT")).toInt() != 0)
        m_hasExpectedResult = true;
}

int Procedure::LoadDocument(int /*intRow*/)
{
    DescriptionDocument document = Document(QStringLiteral("Description Procedure"));
    document.testPlanId = TestPlanIdFromKey(m_key);
    document.withExpectedResult = true;
    document.key = m_key;
    return document.Load();
}

int Procedure::Find(const QString& id)
{
    return FindRow(id);
}

int Procedure::Update()
{
    return UpdateRow({{QStringLiteral("WORKLOAD"), static_cast<double>(m_workLoad)}});
}

int Procedure::Create()
{
    return CreateRow({{QStringLiteral("WORKLOAD"), 1}});
}
