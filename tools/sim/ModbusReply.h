#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "RegisterMap.h"

namespace orsan::sim {

inline constexpr size_t kMbapHeaderLength = 7;
// Registers one function-16 request may carry (246 data bytes).
inline constexpr int kMaxWriteCount = 123;

// What the sensor makes of one request as the library framed it (length =
// the whole frame, header included).
enum class RequestVerdict {
    Answer,           // a request of function 3, 6 or 16 that fits the block
    Ignore,           // protocol id other than 0: not Modbus, no answer
    Close,            // the length field disagrees with the frame: framing is lost
    IllegalFunction,  // exception 01: any function but 3, 6 and 16
    IllegalAddress,   // exception 02: registers outside the block
    IllegalValue,     // exception 03: a count or byte count out of range
};

RequestVerdict JudgeRequest(const uint8_t* request, size_t length);

// The correct answer to a function-3, 6 or 16 request (header echoed), as
// the fault modes need the bytes in hand to bend them. nullopt for any
// other function or a register range outside the block; those are left to
// the library's own reply.
std::optional<std::vector<uint8_t>> BuildReply(const uint8_t* request, size_t length,
                                               const RegisterBlock& regs);

}  // namespace orsan::sim
