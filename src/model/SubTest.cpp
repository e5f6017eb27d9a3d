#include "model/SubTest.h"

#include "model/Procedure.h"
#include "model/TestPlan.h"

SubTest::SubTest()
    : ItemRecord(
          {QStringLiteral("SUBTEST"), QStringLiteral("SubTest"), QStringLiteral("SubTest"), QStringLiteral("SUBTEST")})
{
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
