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

namespace orsan::test {

// One 12-byte request as the peer received it.
struct RecordedRequest {
    int connection = 0;  // 1 for the first accepted connection
    std::array<uint8_t, 12> bytes{};

    uint16_t TransactionId() const { return uint16_t(bytes[0] << 8 | bytes[1]); }
    uint8_t Unit() const { return bytes[6]; }
    uint8_t Function() const { return bytes[7]; }
    uint16_t Register() const { return uint16_t(bytes[8] << 8 | bytes[9]); }
    uint16_t Value() const { return uint16_t(bytes[10] << 8 | bytes[11]); }
};

// A Modbus TCP peer on a loopback address and an ephemeral port that records
// every request and answers from a register bank, or as a test's responder
// says. Serves one connection at a time, as the station makes them.
class FakeModbusPeer {
public:
    // Answer to one request; nullopt = say nothing.
    using Reply = std::optional<std::vector<uint8_t>>;
    using Responder = std::function<Reply(const RecordedRequest& request, FakeModbusPeer& peer)>;

    explicit FakeModbusPeer(const std::string& address = "127.0.0.1");
    ~FakeModbusPeer();
    FakeModbusPeer(const FakeModbusPeer&) = delete;
    FakeModbusPeer& operator=(const FakeModbusPeer&) = delete;

    uint16_t Port() const { return port_; }
    // Octet 1 in the low byte, as the station carries addresses.
    uint32_t Address() const { return address_; }

    void SetResponder(Responder responder);

    std::vector<RecordedRequest> Requests() const;
    int Connections() const;
    // True once at least count connections were accepted within timeout.
    bool WaitForConnections(int count, std::chrono::milliseconds timeout) const;
    bool WaitForRequests(size_t count, std::chrono::milliseconds timeout) const;

    uint16_t Register(int reg) const;
    void SetRegister(int reg, uint16_t value);

    // The well-behaved answers, for responders that change only some.
    Reply Standard(const RecordedRequest& request);
    static std::vector<uint8_t> Exception(const RecordedRequest& request, uint8_t code);

private:
    void Run();
    void Serve(int fd);
    void Answer(int fd, const RecordedRequest& request);

    int listenFd_ = -1;
    int wakePipe_[2] = {-1, -1};
    uint16_t port_ = 0;
    uint32_t address_ = 0;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<RecordedRequest> requests_;
    int connections_ = 0;
    std::array<uint16_t, 200> registers_{};
    Responder responder_;

    std::thread thread_;
};

}  // namespace orsan::test
