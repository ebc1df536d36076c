// One sensor visit (open, the two measurement reads, close; no 100 ms pause)
// next to the floor for the same traffic: a bare blocking connect, two round
// trips of 12 -> 153 and 12 -> 11 bytes, and close. Both run against the
// same loopback peer in the same process.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <stdexcept>
#include <thread>
#include <vector>

#include "MeasurementRead.h"
#include "ModbusTcpConnection.h"

namespace {

using namespace orsan;

// Answers every 12-byte read with a well-formed reply of 2*count+9 bytes,
// one connection at a time, until destroyed.
class LoopbackPeer {
public:
    LoopbackPeer() {
        if (::pipe(wake_) != 0) throw std::runtime_error("pipe");
        listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int one = 1;
        ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof sa;
        if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
            ::listen(listenFd_, 64) != 0 ||
            ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&sa), &len) != 0) {
            throw std::runtime_error("listen");
        }
        address_ = sa;
        thread_ = std::thread([this] { Run(); });
    }
    ~LoopbackPeer() {
        const char b = 1;
        (void)!::write(wake_[1], &b, 1);
        thread_.join();
        ::close(listenFd_);
        ::close(wake_[0]);
        ::close(wake_[1]);
    }
    const sockaddr_in& Address() const { return address_; }
    SensorEndpoint Endpoint() const {
        return SensorEndpoint{MakeAddress(127, 0, 0, 1), ntohs(address_.sin_port), 1};
    }

private:
    void Run() {
        for (;;) {
            pollfd p[2] = {{listenFd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
            if (::poll(p, 2, -1) < 0) continue;
            if (p[1].revents) return;
            const int fd = ::accept(listenFd_, nullptr, nullptr);
            if (fd < 0) continue;
            Serve(fd);
            ::close(fd);
        }
    }
    static void Serve(int fd) {
        std::array<uint8_t, 12> request{};
        std::array<uint8_t, kReceiveBufferSize> reply{};
        for (;;) {
            size_t have = 0;
            while (have < request.size()) {
                const ssize_t n = ::recv(fd, request.data() + have, request.size() - have, 0);
                if (n <= 0) return;
                have += size_t(n);
            }
            const uint16_t count = uint16_t(request[10] << 8 | request[11]);
            const size_t length = ReadReplyLength(count);
            if (length > reply.size()) return;
            std::copy(request.begin(), request.begin() + 8, reply.begin());
            reply[4] = uint8_t((length - 6) >> 8);
            reply[5] = uint8_t(length - 6);
            reply[8] = uint8_t(2 * count);
            ::send(fd, reply.data(), length, MSG_NOSIGNAL);
        }
    }

    int listenFd_ = -1;
    int wake_[2] = {-1, -1};
    sockaddr_in address_{};
    std::thread thread_;
};

LoopbackPeer& Peer() {
    static LoopbackPeer peer;
    return peer;
}

bool RoundTrip(int fd, uint16_t tid, uint16_t first, uint16_t count) {
    const ModbusRequest request = BuildRequest(tid, 1, kFunctionReadHolding, first, count);
    if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) != ssize_t(request.size())) {
        return false;
    }
    std::array<uint8_t, kReceiveBufferSize> reply;
    const size_t want = ReadReplyLength(count);
    size_t got = 0;
    while (got < want) {
        const ssize_t n = ::recv(fd, reply.data() + got, reply.size() - got, 0);
        if (n <= 0) return false;
        got += size_t(n);
    }
    return got == want;
}

void BM_Floor_ConnectTwoRoundTripsClose(benchmark::State& state) {
    const sockaddr_in sa = Peer().Address();
    uint16_t tid = 0;
    for (auto _ : state) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
        ok = ok && RoundTrip(fd, ++tid, kMeasurementFirstRegister, kMeasurementRegisterCount);
        ok = ok && RoundTrip(fd, ++tid, kRunningSpeedRegister, 1);
        ::close(fd);
        if (!ok) {
            state.SkipWithError("floor exchange failed");
            break;
        }
    }
}
BENCHMARK(BM_Floor_ConnectTwoRoundTripsClose)->UseRealTime();

void BM_SensorVisit(benchmark::State& state) {
    const SensorEndpoint endpoint = Peer().Endpoint();
    TransactionCounter counter;
    for (auto _ : state) {
        MeasurementRecord scratch{};
        ModbusTcpConnection connection;
        bool ok = connection.Open(endpoint);
        if (ok) {
            counter.Next();
            ok = ReadMeasurements(connection, endpoint.unitId, counter, scratch);
        }
        connection.Close();
        benchmark::DoNotOptimize(scratch);
        if (!ok) {
            state.SkipWithError("visit failed");
            break;
        }
    }
}
BENCHMARK(BM_SensorVisit)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
