#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "SensorEndpoint.h"
#include "SocketKit.h"

namespace orsan {

inline constexpr size_t kRequestSize = 12;
inline constexpr size_t kReceiveBufferSize = 1024;
// The largest Modbus TCP frame: 7 bytes of MBAP header and 253 of PDU. Its
// length field (unit id and PDU) is at most 254 and at least 2.
inline constexpr size_t kMaxFrameSize = 260;
inline constexpr size_t kMbapHeaderSize = 7;
// Registers one function-3 read may ask for (250 bytes of data).
inline constexpr uint16_t kMaxReadCount = 125;

inline constexpr uint8_t kFunctionReadHolding = 3;
inline constexpr uint8_t kFunctionWriteSingle = 6;

using ModbusRequest = std::array<uint8_t, kRequestSize>;

// One answer frame as it came: the MBAP header, then the PDU.
struct ModbusFrame {
    std::array<uint8_t, kMaxFrameSize> bytes{};
    size_t size = 0;

    uint8_t Function() const { return bytes[7]; }
    // Function-specific bytes after the function code.
    const uint8_t* Data() const { return bytes.data() + 8; }
};

// The 12-byte frame: transaction id, protocol 0, length 6, unit, function,
// register and count/value, all big-endian.
ModbusRequest BuildRequest(uint16_t transactionId, uint8_t unitId, uint8_t function,
                           uint16_t firstRegister, uint16_t countOrValue);

// Length of an accepted answer to a read of count registers.
constexpr size_t ReadReplyLength(uint16_t count) {
    return 2 * size_t(count) + 9;
}

// Why an exchange gave no usable answer; None when it did.
enum class AnswerFault : uint8_t {
    None,
    NotOpen,
    SendFailed,
    NoAnswer,       // nothing within the time limit
    Incomplete,     // part of a frame, then the time limit
    Closed,         // the peer closed or reset the connection
    TransactionId,  // a transaction id this connection never sent
    ProtocolId,     // not 0
    UnitId,         // not the unit asked
    FunctionCode,   // neither the function asked nor its exception
    Exception,      // the function's exception answer
    ByteCount,      // of a read: not twice the registers asked
    LengthField,    // does not fit the frame of the function
    NotEcho,        // a write's answer differs from its request
};

// A short English name for traces and tests ("transaction id").
const char* AnswerFaultName(AnswerFault fault);

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

    // Connects within the endpoint's answer limit; sends and each answer are
    // then bounded by it. 0.0.0.0 always fails without touching the network.
    // A failed Open leaves the connection closed.
    bool Open(const SensorEndpoint& endpoint);

    // Sends request and reads frames until one answers it, or the answer
    // limit (from the send) passes. Frames that carry the transaction id of
    // an earlier request on this connection (late answers, duplicates) are
    // skipped. The answer must carry protocol id 0, the request's unit id and
    // its function code, or that code with the high bit and a one-byte
    // exception (then Exception, answer holding it). Bytes that arrive with
    // or after the answer are dropped before the next request. On None the
    // answer holds the whole frame; the function's own fields are the
    // caller's to check.
    AnswerFault Exchange(const ModbusRequest& request, ModbusFrame& answer);

    // Function 3: true when the answer carries exactly count registers
    // (byte count 2*count, length field 3+2*count); out gets them. count must
    // be 1..125. LastFault() tells why not.
    bool ReadHoldingRegisters(uint8_t unitId, uint16_t transactionId, uint16_t firstRegister,
                              uint16_t count, uint16_t* out);

    // Function 6: true when the answer is the request's echo, byte for byte.
    bool WriteSingleRegister(uint8_t unitId, uint16_t transactionId, uint16_t reg, uint16_t value);

    // Why the last read or write failed; None after one that succeeded.
    AnswerFault LastFault() const { return lastFault_; }

    void Close() { fd_.Reset(); }
    bool IsOpen() const { return fd_.Valid(); }

private:
    void DiscardPending();
    // Reads until the buffer holds at least size bytes; NoAnswer, Incomplete
    // or Closed when it cannot.
    AnswerFault Fill(size_t size, Deadline deadline, bool& waited);
    void Consume(size_t size);
    bool SentEarlier(uint16_t transactionId) const;

    SocketCalls& calls_;
    UniqueFd fd_;
    int answerLimitMs_ = kDefaultAnswerLimitMs;
    AnswerFault lastFault_ = AnswerFault::None;
    // The last exchange did not end on exactly one answer, so bytes of it (or
    // the rest of a frame) may still arrive.
    bool answerMayFollow_ = false;
    std::array<uint8_t, kReceiveBufferSize> buffer_{};
    size_t buffered_ = 0;
    // Transaction ids sent on this connection, the newest last.
    std::vector<uint16_t> sentIds_;
};

}  // namespace orsan
