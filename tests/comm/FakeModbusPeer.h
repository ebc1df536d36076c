#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ModbusTcpConnection.h"
#include "SensorEndpoint.h"

namespace orsan::test {

using Bytes = std::vector<uint8_t>;

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

// A misbehaving-on-demand Modbus TCP server on a loopback address, one
// connection at a time, on its own thread.
class FakeModbusPeer {
public:
    explicit FakeModbusPeer(PeerHandler handler, const std::string& address = "127.0.0.1");
    ~FakeModbusPeer();
    FakeModbusPeer(const FakeModbusPeer&) = delete;
    FakeModbusPeer& operator=(const FakeModbusPeer&) = delete;

    SensorEndpoint Endpoint() const { return endpoint_; }
    void SetHandler(PeerHandler handler);

    int Accepts() const;
    int ClosedConnections() const;  // connections that have ended
    int RepliesSent() const;        // requests whose reply went out (or that stayed silent)
    std::vector<ModbusRequest> Requests() const;

    // Wait (up to timeout) until the count reaches n; false on time-out.
    bool WaitForAccepts(int n, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    bool WaitForClosed(int n, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    bool WaitForReplies(int n, std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    void Run();
    void Serve(int fd, int connection);
    // Sleeps unless the peer is being destroyed; false when it is.
    bool Delay(int ms);
    bool WaitCount(const int& counter, int n, std::chrono::milliseconds timeout);

    int listenFd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    SensorEndpoint endpoint_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    PeerHandler handler_;
    bool stopping_ = false;
    int accepts_ = 0;
    int closed_ = 0;
    int replies_ = 0;
    std::vector<ModbusRequest> requests_;
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
