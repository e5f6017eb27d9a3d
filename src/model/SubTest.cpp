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
    document.key = m_key;
    return document.Load();
}

int SubTest::Find(const QString& id)
{
    if (FindRow(id) != 0)
        return 1;
    // A found sub-test carries the work load below it (and its loaded children).
    if (!id.isEmpty())
        WorkLoad();
    return 0;
}

int SubTest::Update()
{
    return UpdateRow({});
}

int SubTest::Create()
{
    return CreateRow({});
}
