#include "AlarmStates.h"

namespace orsan {

namespace {

AlarmState Activated(AlarmState state) {
    // An alarm acknowledged while active stays acknowledged when told again.
    return state == AlarmState::ActiveAcknowledged ? state : AlarmState::ActiveUnacknowledged;
}

AlarmState Returned(AlarmState state) {
    switch (state) {
        case AlarmState::ActiveUnacknowledged:
            return AlarmState::ReturnedUnacknowledged;
        case AlarmState::ActiveAcknowledged:
            return AlarmState::Normal;
        default:
            return state;
    }
}

AlarmState Acknowledged(AlarmState state) {
    switch (state) {
        case AlarmState::ActiveUnacknowledged:
            return AlarmState::ActiveAcknowledged;
        case AlarmState::ReturnedUnacknowledged:
            return AlarmState::Normal;
        default:
            return state;
    }
}

}  // namespace

int AlarmStates::KindIndex(AlarmKind kind) {
    for (size_t k = 0; k < kAnnouncedKinds.size(); ++k)
        if (kAnnouncedKinds[k] == kind) return int(k);
    return -1;
}

AlarmState& AlarmStates::At(int sensor, AlarmKind kind) {
    return states_[size_t(sensor - 1)][size_t(KindIndex(kind))];
}

AlarmState AlarmStates::State(int sensor, AlarmKind kind) const {
    const int k = KindIndex(kind);
    if (sensor < 1 || sensor > kSensorCount || k < 0) return AlarmState::Normal;
    return states_[size_t(sensor - 1)][size_t(k)];
}

bool AlarmStates::Apply(const AlarmEvent& event) {
    if (event.sensor < 1 || event.sensor > kSensorCount) return false;
    const auto change = [&](AlarmKind kind, AlarmState (*to)(AlarmState)) {
        AlarmState& state = At(event.sensor, kind);
        const AlarmState before = state;
        state = to(state);
        return state == AlarmState::ActiveUnacknowledged && before != state;
    };
    switch (event.kind) {
        case AlarmKind::Alarm:
        case AlarmKind::Trip:
        case AlarmKind::Lost:
            return change(event.kind, Activated);
        case AlarmKind::Clear:
            change(AlarmKind::Alarm, Returned);
            change(AlarmKind::Trip, Returned);
            return false;
        case AlarmKind::Restored:
            change(AlarmKind::Lost, Returned);
            return false;
    }
    return false;
}

bool AlarmStates::Acknowledge(int sensor, AlarmKind kind) {
    if (sensor < 1 || sensor > kSensorCount || KindIndex(kind) < 0) return false;
    AlarmState& state = At(sensor, kind);
    const AlarmState before = state;
    state = Acknowledged(state);
    return state != before;
}

void AlarmStates::AcknowledgeAll() {
    for (auto& sensor : states_)
        for (AlarmState& state : sensor) state = Acknowledged(state);
}

void AlarmStates::RestoreUnacknowledged(int sensor, AlarmKind kind) {
    if (sensor < 1 || sensor > kSensorCount || KindIndex(kind) < 0) return;
    AlarmState& state = At(sensor, kind);
    if (state == AlarmState::Normal) state = AlarmState::ReturnedUnacknowledged;
}

SensorAlarmSummary AlarmStates::Summary(int sensor) const {
    SensorAlarmSummary summary;
    for (AlarmKind kind : kAnnouncedKinds) {
        const AlarmState state = State(sensor, kind);
        if (state == AlarmState::Normal) continue;
        if (!summary.kind) {
            summary.kind = kind;
            summary.state = state;
        }
        summary.unacknowledged = summary.unacknowledged || IsUnacknowledged(state);
        summary.active = summary.active || IsActive(state);
    }
    return summary;
}

bool AlarmStates::AnyUnacknowledged() const {
    for (int n = 1; n <= kSensorCount; ++n)
        if (Summary(n).unacknowledged) return true;
    return false;
}

bool AlarmStates::AnyActive() const {
    for (int n = 1; n <= kSensorCount; ++n)
        if (Summary(n).active) return true;
    return false;
}

}  // namespace orsan
