// Requests the sensor must answer, refuse or ignore as Modbus TCP prescribes.

#include <gtest/gtest.h>

#include "Commands.h"
#include "SimProcess.h"
#include "WireClient.h"

namespace orsan::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

// Function 16 from first with values.
Bytes WriteMultiple(uint16_t first, const std::vector<uint16_t>& values) {
    const size_t data = 2 * values.size();
    Bytes b = {0,
               9,
               0,
               0,
               0,
               uint8_t(7 + data),
               1,
               16,
               uint8_t(first >> 8),
               uint8_t(first),
               0,
               uint8_t(values.size()),
               uint8_t(data)};
    for (uint16_t v : values) b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)});
    return b;
}

Bytes Bent(Bytes b, size_t at, uint8_t value) {
    b[at] = value;
    return b;
}

class Protocol : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sim_ = new SimProcess({"--sensors", "1", "--port", "0", "--wave-port", "0"});
    }
    static void TearDownTestSuite() {
        delete sim_;
        sim_ = nullptr;
    }
    static WireClient::Received Exchange(const Bytes& request) {
        return test::Exchange(sim_->Sensor(1).address, sim_->Sensor(1).modbusPort, request, 300ms);
    }
    static SimProcess* sim_;
};

SimProcess* Protocol::sim_ = nullptr;

TEST_F(Protocol, RequestsOutsideWhatTheSensorServesGetTheirAnswer) {
    struct Case {
        const char* name;
        Bytes request;
        Bytes answer;  // empty: none
        bool closed;
    };
    const Bytes read = ModbusRequest(5, 3, 0, 2);
    const auto exception = [](uint8_t function, uint8_t code) {
        return Bytes{0, 5, 0, 0, 0, 3, 1, uint8_t(function | 0x80), code};
    };
    const Case cases[] = {
        {"protocol id 1", Bent(read, 3, 1), {}, false},
        {"length field 3", Bent(read, 5, 3), {}, true},
        {"length field 300", Bent(Bent(read, 4, 1), 5, 44), {}, true},
        {"function 1", ModbusRequest(5, 1, 0, 1), exception(1, 1), false},
        {"function 4", ModbusRequest(5, 4, 0, 1), exception(4, 1), false},
        {"function 5", ModbusRequest(5, 5, 0, 0xFF00), exception(5, 1), false},
        {"function 3 beyond the block", ModbusRequest(5, 3, 199, 2), exception(3, 2), false},
        {"function 16 to a measurement register", Bent(WriteMultiple(1, {7, 8}), 1, 5),
         exception(16, 2), false},
        {"function 16 of 2 registers with byte count 2",
         Bent(Bent(WriteMultiple(77, {7}), 1, 5), 11, 2), exception(16, 3), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto received = Exchange(c.request);
        EXPECT_EQ(received.Bytes(), c.answer);
        EXPECT_EQ(received.closed, c.closed);
    }
}

TEST_F(Protocol, Function16StoresEveryRegisterOrNone) {
    const auto before = ReadRegisters(sim_->Sensor(1).address, sim_->Sensor(1).modbusPort, 81, 3);
    ASSERT_EQ(before.size(), 3u);
    // 81 and 82 take values, 83 does not: nothing of this write is stored.
    EXPECT_EQ(Exchange(WriteMultiple(81, {1111, 2222, 3333})).Bytes(),
              (Bytes{0, 9, 0, 0, 0, 3, 1, 0x90, 2}));
    EXPECT_EQ(ReadRegisters(sim_->Sensor(1).address, sim_->Sensor(1).modbusPort, 81, 3), before);

    EXPECT_EQ(Exchange(WriteMultiple(77, {12, 3400})).Bytes(),
              (Bytes{0, 9, 0, 0, 0, 6, 1, 16, 0, 77, 0, 2}));
    EXPECT_EQ(ReadRegisters(sim_->Sensor(1).address, sim_->Sensor(1).modbusPort, 77, 2),
              (std::vector<uint16_t>{12, 3400}));
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
