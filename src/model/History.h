#pragma once

#include <QString>

// Recomputes today's HISTORY row of a test plan under a configuration from all its results there
// and inserts or updates it. Does nothing on a database without the history table. Raises
// KvlError on failure, for the caller's trap; the caller gives it its transaction.
void UpdateHistory(const QString& testPlanId, const QString& configurationId);

// The LIKE pattern of the result keys under a configuration. The separator after the id keeps
// configuration 1 from taking the keys of 12. Raises KvlError on an id that is not a number.
QString ConfigurationKeyPattern(const QString& configurationId);
