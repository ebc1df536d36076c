#include "LiveReport.h"

#include <charconv>
#include <cmath>

namespace orsan {

std::string FormatJsonFloat(float value) {
    if (!std::isfinite(value)) return "null";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FormatLiveReport(int64_t time, int milliseconds, const LiveValues& values,
                             const std::array<bool, kSensorCount>& commOk,
                             const SensorZoneLetters& zones, std::optional<int64_t> backlog,
                             const SensorNames& names, std::optional<int64_t> conflicts) {
    struct Field {
        const char* name;
        int slot;
    };
    static constexpr Field kFields[] = {
        {"T_Shell", kSlotTShell}, {"Acc_X", kSlotAccX},   {"Acc_Y", kSlotAccY},
        {"Acc_Z", kSlotAccZ},     {"Vel_X", kSlotVelX},   {"Vel_Y", kSlotVelY},
        {"Vel_Z", kSlotVelZ},     {"Disp_X", kSlotDispX}, {"Disp_Y", kSlotDispY},
        {"Disp_Z", kSlotDispZ},
    };
    std::string line = "{\"time\":" + std::to_string(time) +
                       ",\"ms\":" + std::to_string(milliseconds) + ",\"sensors\":[";
    for (int r = 0; r < kSensorCount; ++r) {
        const LiveRow& row = values[r];
        if (r > 0) line += ',';
        line += "{\"id\":" + std::to_string(r + 1) + ",\"name\":" + JsonName(names[size_t(r)]) +
                ",\"ok\":" + (commOk[r] ? "true" : "false");
        for (const Field& field : kFields) {
            line += ",\"";
            line += field.name;
            line += "\":" + FormatJsonFloat(row[field.slot]);
        }
        line += ",\"Spectrum_Z\":[";
        for (int i = 0; i < 8; ++i) {
            if (i > 0) line += ',';
            line += FormatJsonFloat(row[kSlotSpectrumZ0 + i]);
        }
        line += "],\"TopOrder_Z\":" + FormatJsonFloat(row[kSlotTopOrderZ]);
        line += ",\"TopOrderEnergy_Z\":" + FormatJsonFloat(row[kSlotTopOrderEnergyZ]);
        line += ",\"RunningSpeed\":" + FormatJsonFloat(row[kSlotRunningSpeed]);
        line += ",\"Zone\":";
        line += zones[r] != 0 ? std::string{'"', zones[r], '"'} : std::string("null");
        line += '}';
    }
    line += ']';
    if (backlog) line += ",\"backlog\":" + (*backlog < 0 ? "null" : std::to_string(*backlog));
    if (conflicts) line += ",\"conflicts\":" + std::to_string(*conflicts);
    line += '}';
    return line;
}

}  // namespace orsan
