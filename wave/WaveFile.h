#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

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

}  // namespace orsan
