#pragma once

// Turns the login requirement of the connected database on and off (marker '2.1').
// Both run in one transaction and raise KvlError after a database failure, leaving nothing done.
class UserManagementSwitch
{
public:
    enum class Outcome {
        NoUserTable,        // the users table could not be added (logged); nothing changed
        AdministratorKept,  // an administrator account existed and was left as it was
        AdminCreated,       // "Admin" with an empty password was created
    };

    // Adds the users table when the database has none, writes marker '2.1', and creates the
    // account "Admin" only when no administrator exists, so no one's password is touched.
    static Outcome SwitchOn();
    // Deletes marker '2.1' only; the accounts stay.
    static void SwitchOff();
};
