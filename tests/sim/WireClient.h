#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace orsan::test {

// A bare TCP client for looking at exactly what a peer sends: every receive
// is kept as its own segment, and a close is seen as such.
class WireClient {
public:
    WireClient(const std::string& address, uint16_t port);  // throws when it cannot connect
    ~WireClient();
    WireClient(const WireClient&) = delete;
    WireClient& operator=(const WireClient&) = delete;

    struct Received {
        std::vector<std::vector<uint8_t>> segments;  // one per receive call
        std::vector<std::chrono::steady_clock::time_point> times;
        bool closed = false;  // the peer closed (or reset) the connection
        size_t Total() const;
        std::vector<uint8_t> Bytes() const;
    };

    bool Send(const std::vector<uint8_t>& bytes);
    // Receives until `want` bytes arrived, the peer closed, or `quiet` passed
    // without any byte (or `limit` in all).
    Received Receive(size_t want, std::chrono::milliseconds quiet,
                     std::chrono::milliseconds limit = std::chrono::seconds(30));

private:
    int fd_ = -1;
};

// The 12-byte Modbus TCP request: transaction id, protocol 0, length 6,
// unit, function, register, count or value (big-endian).
std::vector<uint8_t> ModbusRequest(uint16_t transaction, uint8_t function, uint16_t reg,
                                   uint16_t countOrValue);

// Reads `count` registers from `first` with function 3 on a fresh connection;
// empty when the answer is not exactly 2*count+9 bytes or is an exception.
std::vector<uint16_t> ReadRegisters(const std::string& address, uint16_t port, uint16_t first,
                                    uint16_t count);

// Sends request on a fresh connection; what came back until `quiet` passed
// without a byte (2 s in all).
WireClient::Received Exchange(const std::string& address, uint16_t port,
                              const std::vector<uint8_t>& request, std::chrono::milliseconds quiet);

// Function 6 on a fresh connection; the raw reply.
std::vector<uint8_t> WriteRegister(const std::string& address, uint16_t port, uint16_t reg,
                                   uint16_t value);

}  // namespace orsan::test
