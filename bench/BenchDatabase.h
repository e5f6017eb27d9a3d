#pragma once

#include <QString>

// The database a benchmark runs on, opened on gConnection(): "sqlite" (the file `file`) or
// "postgres" (the test server that KORAVEL_PG_ENV_FILE or KORAVEL_PG_* name).
namespace BenchDatabase {

// `fresh` starts from an empty database with the program's schema (a new file, or the server's
// schema emptied). False with `error` set when it cannot be opened.
bool Open(const QString& engine, const QString& file, bool fresh, QString& error);

}  // namespace BenchDatabase
