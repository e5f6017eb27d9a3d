#pragma once

#include <QString>

// The sample database shipped beside the program. It stands in for a database at the default
// path only; a database file the user chose is never created here.
class SampleDatabase
{
public:
    // Where the program's own copy lies: demo.db beside the executable.
    static QString ShippedPath();

    // When `dataSource` is the default database path and holds no file, copies the sample there.
    // False when a copy was needed and could not be made (logged); true otherwise.
    static bool ProvideDefault(const QString& dataSource, const QString& samplePath);
};
