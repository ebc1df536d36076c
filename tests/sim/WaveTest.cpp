// The waveform server: request, packet stream, pacing, signal, faults.

#include <gtest/gtest.h>
#include <signal.h>

#include <bit>
#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>

#include "SimProcess.h"
#include "WireClient.h"

namespace orsan::test {
namespace {

using namespace std::chrono_literals;

constexpr size_t kPacket = 1420;
constexpr size_t kSamplesPerPacket = 116;

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
float F32(const uint8_t* p) {
    return std::bit_cast<float>(U32(p));
}

std::vector<uint8_t> Request(const char* start, int32_t seconds, const char* end) {
    std::vector<uint8_t> r(start, start + 4);
    for (int i = 0; i < 4; ++i) r.push_back(uint8_t(uint32_t(seconds) >> (8 * i)));
    r.insert(r.end(), end, end + 4);
    return r;
}

class Wave : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sim_ = new SimProcess({"--sensors", "2", "--port", "0", "--wave-port", "0"});
    }
    static void TearDownTestSuite() {
        delete sim_;
        sim_ = nullptr;
    }
    void TearDown() override { sim_->SetWaveFault(2, "none"); }

    static WireClient::Received Capture(int k, const std::vector<uint8_t>& request,
                                        std::chrono::milliseconds quiet = 1s) {
        WireClient c(sim_->Sensor(k).address, sim_->Sensor(k).wavePort);
        EXPECT_TRUE(c.Send(request));
        return c.Receive(SIZE_MAX, quiet, 20s);
    }

    static SimProcess* sim_;
};

SimProcess* Wave::sim_ = nullptr;

TEST_F(Wave, TwoSecondsArriveAsNumberedPacketsInRealTimeThenClose) {
    ASSERT_EQ(sim_->Command("freeze 1"), "OK");
    const double accX = sim_->GetRegister(1, 4) * 0.01;     // RMS, m/ss
    const double speed = sim_->GetRegister(1, 133) * 0.01;  // Hz
    const double topOrder = sim_->GetRegister(1, 30) * 0.1;
    const double topEnergy = sim_->GetRegister(1, 29) * 0.01;  // m/ss at the top order

    const auto started = std::chrono::steady_clock::now();
    const auto r = Capture(1, Request("WVQS", 2, "WVQT"));
    const auto elapsed = std::chrono::steady_clock::now() - started;
    sim_->Command("thaw 1");

    EXPECT_TRUE(r.closed);
    const auto bytes = r.Bytes();
    ASSERT_EQ(bytes.size() % kPacket, 0u);
    const size_t packets = bytes.size() / kPacket;
    // At least 2 x 26667 samples, in whole packets: the smallest such count.
    EXPECT_GE(packets * kSamplesPerPacket, 2u * 26667u);
    EXPECT_LT((packets - 1) * kSamplesPerPacket, 2u * 26667u);
    // Paced like a sensor sampling in real time, not dumped at once.
    EXPECT_GE(elapsed, 1900ms);

    // The pieces on the wire do not follow packet boundaries.
    size_t offset = 0, insidePacket = 0;
    for (const auto& s : r.segments) {
        offset += s.size();
        if (offset % kPacket != 0) ++insidePacket;
    }
    EXPECT_GT(insidePacket, r.segments.size() / 2);

    std::vector<double> x;
    for (size_t i = 0; i < packets; ++i) {
        const uint8_t* p = bytes.data() + i * kPacket;
        ASSERT_EQ(U32(p + 16), i) << "packet numbers run 0, 1, 2, ...";
        ASSERT_FLOAT_EQ(F32(p + 8), 26667.0f);
        for (size_t s = 0; s < kSamplesPerPacket; ++s) {
            for (int axis = 0; axis < 3; ++axis) {
                const float g = F32(p + 24 + 12 * s + 4 * axis);
                ASSERT_TRUE(std::isfinite(g));
                ASSERT_LT(std::fabs(g), 10.0f);
            }
            x.push_back(F32(p + 24 + 12 * s) * 9.80665);
        }
    }

    // The signal agrees with the registers: overall level, and the top
    // order line standing well above a frequency that is no order at all.
    double sumSq = 0;
    for (double v : x) sumSq += v * v;
    EXPECT_NEAR(std::sqrt(sumSq / double(x.size())), accX, 0.15 * accX);
    auto amplitude = [&](double hz) {
        std::complex<double> sum = 0;
        const double w = 2 * std::numbers::pi * hz / 26667.0;
        for (size_t n = 0; n < x.size(); ++n) sum += x[n] * std::polar(1.0, -w * double(n));
        return 2.0 * std::abs(sum) / double(x.size());
    };
    const double atTop = amplitude(topOrder * speed);
    EXPECT_NEAR(atTop, topEnergy, 0.1 * topEnergy + 0.02);
    EXPECT_LT(amplitude(0.77 * speed), 0.1 * atTop);
}

TEST_F(Wave, BadRequestsAreClosedWithoutData) {
    struct Case {
        const char* why;
        std::vector<uint8_t> request;
    };
    const Case cases[] = {
        {"zero seconds", Request("WVQS", 0, "WVQT")},
        {"eleven seconds", Request("WVQS", 11, "WVQT")},
        {"negative", Request("WVQS", -1, "WVQT")},
        {"wrong start", Request("WVQX", 1, "WVQT")},
        {"wrong end", Request("WVQS", 1, "TQVW")},
    };
    for (const auto& c : cases) {
        const auto r = Capture(1, c.request);
        EXPECT_TRUE(r.closed) << c.why;
        EXPECT_EQ(r.Total(), 0u) << c.why;
    }
}

TEST_F(Wave, StallStopsSendingButKeepsTheConnection) {
    sim_->SetWaveFault(2, "stall");
    const auto r = Capture(2, Request("WVQS", 3, "WVQT"), 800ms);
    EXPECT_FALSE(r.closed);
    EXPECT_GT(r.Total(), 0u);
    EXPECT_EQ(r.Total() % kPacket, 0u);
    EXPECT_LT(r.Total(), 3u * 26667u / kSamplesPerPacket * kPacket);
}

TEST_F(Wave, CutClosesInsideAPacket) {
    sim_->SetWaveFault(2, "cut");
    const auto r = Capture(2, Request("WVQS", 3, "WVQT"));
    EXPECT_TRUE(r.closed);
    EXPECT_GT(r.Total(), kPacket);
    EXPECT_NE(r.Total() % kPacket, 0u);
}

TEST_F(Wave, RefuseClosesWithoutSending) {
    sim_->SetWaveFault(2, "refuse");
    const auto r = Capture(2, Request("WVQS", 1, "WVQT"));
    EXPECT_TRUE(r.closed);
    EXPECT_EQ(r.Total(), 0u);
}

TEST_F(Wave, SimulatorStopsPromptlyDuringACapture) {
    SimProcess sim({"--port", "0", "--wave-port", "0"});
    WireClient c(sim.Sensor(1).address, sim.Sensor(1).wavePort);
    ASSERT_TRUE(c.Send(Request("WVQS", 10, "WVQT")));
    EXPECT_GT(c.Receive(5000, 1s).Total(), 0u);
    sim.Process().Signal(SIGTERM);
    EXPECT_EQ(sim.Process().WaitExit(5s), std::optional<int>(0));
    // The stream ended with the process, far short of ten seconds' worth.
    const auto rest = c.Receive(SIZE_MAX, 1s);
    EXPECT_TRUE(rest.closed);
    EXPECT_LT(rest.Total(), 1000u * kPacket);
}

}  // namespace
}  // namespace orsan::test
