#pragma once

#include <QString>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QVariantList>

// A small stored tree for the loader, linking and work-load tests, written row by row:
//
//   configuration 1 "Bench" (equipment fields), test plans 10 "Plan A" and 11 "Plan B"
//   Plan A: 1 "Shared" (sub-test 20), 2 "Other" (22)          Plan B: 1 "Shared" (20)
//   Shared: procedure 30 "Power" (work load 2) at 1, sub-test 21 "Twice" at 1 and at 2
//   Twice:  procedure 31 "Boot" (1.5) at 1, procedure 32 "Reset" (0.5) at 2
//   Other:  procedure 32 "Reset" at 1
// Opens a fresh database on the test row's back end and stores the tree in it; a row that needs
// the server is skipped without one.
#define OPEN_STORED_TREE(env, db) \
    QFETCH(QString, backend);     \
    TestEnvironment env;          \
    TestDatabase db(backend);     \
    KORAVEL_REQUIRE_BACKEND(db);  \
    TreeFixture::MakeSchema();    \
    TreeFixture::Build()

namespace TreeFixture {

void MakeSchema();
void Insert(const QString& sql, const QVariantList& values);
void Build();

// Puts "Root", configuration 1 "Bench" and the given plans (id, name) into the explorer and fills
// each plan's subtree from the database.
void FillPlans(const QList<QPair<QString, QString>>& plans);
// FillPlans with both plans of this tree.
void FillExplorer();
// The explorer below `key` in tree order, one "key tag text image" line per node, with "~"
// standing for the key separator.
QStringList Dump(const QString& key);
// Turns "~" into the key separator.
QString K(const QString& text);

}  // namespace TreeFixture
