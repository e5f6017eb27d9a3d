#pragma once

#include "model/Result.h"

#include <QHash>
#include <QString>
#include <QStringList>

// The results of one test plan under one configuration, read by one query and found by
// occurrence key. Reading never inserts: a key without a row reads as a new row would. The
// result entry window also creates the missing rows and runs its bulk commands here.
class PlanResults
{
public:
    // Reads every RESULT row of the plan whose key lies under the configuration. Raises KvlError,
    // the results read before kept.
    void Load(const QString& testPlanId, const QString& configurationId);
    bool Has(const QString& key) const { return m_results.contains(key); }
    // The stored result of `key`, or the values a new row would hold (Result::NewRow); Key set
    // either way.
    Result ResultOf(const QString& key) const;

    // Inserts, in one transaction with one recompute of today's history, the rows Result::Create
    // writes for the keys that have none; returns how many (no history write for none). Raises
    // KvlError, nothing written, also for a key without a procedure id or outside the plan and
    // configuration.
    static int CreateMissing(const QString& testPlanId, const QString& configurationId, const QStringList& keys);
    // Fill all: every result of the plan under the configuration set to Passed and its iteration
    // raised (an empty one counting as 0), today's history recomputed, in one transaction. Raises.
    static void SetAllPassed(const QString& testPlanId, const QString& configurationId);
    // Clear all: the results of the plan under the configuration deleted and fresh rows created
    // for `keys` (checked as by CreateMissing), the history recomputed, in one transaction. Raises.
    static void ClearAll(const QString& testPlanId, const QString& configurationId, const QStringList& keys);

private:
    QHash<QString, Result> m_results;
};
