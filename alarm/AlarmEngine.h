#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "AlarmEvent.h"
#include "AlarmSettings.h"
#include "LiveValues.h"

namespace orsan {

// The moment of a step: a steady clock that only moves forward measures the
// delays, the wall clock dates the events. A wall clock set back (time
// service, daylight rules, the user) then neither holds back nor hurries an
// event.
struct AlarmClockReading {
    int64_t steadyMs = 0;
    int64_t wallMs = 0;  // since the epoch
};

// The event logic of the six sensors, pure: the caller passes the time of
// each step, so tests drive it with a fake clock.
//
// Per sensor: ALARM once the worst velocity has stayed above the alarm limit
// for the delay, TRIP likewise above the trip limit, CLEAR once it has
// stayed below 0.95 x the alarm limit for the delay after an ALARM or TRIP.
// A raised level holds until its CLEAR, so nothing repeats while the
// vibration hovers around a limit; an ALARM is followed by a TRIP when the
// vibration goes on rising, and when both mature in the same step only the
// TRIP is raised. A step without a reading (failed visit) breaks every
// "stayed for the delay" run: the delay counts again from the next reading.
class AlarmEngine {
public:
    AlarmEngine();

    // Replaces a sensor's limits (1..6). The raised level is kept; the runs
    // start over, as they were measured against the old limits.
    void SetLimits(int sensor, const AlarmLimits& limits);
    const AlarmLimits& Limits(int sensor) const { return sensors_[size_t(sensor - 1)].limits; }

    // One step at `now`: grades every sensor (zone None where commOk is
    // false) and appends the events that matured to *events (in sensor
    // order; the vector is not cleared).
    void Step(const AlarmClockReading& now, const LiveValues& values,
              const std::array<bool, kSensorCount>& commOk, std::array<Zone, kSensorCount>* zones,
              std::vector<AlarmEvent>* events);

    // The highest level raised and not cleared: nullopt, Alarm or Trip.
    std::optional<AlarmKind> RaisedLevel(int sensor) const {
        return sensors_[size_t(sensor - 1)].raised;
    }

private:
    struct SensorState {
        AlarmLimits limits;
        ZoneThresholds zones;
        float alarm = 0;
        float trip = 0;
        float clear = 0;
        int64_t delayMs = 0;
        std::optional<AlarmKind> raised;
        std::optional<int64_t> aboveAlarmSince;
        std::optional<int64_t> aboveTripSince;
        std::optional<int64_t> belowClearSince;
    };

    std::array<SensorState, kSensorCount> sensors_;
};

}  // namespace orsan
