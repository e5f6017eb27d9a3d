#pragma once

#include <QString>

// Numbering and look-ups on gConnection().
//
// Numbering and marker probes have no trap: a failed query raises KvlError in the caller.
// Numbers are 32-bit: a maximum of 41 gives 42, an empty table or parent gives 1.
// Ids are held as text and bound as 32-bit integers; raises on text that is not one.
int IdValue(const QString& id);
int NewId(const QString& table);
int NextProcedureOrder(const QString& subTestId);
int NextSubTestOrder(const QString& parentSubTestId);
int NextTestPlanOrder(const QString& testPlanId);

// Schema feature markers of the INFORMATION table.
bool IsUserManagementOn();     // '2.1'
bool HasConfigurationLinks();  // '3.1'
bool HasHistory();             // '3.2'
bool HasUserTable();           // '2.0'

// Names: trapped, logged, then "Undefined" (UserName) or "" (the others).
QString UserName(const QString& userId);
QString ProcedureName(const QString& procedureId);
QString ConfigurationName(const QString& configurationId);
