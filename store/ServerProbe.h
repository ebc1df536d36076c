#pragma once

#include <string>

namespace orsan::store {

// The server's answer to a connection test, for the settings dialog.
struct ServerAnswer {
    bool ok = false;
    std::string text;  // what the server said, or why it could not be reached
};

// Connects once with `conninfo` and reports the server's version, the
// database and user, and for every table the station writes whether it is
// writable, will be created, is missing without the right to create it, or
// is unusable, and who holds `station` when it is given (the data folder
// of `databasePath` or another one); ok only when all of it would work.
// Blocks up to the connect time-out: never called on the UI thread.
ServerAnswer ProbeServer(const std::string& conninfo, const std::string& station = {},
                         const std::string& databasePath = {});

}  // namespace orsan::store
