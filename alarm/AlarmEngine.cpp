#include "AlarmEngine.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

AlarmEvent EventOf(int sensor, AlarmKind kind, int axis, float value, Zone zone) {
    AlarmEvent event;
    event.sensor = sensor;
    event.axis = axis;
    event.value = value;
    event.zone = zone;
    event.kind = kind;
    return event;
}

float Limit(std::optional<double> value) {
    return value ? float(*value) : std::numeric_limits<float>::infinity();
}

}  // namespace

void AlarmEngine::Levels::SetLimits(double alarmLimit, double tripLimit) {
    alarm = float(alarmLimit);
    trip = float(tripLimit);
    clear = float(kClearShare * std::min(alarmLimit, tripLimit));
    BreakRuns();
}

void AlarmEngine::Levels::BreakRuns() {
    aboveAlarmSince.reset();
    aboveTripSince.reset();
    belowClearSince.reset();
}

std::optional<AlarmKind> AlarmEngine::Levels::Judge(float value, int64_t at, int64_t delayMs) {
    const bool tripMatured = Lasted(value > trip, at, delayMs, aboveTripSince);
    const bool alarmMatured = Lasted(value > alarm, at, delayMs, aboveAlarmSince);
    const bool clearMatured = Lasted(value < clear, at, delayMs, belowClearSince);

    std::optional<AlarmKind> kind;
    if (tripMatured && raised != AlarmKind::Trip)
        kind = AlarmKind::Trip;
    else if (alarmMatured && !raised)
        kind = AlarmKind::Alarm;
    else if (clearMatured && raised)
        kind = AlarmKind::Clear;
    if (kind) raised = *kind == AlarmKind::Clear ? std::nullopt : kind;
    return kind;
}

AlarmEngine::AlarmEngine() {
    for (int n = 1; n <= kSensorCount; ++n) SetLimits(n, ComputeAlarmLimits({}));
}

void AlarmEngine::SetLimits(int sensor, const AlarmLimits& limits) {
    SensorState& s = sensors_[size_t(sensor - 1)];
    s.limits = limits;
    s.zones = ZoneThresholds(limits.zones);
    s.delayMs = int64_t(std::llround(limits.delaySeconds * 1000.0));
    s.velocity.SetLimits(limits.alarm, limits.trip);
    s.temperature.SetLimits(Limit(limits.tempAlarm), Limit(limits.tempTrip));
}

void AlarmEngine::Restore(int sensor, AlarmQuantity quantity, std::optional<AlarmKind> raised) {
    sensors_[size_t(sensor - 1)].Of(quantity).raised = raised;
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
            s.velocity.BreakRuns();
            s.temperature.BreakRuns();
            WatchSilence(s, steadyMs, reading, i + 1, events);
            continue;
        }
        const Zone zone = GradeVelocity(reading.worst.value, s.zones);
        (*zones)[size_t(i)] = zone;
        // A frozen value is no evidence: only a new reading moves a run.
        if (reading.steadyMs == s.judgedReadingMs) continue;
        s.judgedReadingMs = reading.steadyMs;
        const WorstVelocity& worst = reading.worst;
        if (s.lost) {
            s.lost = false;
            events->push_back(EventOf(i + 1, AlarmKind::Restored, worst.axis, worst.value, zone));
        }
        if (const auto kind = s.velocity.Judge(worst.value, reading.steadyMs, s.delayMs))
            events->push_back(EventOf(i + 1, *kind, worst.axis, worst.value, zone));
        if (const auto kind = s.temperature.Judge(reading.temperature, reading.steadyMs, s.delayMs))
            events->push_back(
                EventOf(i + 1, *kind, kTemperatureAxis, reading.temperature, Zone::None));
    }
}

void AlarmEngine::WatchSilence(SensorState& s, int64_t steadyMs, const SensorReading& reading,
                               int sensor, std::vector<AlarmEvent>* events) {
    if (!reading.watched || s.lost) return;
    // A reading taken before the watch began (polling paused, address just
    // set) does not make the sensor lost the moment the watch begins.
    const int64_t silentSince = std::max(reading.steadyMs, *s.watchedSince);
    if (steadyMs - silentSince < s.delayMs) return;
    s.lost = true;
    events->push_back(EventOf(sensor, AlarmKind::Lost, kNoAxis, 0.0f, Zone::None));
}

}  // namespace orsan
