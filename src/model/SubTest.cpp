#include "model/SubTest.h"

#include "core/KeyHelpers.h"
#include "model/Procedure.h"
#include "model/TestPlan.h"

SubTest::SubTest()
    : ItemRecord(
          {QStringLiteral("SUBTEST"), QStringLiteral("SubTest"), QStringLiteral("SubTest"), QStringLiteral("SUBTEST")})
{
}

int SubTest::LoadDocument()
{
    DescriptionDocument document = Document(QStringLiteral("SubTest"));
    document.testPlanId = TestPlanIdFromKey(m_key);
    return document.Load();
}

int SubTest::Find(const QString& id)
{
    return FindRow(id);
}

int SubTest::Update()
{
    return UpdateRow({});
}

int SubTest::Create()
{
    return CreateRow({});
}
