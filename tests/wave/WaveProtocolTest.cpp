#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "FakeWavePeer.h"
#include "PacketAssembler.h"
#include "WaveCaptureState.h"
#include "WaveProtocol.h"

namespace orsan {
namespace {

using test::MakeWavePacket;

TEST(WaveRequest, CarriesDurationLittleEndianBetweenMarkers) {
    struct Case {
        int32_t seconds;
        std::array<uint8_t, 4> bytes;
    };
    for (const Case& c : {Case{10, {0x0A, 0, 0, 0}}, Case{1, {1, 0, 0, 0}},
                          Case{0x01020304, {4, 3, 2, 1}}, Case{-1, {0xFF, 0xFF, 0xFF, 0xFF}}}) {
        const WaveRequest request = BuildWaveRequest(c.seconds);
        const std::vector<uint8_t> expected = {0x57,       0x56,       0x51,       0x53,
                                               c.bytes[0], c.bytes[1], c.bytes[2], c.bytes[3],
                                               0x57,       0x56,       0x51,       0x54};
        EXPECT_EQ(std::vector<uint8_t>(request.begin(), request.end()), expected) << c.seconds;
    }
}

TEST(WavePacket, FieldsAreReadLittleEndian) {
    const auto packet = MakeWavePacket(-7, 512.5f, {1.5f, -2.0f});
    EXPECT_EQ(PacketNumber(packet.data()), -7);
    EXPECT_EQ(PacketSampleRate(packet.data()), 512.5f);
    EXPECT_EQ(ReadLeFloat(PacketBlock(packet.data())), 1.5f);
    EXPECT_EQ(ReadLeFloat(PacketBlock(packet.data()) + 4), -2.0f);
}

std::vector<uint8_t> NumberedStream(int packets) {
    std::vector<uint8_t> stream;
    for (int p = 0; p < packets; ++p) {
        std::vector<float> xyz(348);
        for (size_t i = 0; i < xyz.size(); ++i) xyz[i] = float(p * 1000 + int(i));
        const auto packet = MakeWavePacket(p, 26667.0f + float(p), xyz);
        stream.insert(stream.end(), packet.begin(), packet.end());
    }
    return stream;
}

struct Collector {
    std::vector<std::vector<uint8_t>> packets;
    PacketAssembler::PacketHandler Handler() {
        return [this](const uint8_t* p) { packets.emplace_back(p, p + kWavePacketSize); };
    }
};

TEST(PacketAssembler, ThreeReceivesOf24And1000And396MakeOnePacket) {
    std::vector<std::string> traces;
    PacketAssembler assembler([&](std::string_view line) { traces.emplace_back(line); });
    Collector out;
    const auto stream = NumberedStream(1);

    EXPECT_EQ(assembler.Feed(stream.data(), 24, out.Handler()), 0);
    EXPECT_EQ(assembler.Pending(), 24u);
    ASSERT_GE(traces.size(), 2u);
    EXPECT_EQ(traces[0], "xxx");
    EXPECT_EQ(traces[1], "收到欠分包数据24字节,LessLenth24字节\n");

    EXPECT_EQ(assembler.Feed(stream.data() + 24, 1000, out.Handler()), 0);
    EXPECT_EQ(assembler.Pending(), 1024u);
    EXPECT_EQ(assembler.Feed(stream.data() + 1024, 396, out.Handler()), 1);
    EXPECT_EQ(assembler.Pending(), 0u);
    ASSERT_EQ(out.packets.size(), 1u);
    EXPECT_EQ(out.packets[0], stream);
    EXPECT_EQ(traces.back(),
              "收到完整包数据396 +LessLenth0字节，包号0,采样频率26667.0,前4个数据a5 5a 1 2 \n");
    // "xxx" marks only the moment exactly a header has gathered.
    EXPECT_EQ(std::count(traces.begin(), traces.end(), "xxx"), 1);
}

TEST(PacketAssembler, FullReceiveAfter300BytesCarries300) {
    std::vector<std::string> traces;
    PacketAssembler assembler([&](std::string_view line) { traces.emplace_back(line); });
    Collector out;
    const auto stream = NumberedStream(2);

    assembler.Feed(stream.data(), 300, out.Handler());
    EXPECT_EQ(assembler.Feed(stream.data() + 300, 1420, out.Handler()), 1);
    EXPECT_EQ(assembler.Pending(), 300u);
    ASSERT_EQ(out.packets.size(), 1u);
    EXPECT_TRUE(std::equal(out.packets[0].begin(), out.packets[0].end(), stream.begin()));
    // The carried bytes start the second packet.
    EXPECT_EQ(traces.back(),
              "收到过分包数据1420 +LessLenth300字节，包号0,采样频率26667.0,前4个数据a5 5a 1 2 \n");

    EXPECT_EQ(assembler.Feed(stream.data() + 1720, 1120, out.Handler()), 1);
    ASSERT_EQ(out.packets.size(), 2u);
    EXPECT_TRUE(std::equal(out.packets[1].begin(), out.packets[1].end(), stream.begin() + 1420));
    EXPECT_EQ(PacketSampleRate(out.packets[1].data()), 26668.0f);
}

TEST(PacketAssembler, RandomSplitsReassembleEveryPacketInOrder) {
    const auto stream = NumberedStream(40);
    for (unsigned seed : {1u, 2u, 3u, 17u, 99u, 2024u}) {
        std::mt19937 random(seed);
        // Mostly receive-sized pieces, sometimes tiny ones, sometimes several packets.
        std::uniform_int_distribution<size_t> size(1, seed % 2 ? 1420 : 4000);
        PacketAssembler assembler;
        Collector out;
        size_t offset = 0;
        while (offset < stream.size()) {
            const size_t n = std::min(size(random), stream.size() - offset);
            assembler.Feed(stream.data() + offset, n, out.Handler());
            offset += n;
        }
        ASSERT_EQ(out.packets.size(), 40u) << "seed " << seed;
        for (size_t p = 0; p < 40; ++p)
            ASSERT_TRUE(std::equal(out.packets[p].begin(), out.packets[p].end(),
                                   stream.begin() + long(p * kWavePacketSize)))
                << "seed " << seed << " packet " << p;
        EXPECT_EQ(assembler.Pending(), 0u);
    }
}

TEST(PacketAssembler, TrailingPartialPacketIsNeverDelivered) {
    const auto stream = NumberedStream(3);
    PacketAssembler assembler;
    Collector out;
    assembler.Feed(stream.data(), 1420, out.Handler());
    assembler.Feed(stream.data() + 1420, 1419, out.Handler());
    EXPECT_EQ(out.packets.size(), 1u);
    EXPECT_EQ(assembler.Pending(), 1419u);
}

std::vector<uint8_t> BlockOf(float base) {
    std::vector<float> xyz(348);
    for (size_t i = 0; i < xyz.size(); ++i) xyz[i] = base + float(i);
    auto packet = MakeWavePacket(0, 0, xyz);
    return std::vector<uint8_t>(packet.begin() + 24, packet.begin() + 24 + 1392);
}

TEST(WaveCaptureState, DrainReturnsAllBlocksSinceLastDrainWithLastRate) {
    WaveCaptureState state;
    state.Reset();
    EXPECT_EQ(state.Drain().sampleRate, 26666.0f);
    // More blocks than the old 71-block ring held: nothing may be lost.
    for (int b = 0; b < 200; ++b) state.AppendBlock(BlockOf(float(b * 1000)).data(), float(b));
    WaveDrain drain = state.Drain();
    ASSERT_EQ(drain.SampleCount(), 200u * 116u);
    EXPECT_EQ(drain.sampleRate, 199.0f);
    for (int b = 0; b < 200; ++b) {
        ASSERT_EQ(drain.samples[size_t(b) * 348], float(b * 1000));
        ASSERT_EQ(drain.samples[size_t(b) * 348 + 347], float(b * 1000 + 347));
    }
    EXPECT_EQ(state.Drain().SampleCount(), 0u);
}

TEST(WaveCaptureState, SamplesBeyondTheLimitAreDropped) {
    WaveCaptureState state(200);
    const auto block = BlockOf(0);
    EXPECT_EQ(state.AppendBlock(block.data(), 1), 116u);
    EXPECT_EQ(state.AppendBlock(block.data(), 2), 84u);
    EXPECT_EQ(state.AppendBlock(block.data(), 3), 0u);
    EXPECT_EQ(state.SamplesAccepted(), 200u);
    EXPECT_EQ(state.SamplesDropped(), 32u + 116u);
    const WaveDrain drain = state.Drain();
    ASSERT_EQ(drain.SampleCount(), 200u);
    // The kept part of the second block is its beginning, whole samples.
    EXPECT_EQ(drain.samples[348], 0.0f);
    EXPECT_EQ(drain.samples[599], 251.0f);
    state.Reset();
    EXPECT_EQ(state.AppendBlock(block.data(), 1), 116u);
}

TEST(WaveCaptureState, DrainReportsRunningTakenTogetherWithTheData) {
    WaveCaptureState state;
    state.SetRunning(true);
    state.AppendBlock(BlockOf(0).data(), 1);
    state.SetRunning(false);
    // The last block went in before running was cleared, so a drain that
    // says "not running" carries it.
    const WaveDrain drain = state.Drain();
    EXPECT_FALSE(drain.running);
    EXPECT_EQ(drain.SampleCount(), 116u);
}

}  // namespace
}  // namespace orsan
