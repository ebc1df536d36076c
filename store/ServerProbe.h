#pragma once

#include <string>

namespace orsan::store {

// The server's answer to a connection test, for the settings dialog.
struct ServerAnswer {
    bool ok = false;
    std::string text;  // what the server said, or why it could not be reached
};

// Connects once with `conninfo` and reports the server's version, the
// database and user, and whether `readings` is there and usable. Blocks up
// to the connect time-out: never called on the UI thread.
ServerAnswer ProbeServer(const std::string& conninfo);

}  // namespace orsan::store
