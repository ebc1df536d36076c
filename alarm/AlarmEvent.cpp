#include "AlarmEvent.h"

#include <array>

#include "LiveReport.h"

namespace orsan {

namespace {
constexpr std::array<const char*, 3> kKindNames = {"ALARM", "TRIP", "CLEAR"};
}

const char* AlarmKindName(AlarmKind kind) {
    return kKindNames[size_t(kind)];
}

std::optional<AlarmKind> ParseAlarmKind(const QString& name) {
    for (size_t k = 0; k < kKindNames.size(); ++k)
        if (name == QLatin1String(kKindNames[k])) return AlarmKind(k);
    return std::nullopt;
}

std::string FormatAlarmEventJson(const AlarmEvent& event) {
    const int64_t seconds = event.timeMs / 1000;
    std::string line = "{\"event\":\"";
    line += AlarmKindName(event.kind);
    line += "\",\"time\":" + std::to_string(seconds);
    line += ",\"ms\":" + std::to_string(event.timeMs - seconds * 1000);
    line += ",\"id\":" + std::to_string(event.sensor);
    line += ",\"axis\":\"";
    line += kVelocityAxisNames[size_t(event.axis)];
    line += "\",\"value\":" + FormatJsonFloat(event.value);
    line += ",\"zone\":";
    line +=
        event.zone == Zone::None ? std::string("null") : std::string("\"") + char(event.zone) + '"';
    line += '}';
    return line;
}

}  // namespace orsan
