#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orsan::store {

inline constexpr int kStoreSensors = 6;
inline constexpr int kStoreValues = 10;  // per sensor, in the order of the server's columns

using SensorMask = std::bitset<kStoreSensors>;  // bit n-1: sensor n is configured

// One row of the local table `data` as the forwarder reads it: its rowid,
// the instant, every sensor's ten values (null where the cell is NULL) and
// which sensors' values are a fresh reading.
struct LocalRecord {
    int64_t rowId = 0;
    int64_t time = 0;  // seconds since 1970-01-01 UTC
    int milliseconds = 0;
    std::array<double, kStoreSensors * kStoreValues> values{};
    std::bitset<kStoreSensors * kStoreValues> isNull;
    SensorMask fresh = SensorMask().set();  // bit n-1: sensor n's reading is fresh
    // The sensors configured when the row was written; unknown for rows
    // older than the file's sensor history.
    std::optional<SensorMask> recordedFor;
};

// "2026-12-07 09:36:08.123+00": the instant as PostgreSQL reads a timestamptz.
std::string FormatServerTime(int64_t seconds, int milliseconds);

// Appends text as one COPY text field: backslash, tab, newline and carriage
// return escaped.
void AppendCopyField(std::string& out, std::string_view text);

// The sensors whose readings of `record` go to the server: those it was
// recorded for (`sensors`, the selection in force, where that is unknown)
// with a fresh reading.
inline SensorMask SentSensors(const LocalRecord& record, SensorMask sensors) {
    return record.recordedFor.value_or(sensors) & record.fresh;
}

// Appends the COPY text rows (station, time, sensor, ten values) of every
// sensor a record was recorded for (`sensors`, the selection in force, where
// that is unknown) whose reading is fresh: a stale reading is never sent.
// Returns the number of rows appended; `rowIds`, when given, gets each
// row's local rowid.
int64_t AppendReadingsCopyText(const std::vector<LocalRecord>& records, SensorMask sensors,
                               const std::string& station, std::string& out,
                               std::vector<int64_t>* rowIds = nullptr);

}  // namespace orsan::store
