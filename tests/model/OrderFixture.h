#pragma once

#include <QString>
#include <QStringList>

#include "TreeFixture.h"

// A stored tree for the move, unlink, delete and repair tests ("~" stands for the key separator):
//
//   configuration 1; test plans 10 "Plan" and 20 "Twin" (whose id equals sub-test 20's)
//   plan 10: sub-test 20 at 1          plan 20: sub-tests 21 at 1, 22 at 2, 25 at 3
//   sub-test 20: children 21, 22, 23 at 1, 2, 3;  sub-test 23: child 24 at 1
//   procedures: 21: 31 at 1, 35 at 2, 31 at 3;  22: 32;  23: 33 at 1, 35 at 2;  24: 34;  25: 36
//   a result for every procedure occurrence below plan 10, and for 21|31|1, 22|32|1 and 25|36|1
//   below plan 20; pictures of sub-tests 21, 23, 24, procedures 33, 34 (both kinds), 35, plans 10,
//   20 and the configuration; history rows of both plans.
namespace OrderFixture {

void Build();
// Root, the configuration and both plans with their subtrees in the explorer.
void FillExplorer();

// "~" for the separator and back.
using TreeFixture::K;
QString Readable(QString key);

// The rows of a query, one line each (values joined by " "), sorted.
QStringList Rows(const QString& sql);
// "parent|child|order" of a link table, sorted.
QStringList Links(const QString& table);
// Every result key, readable, sorted.
QStringList Keys();
QStringList Ids(const QString& table);
// Every table's rows, for comparing a database before and after.
QStringList Snapshot();
// The explorer below `key`, one "key tag" line per node in tree order.
QStringList Tree(const QString& key = QStringLiteral("Root"));

// Makes every `event` ("UPDATE", "DELETE") on `table` fail from now on.
void InjectFailure(const QString& table, const QString& event, bool postgres);

}  // namespace OrderFixture
