#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "AlarmEvent.h"
#include "AlarmSettings.h"
#include "LiveValues.h"

namespace orsan {

// One sensor as a step of the event logic sees it.
struct SensorReading {
    // It has an address and its polling is not paused: it can be lost.
    bool watched = false;
    // The reading is fresh (Freshness.h): the last visit succeeded, recently.
    bool fresh = false;
    // When the reading was taken on the steady clock; a new value is a new
    // reading. 0: never read.
    int64_t steadyMs = 0;
    WorstVelocity worst;  // of the reading
    float temperature = 0;  // degC
};
using SensorReadings = std::array<SensorReading, kSensorCount>;

// The event logic of the six sensors, pure: the caller passes the time of
// each step on a steady clock (one that a wall-clock change does not move),
// so tests drive it with a fake clock. The caller dates the events.
//
// Per sensor: ALARM once fresh readings spanning the delay (from the first
// above to the latest) have all been above the alarm limit, TRIP likewise
// above the trip limit, CLEAR once they have stayed below 0.95 x the alarm
// limit for the delay after an ALARM or TRIP. Delays count readings, not
// steps: a reading seen again adds nothing, however often it is seen. A
// raised level holds until its CLEAR, so nothing repeats while the
// vibration hovers around a limit; an ALARM is followed by a TRIP when the
// vibration goes on rising, and when both mature with the same reading only
// the TRIP is raised. A step without a fresh reading (failed visit, paused,
// stale) breaks every run: the delay counts again from the next reading.
//
// The temperature has its own ALARM, TRIP and CLEAR by the same rules, on
// the limits TEMP_ALARM and TEMP_TRIP where they are given (CLEAR below 0.95
// x the lower of them), judged with the same readings.
//
// LOST once a watched sensor has had no good visit for the delay (counted
// from its last reading, or from when it came under watch when that was
// later), RESTORED with its next fresh reading.
class AlarmEngine {
public:
    AlarmEngine();

    // Replaces a sensor's limits (1..6). The raised levels and a loss are
    // kept; the runs start over, as they were measured against the old limits.
    void SetLimits(int sensor, const AlarmLimits& limits);
    // Takes up where an earlier run stopped: the levels raised and the loss
    // it left standing. The next fresh readings clear them as usual.
    void Restore(int sensor, AlarmQuantity quantity, std::optional<AlarmKind> raised);
    void RestoreLost(int sensor) { sensors_[size_t(sensor - 1)].lost = true; }
    const AlarmLimits& Limits(int sensor) const { return sensors_[size_t(sensor - 1)].limits; }

    // One step at steadyMs: grades every sensor (zone None without a fresh
    // reading) and appends the events that matured to *events (in sensor
    // order; the vector is not cleared).
    void Step(int64_t steadyMs, const SensorReadings& readings,
              std::array<Zone, kSensorCount>* zones, std::vector<AlarmEvent>* events);

    // The highest level raised and not cleared: nullopt, Alarm or Trip.
    std::optional<AlarmKind> RaisedLevel(int sensor,
                                         AlarmQuantity quantity = AlarmQuantity::Velocity) const {
        return sensors_[size_t(sensor - 1)].Of(quantity).raised;
    }
    bool IsLost(int sensor) const { return sensors_[size_t(sensor - 1)].lost; }

private:
    // The levels of one quantity; a limit not given is infinite.
    struct Levels {
        float alarm = 0;
        float trip = 0;
        float clear = 0;
        std::optional<AlarmKind> raised;
        std::optional<int64_t> aboveAlarmSince;
        std::optional<int64_t> aboveTripSince;
        std::optional<int64_t> belowClearSince;
        void SetLimits(double alarmLimit, double tripLimit);
        void BreakRuns();
        // The level event a new fresh reading matured, if any.
        std::optional<AlarmKind> Judge(float value, int64_t readingMs, int64_t delayMs);
    };
    struct SensorState {
        AlarmLimits limits;
        ZoneThresholds zones;
        int64_t delayMs = 0;
        Levels velocity;
        Levels temperature;
        int64_t judgedReadingMs = 0;  // the last reading the runs have seen
        bool lost = false;
        std::optional<int64_t> watchedSince;
        Levels& Of(AlarmQuantity q) {
            return q == AlarmQuantity::Temperature ? temperature : velocity;
        }
        const Levels& Of(AlarmQuantity q) const {
            return q == AlarmQuantity::Temperature ? temperature : velocity;
        }
    };

    // Appends LOST when a watched sensor without a fresh reading has been
    // silent for the delay.
    static void WatchSilence(SensorState& s, int64_t steadyMs, const SensorReading& reading,
                             int sensor, std::vector<AlarmEvent>* events);

    std::array<SensorState, kSensorCount> sensors_;
};

}  // namespace orsan
