#pragma once

#include <array>
#include <string>
#include <vector>

namespace orsan::store {

class PgSession;

// The ten value columns of `readings`, in the order of a SensorSample.
inline constexpr std::array<const char*, 10> kReadingValueColumns = {
    "t_shell", "acc_x", "acc_y", "acc_z", "vel_x", "vel_y", "vel_z", "disp_x", "disp_y", "disp_z"};

// A table the station writes on the server.
struct ServerTable {
    std::string name;
    std::vector<std::pair<std::string, std::string>> columns;  // name, type; the COPY order
    std::vector<std::string> key;                              // the primary key
    // Columns that a table made by an earlier version lacks; they are added.
    std::vector<std::string> laterColumns{};

    std::string ColumnList() const;  // "a, b, c"
    std::string KeyList() const;     // "(a, b)"
    std::string CreateSql() const;   // CREATE TABLE IF NOT EXISTS ...
};

// readings: one row per configured sensor per recorded row.
const ServerTable& ReadingsTable();
// alarm_events: the local table `alarm`, when the station keeps one, with
// who acknowledged each event and when.
const ServerTable& AlarmEventsTable();

// Creates the table when missing, and adds the later columns to one of
// ours from before them. One made by someone else is used only when it has
// every column and a unique key on the key columns, which keeps a re-sent
// row from doubling; otherwise the result is a message that names what is
// missing. Empty on success.
std::string EnsureTable(PgSession& session, const ServerTable& table);

// The same check without creating anything: *exists tells whether the table
// is there; the result is empty when it is missing or usable (perhaps
// without later columns, which *missingLater lists when given).
std::string CheckTable(PgSession& session, const ServerTable& table, bool* exists,
                       std::vector<std::string>* missingLater = nullptr);

}  // namespace orsan::store
