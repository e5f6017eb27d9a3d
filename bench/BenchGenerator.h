#pragma once

#include "BenchShape.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QRandomGenerator>
#include <QString>

class BoundInsert;

// Writes a database of a given shape on gConnection(), whose schema must exist: the same rows the
// item classes write, through bound statements prepared once, in one transaction. Every item has
// an HTML description and every procedure an expected result; a few plans have daily history.
// The same shape and seed give the same database.
class BenchGenerator
{
public:
    // The word a description search looks for: only the descriptions that count it hold it, in
    // lower case, so a LIKE finds the same rows on every engine.
    static constexpr char kSearchWord[] = "calibration";

    struct Counts
    {
        qint64 configurations = 0;
        qint64 testPlans = 0;
        qint64 subTests = 0;
        qint64 procedures = 0;
        qint64 Total() const { return configurations + testPlans + subTests + procedures; }
    };

    explicit BenchGenerator(const BenchShape& shape);
    ~BenchGenerator();

    // Raises KvlError; nothing is left behind then.
    void Write();

    // The big plan is the first plan written, in the first configuration.
    static QString BigPlanId() { return QStringLiteral("1"); }
    qint64 ResultRows() const { return m_resultRows; }
    // The rows of each kind whose DESCRIPTION holds kSearchWord.
    const Counts& MarkedDescriptions() const { return m_marked; }
    // The same items once per place in the tree: a test plan per configuration link, a sub-test
    // or a procedure per occurrence below a test plan. Configurations count once.
    const Counts& MarkedOccurrences() const { return m_markedOccurrences; }
    // The marked occurrences below the big plan, the plan itself included when marked.
    const Counts& BigPlanMarkedOccurrences() const { return m_bigPlanMarked; }

    // The plans with daily history: the big plan and the first plan of the next configurations.
    static constexpr int kHistoryPlans = 4;
    // One row per plan and day, from the day the items were created to the day of their results.
    qint64 HistoryRows() const { return m_historyRows; }
    static QDate FirstHistoryDay();
    static QDate LastHistoryDay();

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
    // A result as the history counts it.
    struct Played
    {
        int status;
        double workLoad;
    };

    int SubTestOfHeight(int height);
    int NewSubTest(int height);
    int ProcedureFor();
    void WriteResults(const QString& key, int subTestId, int planId);
    void WriteHistory(BoundInsert& history, int planId, int configurationId);
    bool Marked(bool first, qint64& count);

    BenchShape m_shape;
    QRandomGenerator m_random;
    // The texts draw from their own sequence, so the tree is the same with or without them.
    QRandomGenerator m_text;
    QHash<int, SubTestRow> m_subTests;
    QHash<int, QList<int>> m_byHeight;  // sub-tests already written, by levels of sub-tests they hold
    QList<int> m_procedures;
    QList<double> m_workLoads;     // by procedure id - 1
    QList<bool> m_markedSubTests;  // by id - 1
    QList<bool> m_markedProcedures;
    QList<Played> m_played;  // the results of the plan being written, when it has history
    bool m_inBigPlan = false;
    bool m_withHistory = false;
    int m_nextSubTest = 1;
    int m_nextProcedure = 1;
    int m_nextPlan = 1;
    qint64 m_resultRows = 0;
    qint64 m_historyRows = 0;
    Counts m_marked;
    Counts m_markedOccurrences;
    Counts m_bigPlanMarked;
    BoundInsert* m_subTestRows = nullptr;
    BoundInsert* m_procedureRows = nullptr;
    BoundInsert* m_subTestLinks = nullptr;
    BoundInsert* m_procedureLinks = nullptr;
    BoundInsert* m_results = nullptr;
};
