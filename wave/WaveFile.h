#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orsan {

// General notation with 6 significant digits and an exponent of at least
// three digits ("1e-005"), as the station's files have always carried it.
std::string FormatWaveValue(float value);

// The whole text of a waveform file: header, one CR LF line per sample with
// 15-character left-justified fields, then one empty line.
std::string BuildWaveFileText(const float* x, const float* y, const float* z, size_t count);

// "%H时%M分%S秒" in local time.
std::string FormatWaveStartTime(std::time_t when);

// "%1.1f"
std::string FormatWaveRate(float rate);

// folder + "/传感器[a.b.c.d]时间<time>采样率<rate>Hz.txt"
std::string WaveFileName(const std::string& folder, uint32_t address, const std::string& timeText,
                         const std::string& rateText);

// The samples of a waveform file's text, as BuildWaveFileText writes them
// (CR LF or LF line ends, blank lines ignored).
struct WaveFileSamples {
    std::vector<float> x, y, z;
};
std::optional<WaveFileSamples> ParseWaveFileText(std::string_view text, std::string* error);

// What the standard file name carries: "...时间<time>采样率<rate>Hz.txt".
// Empty when the name does not have it.
std::string WaveFileTimeFromName(const std::string& path);
// Empty also for a rate that is not a number from just above 0 to kWaveFileMaxRate.
std::optional<double> WaveFileRateFromName(const std::string& path);
inline constexpr double kWaveFileMaxRate = 1e6;
// True for a time of day as FormatWaveStartTime writes it ("09时05分41秒").
bool IsWaveTimeText(const std::string& text);

}  // namespace orsan
