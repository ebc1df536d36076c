#include "AlarmEngine.h"

#include <algorithm>
#include <cmath>

namespace orsan {

namespace {

// Starts a run with the first reading that meets the condition, ends it with
// one that does not; true when the run spans the delay.
bool Lasted(bool condition, int64_t readingMs, int64_t delayMs, std::optional<int64_t>& since) {
    if (!condition) {
        since.reset();
        return false;
    }
    if (!since) since = readingMs;
    return readingMs - *since >= delayMs;
}

AlarmEvent EventOf(int sensor, AlarmKind kind, const WorstVelocity& worst, Zone zone) {
    AlarmEvent event;
    event.sensor = sensor;
    event.axis = worst.axis;
    event.value = worst.value;
    event.zone = zone;
    event.kind = kind;
    return event;
}

}  // namespace

AlarmEngine::AlarmEngine() {
    for (int n = 1; n <= kSensorCount; ++n) SetLimits(n, ComputeAlarmLimits({}));
}

void AlarmEngine::SetLimits(int sensor, const AlarmLimits& limits) {
    SensorState& s = sensors_[size_t(sensor - 1)];
    s.limits = limits;
    s.zones = ZoneThresholds(limits.zones);
    s.alarm = float(limits.alarm);
    s.trip = float(limits.trip);
    s.clear = float(kClearShare * limits.alarm);
    s.delayMs = int64_t(std::llround(limits.delaySeconds * 1000.0));
    s.aboveAlarmSince.reset();
    s.aboveTripSince.reset();
    s.belowClearSince.reset();
}

void AlarmEngine::Step(int64_t steadyMs, const SensorReadings& readings,
                       std::array<Zone, kSensorCount>* zones, std::vector<AlarmEvent>* events) {
    for (int i = 0; i < kSensorCount; ++i) {
        SensorState& s = sensors_[size_t(i)];
        const SensorReading& reading = readings[size_t(i)];
        if (!reading.watched)
            s.watchedSince.reset();
        else if (!s.watchedSince)
            s.watchedSince = steadyMs;

        if (!reading.fresh) {
            (*zones)[size_t(i)] = Zone::None;
            s.aboveAlarmSince.reset();
            s.aboveTripSince.reset();
            s.belowClearSince.reset();
            WatchSilence(s, steadyMs, reading, i + 1, events);
            continue;
        }
        const Zone zone = GradeVelocity(reading.worst.value, s.zones);
        (*zones)[size_t(i)] = zone;
        // A frozen value is no evidence: only a new reading moves a run.
        if (reading.steadyMs == s.judgedReadingMs) continue;
        s.judgedReadingMs = reading.steadyMs;
        if (s.lost) {
            s.lost = false;
            events->push_back(EventOf(i + 1, AlarmKind::Restored, reading.worst, zone));
        }
        Judge(s, reading, zone, i + 1, events);
    }
}

void AlarmEngine::Judge(SensorState& s, const SensorReading& reading, Zone zone, int sensor,
                        std::vector<AlarmEvent>* events) {
    const float value = reading.worst.value;
    const int64_t at = reading.steadyMs;
    const bool tripMatured = Lasted(value > s.trip, at, s.delayMs, s.aboveTripSince);
    const bool alarmMatured = Lasted(value > s.alarm, at, s.delayMs, s.aboveAlarmSince);
    const bool clearMatured = Lasted(value < s.clear, at, s.delayMs, s.belowClearSince);

    std::optional<AlarmKind> kind;
    if (tripMatured && s.raised != AlarmKind::Trip)
        kind = AlarmKind::Trip;
    else if (alarmMatured && !s.raised)
        kind = AlarmKind::Alarm;
    else if (clearMatured && s.raised)
        kind = AlarmKind::Clear;
    if (!kind) return;
    s.raised = *kind == AlarmKind::Clear ? std::nullopt : kind;
    events->push_back(EventOf(sensor, *kind, reading.worst, zone));
}

void AlarmEngine::WatchSilence(SensorState& s, int64_t steadyMs, const SensorReading& reading,
                               int sensor, std::vector<AlarmEvent>* events) {
    if (!reading.watched || s.lost) return;
    // A reading taken before the watch began (polling paused, address just
    // set) does not make the sensor lost the moment the watch begins.
    const int64_t silentSince = std::max(reading.steadyMs, *s.watchedSince);
    if (steadyMs - silentSince < s.delayMs) return;
    s.lost = true;
    events->push_back(EventOf(sensor, AlarmKind::Lost, {kNoAxis, 0.0f}, Zone::None));
}

}  // namespace orsan
