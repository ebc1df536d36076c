#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "AlarmEvent.h"
#include "LiveValues.h"

namespace orsan {

// The states of an alarm as control rooms show them: an active alarm waits
// for its acknowledgement, and one that returned to normal before it was
// acknowledged stays until it is.
enum class AlarmState {
    Normal,
    ActiveUnacknowledged,
    ActiveAcknowledged,
    ReturnedUnacknowledged,
};

// The alarms an operator acknowledges, one per sensor and kind, from the
// most severe down.
inline constexpr std::array<AlarmKind, 3> kAnnouncedKinds = {AlarmKind::Trip, AlarmKind::Alarm,
                                                             AlarmKind::Lost};

// Unacknowledged alarms flash at 1 Hz: on for the first half of every second
// of the steady clock.
inline constexpr int64_t kFlashHalfPeriodMs = 500;
inline bool FlashPhaseOn(int64_t steadyMs) {
    return (steadyMs / kFlashHalfPeriodMs) % 2 == 0;
}

inline bool IsActive(AlarmState state) {
    return state == AlarmState::ActiveUnacknowledged || state == AlarmState::ActiveAcknowledged;
}
inline bool IsUnacknowledged(AlarmState state) {
    return state == AlarmState::ActiveUnacknowledged ||
           state == AlarmState::ReturnedUnacknowledged;
}

// One sensor at a glance: its most severe alarm that is not normal (TRIP,
// then ALARM, then LOST), that alarm's state, and whether any of its alarms
// waits for an acknowledgement (which makes it flash).
struct SensorAlarmSummary {
    std::optional<AlarmKind> kind;
    AlarmState state = AlarmState::Normal;
    bool unacknowledged = false;
    bool active = false;  // any of its alarms
};

// The ALARM, TRIP and LOST alarms of the six sensors (velocity and LOST,
// and ALARM and TRIP of the temperature), driven by the events of the event
// logic and by acknowledgements. Plain logic, no clock: the caller decides
// when things happen.
class AlarmStates {
public:
    // An event of the event logic: ALARM, TRIP and LOST activate their
    // alarm, CLEAR returns ALARM and TRIP of its quantity, RESTORED returns
    // LOST. True when an alarm became active and unacknowledged (a new alarm
    // to announce).
    bool Apply(const AlarmEvent& event);
    // True when the state changed.
    bool Acknowledge(int sensor, AlarmKind kind, AlarmQuantity quantity = AlarmQuantity::Velocity);
    // Every alarm that waits: active ones stay active, acknowledged.
    void AcknowledgeAll();
    // The state an earlier run left an alarm in.
    void Restore(int sensor, AlarmKind kind, AlarmQuantity quantity, AlarmState state);

    AlarmState State(int sensor, AlarmKind kind,
                     AlarmQuantity quantity = AlarmQuantity::Velocity) const;
    AlarmState StateOf(const AlarmEvent& event) const {
        return State(event.sensor, event.kind, event.Quantity());
    }
    SensorAlarmSummary Summary(int sensor) const;
    bool AnyUnacknowledged() const;
    bool AnyActive() const;

private:
    static int KindIndex(AlarmKind kind);
    AlarmState& At(int sensor, AlarmKind kind, AlarmQuantity quantity);

    using KindStates = std::array<AlarmState, kAnnouncedKinds.size()>;
    std::array<std::array<KindStates, kAlarmQuantityCount>, kSensorCount> states_{};
};

}  // namespace orsan
