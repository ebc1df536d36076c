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

AlarmState& AlarmStates::At(int sensor, AlarmKind kind, AlarmQuantity quantity) {
    return states_[size_t(sensor - 1)][size_t(quantity)][size_t(KindIndex(kind))];
}

AlarmState AlarmStates::State(int sensor, AlarmKind kind, AlarmQuantity quantity) const {
    const int k = KindIndex(kind);
    if (sensor < 1 || sensor > kSensorCount || k < 0) return AlarmState::Normal;
    return states_[size_t(sensor - 1)][size_t(quantity)][size_t(k)];
}

bool AlarmStates::Apply(const AlarmEvent& event) {
    if (event.sensor < 1 || event.sensor > kSensorCount) return false;
    const auto change = [&](AlarmKind kind, AlarmState (*to)(AlarmState)) {
        AlarmState& state = At(event.sensor, kind, event.Quantity());
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
            change(AlarmKind::Lost, Returned);  // it carries a velocity, as LOST is kept there
            return false;
    }
    return false;
}

bool AlarmStates::Acknowledge(int sensor, AlarmKind kind, AlarmQuantity quantity) {
    if (sensor < 1 || sensor > kSensorCount || KindIndex(kind) < 0) return false;
    AlarmState& state = At(sensor, kind, quantity);
    const AlarmState before = state;
    state = Acknowledged(state);
    return state != before;
}

void AlarmStates::AcknowledgeAll() {
    for (auto& sensor : states_)
        for (KindStates& quantity : sensor)
            for (AlarmState& state : quantity) state = Acknowledged(state);
}

void AlarmStates::Restore(int sensor, AlarmKind kind, AlarmQuantity quantity, AlarmState state) {
    if (sensor < 1 || sensor > kSensorCount || KindIndex(kind) < 0) return;
    At(sensor, kind, quantity) = state;
}

SensorAlarmSummary AlarmStates::Summary(int sensor) const {
    SensorAlarmSummary summary;
    for (AlarmKind kind : kAnnouncedKinds) {
        // Of a kind raised on both quantities, the one that waits for an
        // acknowledgement shows, then the active one.
        const AlarmState a = State(sensor, kind, AlarmQuantity::Velocity);
        const AlarmState b = State(sensor, kind, AlarmQuantity::Temperature);
        const auto urgency = [](AlarmState s) { return 2 * IsUnacknowledged(s) + IsActive(s); };
        const AlarmState state = urgency(b) > urgency(a) ? b : a;
        if (state == AlarmState::Normal) continue;
        if (!summary.kind) {
            summary.kind = kind;
            summary.state = state;
        }
        summary.unacknowledged =
            summary.unacknowledged || IsUnacknowledged(a) || IsUnacknowledged(b);
        summary.active = summary.active || IsActive(a) || IsActive(b);
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
