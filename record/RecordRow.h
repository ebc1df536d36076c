#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>

#include "LiveValues.h"
#include "SensorSample.h"

namespace orsan {

class SensorPoller;

// Per sensor slot (slot 1 first): true when its values are a fresh reading.
using SensorFreshness = std::array<bool, kSensorCount>;

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

// Which sensors' readings are fresh now, for a row of the given record
// interval: the poller's last good visit of each, no older than
// FreshnessLimitMs (comm/Freshness.h), and polling of it not paused.
SensorFreshness FreshReadings(const SensorPoller& poller, double recordIntervalSeconds);

// The row of the given instant from the live values (row r is slot r + 1).
RecordRow BuildRecordRow(int32_t time, uint16_t milliseconds, const LiveValues& values,
                         const SensorFreshness& fresh = RecordRow::AllFresh());

// The row of one clock reading: seconds and milliseconds come from the same
// instant, so a record taken at hh:mm:ss.999 never carries the next second.
RecordRow BuildRecordRowAt(qint64 msecsSinceEpoch, const LiveValues& values,
                           const SensorFreshness& fresh = RecordRow::AllFresh());
RecordRow BuildRecordRowNow(const LiveValues& values, const SensorFreshness& fresh);

}  // namespace orsan
