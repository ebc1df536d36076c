// The station against Modbus code it did not write: its client against a
// pymodbus server serving the sensor's register map, and pymodbus's client
// against the simulator. Each peer runs on loopback as a child process that
// ends with the test, also when the test fails.

#include <gtest/gtest.h>

#include <array>

#include "ChildProcess.h"
#include "MeasurementRecord.h"
#include "ModbusTcpConnection.h"
#include "SimProcess.h"

namespace orsan::test {
namespace {

using namespace std::chrono_literals;

// Debian's interpreter, where python3-pymodbus installs.
constexpr char kPython[] = "/usr/bin/python3";
constexpr uint8_t kUnit = 9;
// An interpreted server answers slower than a sensor; this is no timing test.
constexpr int kLimitMs = 3000;

std::string Script(const char* name) {
    return std::string(ORSAN_PYMODBUS_SCRIPTS) + "/" + name;
}

// sensor_server.py: registers 0..199 hold 1000 + their number, for unit 9.
// It ends with this process, also when a check fails.
SensorEndpoint PymodbusEndpoint(ChildProcess& process) {
    const auto line = process.ReadLine(20s);
    if (!line || line->rfind("READY ", 0) != 0) return {};
    return {MakeAddress(127, 0, 0, 1), uint16_t(std::stoi(line->substr(6))), kUnit, kLimitMs};
}

TEST(PymodbusServer, StationReadsWritesAndIsRefusedAsThatServerSays) {
    ChildProcess server(kPython, {Script("sensor_server.py"), std::to_string(kUnit)});
    ModbusTcpConnection connection;
    ASSERT_TRUE(connection.Open(PymodbusEndpoint(server)));
    std::array<uint16_t, kMeasurementRegisterCount> block{};
    ASSERT_TRUE(
        connection.ReadHoldingRegisters(kUnit, 1, 0, kMeasurementRegisterCount, block.data()));
    for (size_t k = 0; k < block.size(); ++k) EXPECT_EQ(block[k], 1000 + k) << k;

    EXPECT_TRUE(connection.WriteSingleRegister(kUnit, 2, 77, 4321));
    uint16_t value = 0;
    EXPECT_TRUE(connection.ReadHoldingRegisters(kUnit, 3, 77, 1, &value));
    EXPECT_EQ(value, 4321);

    EXPECT_FALSE(connection.ReadHoldingRegisters(kUnit, 4, 199, 2, &value));
    EXPECT_EQ(connection.LastFault(), AnswerFault::Exception);
    // Unit 1 is not served there: whatever it does, the read fails.
    EXPECT_FALSE(connection.ReadHoldingRegisters(1, 5, 0, 1, &value));
    EXPECT_NE(connection.LastFault(), AnswerFault::None);
}

TEST(PymodbusClient, SimulatorWritesReadsBackAndRefusesAsModbusRequires) {
    SimProcess sim({"--sensors", "1", "--port", "0", "--wave-port", "0"});
    ChildProcess client(kPython, {Script("sim_client.py"), sim.Sensor(1).address,
                                  std::to_string(sim.Sensor(1).modbusPort)});
    int checks = 0;
    while (const auto line = client.ReadLine(30s)) {
        ++checks;
        EXPECT_EQ(line->rfind("ok ", 0), 0u) << *line;
    }
    EXPECT_EQ(client.WaitExit(30s), 0);
    EXPECT_EQ(checks, 8);
}

}  // namespace
}  // namespace orsan::test
