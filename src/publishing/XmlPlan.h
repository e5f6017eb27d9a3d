#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One test plan as an exchange file holds it, read and checked, before anything is stored. Qt Core
// only: the file reader builds it without a database, the import stores it in one transaction.
// An optional field that is empty was missing from the file: the stored item keeps its default.
namespace XmlPlan {

struct History
{
    double advancement = 0;
    double workload = 0;
    // Null when the file had no date: the import stores today.
    QDate date;
    double passed = 0;
    double failed = 0;
    double warning = 0;
    double canceled = 0;
};

struct Procedure
{
    std::optional<QString> name;
    std::optional<QString> title;
    std::optional<float> workload;
    int order = 0;
    // Unwrapped; missing: a log entry and the procedure keeps no description.
    std::optional<QString> description;
    std::optional<int> status;
    std::optional<QString> comment;
    std::optional<int> iteration;
    // Present and null: "Unplayed" in the file, no date stored.
    std::optional<QDate> firstPlayed;
    std::optional<QString> expectedResult;
    int line = 0;  // where the element starts, for messages
};

struct SubTest
{
    std::optional<QString> name;
    std::optional<QString> title;
    int order = 0;
    std::optional<QString> description;
    QList<SubTest> children;
    QList<Procedure> procedures;
    int line = 0;
};

struct Configuration
{
    // The id of the file's database: kept, an existing configuration of that id can be updated.
    QString id;
    std::optional<QString> name;
    std::optional<QString> title;
    std::optional<QString> equipment1;
    std::optional<QString> equipment2;
    std::optional<QString> equipment3;
};

struct Plan
{
    std::optional<QString> name;
    std::optional<QString> title;
    std::optional<QString> css;
    Configuration configuration;
    std::optional<QString> description;
    QList<History> history;
    QList<SubTest> subTests;
    // What the import logs and goes on with: a missing description, a second history row of one
    // day, characters replaced.
    QStringList warnings;
};

}  // namespace XmlPlan
