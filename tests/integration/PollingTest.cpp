// The polling thread against the real sensor simulator on loopback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SensorPoller.h"
#include "SimProcess.h"

namespace orsan {
namespace {

using namespace std::chrono_literals;
using test::SimProcess;

constexpr auto kVisitWait = 30s;  // generous: a silent sensor's visit takes ~1 s

std::vector<std::string> Args(int sensors, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--sensors", std::to_string(sensors), "--port",
                                     "0",         "--wave-port",           "0"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

// Polls the given simulator sensors (1-based) under ids 1, 2, ...
bool StartOn(SensorPoller& poller, const SimProcess& sim, const std::vector<int>& sensors) {
    std::vector<int> ids, types;
    std::vector<uint32_t> addresses;
    std::vector<uint16_t> ports;
    std::vector<uint8_t> units;
    for (int k : sensors) {
        uint32_t address = 0;
        if (!ParseAddress(sim.Sensor(k).address, address)) return false;
        ids.push_back(int(ids.size()) + 1);
        types.push_back(kDeviceTypeTriAxis);
        addresses.push_back(address);
        ports.push_back(sim.Sensor(k).modbusPort);
        units.push_back(1);
    }
    return poller.StartPolling(int(ids.size()), ids.data(), types.data(), addresses.data(),
                               ports.data(), units.data());
}

// Waits until each of the sensors 1..count has completed n more visits.
bool MoreVisits(const SensorPoller& poller, int count, uint64_t n = 1) {
    std::vector<uint64_t> target;
    for (int id = 1; id <= count; ++id) target.push_back(poller.CompletedVisits(id) + n);
    for (int id = 1; id <= count; ++id) {
        if (!poller.WaitForVisits(id, target[size_t(id - 1)], kVisitWait)) return false;
    }
    return true;
}

TEST(PollingSimulator, SeveralSensorsAreDecodedFromTheirOwnRegisters) {
    SimProcess sim(Args(3));
    ASSERT_EQ(sim.Sensors().size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(sim.Sensor(k).address, "127.0.0." + std::to_string(k));
        sim.SetRegister(k, 0, uint16_t(-150 * k));  // signed temperature
        sim.SetRegister(k, 1, uint16_t(100 * k + 1));
        sim.SetRegister(k, 16, 65535);
        sim.SetRegister(k, 54, uint16_t(120 + k));  // Z top order
        sim.SetRegister(k, 133, uint16_t(2500 + k));
    }
    SensorPoller poller;
    ASSERT_TRUE(StartOn(poller, sim, {1, 2, 3}));
    ASSERT_TRUE(MoreVisits(poller, 3, 2));

    const float temperature[] = {-1.5f, -3.0f, -4.5f};
    const float velocity[] = {1.01f, 2.01f, 3.01f};
    const float topOrder[] = {12.1f, 12.2f, 12.3f};
    const float speed[] = {25.01f, 25.02f, 25.03f};
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("sensor " + std::to_string(k));
        const MeasurementRecord rec = poller.GetMeasurement(k);
        EXPECT_TRUE(rec.CommOk);
        EXPECT_EQ(rec.T_Shell, temperature[k - 1]);
        EXPECT_EQ(rec.Vel_X, velocity[k - 1]);
        EXPECT_EQ(rec.Disp_X, 65535.0f);
        EXPECT_EQ(rec.TopOrder_Z, topOrder[k - 1]);
        EXPECT_EQ(rec.RunningSpeed, speed[k - 1]);
    }
}

TEST(PollingSimulator, EachFaultModeGivesItsCommunicationState) {
    struct Case {
        const char* mode;
        bool commOk;
    };
    // A split answer is gathered and accepted, and so is a whole answer with
    // a stray byte after it; a short one is not.
    const Case cases[] = {{"silent", false}, {"exception", false}, {"split", true}, {"long", true},
                          {"short", false},  {"close", false},     {"none", true}};
    const int n = int(std::size(cases));
    std::vector<std::string> faults;
    for (int k = 1; k <= n; ++k) {
        faults.push_back("--fault");
        faults.push_back(std::to_string(k) + "=" + cases[k - 1].mode);
    }
    SimProcess sim(Args(n, faults));
    for (int k = 1; k <= n; ++k) sim.SetRegister(k, 1, uint16_t(1000 + k));

    SensorPoller poller;
    std::vector<int> all;
    for (int k = 1; k <= n; ++k) all.push_back(k);
    ASSERT_TRUE(StartOn(poller, sim, all));
    ASSERT_TRUE(MoreVisits(poller, n, 2));
    for (int k = 1; k <= n; ++k) {
        SCOPED_TRACE(cases[k - 1].mode);
        const MeasurementRecord rec = poller.GetMeasurement(k);
        EXPECT_EQ(rec.CommOk, cases[k - 1].commOk);
        // Never a good read: nothing stored. A good one: this sensor's value.
        EXPECT_EQ(rec.Vel_X, cases[k - 1].commOk ? float(1000 + k) / 100 : 0.0f);
    }
}

TEST(PollingSimulator, FlappingSensorDropsOutAndRecovers) {
    SimProcess sim(Args(1, {"--fault", "1=flap", "--flap-period", "700"}));
    SensorPoller poller;
    ASSERT_TRUE(StartOn(poller, sim, {1}));
    bool seenDown = false;
    bool recovered = false;
    for (int cycle = 0; cycle < 40 && !recovered; ++cycle) {
        ASSERT_TRUE(MoreVisits(poller, 1));
        const bool ok = poller.GetMeasurement(1).CommOk;
        if (!ok) seenDown = true;
        if (ok && seenDown) recovered = true;
    }
    EXPECT_TRUE(seenDown);
    EXPECT_TRUE(recovered);
}

TEST(PollingSimulator, SensorGoingOfflineKeepsItsValuesUntilItReturns) {
    SimProcess sim(Args(2));
    sim.SetRegister(1, 1, 1234);
    SensorPoller poller;
    ASSERT_TRUE(StartOn(poller, sim, {1, 2}));
    ASSERT_TRUE(MoreVisits(poller, 2));
    ASSERT_TRUE(poller.GetMeasurement(1).CommOk);

    for (const char* fault : {"silent", "close"}) {
        SCOPED_TRACE(fault);
        sim.SetFault(1, fault);
        sim.SetRegister(1, 1, 4321);
        ASSERT_TRUE(MoreVisits(poller, 2, 2));
        const MeasurementRecord offline = poller.GetMeasurement(1);
        EXPECT_FALSE(offline.CommOk);
        EXPECT_EQ(offline.Vel_X, 12.34f);
        EXPECT_TRUE(poller.GetMeasurement(2).CommOk);

        sim.SetFault(1, "none");
        ASSERT_TRUE(MoreVisits(poller, 2, 2));
        const MeasurementRecord back = poller.GetMeasurement(1);
        EXPECT_TRUE(back.CommOk);
        EXPECT_EQ(back.Vel_X, 43.21f);
        sim.SetRegister(1, 1, 1234);
        ASSERT_TRUE(MoreVisits(poller, 2, 2));
    }
}

TEST(PollingSimulator, PauseFreezesOneSensorWhileTheOtherGoesOn) {
    SimProcess sim(Args(2));
    for (int k : {1, 2}) sim.SetRegister(k, 1, 1000);
    SensorPoller poller;
    ASSERT_TRUE(StartOn(poller, sim, {1, 2}));
    ASSERT_TRUE(MoreVisits(poller, 2));

    poller.SetPaused(1, true);
    // Sensor 1's visit under way, if any, ends within these two of sensor 2.
    ASSERT_TRUE(poller.WaitForVisits(2, poller.CompletedVisits(2) + 2, kVisitWait));
    const uint64_t frozenVisits = poller.CompletedVisits(1);
    for (int k : {1, 2}) sim.SetRegister(k, 1, 2000);
    ASSERT_TRUE(poller.WaitForVisits(2, poller.CompletedVisits(2) + 2, kVisitWait));
    EXPECT_EQ(poller.CompletedVisits(1), frozenVisits);
    EXPECT_TRUE(poller.GetMeasurement(1).CommOk);
    EXPECT_EQ(poller.GetMeasurement(1).Vel_X, 10.0f);
    EXPECT_EQ(poller.GetMeasurement(2).Vel_X, 20.0f);

    poller.SetPaused(1, false);
    ASSERT_TRUE(poller.WaitForVisits(1, frozenVisits + 1, kVisitWait));
    EXPECT_EQ(poller.GetMeasurement(1).Vel_X, 20.0f);
}

TEST(PollingSimulator, RestartWithNewAddressesBeginsFromZero) {
    SimProcess sim(Args(4));
    for (int k = 1; k <= 4; ++k) sim.SetRegister(k, 1, uint16_t(100 * k));
    SensorPoller poller;
    ASSERT_TRUE(StartOn(poller, sim, {1, 2}));
    ASSERT_TRUE(MoreVisits(poller, 2));
    EXPECT_EQ(poller.GetMeasurement(1).Vel_X, 1.0f);
    EXPECT_EQ(poller.GetMeasurement(2).Vel_X, 2.0f);

    // The new sensors refuse at first, so what is seen is the fresh table.
    sim.SetFault(3, "exception");
    sim.SetFault(4, "exception");
    ASSERT_TRUE(StartOn(poller, sim, {3, 4}));
    EXPECT_TRUE(poller.IsPolling());
    for (bool afterACycle : {false, true}) {
        if (afterACycle) {
            ASSERT_TRUE(MoreVisits(poller, 2));
        }
        for (int id : {1, 2}) {
            const MeasurementRecord fresh = poller.GetMeasurement(id);
            EXPECT_FALSE(fresh.CommOk);
            EXPECT_EQ(fresh.Vel_X, 0.0f);
            EXPECT_EQ(fresh.RunningSpeed, 0.0f);
        }
    }
    sim.SetFault(3, "none");
    sim.SetFault(4, "none");
    ASSERT_TRUE(MoreVisits(poller, 2));
    EXPECT_TRUE(poller.GetMeasurement(1).CommOk);
    EXPECT_EQ(poller.GetMeasurement(1).Vel_X, 3.0f);
    EXPECT_EQ(poller.GetMeasurement(2).Vel_X, 4.0f);
}

}  // namespace
}  // namespace orsan
