#include "ModbusReply.h"

namespace orsan::sim {

namespace {

int Word(const uint8_t* bytes) {
    return (bytes[0] << 8) | bytes[1];
}

}  // namespace

RequestVerdict JudgeRequest(const uint8_t* request, size_t length) {
    if (length < kMbapHeaderLength + 1) return RequestVerdict::Close;
    if (size_t(Word(request + 4)) != length - 6) return RequestVerdict::Close;
    if (Word(request + 2) != 0) return RequestVerdict::Ignore;
    const uint8_t function = request[7];
    if (function != 3 && function != 6 && function != 16) return RequestVerdict::IllegalFunction;
    if (length < kMbapHeaderLength + 5) return RequestVerdict::Close;
    const int first = Word(request + 8);
    const int count = function == 6 ? 1 : Word(request + 10);
    const int most = function == 3 ? 125 : kMaxWriteCount;
    if (count < 1 || count > most) return RequestVerdict::IllegalValue;
    if (function == 16 && (length < kMbapHeaderLength + 6 || request[12] != 2 * count ||
                           length != 13 + 2 * size_t(count)))
        return RequestVerdict::IllegalValue;
    if (first + count > kRegisterCount) return RequestVerdict::IllegalAddress;
    return RequestVerdict::Answer;
}

std::optional<std::vector<uint8_t>> BuildReply(const uint8_t* request, size_t length,
                                               const RegisterBlock& regs) {
    if (JudgeRequest(request, length) != RequestVerdict::Answer) return std::nullopt;
    const uint8_t function = request[7];
    if (function == 6) return std::vector<uint8_t>(request, request + 12);
    std::vector<uint8_t> reply(request, request + kMbapHeaderLength);
    if (function == 16) {
        // The echo of the header: first register and count, length 6.
        reply[4] = 0;
        reply[5] = 6;
        reply.insert(reply.end(), request + 7, request + 12);
        return reply;
    }
    const int first = Word(request + 8);
    const int word = Word(request + 10);
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
