// The simulator's pieces that need no network: option parsing and how the
// machine evolves over longer times than a test can wait.

#include <gtest/gtest.h>

#include "SensorModel.h"
#include "SimOptions.h"

namespace orsan::sim {
namespace {

using namespace std::chrono_literals;

TEST(SimOptionsParse, BuildsSensorsPortsAndFaults) {
    std::string error;
    const auto o = ParseOptions(
        {"--sensors", "2", "--sensor", "127.0.0.9:1502/0", "--port", "1600", "--wave-port", "0",
         "--fault", "2=split", "--wave-fault", "3=cut", "--seed", "42", "--flap-period", "250"},
        error);
    ASSERT_TRUE(o) << error;
    ASSERT_EQ(o->sensors.size(), 3u);
    EXPECT_EQ(o->sensors[1].octets, (std::array<uint8_t, 4>{127, 0, 0, 2}));
    EXPECT_FALSE(o->sensors[1].modbusPort);
    EXPECT_EQ(o->sensors[2].octets, (std::array<uint8_t, 4>{127, 0, 0, 9}));
    EXPECT_EQ(o->sensors[2].modbusPort, std::optional<uint16_t>(1502));
    EXPECT_EQ(o->sensors[2].wavePort, std::optional<uint16_t>(0));
    EXPECT_EQ(o->port, 1600);
    EXPECT_EQ(o->wavePort, 0);
    EXPECT_EQ(o->faults.at(2), FaultMode::Split);
    EXPECT_EQ(o->waveFaults.at(3), WaveFault::Cut);
    EXPECT_EQ(o->seed, 42u);
    EXPECT_EQ(o->flapPeriod, 250ms);
}

TEST(SimOptionsParse, DefaultsToOneSensorOnTheStandardPorts) {
    std::string error;
    const auto o = ParseOptions({}, error);
    ASSERT_TRUE(o);
    ASSERT_EQ(o->sensors.size(), 1u);
    EXPECT_EQ(o->sensors[0].octets, (std::array<uint8_t, 4>{127, 0, 0, 1}));
    EXPECT_EQ(o->port, 502);
    EXPECT_EQ(o->wavePort, 22010);
}

TEST(SimOptionsParse, HelpAndVersionAskForTextOnly) {
    struct Case {
        std::vector<std::string> args;
        bool help;
        bool version;
    };
    const Case cases[] = {
        {{"--help"}, true, false},          {{"-h"}, true, false},
        {{"--version"}, false, true},       {{"--sensors", "2", "--version"}, false, true},
        {{"--sensors", "2"}, false, false},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto o = ParseOptions(c.args, error);
        ASSERT_TRUE(o) << c.args.back() << ": " << error;
        EXPECT_EQ(o->help, c.help) << c.args.back();
        EXPECT_EQ(o->version, c.version) << c.args.back();
    }
    // The build's own version, the way packaging and the manual page name it.
    EXPECT_EQ(std::string(VersionText()), "orsan-sensor-sim " ORSAN_VERSION "\n");
}

TEST(SimOptionsParse, RejectsBadInput) {
    const std::vector<std::vector<std::string>> cases = {
        {"--sensor", "192.168.1.10"},  // never anything but loopback
        {"--sensor", "127.0.0"},
        {"--sensor", "127.0.0.256"},
        {"--sensor", "127.0.0.1:"},
        {"--sensor", "127.0.0.1:65536"},
        {"--sensor", "127.0.0.1:5/x"},
        {"--sensors", "0"},
        {"--sensors", "three"},
        {"--port", "-1"},
        {"--fault", "1"},
        {"--fault", "0=none"},
        {"--fault", "1=loud"},
        {"--wave-fault", "1=silent"},
        {"--sensors", "1", "--wave-fault", "2=cut"},
        {"--flap-period", "0"},
        {"--seed"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(ParseOptions(args, error)) << args[0] << " " << args.back();
        EXPECT_FALSE(error.empty());
    }
}

TEST(SensorModelEvolution, ShellWarmsFromAmbientTowardsFortyFiveInAnHour) {
    const auto now = Clock::now();
    for (int index = 1; index <= 6; ++index) {
        SensorModel fresh(index, {127, 0, 0, uint8_t(index)}, 1, now);
        SensorModel hourOld(index, {127, 0, 0, uint8_t(index)}, 1, now - 3600s);
        const auto cold = fresh.Registers(now)[0];
        const auto warm = hourOld.Registers(now)[0];
        EXPECT_GT(int16_t(cold), 2200);
        EXPECT_LT(int16_t(cold), 2800);
        EXPECT_GT(int16_t(warm), 3900);
        EXPECT_LT(int16_t(warm), 4800);
    }
}

TEST(SensorModelEvolution, SpeedDriftsButStaysNearRated) {
    const auto start = Clock::now() - 3600s;
    SensorModel m(1, {127, 0, 0, 1}, 3, start);
    double lo = 1e9, hi = 0;
    for (int minute = 0; minute < 60; ++minute) {
        const double hz = m.State(start + std::chrono::minutes(minute)).speedHz;
        lo = std::min(lo, hz);
        hi = std::max(hi, hz);
    }
    EXPECT_GT(lo, 24.0);
    EXPECT_LT(hi, 25.2);
    EXPECT_GT(hi - lo, 0.05);
}

TEST(SensorModelEvolution, SameSeedSameMachine) {
    const auto now = Clock::now();
    SensorModel a(2, {127, 0, 0, 2}, 9, now);
    SensorModel b(2, {127, 0, 0, 2}, 9, now);
    SensorModel c(2, {127, 0, 0, 2}, 10, now);
    a.SetFrozen(true);
    b.SetFrozen(true);
    c.SetFrozen(true);
    const auto at = now + 10s;
    EXPECT_EQ(a.Registers(at), b.Registers(at));
    EXPECT_NE(a.Registers(at), c.Registers(at));
}

}  // namespace
}  // namespace orsan::sim
