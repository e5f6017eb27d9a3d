#pragma once

#include "BenchShape.h"

#include <QHash>
#include <QList>
#include <QRandomGenerator>
#include <QString>

class BoundInsert;

// Writes a database of a given shape on gConnection(), whose schema must exist: the same rows the
// item classes write, through bound statements prepared once, in one transaction. The same
// shape and seed give the same database.
class BenchGenerator
{
public:
    explicit BenchGenerator(const BenchShape& shape);
    ~BenchGenerator();

    // Raises KvlError; nothing is left behind then.
    void Write();

    // The big plan is the first plan written, in the first configuration.
    static QString BigPlanId() { return QStringLiteral("1"); }
    qint64 ResultRows() const { return m_resultRows; }

private:
    struct Link
    {
        int id;
        int order;
    };
    struct SubTestRow
    {
        QList<Link> children;
        QList<Link> procedures;
    };

    int SubTestOfHeight(int height);
    int NewSubTest(int height);
    int ProcedureFor();
    void WriteResults(const QString& key, int subTestId, int planId);

    BenchShape m_shape;
    QRandomGenerator m_random;
    QHash<int, SubTestRow> m_subTests;
    QHash<int, QList<int>> m_byHeight;  // sub-tests already written, by levels of sub-tests they hold
    QList<int> m_procedures;
    int m_nextSubTest = 1;
    int m_nextProcedure = 1;
    int m_nextPlan = 1;
    qint64 m_resultRows = 0;
    BoundInsert* m_subTestRows = nullptr;
    BoundInsert* m_procedureRows = nullptr;
    BoundInsert* m_subTestLinks = nullptr;
    BoundInsert* m_procedureLinks = nullptr;
    BoundInsert* m_results = nullptr;
};
