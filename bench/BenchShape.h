#pragma once

#include <QString>

// The shape of a generated database. Every plan is a full tree: `fanOut` sub-tests under the
// plan and under each sub-test above the deepest level, `proceduresPerSubTest` procedures under
// each sub-test of the deepest level. Shared sub-tests are taken from those already written at
// the same height, so sharing changes the rows but never the number of occurrences.
struct BenchShape
{
    QString name;
    int configurations = 1;
    int plansPerConfiguration = 1;
    int depth = 1;  // levels of sub-tests in an ordinary plan
    int fanOut = 1;
    int proceduresPerSubTest = 1;
    int bigPlanDepth = 1;         // one more plan, in the first configuration, this deep
    double sharedSubTests = 0;    // share of sub-test links that reuse an existing sub-test
    double sharedProcedures = 0;  // share of procedure links that reuse an existing procedure
    double results = 0;           // share of procedure occurrences that have a result
    quint32 seed = 1;

    // 100,000 procedure occurrences in all, 10,000 of them in the big plan.
    static BenchShape Large();
    static BenchShape Small();
    // "large" or "small"; false for another name.
    static bool Named(const QString& name, BenchShape& shape);

    qint64 PlanOccurrences(int levels) const;
    qint64 PlanSubTestOccurrences(int levels) const;
    qint64 Occurrences() const;
    qint64 BigPlanOccurrences() const { return PlanOccurrences(bigPlanDepth); }
};
