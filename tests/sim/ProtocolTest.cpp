// Requests the sensor must answer, refuse or ignore as Modbus TCP prescribes.

#include <gtest/gtest.h>

#include "Commands.h"
#include "SimProcess.h"
#include "WireClient.h"

namespace orsan::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

// Function 16 from first with values, transaction 9.
Bytes WriteMultiple(uint16_t first, const std::vector<uint16_t>& values) {
    const auto count = uint16_t(values.size());
    Bytes b = ModbusRequest(9, 16, first, count);
    b[5] = uint8_t(7 + 2 * count);
    b.push_back(uint8_t(2 * count));
    for (uint16_t v : values) b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)});
    return b;
}

Bytes Bent(Bytes b, size_t at, uint8_t value) {
    b[at] = value;
    return b;
}

// Functions, exceptions and function 16's write and read-back are checked
// by an independent client (tests/integration/PymodbusTest.cpp); these are
// the frames it cannot send.
TEST(SimProtocol, MalformedFramesAreNotAnsweredAndBadWritesStoreNothing) {
    SimProcess sim({"--sensors", "1", "--port", "0", "--wave-port", "0"});
    const SimSensor& sensor = sim.Sensor(1);
    struct Case {
        const char* name;
        Bytes request;
        Bytes answer;  // empty: none
        bool closed;
    };
    const Bytes read = ModbusRequest(9, 3, 81, 3);
    const std::vector<uint16_t> before = ReadRegisters(sensor.address, sensor.modbusPort, 81, 3);
    ASSERT_EQ(before.size(), 3u);
    const Case cases[] = {
        {"protocol id 1", Bent(read, 3, 1), {}, false},
        {"length field 3", Bent(read, 5, 3), {}, true},
        {"length field 300", Bent(Bent(read, 4, 1), 5, 44), {}, true},
        {"function 16 of 2 registers with byte count 2",
         Bent(WriteMultiple(81, {7}), 11, 2),
         {0, 9, 0, 0, 0, 3, 1, 0x90, 3},
         false},
        // 81 and 82 take values, 83 does not: nothing of it is stored.
        {"function 16 over a read-only register",
         WriteMultiple(81, {1111, 2222, 3333}),
         {0, 9, 0, 0, 0, 3, 1, 0x90, 2},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto received = Exchange(sensor.address, sensor.modbusPort, c.request, 300ms);
        EXPECT_EQ(received.Bytes(), c.answer);
        EXPECT_EQ(received.closed, c.closed);
    }
    EXPECT_EQ(ReadRegisters(sensor.address, sensor.modbusPort, 81, 3), before);
}

TEST(SimCommandLines, InputWithoutLineBreaksIsRefusedOnceAndNeverHeld) {
    sim::CommandLines lines;
    using Lines = std::vector<std::optional<std::string>>;
    EXPECT_EQ(lines.Feed("ping\r\nget 1"), (Lines{"ping"}));
    EXPECT_EQ(lines.Feed(" 77\n"), (Lines{"get 1 77"}));
    const std::string block(sim::kMaxCommandLine, 'x');
    EXPECT_EQ(lines.Feed(block), Lines{});
    EXPECT_EQ(lines.Feed("y"), (Lines{std::nullopt}));
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(lines.Feed(block), Lines{});
    EXPECT_EQ(lines.Feed("zz\nping\n"), (Lines{"ping"}));
}

}  // namespace
}  // namespace orsan::test
