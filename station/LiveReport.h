#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "LiveValues.h"
#include "SensorNames.h"

namespace orsan {

// Severity zone letter per sensor ('A' ... 'D'), 0 for none.
using SensorZoneLetters = std::array<char, kSensorCount>;

// One JSON line for the headless mode: the time and, per sensor, its
// machine name ("name", null when unnamed), communication state, live
// values and zone ("Zone":"A" ... "D" or null).
// Floats are written in their shortest form that reads back as the same
// 32-bit float. With a server configured, `backlog` adds "backlog": the rows
// not yet forwarded (null while a negative value says they are not counted
// yet), and `conflicts` adds "conflicts": readings the server held already
// with other values.
std::string FormatLiveReport(int64_t time, int milliseconds, const LiveValues& values,
                             const std::array<bool, kSensorCount>& commOk,
                             const SensorZoneLetters& zones = {},
                             std::optional<int64_t> backlog = std::nullopt,
                             const SensorNames& names = {},
                             std::optional<int64_t> conflicts = std::nullopt);

// Shortest text that reads back as the same float; "null" for NaN and
// infinities, which JSON cannot carry.
std::string FormatJsonFloat(float value);

}  // namespace orsan
