#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "LiveValues.h"
#include "SensorSample.h"

namespace orsan {

// Where the headless mode hands each row at the record interval. False when
// recording cannot go on (the sink has said why): the run ends with code 1.
using RecordRowSink =
    std::function<bool(int32_t time, uint16_t milliseconds, const LiveValues& values)>;

}  // namespace orsan
