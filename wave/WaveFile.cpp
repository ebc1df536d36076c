#include "WaveFile.h"

#include <cstdio>

#include "SensorEndpoint.h"
#include "WaveProtocol.h"

namespace orsan {

namespace {
constexpr size_t kFieldWidth = 15;
}

std::string FormatWaveValue(float value) {
    std::string text = Printf("%g", double(value));
    const size_t e = text.find('e');
    if (e == std::string::npos) return text;
    // "e-05" -> "e-005": the sign stays, the digits are widened to three.
    const size_t digits = e + 2;
    const size_t count = text.size() - digits;
    if (count < 3) text.insert(digits, 3 - count, '0');
    return text;
}

std::string BuildWaveFileText(const float* x, const float* y, const float* z, size_t count) {
    std::string text;
    text.reserve(48 * (count + 2));
    const auto field = [&text](const std::string& value) {
        text += value;
        if (value.size() < kFieldWidth) text.append(kFieldWidth - value.size(), ' ');
    };
    for (const char* name : {"Acc_X(g)", "Acc_Y(g)", "Acc_Z(g)"}) field(name);
    text += "\r\n";
    for (size_t i = 0; i < count; ++i) {
        for (const float* axis : {x, y, z}) field(FormatWaveValue(axis[i]));
        text += "\r\n";
    }
    text += "\r\n";
    return text;
}

std::string FormatWaveStartTime(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[64];
    const size_t n = std::strftime(text, sizeof text, "%H时%M分%S秒", &local);
    return std::string(text, n);
}

std::string FormatWaveRate(float rate) {
    return Printf("%1.1f", double(rate));
}

std::string WaveFileName(const std::string& folder, uint32_t address, const std::string& timeText,
                         const std::string& rateText) {
    return folder + "/传感器[" + FormatAddress(address) + "]时间" + timeText + "采样率" + rateText +
           "Hz.txt";
}

}  // namespace orsan
