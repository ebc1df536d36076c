#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "LiveValues.h"
#include "SensorSample.h"

namespace orsan {

// Where the headless mode hands each row at the record interval.
using RecordRowSink =
    std::function<void(int32_t time, uint16_t milliseconds, const LiveValues& values)>;

}  // namespace orsan
