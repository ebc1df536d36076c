#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "AlarmEvent.h"
#include "AlarmSettings.h"
#include "LiveValues.h"

namespace orsan {

// The event logic of the six sensors, pure: the caller passes the time of
// each step on a steady clock (one that a wall-clock change does not move),
// so tests drive it with a fake clock. The caller dates the events.
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

    // One step at steadyMs: grades every sensor (zone None where commOk is
    // false) and appends the events that matured to *events (in sensor
    // order; the vector is not cleared).
    void Step(int64_t steadyMs, const LiveValues& values,
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
