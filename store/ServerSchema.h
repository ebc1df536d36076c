#pragma once

#include <array>
#include <string>

namespace orsan::store {

class PgSession;

// The readings table on the server: one row per configured sensor per
// recorded row. The ten value columns follow the order of a SensorSample.
inline constexpr std::array<const char*, 10> kReadingValueColumns = {
    "t_shell", "acc_x", "acc_y", "acc_z", "vel_x", "vel_y", "vel_z", "disp_x", "disp_y", "disp_z"};

// "station, time, sensor, t_shell, ..., disp_z"
const std::string& ReadingsColumnList();

// Creates `readings` when missing. A `readings` table made by someone else
// is used only when it has every column and a unique key on (station, time,
// sensor), which keeps a re-sent row from doubling; otherwise the result is
// a message that names what is missing. Empty on success.
std::string EnsureReadingsTable(PgSession& session);

// The same check without creating anything: *exists tells whether there is
// a `readings` table; the result is empty when it is missing or usable.
std::string CheckReadingsTable(PgSession& session, bool* exists);

}  // namespace orsan::store
