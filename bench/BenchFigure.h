#pragma once

#include <QString>

// One printed line: a figure beside its floor.
struct BenchFigure
{
    BenchFigure(const QString& number, const QString& label, const QString& goal)
        : number(number), label(label), goal(goal)
    {
    }

    QString number;  // "1", "5a"
    QString label;
    double value = -1;  // -1: not measured
    double floor = -1;
    QString unit = QStringLiteral("ms");
    QString goal;     // as printed
    QString missing;  // why the figure is not available
};
