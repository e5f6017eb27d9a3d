#pragma once

#include "BenchFigure.h"
#include "BenchShape.h"

#include <QList>
#include <QString>
#include <QStringList>

// The figures of one engine on a database the generator wrote. Each figure checks what it
// did against the floor's rows, so a run that gives wrong results fails whatever its times.
class BenchRun
{
public:
    BenchRun(const BenchShape& shape, const QString& bigPlanId, int runs);

    QList<BenchFigure> Figures();
    // What went wrong: a failed operation or a count that does not match.
    QStringList Failures() const { return m_failures; }

private:
    BenchFigure TopLevels();
    BenchFigure PlanSubtree();
    BenchFigure WorkLoad();
    BenchFigure CreateAndLink();
    QList<BenchFigure> MoveAndUnlink();
    BenchFigure Repair();

    void FillTopLevels();
    void Expect(bool ok, const QString& what);
    QString PlanKey() const;

    BenchShape m_shape;
    QString m_bigPlanId;
    int m_runs;
    double m_memoryBefore = 0;
    QStringList m_failures;
};
