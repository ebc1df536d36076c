#pragma once

#include <array>
#include <cstdint>

#include "LiveValues.h"
#include "SensorPoller.h"

namespace orsan {

// The status of sensors 1 to 6 (slot 0 is sensor 1), read once each: what a
// refresh or a record tick judges.
std::array<SensorStatus, kSensorCount> PollerStatuses(const SensorPoller& poller);

// Milliseconds on the steady clock, the one every reading is dated with.
int64_t SteadyMsNow();

// How old a reading may be and still count as fresh: two record intervals
// or 2 s, whichever is longer.
int64_t FreshnessLimitMs(double recordIntervalSeconds);

// The longest a sensor that answers within its answer limit can go between
// two good reads: the visit period of six sensors, then a visit of a
// connect and two answers, each at the limit. Under 2 s at the default
// limit, so only a longer TIMEOUT_MS lengthens what counts as fresh.
int64_t LongestReadGapMs(int answerLimitMs);

// A fresh reading: the sensor's last visit succeeded, its polling is not
// paused, and the reading is at most limitMs old at steadyNowMs, or
// LongestReadGapMs of its answer limit when that is longer.
bool IsFreshReading(const SensorStatus& status, int64_t steadyNowMs, int64_t limitMs);

// Per sensor slot (slot 1 first): true when its values are a fresh reading.
using SensorFreshness = std::array<bool, kSensorCount>;

// Every sensor's values and whether they are a fresh reading, both taken
// from the same copy of its status: values copied at one moment and judged
// at another could pair a first reading's freshness with the zeros from
// before it.
struct ReadingSnapshot {
    LiveValues values{};
    SensorFreshness fresh{};
};
ReadingSnapshot SnapshotOf(const std::array<SensorStatus, kSensorCount>& statuses,
                           int64_t steadyNowMs, int64_t limitMs);
// The poller's statuses now, judged for a record interval of the given seconds.
ReadingSnapshot TakeReadingSnapshot(const SensorPoller& poller, double recordIntervalSeconds);

}  // namespace orsan
