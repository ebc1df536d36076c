#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "FakeModbusPeer.h"
#include "LeakCheckedTest.h"
#include "SensorPoller.h"

namespace orsan {
namespace {

using test::FakeModbusPeer;
using test::PeerReply;
using namespace std::chrono_literals;

// Register r of the block holds base + r; register 133 holds speed.
std::array<uint16_t, kMeasurementRegisterCount> Block(uint16_t base) {
    std::array<uint16_t, kMeasurementRegisterCount> b{};
    for (int r = 0; r < kMeasurementRegisterCount; ++r) b[r] = uint16_t(base + r);
    return b;
}

// A sensor answering both reads; either can be turned into an exception.
test::PeerHandler Sensor(uint16_t base, uint16_t speed, bool blockFails = false,
                         bool speedFails = false) {
    return [=](const ModbusRequest& r, int, int) {
        const bool isBlock = test::RequestFirst(r) == 0;
        if (isBlock ? blockFails : speedFails) return PeerReply{{test::ExceptionAnswer(r)}};
        if (isBlock) {
            const auto b = Block(base);
            return PeerReply{{test::ReadAnswer(r, {b.begin(), b.end()})}};
        }
        return PeerReply{{test::ReadAnswer(r, {speed})}};
    };
}

MeasurementRecord Expected(uint16_t base, uint16_t speed) {
    MeasurementRecord rec;
    DecodeMeasurementBlock(Block(base), rec);
    rec.RunningSpeed = DecodeRunningSpeed(speed);
    rec.CommOk = true;
    return rec;
}

void ExpectSameValues(const MeasurementRecord& got, const MeasurementRecord& want) {
    EXPECT_EQ(got.T_Shell, want.T_Shell);
    EXPECT_EQ(got.Vel_X, want.Vel_X);
    EXPECT_EQ(got.Acc_Z, want.Acc_Z);
    EXPECT_EQ(got.Disp_Y, want.Disp_Y);
    EXPECT_EQ(got.Spectrum_X, want.Spectrum_X);
    EXPECT_EQ(got.Spectrum_Z, want.Spectrum_Z);
    EXPECT_EQ(got.TopOrder_Z, want.TopOrder_Z);
    EXPECT_EQ(got.TopOrderEnergy_Z, want.TopOrderEnergy_Z);
    EXPECT_EQ(got.AuxValues_Z, want.AuxValues_Z);
    EXPECT_EQ(got.RunningSpeed, want.RunningSpeed);
}

void ExpectAllZero(const MeasurementRecord& got) {
    ExpectSameValues(got, MeasurementRecord{});
    EXPECT_FALSE(got.CommOk);
}

// The parallel arrays StartPolling takes.
struct SensorTable {
    std::vector<int> ids, types;
    std::vector<uint32_t> addresses;
    std::vector<uint16_t> ports;
    std::vector<uint8_t> units;
    std::vector<int> limits;

