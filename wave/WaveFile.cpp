#include "WaveFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "CoreText.h"
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

std::optional<WaveFileSamples> ParseWaveFileText(std::string_view text, std::string* error) {
    WaveFileSamples samples;
    size_t lineNumber = 0;
    bool header = true;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(' ') == std::string_view::npos) continue;
        if (header) {
            header = false;
            if (line.starts_with("Acc_X(g)")) continue;
        }
        float values[3];
        const char* at = line.data();
        const char* const stop = line.data() + line.size();
        for (float& value : values) {
            while (at < stop && *at == ' ') ++at;
            const auto [next, failure] = std::from_chars(at, stop, value);
            if (failure != std::errc() || !std::isfinite(value)) {
                if (error) {
                    // A number too big for a sample is a number still, not a stray word.
                    const bool tooBig =
                        failure == std::errc::result_out_of_range || std::isinf(value);
                    *error =
                        (tooBig
                             ? CoreText::translate("WaveFile", "波形文件第 %1 行的数值超出范围: %2")
                             : CoreText::translate("WaveFile", "波形文件第 %1 行不是三个数值: %2"))
                            .With({std::to_string(lineNumber), line.substr(0, 60)});
                }
                return std::nullopt;
            }
            at = next;
        }
        samples.x.push_back(values[0]);
        samples.y.push_back(values[1]);
        samples.z.push_back(values[2]);
    }
    if (samples.x.empty()) {
        if (error) *error = CoreText::translate("WaveFile", "波形文件中没有数据");
        return std::nullopt;
    }
    return samples;
}

namespace {

// The text between two markers of the file's own name (not its folder).
std::string Between(const std::string& path, std::string_view first, std::string_view second) {
    const size_t slash = path.rfind('/');
    const std::string_view name =
        std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    const size_t begin = name.rfind(first);
    if (begin == std::string_view::npos) return {};
    const size_t end = name.find(second, begin + first.size());
    if (end == std::string_view::npos) return {};
    return std::string(name.substr(begin + first.size(), end - begin - first.size()));
}

}  // namespace

std::string WaveFileTimeFromName(const std::string& path) {
    return Between(path, "时间", "采样率");
}

std::optional<double> WaveFileRateFromName(const std::string& path) {
    const std::string text = Between(path, "采样率", "Hz");
    double rate = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), rate);
    // The sensors sample at tens of kHz; a rate beyond that bound is a damaged name.
    if (text.empty() || failure != std::errc() || end != text.data() + text.size() || !(rate > 0) ||
        rate > kWaveFileMaxRate) {
        return std::nullopt;
    }
    return rate;
}

bool IsWaveTimeText(const std::string& text) {
    int hours = 0, minutes = 0, seconds = 0, length = 0;
    return std::sscanf(text.c_str(), "%2d时%2d分%2d秒%n", &hours, &minutes, &seconds, &length) ==
               3 &&
           size_t(length) == text.size() && hours >= 0 && hours < 24 && minutes >= 0 &&
           minutes < 60 && seconds >= 0 && seconds < 60;
}

}  // namespace orsan
