#pragma once

#include <QString>

class AdoConnection;

// Creates the schema of a new database, adds its foreign keys and applies the upgrades that older
// databases lack. Holds no state: callers make one, call one operation and drop it.
// Operations return 0 when done and 1 after a failure; each runs in one transaction, so a failed
// one leaves the database as it found it and can be run again.
class kvlDatabase
{
public:
    // The fourteen tables with their indexes and the markers '2.0', '3.1' and '3.2'; no user row.
    int AddTables(AdoConnection& objConnection);
    // The sixteen foreign keys. Engines that cannot add constraints got them from AddTables;
    // there this checks that they are all in place.
    int AddConstraints(AdoConnection& objConnection);

    // Upgrades of an older database, on gConnection().
    int AddUserTable();
    int AddHistoryTable();
    int AddConfigurationLinksTable();
    // Takes the users upgrade off again: the author columns, USERS and marker '2.0'.
    int RemoveUserTable();

    // Brings links, results, pictures and history back in step: items no link keeps go, each
    // parent's children are renumbered 1..n in their order and their results follow them,
    // results naming no place go. Sets the progress bar on the way. 0 done, 1 failed (nothing
    // changed). Built with the object model (kvl_model), beside the link algorithms it runs.
    int Repair();
    // Empties every data table; users, version markers and templates stay. 0 done, 1 failed.
    int ClearDataBase();

private:
    static bool WriteMarker(AdoConnection& connection, const QString& version, const QString& comment);
    // Logs a failed step under the operation's label with the error the connection holds; 1.
    static int Failed(const QString& label);
    int AddUserColumn(const QString& table);
    int RemoveUserColumn(const QString& table);
};
