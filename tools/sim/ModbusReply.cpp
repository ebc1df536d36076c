#include "ModbusReply.h"

namespace orsan::sim {

std::optional<std::vector<uint8_t>> BuildReply(const uint8_t* request, size_t length,
                                               const RegisterBlock& regs) {
    if (length < kMbapHeaderLength + 5) return std::nullopt;
    const uint8_t function = request[7];
    const int first = (request[8] << 8) | request[9];
    const int word = (request[10] << 8) | request[11];
    if (function == 6) {
        if (first >= kRegisterCount) return std::nullopt;
        return std::vector<uint8_t>(request, request + 12);
    }
    if (function != 3 || word < 1 || word > 125 || first + word > kRegisterCount) {
        return std::nullopt;
    }
    std::vector<uint8_t> reply(request, request + kMbapHeaderLength);
    const int follow = 3 + 2 * word;  // unit, function, byte count, data
    reply[4] = uint8_t(follow >> 8);
    reply[5] = uint8_t(follow);
    reply.push_back(function);
    reply.push_back(uint8_t(2 * word));
    for (int i = 0; i < word; ++i) {
        reply.push_back(uint8_t(regs[first + i] >> 8));
        reply.push_back(uint8_t(regs[first + i]));
    }
    return reply;
}

}  // namespace orsan::sim
