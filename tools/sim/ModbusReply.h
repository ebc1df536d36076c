#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "RegisterMap.h"

namespace orsan::sim {

inline constexpr size_t kMbapHeaderLength = 7;

// The correct answer to a function-3 or function-6 request (header echoed),
// as the fault modes need the bytes in hand to bend them. nullopt for any
// other function or a register range outside the block; those are left to
// the library's own reply.
std::optional<std::vector<uint8_t>> BuildReply(const uint8_t* request, size_t length,
                                               const RegisterBlock& regs);

}  // namespace orsan::sim
