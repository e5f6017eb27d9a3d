#pragma once

#include "BenchFigure.h"
#include "BenchShape.h"

#include <QHash>
#include <QList>
#include <QString>

// Prints the figures as they come, one line each, and at the end each engine's figures beside
// SQLite's.
class BenchReport
{
public:
    BenchReport(const BenchShape& shape, int runs) : m_shape(shape), m_runs(runs) {}

    void PrintHeader() const;
    void Add(const QString& engine, const QList<BenchFigure>& figures);
    void Fail(const QString& engine, const QString& why);
    void PrintComparison() const;
    int Failures() const { return m_failures; }

private:
    BenchShape m_shape;
    int m_runs;
    int m_failures = 0;
    QList<QString> m_engines;
    QHash<QString, QList<BenchFigure>> m_figures;
};
