#include "AlarmEngine.h"

#include <cmath>

namespace orsan {

namespace {

// Starts a run when the condition begins, ends it when it stops; true when
// the run has lasted the delay.
bool Lasted(bool condition, int64_t now, int64_t delayMs, std::optional<int64_t>& since) {
    if (!condition) {
        since.reset();
        return false;
    }
    if (!since) since = now;
    return now - *since >= delayMs;
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

void AlarmEngine::Step(int64_t steadyMs, const LiveValues& values,
                       const std::array<bool, kSensorCount>& commOk,
                       std::array<Zone, kSensorCount>* zones, std::vector<AlarmEvent>* events) {
    for (int i = 0; i < kSensorCount; ++i) {
        SensorState& s = sensors_[size_t(i)];
        if (!commOk[size_t(i)]) {
            (*zones)[size_t(i)] = Zone::None;
            s.aboveAlarmSince.reset();
            s.aboveTripSince.reset();
            s.belowClearSince.reset();
            continue;
        }
        const WorstVelocity worst = WorstVelocityOf(values[size_t(i)]);
        const Zone zone = GradeVelocity(worst.value, s.zones);
        (*zones)[size_t(i)] = zone;

        const bool tripMatured =
            Lasted(worst.value > s.trip, steadyMs, s.delayMs, s.aboveTripSince);
        const bool alarmMatured =
            Lasted(worst.value > s.alarm, steadyMs, s.delayMs, s.aboveAlarmSince);
        const bool clearMatured =
            Lasted(worst.value < s.clear, steadyMs, s.delayMs, s.belowClearSince);

        std::optional<AlarmKind> kind;
        if (tripMatured && s.raised != AlarmKind::Trip)
            kind = AlarmKind::Trip;
        else if (alarmMatured && !s.raised)
            kind = AlarmKind::Alarm;
        else if (clearMatured && s.raised)
            kind = AlarmKind::Clear;
        if (!kind) continue;

        s.raised = *kind == AlarmKind::Clear ? std::nullopt : kind;
        AlarmEvent event;
        event.sensor = i + 1;
        event.axis = worst.axis;
        event.value = worst.value;
        event.zone = zone;
        event.kind = *kind;
        events->push_back(event);
    }
}

}  // namespace orsan
