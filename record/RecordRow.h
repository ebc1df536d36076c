#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>

#include "LiveValues.h"
#include "SensorSample.h"

namespace orsan {

// One row of the table `data`: one instant, all six sensor slots (slot 1 first).
// Every sample carries the row's time and milliseconds.
struct RecordRow {
    int32_t time = 0;           // seconds since 1970-01-01 00:00:00 UTC
    uint16_t milliseconds = 0;  // 0..999
    std::array<SensorSample, kSensorCount> sensors{};
};

// The row of the given instant from the live values (row r is slot r + 1).
RecordRow BuildRecordRow(int32_t time, uint16_t milliseconds, const LiveValues& values);

// The row of one clock reading: seconds and milliseconds come from the same
// instant, so a record taken at hh:mm:ss.999 never carries the next second.
RecordRow BuildRecordRowAt(qint64 msecsSinceEpoch, const LiveValues& values);
RecordRow BuildRecordRowNow(const LiveValues& values);

}  // namespace orsan
