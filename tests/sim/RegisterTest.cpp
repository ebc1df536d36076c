// Measurement and configuration registers as a station sees them on the wire.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "SimProcess.h"
#include "WireClient.h"

namespace orsan::test {
namespace {

using namespace std::chrono_literals;

double Signed(uint16_t raw) {
    return int16_t(raw);
}

class Registers : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sim_ = new SimProcess({"--sensors", "3", "--port", "0", "--wave-port", "0", "--seed", "7"});
    }
    static void TearDownTestSuite() {
        delete sim_;
        sim_ = nullptr;
    }

    // Registers 0..71 and 133 as one map (index 72 holds 133).
    static std::vector<uint16_t> Read(int k) {
        const SimSensor& s = sim_->Sensor(k);
        auto block = ReadRegisters(s.address, s.modbusPort, 0, 72);
        const auto speed = ReadRegisters(s.address, s.modbusPort, 133, 1);
        if (block.size() != 72 || speed.size() != 1) return {};
        block.push_back(speed[0]);
        return block;
    }

    static SimProcess* sim_;
};

SimProcess* Registers::sim_ = nullptr;

TEST_F(Registers, MeasurementsLookLikeARunningMachine) {
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("sensor " + std::to_string(k));
        const auto r = Read(k);
        ASSERT_EQ(r.size(), 73u);
        const double temperature = Signed(r[0]) * 0.01;
        EXPECT_GT(temperature, 15.0);
        EXPECT_LT(temperature, 50.0);
        const double speed = r[72] * 0.01;
        EXPECT_GT(speed, 23.0);
        EXPECT_LT(speed, 26.0);
        for (int axis = 0; axis < 3; ++axis) {
            SCOPED_TRACE("axis " + std::to_string(axis));
            const double vel = r[1 + axis] * 0.01;
            const double acc = r[4 + axis] * 0.01;
            const double disp = r[16 + axis];
            EXPECT_GT(vel, 0.3);
            EXPECT_LT(vel, 15.0);
            EXPECT_GT(acc, 0.2);
            EXPECT_LT(acc, 20.0);
            EXPECT_GT(disp, 3.0);
            EXPECT_LT(disp, 300.0);
            // Spectrum at 0.5X .. 6X: 1X the largest line, 2X the next.
            const int base = 19 + 12 * axis;
            std::vector<uint16_t> spectrum(r.begin() + base, r.begin() + base + 8);
            EXPECT_EQ(std::max_element(spectrum.begin(), spectrum.end()) - spectrum.begin(), 1);
            std::vector<uint16_t> others = spectrum;
            others.erase(others.begin() + 1);
            EXPECT_EQ(std::max_element(others.begin(), others.end()) - others.begin(), 2);
            // Top order is one of the spectrum's orders, with more energy than the aux order.
            const int topOrder = r[base + 11];
            EXPECT_TRUE(topOrder == 5 || topOrder == 15 ||
                        (topOrder % 10 == 0 && topOrder >= 10 && topOrder <= 60))
                << topOrder;
            EXPECT_GT(r[base + 10], 0);
            EXPECT_GE(r[base + 10], r[base + 8]);
            EXPECT_NE(r[base + 9], r[base + 11]);
        }
    }
}

TEST_F(Registers, ValuesMoveOverTimeAndDifferBetweenSensors) {
    const auto a = Read(1);
    std::this_thread::sleep_for(300ms);  // let the machine move on
    const auto b = Read(1);
    ASSERT_EQ(a.size(), 73u);
    ASSERT_EQ(b.size(), 73u);
    EXPECT_NE(a, b);
    const auto other = Read(2);
    ASSERT_EQ(other.size(), 73u);
    // Different machines: the main vibration levels are not the same.
    EXPECT_NE(std::vector<uint16_t>(a.begin() + 1, a.begin() + 7),
              std::vector<uint16_t>(other.begin() + 1, other.begin() + 7));
}

TEST_F(Registers, FrozenSensorRepeatsItselfUntilThawed) {
    ASSERT_EQ(sim_->Command("freeze 3"), "OK");
    const auto a = Read(3);
    const auto b = Read(3);
    ASSERT_EQ(a.size(), 73u);
    EXPECT_EQ(a, b);
    ASSERT_EQ(sim_->Command("thaw 3"), "OK");
    EXPECT_NE(Read(3), a);
}

