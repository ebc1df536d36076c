#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ModbusTcpConnection.h"
#include "SensorEndpoint.h"

namespace orsan::test {

using Bytes = std::vector<uint8_t>;

// One 12-byte request as the peer received it.
struct RecordedRequest {
    int connection = 0;  // 1 for the first accepted connection
    ModbusRequest bytes{};

    uint16_t TransactionId() const { return uint16_t(bytes[0] << 8 | bytes[1]); }
    uint8_t Unit() const { return bytes[6]; }
    uint8_t Function() const { return bytes[7]; }
    uint16_t Register() const { return uint16_t(bytes[8] << 8 | bytes[9]); }
    uint16_t Value() const { return uint16_t(bytes[10] << 8 | bytes[11]); }
};

// What the peer does with one request.
struct PeerReply {
    enum class Then { Keep, Close, Reset };

    std::vector<Bytes> segments;  // one send each; none = stay silent
    int delayMs = 0;              // before the first segment
    int gapMs = 0;                // between segments
    Then then = Then::Keep;
};

// Called on the peer's thread for every 12-byte request; connection and
// request count from 0 over the peer's life.
using PeerHandler =
    std::function<PeerReply(const ModbusRequest& request, int connection, int requestIndex)>;

// A Modbus TCP server on a loopback address and an ephemeral port, one
// connection at a time, on its own thread. It records every request and
// answers from a bank of 200 holding registers (function 3 reads, function 6
// writes and echoes, anything else exception 2), or as a test's handler
// says: late, in pieces, not at all, or by closing.
class FakeModbusPeer {
public:
    // Answer to one request; nullopt = say nothing.
    using Reply = std::optional<Bytes>;
    using Responder = std::function<Reply(const RecordedRequest& request, FakeModbusPeer& peer)>;

    explicit FakeModbusPeer(const std::string& address = "127.0.0.1");
    explicit FakeModbusPeer(PeerHandler handler, const std::string& address = "127.0.0.1");
    ~FakeModbusPeer();
    FakeModbusPeer(const FakeModbusPeer&) = delete;
    FakeModbusPeer& operator=(const FakeModbusPeer&) = delete;

    SensorEndpoint Endpoint() const { return endpoint_; }
    uint16_t Port() const { return endpoint_.port; }
    uint32_t Address() const { return endpoint_.address; }

    void SetHandler(PeerHandler handler);
    // A handler that answers with one send of the responder's bytes.
    void SetResponder(Responder responder);

    int Accepts() const;
    int ClosedConnections() const;  // connections that have ended
    int RepliesSent() const;        // requests whose reply went out (or that stayed silent)
    std::vector<RecordedRequest> Requests() const;

    // Wait (up to timeout) until the count reaches n; false on time-out.
    bool WaitForAccepts(int n, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    bool WaitForClosed(int n, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    bool WaitForReplies(int n, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    bool WaitForRequests(size_t n,
                         std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

    uint16_t Register(int reg) const;
    void SetRegister(int reg, uint16_t value);
    // The register bank's answer, for handlers that change only some.
    Reply Standard(const RecordedRequest& request);

private:
    void Run();
    void Serve(int fd, int connection);
    // Sleeps unless the peer is being destroyed; false when it is.
    bool Delay(int ms);
    bool WaitCount(const int& counter, int n, std::chrono::milliseconds timeout) const;

    int listenFd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    SensorEndpoint endpoint_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    PeerHandler handler_;
    bool stopping_ = false;
    int accepts_ = 0;
    int closed_ = 0;
    int replies_ = 0;
    std::vector<RecordedRequest> requests_;
    std::array<uint16_t, 200> registers_{};
    std::thread thread_;
};

// A well-formed function-3 answer echoing the request header, values as
// given (count taken from values).
Bytes ReadAnswer(const ModbusRequest& request, const std::vector<uint16_t>& values);
// A 9-byte exception answer to request.
Bytes ExceptionAnswer(const ModbusRequest& request, uint8_t code = 2);
// The echo a sensor sends for a function-6 write.
Bytes WriteEcho(const ModbusRequest& request);

uint16_t RequestTid(const ModbusRequest& r);
uint16_t RequestFirst(const ModbusRequest& r);
uint16_t RequestCount(const ModbusRequest& r);

// Entries of /proc/self/fd.
int OpenDescriptorCount();

}  // namespace orsan::test
