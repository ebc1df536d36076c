#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace orsan::store {

class PgSession;
struct ServerTable;

// Every table the station writes on the server, in the order the
// connection test lists them.
std::vector<const ServerTable*> StationWrittenTables();

// What a login can do with one table, for the connection test.
enum class TableUse {
    Writable,   // there, with our columns and key, and the rights the station needs
    Creatable,  // missing; made at the first send
    Missing,    // missing, and the login may not create it
    Unusable,   // there but foreign, or without a right the station needs
};

struct TableReport {
    TableUse use = TableUse::Unusable;
    std::string text;  // "表 readings: 可以写入" or why not
};

// Looks without changing anything.
TableReport InspectTable(PgSession& session, const ServerTable& table);

// One stream of what the forwarder sends beside the readings (alarm events,
// the station's name, the sensor names): its failure stops nothing else and
// is retried after its own back-off, doubling from `first` to `last`.
class ForwardStream {
public:
    using Clock = std::chrono::steady_clock;
    ForwardStream(std::chrono::milliseconds first, std::chrono::milliseconds last)
        : first_(first), last_(last), delay_(first) {}

    bool Due() const { return error_.empty() || Clock::now() >= retryAt_; }
    // A non-empty error: tried again after the back-off. Empty: done.
    void Outcome(const std::string& error);
    const std::string& Error() const { return error_; }

private:
    std::chrono::milliseconds first_;
    std::chrono::milliseconds last_;
    std::chrono::milliseconds delay_;
    Clock::time_point retryAt_;
    std::string error_;
};

}  // namespace orsan::store
