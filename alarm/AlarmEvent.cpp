#include "AlarmEvent.h"

#include <array>

#include "LiveReport.h"

namespace orsan {

namespace {
constexpr std::array<const char*, 5> kKindNames = {"ALARM", "TRIP", "CLEAR", "LOST", "RESTORED"};
}

const char* AlarmKindName(AlarmKind kind) {
    return kKindNames[size_t(kind)];
}

std::optional<AlarmKind> ParseAlarmKind(const QString& name) {
    for (size_t k = 0; k < kKindNames.size(); ++k)
        if (name == QLatin1String(kKindNames[k])) return AlarmKind(k);
    return std::nullopt;
}

bool IsRaisingKind(AlarmKind kind) {
    return kind == AlarmKind::Alarm || kind == AlarmKind::Trip || kind == AlarmKind::Lost;
}

const char* AlarmAxisName(int axis) {
    if (axis == kTemperatureAxis) return "T_Shell";
    return axis >= 0 && axis < int(kVelocityAxisNames.size()) ? kVelocityAxisNames[size_t(axis)]
                                                              : "";
}

int AlarmAxisOf(const QString& name) {
    for (int axis = 0; axis <= kTemperatureAxis; ++axis)
        if (name == QLatin1String(AlarmAxisName(axis))) return axis;
    return kNoAxis;
}

std::string FormatAlarmEventJson(const AlarmEvent& event, const QString& machineName) {
    const int64_t seconds = event.timeMs / 1000;
    std::string line = "{\"event\":\"";
    line += AlarmKindName(event.kind);
    line += "\",\"time\":" + std::to_string(seconds);
    line += ",\"ms\":" + std::to_string(event.timeMs - seconds * 1000);
    line += ",\"id\":" + std::to_string(event.sensor);
    line += ",\"name\":" + JsonName(machineName);
    if (event.axis == kNoAxis) {
        line += ",\"axis\":null,\"value\":null";
    } else {
        line += ",\"axis\":\"";
        line += AlarmAxisName(event.axis);
        line += "\",\"value\":" + FormatJsonFloat(event.value);
    }
    line += ",\"zone\":";
    line +=
        event.zone == Zone::None ? std::string("null") : std::string("\"") + char(event.zone) + '"';
    line += '}';
    return line;
}

}  // namespace orsan
