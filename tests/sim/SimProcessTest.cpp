// The simulator as a process: ready line, stdin commands, signals, and the
// failures it must report instead of half-starting.

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <set>
#include <thread>
#include <tuple>

#include "ChildProcess.h"
#include "SimProcess.h"
#include "WireClient.h"

namespace orsan::test {
namespace {

using namespace std::chrono_literals;

TEST(ReadyLine, ParsesEverySensor) {
    const auto sensors = ParseReadyLine("READY 1=127.0.0.1:1502/22010 2=127.0.0.2:40000/0");
    ASSERT_TRUE(sensors);
    std::vector<std::tuple<int, std::string, int, int>> got;
    for (const SimSensor& s : *sensors)
        got.emplace_back(s.index, s.address, s.modbusPort, s.wavePort);
    EXPECT_EQ(got, (decltype(got){{1, "127.0.0.1", 1502, 22010}, {2, "127.0.0.2", 40000, 0}}));
}

TEST(ReadyLine, RejectsMalformedLines) {
    for (const char* line :
         {"", "READY", "READ 1=127.0.0.1:1/2", "READY 1=127.0.0.1:1", "READY 1=127.0.0.1/5:6",
          "READY x=127.0.0.1:1/2", "READY 1=127.0.0.1:70000/2", "READY 1=127.0.0.1:1/2junk"}) {
        EXPECT_FALSE(ParseReadyLine(line)) << line;
    }
}

TEST(SimulatorProcess, ServesEachSensorOnItsOwnAddressAndPort) {
    SimProcess sim({"--sensors", "3", "--port", "0", "--wave-port", "0"});
    ASSERT_EQ(sim.Sensors().size(), 3u);
    std::set<std::pair<std::string, uint16_t>> seen;
    for (int k = 1; k <= 3; ++k) {
        const SimSensor& s = sim.Sensor(k);
        EXPECT_EQ(s.index, k);
        EXPECT_EQ(s.address, "127.0.0." + std::to_string(k));
        EXPECT_NE(s.modbusPort, 0);
        EXPECT_NE(s.wavePort, 0);
        seen.insert({s.address, s.modbusPort});
        EXPECT_EQ(ReadRegisters(s.address, s.modbusPort, 0, 72).size(), 72u) << "sensor " << k;
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST(SimulatorProcess, SensorOptionTakesAddressPortAndWavePort) {
    SimProcess sim({"--sensor", "127.0.0.5:0/0", "--sensor", "127.0.0.9:0/0"});
    ASSERT_EQ(sim.Sensors().size(), 2u);
    EXPECT_EQ(sim.Sensor(1).address, "127.0.0.5");
    EXPECT_EQ(sim.Sensor(2).address, "127.0.0.9");
    EXPECT_EQ(ReadRegisters("127.0.0.9", sim.Sensor(2).modbusPort, 133, 1).size(), 1u);
}

TEST(SimulatorProcess, ExitsCleanlyOnTermAndInt) {
    for (int signo : {SIGTERM, SIGINT}) {
        SimProcess sim({"--sensors", "2", "--port", "0", "--wave-port", "0"});
        // A connection left open must not hold the exit up.
        WireClient idle(sim.Sensor(1).address, sim.Sensor(1).modbusPort);
        sim.Process().Signal(signo);
        EXPECT_EQ(sim.Process().WaitExit(10s), std::optional<int>(0)) << "signal " << signo;
    }
}

TEST(SimulatorProcess, KeepsServingAfterStdinClosesAndQuitsOnCommand) {
    {
        SimProcess sim({"--port", "0", "--wave-port", "0"});
        sim.Process().CloseStdin();
        EXPECT_FALSE(sim.Process().WaitExit(300ms));
        EXPECT_EQ(ReadRegisters("127.0.0.1", sim.Sensor(1).modbusPort, 0, 72).size(), 72u);
        EXPECT_EQ(sim.Stop(), 0);
    }
    {
        SimProcess sim({"--port", "0", "--wave-port", "0"});
        EXPECT_EQ(sim.Command("quit"), "OK");
        EXPECT_EQ(sim.Process().WaitExit(10s), std::optional<int>(0));
    }
}

TEST(SimulatorProcess, AnswersEveryCommandWithOneLine) {
    SimProcess sim({"--sensors", "2", "--port", "0", "--wave-port", "0"});
    struct Case {
        const char* command;
        const char* replyPrefix;
    };
    const Case cases[] = {
        {"ping", "OK"},
        {"fault 1 split", "OK"},
        {"fault 2 none", "OK"},
        {"fault 3 none", "ERR"},
        {"fault 0 none", "ERR"},
        {"fault 1 sometimes", "ERR"},
        {"wave-fault 2 stall", "OK"},
        {"wave-fault 2 slow", "ERR"},
        {"set 1 77 15", "OK"},
        {"set 1 77 65536", "ERR"},
        {"set 1 77 -1", "ERR"},
        {"set 1 900 1", "ERR"},
        {"get 1 77", "OK 15"},
        {"get 1", "ERR"},
        {"release 1 5", "OK"},
        {"velocity 1 2.8 0.5 4.51", "OK"},
        {"velocity 1 2.8 0.5", "ERR"},
        {"velocity 1 -1 0 0", "ERR"},
        {"velocity 1 655.36 0 0", "ERR"},
        {"velocity 1 x 0 0", "ERR"},
        {"velocity 3 1 1 1", "ERR"},
        {"speed 1 24.5", "OK"},
        {"speed 1 -1", "ERR"},
        {"tones 1 x 100 0.1 2x 0.05", "OK"},
        {"tones 1 q 100 0.1", "ERR"},
        {"tones 1 all 100", "ERR"},
        {"tones 1 y 0x 0.1", "ERR"},
        {"noise 2 0.01", "OK"},
        {"noise 2 -1", "ERR"},
        {"bearing 2 z 87.3 3000 0.5", "OK"},
        {"bearing 2 z 87.3 3000", "ERR"},
        {"bearing 3 z none", "ERR"},
        {"wave-reset 2", "OK"},
        {"freeze 2", "OK"},
        {"thaw 2", "OK"},
        {"", "ERR"},
        {"dance 1", "ERR"},
    };
    for (const auto& c : cases) {
        const std::string reply = sim.Command(c.command);
        EXPECT_EQ(reply.rfind(c.replyPrefix, 0), 0u) << c.command << " -> " << reply;
    }
    // Still in step: the next command gets its own answer.
    EXPECT_EQ(sim.GetRegister(1, 77), 15);
    // Velocities land in registers 1 to 3 in 0.01 mm/s until released.
    EXPECT_EQ(sim.GetRegister(1, 1), 280);
    EXPECT_EQ(sim.GetRegister(1, 2), 50);
    EXPECT_EQ(sim.GetRegister(1, 3), 451);
    EXPECT_EQ(sim.GetRegister(1, 133), 2450);  // the pinned running speed, 0.01 Hz
    ASSERT_EQ(sim.Command("velocity 1 release"), "OK");
    sim.SetVelocities(2, 0.01, 0, 655.35);
    EXPECT_EQ(sim.GetRegister(2, 1), 1);
    EXPECT_EQ(sim.GetRegister(2, 3), 65535);
}

size_t OpenDescriptors(pid_t pid) {
    const std::filesystem::path dir = "/proc/" + std::to_string(pid) + "/fd";
    return size_t(std::distance(std::filesystem::directory_iterator(dir),
                                std::filesystem::directory_iterator()));
}

TEST(SimulatorProcess, ClosesEveryClientSocket) {
    SimProcess sim({"--sensors", "2", "--port", "0", "--wave-port", "0"});
    const SimSensor& s = sim.Sensor(1);
    const size_t before = OpenDescriptors(sim.Process().Pid());
    for (const char* mode : {"none", "close", "silent", "exception", "split"}) {
        sim.SetFault(1, mode);
        for (int i = 0; i < 10; ++i) {
            WireClient c(s.address, s.modbusPort);
            ASSERT_TRUE(c.Send(ModbusRequest(1, 3, 0, 1)));
            c.Receive(11, 50ms);
        }
        {
            WireClient wave(s.address, s.wavePort);  // connects and leaves without a request
        }
    }
    // The simulator closes its ends when it sees ours close; there is no
    // signal to wait for from outside, so look again for up to two seconds.
    size_t after = 0;
    for (int i = 0; i < 40 && (after = OpenDescriptors(sim.Process().Pid())) != before; ++i) {
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(after, before);
}

TEST(SimulatorProcess, ReportsFailuresWithExitCodes) {
    SimProcess first({"--port", "0", "--wave-port", "0"});
    const std::string taken = "127.0.0.1:" + std::to_string(first.Sensor(1).modbusPort) + "/0";
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"--sensor", taken}, 1, "cannot listen"},
        {{"--sensor", "10.1.2.3:0/0"}, 2, "loopback"},
        {{"--sensors", "2", "--fault", "3=silent"}, 2, "sensor 3"},
        {{"--fault", "1=sometimes"}, 2, "unknown mode"},
        {{"--port"}, 2, "missing value"},
        {{"--bogus", "1"}, 2, "unknown option"},
    };
    for (const auto& c : cases) {
        ChildProcess p(SimulatorPath(), c.args, {.captureStderr = true});
        EXPECT_EQ(p.WaitExit(10s), std::optional<int>(c.exitCode)) << c.args[0];
        EXPECT_FALSE(p.ReadLine(100ms)) << "no READY line for " << c.args[0];
        EXPECT_NE(p.ReadAllStderr().find(c.message), std::string::npos) << c.args[0];
    }
}

}  // namespace
}  // namespace orsan::test
