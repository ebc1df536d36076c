// One sensor visit (open, the two measurement reads, close; no 100 ms pause)
// next to the floor for the same traffic: a bare blocking connect, two round
// trips of 12 -> 153 and 12 -> 11 bytes, and close. Both run against the
// same loopback peer in the same process.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <vector>

#include "BenchTiming.h"
#include "FakeModbusPeer.h"
#include "MeasurementRead.h"
#include "ModbusTcpConnection.h"

namespace {

using namespace orsan;

// The tests' loopback peer: every read answered from its register bank,
// one connection at a time, for the whole run.
test::FakeModbusPeer& Peer() {
    static test::FakeModbusPeer peer;
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

sockaddr_in PeerAddress() {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sa.sin_port = htons(Peer().Port());
    return sa;
}

timeval Limit(int ms) {
    return timeval{ms / 1000, (ms % 1000) * 1000};
}

// timeOuts: the floor with the visit's two socket time-outs, which bound a
// blocking connect and receive (and cost the kernel a timer per wait).
bool FloorVisit(const sockaddr_in& sa, uint16_t& tid, bool timeOuts = false) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (timeOuts) {
        const timeval connect = Limit(kDefaultAnswerLimitMs);
        const timeval receive = Limit(kDefaultAnswerLimitMs);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &connect, sizeof connect);
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &receive, sizeof receive);
    }
    bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
    ok = ok && RoundTrip(fd, ++tid, kMeasurementFirstRegister, kMeasurementRegisterCount);
    ok = ok && RoundTrip(fd, ++tid, kRunningSpeedRegister, 1);
    ::close(fd);
    return ok;
}

bool SensorVisit(const SensorEndpoint& endpoint, TransactionCounter& counter) {
    MeasurementRecord scratch{};
    ModbusTcpConnection connection;
    bool ok = connection.Open(endpoint);
    if (ok) {
        counter.Next();
        ok = ReadMeasurements(connection, endpoint.unitId, counter, scratch);
    }
    connection.Close();
    benchmark::DoNotOptimize(scratch);
    return ok;
}

void BM_Floor_ConnectTwoRoundTripsClose(benchmark::State& state) {
    const sockaddr_in sa = PeerAddress();
    uint16_t tid = 0;
    for (auto _ : state) {
        if (!FloorVisit(sa, tid)) {
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
        if (!SensorVisit(endpoint, counter)) {
            state.SkipWithError("visit failed");
            break;
        }
    }
}
BENCHMARK(BM_SensorVisit)->UseRealTime();

// Both in one run, taking turns, so other work on the machine weighs on both
// alike: their median times (a visit preempted by another process does not
// count for more than one) and the ratio (goal: visit <= 1.05 x floor).
void BM_VisitOverFloorRatio(benchmark::State& state) {
    const sockaddr_in sa = PeerAddress();
    const SensorEndpoint endpoint = Peer().Endpoint();
    TransactionCounter counter;
    uint16_t tid = 0;
    using Clock = std::chrono::steady_clock;
    std::array<std::vector<double>, 3> us;  // visit, floor, floor with time-outs
    const std::array<std::function<bool()>, 3> exchanges = {
        [&] { return SensorVisit(endpoint, counter); }, [&] { return FloorVisit(sa, tid); },
        [&] { return FloorVisit(sa, tid, true); }};
    size_t turn = 0;
    for (auto _ : state) {
        // Each goes first in turn: none always finds the peer just done with
        // the same other connection.
        for (size_t i = 0; i < exchanges.size(); ++i) {
            const size_t which = (turn + i) % exchanges.size();
            const auto start = Clock::now();
            if (!exchanges[which]()) {
                state.SkipWithError("exchange failed");
                return;
            }
            us[which].push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        }
        ++turn;
    }
    const double visit = bench::Median(us[0]);
    const double floor = bench::Median(us[1]);
    const double timed = bench::Median(us[2]);
    state.counters["visit_us"] = visit;
    state.counters["floor_us"] = floor;
    state.counters["timeouts_floor_us"] = timed;
    state.counters["ratio_timeouts_floor"] = visit / timed;
    state.counters["ratio"] = visit / floor;
}
BENCHMARK(BM_VisitOverFloorRatio)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
