#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>

#include "Freshness.h"
#include "LiveValues.h"
#include "SensorSample.h"

namespace orsan {

// One row of the table `data`: one instant, all six sensor slots (slot 1 first).
// Every sample carries the row's time and milliseconds.
struct RecordRow {
    int32_t time = 0;           // seconds since 1970-01-01 00:00:00 UTC
    uint16_t milliseconds = 0;  // 0..999
    std::array<SensorSample, kSensorCount> sensors{};
    // Whether each slot's values are a fresh reading (column Ok<n>). The
    // station always sets it from its poller; a row built from values alone
    // counts as fresh, as do rows written before the columns existed.
    SensorFreshness fresh = AllFresh();

    static constexpr SensorFreshness AllFresh() { return {true, true, true, true, true, true}; }
};

// The row of the given instant from the live values (row r is slot r + 1).
RecordRow BuildRecordRow(int32_t time, uint16_t milliseconds, const LiveValues& values,
                         const SensorFreshness& fresh = RecordRow::AllFresh());

// The row of one clock reading: seconds and milliseconds come from the same
// instant, so a record taken at hh:mm:ss.999 never carries the next second.
RecordRow BuildRecordRowAt(qint64 msecsSinceEpoch, const LiveValues& values,
                           const SensorFreshness& fresh = RecordRow::AllFresh());
// The row of the record tick: the snapshot's values with their own freshness
// (TakeReadingSnapshot), never the values of an earlier refresh.
RecordRow BuildRecordRowNow(const ReadingSnapshot& snapshot);

}  // namespace orsan
