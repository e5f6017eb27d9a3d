#pragma once

#include <QString>

// Kinds of page and template, and the TYPE META line that marks each generated page of a kind.
namespace DocumentType {
constexpr int Plain = 0;
constexpr int Description = 1;
constexpr int TestPlan = 3;
constexpr int SubTest = 4;
constexpr int Procedure = 14;
constexpr int Header = 15;
constexpr int Footer = 16;
constexpr int Sheet = 20;
constexpr int Result = 30;
constexpr int Progress = 40;
constexpr int TimePassed = 50;
constexpr int Historic = 60;
}  // namespace DocumentType

extern QString gMetaTestPlan;
extern QString gMetaSubTest;
extern QString gMetaProcedure;
extern QString gMetaSheet;
extern QString gMetaResult;
extern QString gMetaProgress;
extern QString gMetaTimePassed;
extern QString gMetaHistoric;
extern QString gMetaHeader;
extern QString gMetaFooter;

// Builds the ten META lines above; start-up calls it once.
void BuildMetaStrings();

// The META line of a document type, "" for a type without one (0, 1 and unknown types).
QString MetaLine(int documentType);
