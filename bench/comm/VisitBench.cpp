// One sensor visit (open, the two measurement reads, close; no 100 ms pause)
// next to the floor for the same traffic: a bare blocking connect, two round
// trips of 12 -> 153 and 12 -> 11 bytes, and close. Both run against the
// same loopback peer in the same process.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

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

void BM_Floor_ConnectTwoRoundTripsClose(benchmark::State& state) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sa.sin_port = htons(Peer().Port());
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