TEST_F(Registers, PinnedMeasurementHoldsUntilReleased) {
    const SimSensor& s = sim_->Sensor(2);
    sim_->SetRegister(2, 0, uint16_t(int16_t(-200)));
    sim_->SetRegister(2, 133, 1234);
    EXPECT_EQ(sim_->GetRegister(2, 0), 65336);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ReadRegisters(s.address, s.modbusPort, 0, 1), std::vector<uint16_t>{65336});
        EXPECT_EQ(ReadRegisters(s.address, s.modbusPort, 133, 1), std::vector<uint16_t>{1234});
    }
    ASSERT_EQ(sim_->Command("release 2 0"), "OK");
    ASSERT_EQ(sim_->Command("release 2 133"), "OK");
    const auto t = ReadRegisters(s.address, s.modbusPort, 0, 1);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_GT(Signed(t[0]), 1500);
}

TEST_F(Registers, ConfigurationHasSensibleDefaults) {
    const SimSensor& s = sim_->Sensor(3);
    const auto filters = ReadRegisters(s.address, s.modbusPort, 77, 6);
    ASSERT_EQ(filters.size(), 6u);
    for (int i = 0; i < 6; i += 2) EXPECT_LT(filters[i], filters[i + 1]) << "band " << i / 2;
    // The sensor's own address, pairs low byte first: 127.0.0.3 -> 0x007F, 0x0300.
    const auto net = ReadRegisters(s.address, s.modbusPort, 111, 8);
    ASSERT_EQ(net.size(), 8u);
    EXPECT_EQ(net[6], 0x007F);
    EXPECT_EQ(net[7], 0x0300);
    EXPECT_EQ(net[2], 0xFFFF);  // mask 255.255.255.0
    EXPECT_EQ(net[3], 0x00FF);
    EXPECT_EQ(ReadRegisters(s.address, s.modbusPort, 132, 1), std::vector<uint16_t>{2500});
    EXPECT_EQ(ReadRegisters(s.address, s.modbusPort, 120, 1), std::vector<uint16_t>{100});
}

TEST_F(Registers, ConfigurationWritesReadBackAndMeasurementsRefuseThem) {
    const SimSensor& s = sim_->Sensor(1);
    struct Case {
        uint16_t reg;
        uint16_t value;
    };
    const std::vector<Case> cases = {Case{77, 5},       Case{82, 450},     Case{103, 611},
                                     Case{111, 0xA8C0}, Case{118, 0x0A01}, Case{120, 250},
                                     Case{131, 1},      Case{67, 1234}};
    // The simulator is shared by the suite: what this test changes goes back
    // afterwards, so the others see defaults in any order.
    std::vector<Case> originals;
    for (const Case c : cases) originals.push_back({c.reg, sim_->GetRegister(1, c.reg)});
    for (const Case c : cases) {
        const auto reply = WriteRegister(s.address, s.modbusPort, c.reg, c.value);
        // The echo of the request.
        EXPECT_EQ(reply, ModbusRequest(7, 6, c.reg, c.value)) << "register " << c.reg;
        EXPECT_EQ(ReadRegisters(s.address, s.modbusPort, c.reg, 1), std::vector<uint16_t>{c.value})
            << "register " << c.reg;
        EXPECT_EQ(sim_->GetRegister(1, c.reg), c.value);
    }
    for (uint16_t reg : {0, 1, 30, 66, 133}) {
        const auto reply = WriteRegister(s.address, s.modbusPort, reg, 99);
        ASSERT_EQ(reply.size(), 9u) << "register " << reg;
        EXPECT_EQ(reply[7], 0x86);
        EXPECT_EQ(reply[8], 0x02);  // illegal data address
    }
    for (const Case c : originals) sim_->SetRegister(1, c.reg, c.value);
}

TEST_F(Registers, ManualSpeedSourceReportsTheManualSpeed) {
    const SimSensor& s = sim_->Sensor(2);
    WriteRegister(s.address, s.modbusPort, 67, 1750);
    WriteRegister(s.address, s.modbusPort, 130, 1);
    EXPECT_EQ(ReadRegisters(s.address, s.modbusPort, 133, 1), std::vector<uint16_t>{1750});
    WriteRegister(s.address, s.modbusPort, 130, 0);
    const auto speed = ReadRegisters(s.address, s.modbusPort, 133, 1);
    ASSERT_EQ(speed.size(), 1u);
    EXPECT_GT(speed[0], 2300);
}

TEST_F(Registers, TwoClientsAtOnceAreBothServed) {
    const SimSensor& s = sim_->Sensor(1);
    WireClient a(s.address, s.modbusPort);
    WireClient b(s.address, s.modbusPort);
    ASSERT_TRUE(b.Send(ModbusRequest(1, 3, 0, 72)));
    ASSERT_TRUE(a.Send(ModbusRequest(2, 3, 133, 1)));
    EXPECT_EQ(b.Receive(153, 1s).Total(), 153u);
    EXPECT_EQ(a.Receive(11, 1s).Total(), 11u);
}

}  // namespace
}  // namespace orsan::test
