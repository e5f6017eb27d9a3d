#pragma once

#include "TestDatabase.h"

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"

// Opens the row's back end (or skips the row) and creates the whole schema with its keys.
#define KORAVEL_REQUIRE_SCHEMA(db)                                \
    do {                                                          \
        KORAVEL_REQUIRE_BACKEND(db);                              \
        QCOMPARE(kvlDatabase().AddTables(gConnection()), 0);      \
        QCOMPARE(kvlDatabase().AddConstraints(gConnection()), 0); \
    } while (false)
