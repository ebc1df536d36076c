#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "SeverityZones.h"

namespace orsan {

// Lost: a configured sensor has not answered for the delay; Restored: it
// answers again.
enum class AlarmKind { Alarm, Trip, Clear, Lost, Restored };

// "ALARM", "TRIP", "CLEAR", "LOST", "RESTORED".
const char* AlarmKindName(AlarmKind kind);
std::optional<AlarmKind> ParseAlarmKind(const QString& name);
// The kinds an operator acknowledges: ALARM, TRIP and LOST.
bool IsRaisingKind(AlarmKind kind);

// The axis of an event without a reading (LOST).
inline constexpr int kNoAxis = -1;
// The axis of a temperature event: the shell temperature in degC.
inline constexpr int kTemperatureAxis = 3;
// "Vel_X", "Vel_Y", "Vel_Z", "T_Shell"; an empty text for kNoAxis.
const char* AlarmAxisName(int axis);
// The axis of a name AlarmAxisName gives; kNoAxis for any other.
int AlarmAxisOf(const QString& name);

// What an alarm watches. A sensor has one ALARM, TRIP and LOST on its
// velocity (LOST is the sensor's) and one ALARM and TRIP on its temperature,
// each raised, cleared and acknowledged on its own.
enum class AlarmQuantity { Velocity, Temperature };
inline constexpr int kAlarmQuantityCount = 2;
inline AlarmQuantity QuantityOfAxis(int axis) {
    return axis == kTemperatureAxis ? AlarmQuantity::Temperature : AlarmQuantity::Velocity;
}

// One event: when it matured (wall clock), the sensor (1..6), the axis with the worst
// velocity (0 X, 1 Y, 2 Z), that velocity in mm/s and the sensor's zone. A LOST
// event has no reading: kNoAxis, value 0, no zone. A temperature event has
// kTemperatureAxis, the temperature in degC and no zone (zones grade velocity).
struct AlarmEvent {
    int64_t timeMs = 0;  // since the epoch
    int sensor = 0;
    int axis = 0;
    float value = 0;
    Zone zone = Zone::None;
    AlarmKind kind = AlarmKind::Alarm;
    bool acknowledged = false;
    int64_t id = 0;  // the stored row; 0 before it is stored
    QString ackBy{};      // who acknowledged it
    int64_t ackTime = 0;  // when, in seconds since the epoch; 0 while unacknowledged
    bool operator==(const AlarmEvent&) const = default;
    AlarmQuantity Quantity() const { return QuantityOfAxis(axis); }
};

// The headless mode's line for an event:
// {"event":"ALARM","time":...,"ms":...,"id":3,"name":"P-101","axis":"Vel_Y","value":3.5,
// "zone":"C"}; axis, value and zone are null without a reading, name without a
// machine name.
std::string FormatAlarmEventJson(const AlarmEvent& event, const QString& machineName = QString());

}  // namespace orsan
