#pragma once

#include <QString>

// Recomputes today's HISTORY row of a test plan under a configuration from all its results there
// and inserts or updates it. Does nothing on a database without the history table. Raises
// KvlError on failure, for the caller's trap; the caller gives it its transaction.
void UpdateHistory(const QString& testPlanId, const QString& configurationId);
