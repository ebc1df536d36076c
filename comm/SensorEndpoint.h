#pragma once

#include <cstdint>
#include <string>

namespace orsan {

// How long the station waits for a sensor's connection and for each of its
// answers, in milliseconds: Config.ini's TIMEOUT_MS, within these bounds.
inline constexpr int kDefaultAnswerLimitMs = 400;
inline constexpr int kMinAnswerLimitMs = 100;
inline constexpr int kMaxAnswerLimitMs = 5000;

// IPv4 address with the first octet of the dotted form in the least
// significant byte, as the configuration files and dialogs carry it.
struct SensorEndpoint {
    uint32_t address = 0;
    uint16_t port = 502;
    uint8_t unitId = 1;
    int answerLimitMs = kDefaultAnswerLimitMs;

    bool operator==(const SensorEndpoint&) const = default;
};

inline constexpr uint16_t kModbusPort = 502;

constexpr uint32_t MakeAddress(uint8_t ip1, uint8_t ip2, uint8_t ip3, uint8_t ip4) {
    return uint32_t(ip1) | (uint32_t(ip2) << 8) | (uint32_t(ip3) << 16) | (uint32_t(ip4) << 24);
}

// Octet k (1 to 4) of an address.
constexpr uint8_t AddressOctet(uint32_t address, int k) {
    return uint8_t(address >> (8 * (k - 1)));
}

// "a.b.c.d"
std::string FormatAddress(uint32_t address);

// Parses "a.b.c.d" (each 0..255); false on anything else.
bool ParseAddress(const std::string& text, uint32_t& address);

}  // namespace orsan
