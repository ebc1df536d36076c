// Each fault mode as it shows on the wire: byte counts, segments, silence,
// close.

#include <gtest/gtest.h>

#include "SimProcess.h"
#include "WireClient.h"

namespace orsan::test {
namespace {

using namespace std::chrono_literals;

class Faults : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sim_ = new SimProcess({"--sensors", "2", "--port", "0", "--wave-port", "0", "--flap-period",
                               "400", "--fault", "2=exception"});
    }
    static void TearDownTestSuite() {
        delete sim_;
        sim_ = nullptr;
    }
    void TearDown() override {
        sim_->SetFault(1, "none");
        sim_->Command("thaw 1");
    }

    // A 72-register read on a fresh connection; waits `quiet` for each piece.
    static WireClient::Received Exchange(int k, std::chrono::milliseconds quiet = 300ms) {
        const SimSensor& s = sim_->Sensor(k);
        return test::Exchange(s.address, s.modbusPort, ModbusRequest(0x1234, 3, 0, 72), quiet);
    }

    static SimProcess* sim_;
};

SimProcess* Faults::sim_ = nullptr;

TEST_F(Faults, LengthFaultsChangeOnlyTheByteCount) {
    struct Case {
        const char* mode;
        size_t bytes;
    };
    ASSERT_EQ(sim_->Command("freeze 1"), "OK");
    sim_->SetFault(1, "none");
    const auto healthy = Exchange(1);
    ASSERT_EQ(healthy.Total(), 153u);
    EXPECT_EQ(healthy.segments.size(), 1u);
    EXPECT_FALSE(healthy.closed);
    const auto good = healthy.Bytes();
    EXPECT_EQ(good[0], 0x12);
    EXPECT_EQ(good[1], 0x34);
    EXPECT_EQ(good[5], 147);  // unit + function + count + 144 data bytes
    EXPECT_EQ(good[7], 3);
    EXPECT_EQ(good[8], 144);

    for (const Case c : {Case{"long", 154}, Case{"short", 152}}) {
        sim_->SetFault(1, c.mode);
        const auto r = Exchange(1);
        EXPECT_EQ(r.Total(), c.bytes) << c.mode;
        EXPECT_EQ(r.segments.size(), 1u) << c.mode;
        const auto bytes = r.Bytes();
        const size_t common = std::min(bytes.size(), good.size());
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + long(common), good.begin()))
            << c.mode << ": the bytes it does send are the correct answer";
    }
}

TEST_F(Faults, SplitSendsTheCorrectAnswerInTwoSegmentsWithAPause) {
    ASSERT_EQ(sim_->Command("freeze 1"), "OK");
    const auto good = Exchange(1).Bytes();
    ASSERT_EQ(good.size(), 153u);
    sim_->SetFault(1, "split");
    const auto r = Exchange(1);
    ASSERT_EQ(r.segments.size(), 2u);
    EXPECT_LT(r.segments[0].size(), 153u);
    EXPECT_EQ(r.Bytes(), good);
    EXPECT_GE(r.times[1] - r.times[0], 30ms);
}

TEST_F(Faults, ExceptionAnswersEveryRequestWithNineBytes) {
    // Sensor 2 got its fault on the command line.
    const auto r = Exchange(2);
    ASSERT_EQ(r.Total(), 9u);
    const auto bytes = r.Bytes();
    EXPECT_EQ(bytes[7], 0x83);
    EXPECT_EQ(bytes[8], 0x04);
    const SimSensor& s = sim_->Sensor(2);
    const auto write = WriteRegister(s.address, s.modbusPort, 77, 3);
    ASSERT_EQ(write.size(), 9u);
    EXPECT_EQ(write[7], 0x86);
    EXPECT_NE(sim_->GetRegister(2, 77), 3) << "a refused write changes nothing";
}

TEST_F(Faults, SilentKeepsTheConnectionOpenAndAnswersOnceCleared) {
    sim_->SetFault(1, "silent");
    const auto r = Exchange(1, 500ms);
    EXPECT_EQ(r.Total(), 0u);
    EXPECT_FALSE(r.closed);
    sim_->SetFault(1, "none");
    EXPECT_EQ(Exchange(1).Total(), 153u);
}

TEST_F(Faults, CloseDropsTheConnectionAfterTheRequest) {
    sim_->SetFault(1, "close");
    const SimSensor& s = sim_->Sensor(1);
    WireClient c(s.address, s.modbusPort);
    // Connected and kept until a request arrives.
    EXPECT_FALSE(c.Receive(1, 200ms).closed);
    ASSERT_TRUE(c.Send(ModbusRequest(1, 3, 0, 72)));
    const auto r = c.Receive(1, 1s);
    EXPECT_EQ(r.Total(), 0u);
    EXPECT_TRUE(r.closed);
}

TEST_F(Faults, FlapAlternatesHealthyAndSilent) {
    sim_->SetFault(1, "flap");
    int answered = 0, silent = 0;
    bool answeredAfterSilence = false;
    // Phases of 400 ms; each exchange takes at most ~150 ms.
    for (int i = 0; i < 14; ++i) {
        const auto r = Exchange(1, 150ms);
        if (r.Total() == 153) {
            ++answered;
            if (silent > 0) answeredAfterSilence = true;
        } else {
            EXPECT_EQ(r.Total(), 0u);
            ++silent;
        }
    }
    EXPECT_GT(answered, 0);
    EXPECT_GT(silent, 0);
    EXPECT_TRUE(answeredAfterSilence);
}

}  // namespace
}  // namespace orsan::test
