#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "SensorEndpoint.h"
#include "SocketKit.h"

namespace orsan {

inline constexpr int kConnectWaitMs = 400;
inline constexpr int kReceiveLimitMs = 400;
inline constexpr size_t kRequestSize = 12;
inline constexpr size_t kReceiveBufferSize = 1024;

inline constexpr uint8_t kFunctionReadHolding = 3;
inline constexpr uint8_t kFunctionWriteSingle = 6;

using ModbusRequest = std::array<uint8_t, kRequestSize>;
using ModbusReply = std::array<uint8_t, kReceiveBufferSize>;

// The 12-byte frame: transaction id, protocol 0, length 6, unit, function,
// register and count/value, all big-endian.
ModbusRequest BuildRequest(uint16_t transactionId, uint8_t unitId, uint8_t function,
                           uint16_t firstRegister, uint16_t countOrValue);

// Length of an accepted answer to a read of count registers.
constexpr size_t ReadReplyLength(uint16_t count) {
    return 2 * size_t(count) + 9;
}

// The caller's transaction counter: incremented before use, wraps to 0.
class TransactionCounter {
public:
    uint16_t Next() { return ++value_; }
    uint16_t Current() const { return value_; }

private:
    uint16_t value_ = 0;
};

// One short-lived connection to one sensor: Open, exchanges, Close.
// Owned and used by one thread. The destructor closes.
class ModbusTcpConnection {
public:
    // calls: the socket calls to make; tests and fuzzers pass a scripted peer.
    explicit ModbusTcpConnection(SocketCalls& calls = SystemSocketCalls()) : calls_(calls) {}
    ~ModbusTcpConnection() = default;
    ModbusTcpConnection(const ModbusTcpConnection&) = delete;
    ModbusTcpConnection& operator=(const ModbusTcpConnection&) = delete;

    // Connect within 400 ms; sends and receives are then bounded by 400 ms.
    // 0.0.0.0 always fails without touching the network. A failed Open
    // leaves the connection closed.
    bool Open(const SensorEndpoint& endpoint);

    // Sends request, then gathers the answer until expectedLength bytes or
    // 400 ms after the send. When the previous request on this connection
    // got anything but exactly its expected length (a time-out may leave its
    // answer coming late), bytes already waiting before the send are
    // discarded. Every receive takes all that is queued, so a longer answer
    // shows as a larger count. A complete 9-byte exception frame ends the
    // wait early. Returns the number
    // of bytes received (may differ from expectedLength), or -1 when nothing
    // arrived (time-out, closed, reset, send failed, not open).
    int Transact(const ModbusRequest& request, size_t expectedLength, ModbusReply& reply);

    // Function 3. True only when exactly 2*count+9 bytes arrived; out gets
    // count values. Transaction id, unit id and function code of the reply
    // are not compared. count must be 1..507.
    bool ReadHoldingRegisters(uint8_t unitId, uint16_t transactionId, uint16_t firstRegister,
                              uint16_t count, uint16_t* out);

    void Close() { fd_.Reset(); }
    bool IsOpen() const { return fd_.Valid(); }

private:
    void DiscardPending();

    SocketCalls& calls_;
    UniqueFd fd_;
    // The last request was not answered with exactly its expected length,
    // so its answer (or the rest of it) may still arrive.
    bool answerMayFollow_ = false;
};

}  // namespace orsan