    SensorTable& Add(int id, SensorEndpoint endpoint, int type = kDeviceTypeTriAxis) {
        ids.push_back(id);
        types.push_back(type);
        addresses.push_back(endpoint.address);
        ports.push_back(endpoint.port);
        units.push_back(endpoint.unitId);
        limits.push_back(endpoint.answerLimitMs);
        return *this;
    }
    bool Start(SensorPoller& poller) const {
        return poller.StartPolling(int(ids.size()), ids.data(), types.data(), addresses.data(),
                                   ports.data(), units.data(), limits.data());
    }
};

// True once every listed sensor has completed at least count visits.
bool EachVisited(const SensorPoller& poller, std::initializer_list<int> ids, uint64_t count) {
    for (int id : ids) {
        if (!poller.WaitForVisits(id, count, 10s)) return false;
    }
    return true;
}

// A peer that accepts and reads requests but never answers.
test::PeerHandler Silent() {
    return [](const ModbusRequest&, int, int) { return PeerReply{}; };
}

// Six sensors are each visited every 0.61 s, staggered by 0.1 s, whatever
// their visits cost, and a visit longer than that (a silent sensor) pushes
// only its own next one, to 0.1 s after its end: played on clock readings,
// so a wrong cadence shows as a number, not as traffic.
TEST(VisitScheduleTest, HealthySensorsKeepTheRoundsCadenceAndSlowOnesPauseAfterTheirVisit) {
    const VisitClock::time_point t0{};
    EXPECT_EQ(VisitPeriod(6), 610ms);
    EXPECT_EQ(FirstVisitDue(t0, 0) - t0, 110ms);
    EXPECT_EQ(FirstVisitDue(t0, 5) - t0, 610ms);
    // Start, end and the next visit of a healthy visit, one that ends a pause
    // before the period, a slow one and a silent sensor's time-out.
    const std::array<std::chrono::milliseconds, 3> visits[] = {{110ms, 115ms, 720ms},
                                                               {110ms, 620ms, 720ms},
                                                               {110ms, 650ms, 750ms},
                                                               {110ms, 1110ms, 1210ms}};
    for (const auto& [start, end, next] : visits)
        EXPECT_EQ(NextVisitDue(t0 + start, t0 + end, VisitPeriod(6)) - t0, next) << end.count();
}

using PollerTest = test::LeakCheckedTest;

// With one sensor in the table, its (n+1)th connection means the nth visit,
// record store included, is over.
TEST_F(PollerTest, DecodedValuesAreStoredAndTheCounterRunsFromZero) {
    FakeModbusPeer peer(Sensor(100, 2500));
    SensorPoller poller;
    ASSERT_TRUE(SensorTable().Add(4, peer.Endpoint()).Start(poller));
    EXPECT_TRUE(poller.IsPolling());
    ASSERT_TRUE(poller.WaitForVisits(4, 2, 5s));
    EXPECT_GE(peer.Accepts(), 2);

    const MeasurementRecord rec = poller.GetMeasurement(4);
    EXPECT_TRUE(rec.CommOk);
    ExpectSameValues(rec, Expected(100, 2500));
    ExpectAllZero(poller.GetMeasurement(1));

    const auto requests = peer.Requests();
    ASSERT_GE(requests.size(), 4u);
    EXPECT_EQ(requests[0].bytes, BuildRequest(1, 1, 3, 0, 72));
    EXPECT_EQ(requests[1].bytes, BuildRequest(2, 1, 3, 133, 1));
    EXPECT_EQ(requests[2].bytes, BuildRequest(3, 1, 3, 0, 72));
    EXPECT_EQ(requests[3].bytes, BuildRequest(4, 1, 3, 133, 1));

    poller.StopPolling();
    EXPECT_FALSE(poller.IsPolling());
}

TEST_F(PollerTest, SecondReadIsAlwaysSentAndOnlyTheFirstDecidesTheRecord) {
    FakeModbusPeer blockFails(Sensor(100, 2500, true, false));
    FakeModbusPeer speedFails(Sensor(200, 2600, false, true), "127.0.0.2");
    SensorPoller poller;
    ASSERT_TRUE(
        SensorTable().Add(1, blockFails.Endpoint()).Add(2, speedFails.Endpoint()).Start(poller));
    ASSERT_TRUE(blockFails.WaitForAccepts(2));
    ASSERT_TRUE(speedFails.WaitForAccepts(2));
    poller.StopPolling();

    // Failed first read: nothing stored, yet the speed was still asked for.
    ExpectAllZero(poller.GetMeasurement(1));
    const auto asked = blockFails.Requests();
    ASSERT_GE(asked.size(), 2u);
    EXPECT_EQ(asked[1].Register(), kRunningSpeedRegister);

    // Good first read, failed second: stored with speed 0.
    MeasurementRecord want = Expected(200, 2600);
    want.RunningSpeed = 0;
    const MeasurementRecord got = poller.GetMeasurement(2);
    EXPECT_TRUE(got.CommOk);
    ExpectSameValues(got, want);
}

// A visit uses the sensor's unit id and answer limit: an answer 450 ms late
// from another unit is waited for (limit 1000 ms) and then refused by its
// unit, which the status names.
TEST_F(PollerTest, VisitUsesTheSensorsUnitAndLimitAndNamesWhyItFailed) {
    FakeModbusPeer gateway([](const ModbusRequest& r, int, int) {
        test::Bytes b = test::ReadAnswer(r, std::vector<uint16_t>(test::RequestCount(r), 7));
        b[6] = 8;
        return PeerReply{{b}, 450};
    });
    SensorEndpoint endpoint = gateway.Endpoint();
    endpoint.unitId = 9;
    endpoint.answerLimitMs = 1000;
    SensorPoller poller;
    ASSERT_TRUE(SensorTable().Add(1, endpoint).Start(poller));
    ASSERT_TRUE(EachVisited(poller, {1}, 1));
    EXPECT_EQ(poller.GetStatus(1).lastFault, AnswerFault::UnitId);
    EXPECT_EQ(gateway.Requests().at(0).Unit(), 9);
}

TEST_F(PollerTest, SensorGoingOfflineKeepsItsValuesAndComesBack) {
    FakeModbusPeer peer(Sensor(100, 2500));
    SensorPoller poller;
    ASSERT_TRUE(SensorTable().Add(1, peer.Endpoint()).Start(poller));
    ASSERT_TRUE(peer.WaitForAccepts(2));
    ASSERT_TRUE(poller.GetMeasurement(1).CommOk);

    // Same speed as before: a visit caught by the switch between its two
    // reads then still stores exactly the old values.
    peer.SetHandler(Sensor(300, 2500, true, false));
    ASSERT_TRUE(peer.WaitForAccepts(peer.Accepts() + 2));
    const MeasurementRecord offline = poller.GetMeasurement(1);
    EXPECT_FALSE(offline.CommOk);
    ExpectSameValues(offline, Expected(100, 2500));

    peer.SetHandler(Sensor(300, 2700));
    ASSERT_TRUE(peer.WaitForAccepts(peer.Accepts() + 2));
    const MeasurementRecord back = poller.GetMeasurement(1);
    EXPECT_TRUE(back.CommOk);
    ExpectSameValues(back, Expected(300, 2700));
}

TEST_F(PollerTest, PausedSensorGetsNoConnectionWhileTheOthersAreStillVisited) {
    FakeModbusPeer paused(Sensor(100, 2500));
    FakeModbusPeer other(Sensor(200, 2600), "127.0.0.2");
    SensorPoller poller;
    ASSERT_TRUE(SensorTable().Add(1, paused.Endpoint()).Add(2, other.Endpoint()).Start(poller));
    ASSERT_TRUE(EachVisited(poller, {1, 2}, 1));
    poller.SetPaused(1, true);
    EXPECT_TRUE(poller.IsPaused(1));
    EXPECT_FALSE(poller.IsPaused(2));

    // A visit of sensor 1 under way ends long before sensor 2 has been
    // visited twice more; from then on sensor 1 sees nothing.
    ASSERT_TRUE(poller.WaitForVisits(2, poller.CompletedVisits(2) + 2, 5s));
    const int settled = paused.Accepts();
    const uint64_t pausedVisits = poller.CompletedVisits(1);
    ASSERT_TRUE(poller.WaitForVisits(2, poller.CompletedVisits(2) + 3, 5s));
    EXPECT_EQ(paused.Accepts(), settled);
    EXPECT_EQ(poller.CompletedVisits(1), pausedVisits);
    EXPECT_TRUE(poller.IsPolling());
    const SensorStatus frozen = poller.GetStatus(1);
    EXPECT_TRUE(frozen.paused);
    EXPECT_TRUE(frozen.record.CommOk);  // frozen, not cleared
    EXPECT_FALSE(poller.GetStatus(2).paused);
    EXPECT_TRUE(poller.GetStatus(2).record.CommOk);

    poller.SetPaused(1, false);
    EXPECT_FALSE(poller.GetStatus(1).paused);
    EXPECT_TRUE(poller.WaitForVisits(1, pausedVisits + 1, 5s));
    EXPECT_GT(paused.Accepts(), settled);
}

// The silent sensor comes first in the table: visited in turn, the healthy
// one would wait for the whole of its 800 ms visit.
TEST_F(PollerTest, SilentNeighbourDoesNotHoldBackAHealthySensor) {
    FakeModbusPeer silent(Silent());
    FakeModbusPeer healthy(Sensor(200, 2600), "127.0.0.2");
    SensorPoller poller;
    ASSERT_TRUE(SensorTable().Add(1, silent.Endpoint()).Add(2, healthy.Endpoint()).Start(poller));
    ASSERT_TRUE(poller.WaitForVisits(1, 1, 10s));
    // A visit every 210 ms: four done by the time the silent one ends.
    EXPECT_GE(poller.CompletedVisits(2), 2u);
    EXPECT_TRUE(poller.GetMeasurement(2).CommOk);
    EXPECT_FALSE(poller.GetMeasurement(1).CommOk);
}

TEST_F(PollerTest, RestartWithNewAddressesStartsFromZero) {
    FakeModbusPeer first(Sensor(100, 2500));
    FakeModbusPeer second(Sensor(500, 2900, true, true), "127.0.0.3");
    SensorPoller poller;
    ASSERT_TRUE(SensorTable().Add(1, first.Endpoint()).Start(poller));
    ASSERT_TRUE(first.WaitForAccepts(2));
    ASSERT_TRUE(poller.GetMeasurement(1).CommOk);

    ASSERT_TRUE(SensorTable().Add(1, second.Endpoint()).Start(poller));
    const int firstVisits = first.Accepts();
    ExpectAllZero(poller.GetMeasurement(1));
    ASSERT_TRUE(second.WaitForAccepts(2));
    ExpectAllZero(poller.GetMeasurement(1));

    second.SetHandler(Sensor(500, 2900));
    ASSERT_TRUE(second.WaitForAccepts(second.Accepts() + 2));
    EXPECT_TRUE(poller.GetMeasurement(1).CommOk);
    ExpectSameValues(poller.GetMeasurement(1), Expected(500, 2900));
    EXPECT_EQ(first.Accepts(), firstVisits);
    // A new thread, a new counter.
    EXPECT_EQ(second.Requests().at(0).TransactionId(), 1);
}

// Saving the addresses restarts polling; a sensor left where it was must not
// fall back to zero for a cycle, and no entry may inherit another's values.
TEST_F(PollerTest, RestartKeepsOnlyEntriesWhoseEndpointStayed) {
    FakeModbusPeer a(Sensor(100, 2500));
    FakeModbusPeer b(Sensor(200, 2600), "127.0.0.2");
    FakeModbusPeer failing(Sensor(0, 0, true, true), "127.0.0.2");
    SensorPoller poller;
    ASSERT_TRUE(SensorTable().Add(1, a.Endpoint()).Add(2, b.Endpoint()).Start(poller));
    ASSERT_TRUE(EachVisited(poller, {1, 2}, 1));
    const SensorStatus before = poller.GetStatus(1);
    ASSERT_GT(before.lastGoodReadMs, 0);
    // Sensor 2's old place stops answering, so whoever sits there later
    // can only show what it inherited.
    b.SetHandler(Sensor(0, 0, true, true));

    ASSERT_TRUE(SensorTable()
                    .Add(1, a.Endpoint())        // unchanged
                    .Add(2, failing.Endpoint())  // same address, other port
                    .Add(3, b.Endpoint())        // another sensor's old place
                    .Start(poller));
    const SensorStatus kept = poller.GetStatus(1);
    EXPECT_TRUE(kept.record.CommOk);
    ExpectSameValues(kept.record, Expected(100, 2500));
    EXPECT_GE(kept.lastGoodReadMs, before.lastGoodReadMs);
    ASSERT_TRUE(EachVisited(poller, {1, 2, 3}, 1));  // and after a visit of each
    for (int id : {2, 3}) {
        ExpectAllZero(poller.GetMeasurement(id));
        EXPECT_EQ(poller.GetStatus(id).lastGoodReadMs, 0) << id;
    }
}

TEST_F(PollerTest, OnlyDeviceTypesFiveAndSixAreRead) {
    FakeModbusPeer type7(Sensor(100, 2500));
    FakeModbusPeer type6(Sensor(400, 2800), "127.0.0.2");
    SensorPoller poller;
    ASSERT_TRUE(SensorTable()
                    .Add(1, type7.Endpoint(), 7)
                    .Add(2, type6.Endpoint(), kDeviceTypeTriAxisAlt)
                    .Start(poller));
    ASSERT_TRUE(type6.WaitForAccepts(3));
    ASSERT_TRUE(type7.WaitForClosed(2));
    poller.StopPolling();

    EXPECT_TRUE(type7.Requests().empty());
    ExpectAllZero(poller.GetMeasurement(1));
    EXPECT_TRUE(poller.GetMeasurement(2).CommOk);
    ExpectSameValues(poller.GetMeasurement(2), Expected(400, 2800));

    // Each sensor counts its own ids: the type-7 connections take none of
    // type 6's.
    const auto requests = type6.Requests();
    ASSERT_GE(requests.size(), 4u);
    const uint16_t tids[] = {1, 2, 3, 4};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(requests[i].TransactionId(), tids[i]) << i;
}

TEST_F(PollerTest, AddressZeroEntriesFailWithoutStoppingTheCycle) {
    FakeModbusPeer peer(Sensor(100, 2500));
    SensorPoller poller;
    ASSERT_TRUE(SensorTable()
                    .Add(1, SensorEndpoint{0, peer.Endpoint().port, 1})
                    .Add(2, peer.Endpoint())
                    .Add(3, SensorEndpoint{0, kModbusPort, 1})
                    .Start(poller));
    ASSERT_TRUE(peer.WaitForAccepts(3));
    ExpectAllZero(poller.GetMeasurement(1));
    ExpectAllZero(poller.GetMeasurement(3));
    EXPECT_TRUE(poller.GetMeasurement(2).CommOk);
    EXPECT_TRUE(poller.IsPolling());
}

TEST_F(PollerTest, DestructionWhileEveryWorkerIsInAVisitWaitsForThemAndClosesTheSockets) {
    std::vector<std::unique_ptr<FakeModbusPeer>> peers;
    SensorTable table;
    for (int id = 1; id <= 3; ++id) {
        peers.push_back(
            std::make_unique<FakeModbusPeer>(Silent(), "127.0.0." + std::to_string(id)));
        table.Add(id, peers.back()->Endpoint());
    }
    auto poller = std::make_unique<SensorPoller>();
    ASSERT_TRUE(table.Start(*poller));
    // Every visit is now waiting for an answer that never comes.
    for (const auto& peer : peers) ASSERT_TRUE(peer->WaitForReplies(1));
    poller.reset();
    for (const auto& peer : peers) {
        EXPECT_TRUE(peer->WaitForClosed(1));
        EXPECT_EQ(peer->Accepts(), 1);
    }
}

TEST_F(PollerTest, StartRejectsAnEmptyTableAndStopIsIdempotent) {
    SensorPoller poller;
    SensorTable empty;
    EXPECT_FALSE(empty.Start(poller));
    EXPECT_FALSE(poller.IsPolling());
    const int id = 1, type = 5;
    const uint32_t address = 0;
    const uint16_t port = 502;
    EXPECT_FALSE(poller.StartPolling(1, &id, &type, &address, &port, nullptr));
    EXPECT_FALSE(poller.StartPolling(-3, &id, &type, &address, &port, nullptr));
    poller.StopPolling();
    poller.StopPolling();
    EXPECT_FALSE(poller.IsPolling());
}

TEST_F(PollerTest, StopRequestIsSeenDuringThePauses) {
    // Two unreachable entries: the thread spends its time in the 100 ms
    // pauses and in refused connects, so a stop must end it promptly and
    // clear both flags.
    SensorPoller poller;
    ASSERT_TRUE(SensorTable()
                    .Add(1, SensorEndpoint{0, kModbusPort, 1})
                    .Add(2, SensorEndpoint{0, kModbusPort, 1})
                    .Start(poller));
    EXPECT_TRUE(poller.IsPolling());
    poller.StopPolling();
    EXPECT_FALSE(poller.IsPolling());
    // And it can start again.
    ASSERT_TRUE(SensorTable().Add(1, SensorEndpoint{0, kModbusPort, 1}).Start(poller));
    EXPECT_TRUE(poller.IsPolling());
}

}  // namespace
}  // namespace orsan
