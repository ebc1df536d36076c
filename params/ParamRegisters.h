#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "ParamFields.h"

namespace orsan {

inline constexpr uint16_t kRegSaveCommand = 76;
inline constexpr uint16_t kSaveCommandValue = 11;

// An IPv4 address (octet 1 in the low byte) as the sensor keeps it in two
// registers: octets 1 and 2 in the first (octet 1 low), 3 and 4 in the second.
constexpr std::array<uint16_t, 2> EncodeAddressPair(uint32_t address) {
    return {uint16_t(address & 0xFFFF), uint16_t(address >> 16)};
}

constexpr uint32_t DecodeAddressPair(uint16_t first, uint16_t second) {
    return uint32_t(first) | (uint32_t(second) << 16);
}

// The register value of a shown value: divisor 1 truncates toward zero,
// divisor 100 rounds to the nearest (0.29 must become 29, not 28). Empty when
// the value is negative or does not fit 16 bits.
std::optional<uint16_t> ToRegisterValue(float value, int divisor);

// The shown value of a register value.
float FromRegisterValue(uint16_t reg, int divisor);

// The read at opening: seven function-3 requests on one connection.
enum class ReadGroup { Filters, Components, Ratio, Network, SpeedSource, SpeedMode, RatedSpeed };

struct ReadRequest {
    ReadGroup group;
    uint16_t transactionId;
    uint16_t firstRegister;
    uint16_t count;
};

inline constexpr int kReadRequestCount = 7;
const std::array<ReadRequest, kReadRequestCount>& ReadRequests();

// Puts the registers of one accepted reply (request.count values) into values.
void ApplyReadReply(ReadGroup group, const uint16_t* registers, SensorParameters& values);

}  // namespace orsan
