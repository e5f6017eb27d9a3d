#include "BenchShape.h"

BenchShape BenchShape::Large()
{
    BenchShape shape;
    shape.name = QStringLiteral("large");
    shape.configurations = 9;
    shape.plansPerConfiguration = 10;
    shape.depth = 2;
    shape.fanOut = 10;
    shape.proceduresPerSubTest = 10;
    shape.bigPlanDepth = 3;
    shape.sharedSubTests = 0.1;
    shape.sharedProcedures = 0.1;
    shape.results = 0.2;
    shape.seed = 20240305;
    return shape;
}

BenchShape BenchShape::Small()
{
    BenchShape shape = Large();
    shape.name = QStringLiteral("small");
    shape.configurations = 2;
    shape.plansPerConfiguration = 2;
    shape.fanOut = 3;
    shape.proceduresPerSubTest = 3;
    shape.sharedSubTests = 0.2;
    shape.sharedProcedures = 0.2;
    shape.results = 0.5;
    return shape;
}

bool BenchShape::Named(const QString& name, BenchShape& shape)
{
    if (name == QLatin1String("large"))
        shape = Large();
    else if (name == QLatin1String("small"))
        shape = Small();
    else
        return false;
    return true;
}

qint64 BenchShape::PlanOccurrences(int levels) const
{
    qint64 leaves = 1;
    for (int i = 0; i < levels; ++i)
        leaves *= fanOut;
    return leaves * proceduresPerSubTest;
}

qint64 BenchShape::PlanSubTestOccurrences(int levels) const
{
    qint64 count = 0;
    qint64 level = 1;
    for (int i = 0; i < levels; ++i) {
        level *= fanOut;
        count += level;
    }
    return count;
}

qint64 BenchShape::Occurrences() const
{
    return qint64(configurations) * plansPerConfiguration * PlanOccurrences(depth) + BigPlanOccurrences();
}
