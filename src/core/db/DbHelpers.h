#pragma once

#include <QString>

// Numbering and look-ups on gConnection().
//
// Numbering and marker probes have no trap: a failed query raises KvlError in the caller.
// Numbers are 32-bit: a maximum of 41 gives 42, an empty table or parent gives 1.
// Ids are held as text and bound as 32-bit integers; raises on text that is not one.
int IdValue(const QString& id);
// Ids and orders are taken as the largest + 1: two clients of one server would take the same.
// Inside a transaction on PostgreSQL, each holds the table's allocation lock until the
// transaction ends, so a second writer waits for the first's row; SQLite serialises writers itself.
// Ids are taken before the orders of links, so the locks are always taken in the same sequence.
int NewId(const QString& table);
int NextProcedureOrder(const QString& subTestId);
int NextSubTestOrder(const QString& parentSubTestId);
int NextTestPlanOrder(const QString& testPlanId);
// Takes the allocation lock of `table` (or of one of its rows' groups, such as a test plan's
// history, with `key`) for the rest of the current transaction. Does nothing outside a
// transaction or on engines that serialise their writers.
void LockAllocation(const QString& table, int key = 0);

// Schema feature markers of the INFORMATION table.
bool IsUserManagementOn();     // '2.1'
bool HasConfigurationLinks();  // '3.1'
bool HasHistory();             // '3.2'
bool HasUserTable();           // '2.0'

// Names: trapped, logged, then "Undefined" (UserName) or "" (the others).
QString UserName(const QString& userId);
// While one lives, UserName reads each user once: a page generator or a result grid names the
// same few users for thousands of items.
class UserNameCache
{
public:
    UserNameCache();
    ~UserNameCache();
    UserNameCache(const UserNameCache&) = delete;
    UserNameCache& operator=(const UserNameCache&) = delete;
};
QString ProcedureName(const QString& procedureId);
QString ConfigurationName(const QString& configurationId);
