#include "WaveProtocol.h"

#include <locale.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace orsan {

WaveRequest BuildWaveRequest(int32_t durationSeconds) {
    const auto d = static_cast<uint32_t>(durationSeconds);
    return WaveRequest{
        'W', 'V', 'Q', 'S', uint8_t(d), uint8_t(d >> 8), uint8_t(d >> 16), uint8_t(d >> 24),
        'W', 'V', 'Q', 'T'};
}

uint32_t ReadLe32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

float ReadLeFloat(const uint8_t* p) {
    const uint32_t bits = ReadLe32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float PacketSampleRate(const uint8_t* packet) {
    return ReadLeFloat(packet + 8);
}

int32_t PacketNumber(const uint8_t* packet) {
    return static_cast<int32_t>(ReadLe32(packet + 16));
}

namespace {

// The C locale for this thread while it lives. Qt applications adopt the
// user's locale at start-up, and a locale whose decimal point is a comma
// would otherwise turn 0.5 into "0,5" in the waveform file and labels.
class CNumericLocale {
public:
    CNumericLocale() {
        static const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
        if (c != locale_t(0)) previous_ = ::uselocale(c);
    }
    ~CNumericLocale() {
        if (previous_ != locale_t(0)) ::uselocale(previous_);
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    locale_t previous_ = locale_t(0);
};

}  // namespace

std::string Printf(const char* format, ...) {
    const CNumericLocale cLocale;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(size_t(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(size_t(length));
    }
    va_end(args);
    return text;
}

}  // namespace orsan
