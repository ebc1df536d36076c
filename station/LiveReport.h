#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "LiveValues.h"

namespace orsan {

// Severity zone letter per sensor ('A' ... 'D'), 0 for none.
using SensorZoneLetters = std::array<char, kSensorCount>;

// One JSON line for the headless mode: the time and, per sensor, its
// communication state, live values and zone ("Zone":"A" ... "D" or null).
// Floats are written in their shortest form that reads back as the same
// 32-bit float.
std::string FormatLiveReport(int64_t time, int milliseconds, const LiveValues& values,
                             const std::array<bool, kSensorCount>& commOk,
                             const SensorZoneLetters& zones = {});

// Shortest text that reads back as the same float; "null" for NaN and
// infinities, which JSON cannot carry.
std::string FormatJsonFloat(float value);

}  // namespace orsan
