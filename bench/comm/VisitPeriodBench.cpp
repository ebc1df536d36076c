// The visit period of one healthy sensor in a full station of six, its five
// neighbours either healthy or silent (they accept the connection and never
// answer, so each of their visits lasts the two 400 ms receive limits). One
// iteration is one visit of the healthy sensor; compare the two rows: a
// silent neighbourhood should cost the healthy sensor at most 1.2 times its
// period among healthy neighbours.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "FakeModbusPeer.h"
#include "SensorPoller.h"

namespace {

using namespace orsan;
using namespace std::chrono_literals;

constexpr int kSensors = 6;
constexpr int kHealthyId = 1;

void BM_HealthySensorVisitPeriod(benchmark::State& state) {
    const bool silentNeighbours = state.range(0) != 0;
    std::vector<std::unique_ptr<test::FakeModbusPeer>> peers;
    for (int id = 1; id <= kSensors; ++id) {
        const std::string address = "127.0.0." + std::to_string(id);
        if (id != kHealthyId && silentNeighbours) {
            peers.push_back(std::make_unique<test::FakeModbusPeer>(
                [](const ModbusRequest&, int, int) { return test::PeerReply{}; }, address));
        } else {
            peers.push_back(std::make_unique<test::FakeModbusPeer>(address));
        }
    }
    std::vector<int> ids, types;
    std::vector<uint32_t> addresses;
    std::vector<uint16_t> ports;
    std::vector<uint8_t> units;
    for (int id = 1; id <= kSensors; ++id) {
        ids.push_back(id);
        types.push_back(kDeviceTypeTriAxis);
        addresses.push_back(peers[size_t(id - 1)]->Address());
        ports.push_back(peers[size_t(id - 1)]->Port());
        units.push_back(1);
    }
    SensorPoller poller;
    if (!poller.StartPolling(kSensors, ids.data(), types.data(), addresses.data(), ports.data(),
                             units.data())) {
        state.SkipWithError("polling did not start");
        return;
    }
    // Past the staggered start (every neighbour visited once), and timed
    // from the end of one visit of the healthy sensor.
    for (int id = 1; id <= kSensors; ++id) poller.WaitForVisits(id, 1, 10s);
    poller.WaitForVisits(kHealthyId, poller.CompletedVisits(kHealthyId) + 1, 10s);

    for (auto _ : state) {
        const uint64_t next = poller.CompletedVisits(kHealthyId) + 1;
        if (!poller.WaitForVisits(kHealthyId, next, 10s)) {
            state.SkipWithError("the healthy sensor was not visited");
            break;
        }
    }
    if (!poller.GetMeasurement(kHealthyId).CommOk) state.SkipWithError("the healthy sensor failed");
    poller.StopPolling();
}
BENCHMARK(BM_HealthySensorVisitPeriod)
    ->ArgName("silentNeighbours")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(15)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
