#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "FakeWavePeer.h"
#include "SensorEndpoint.h"
#include "TempDir.h"
#include "WaveCapture.h"
#include "WaveCaptureCommand.h"
#include "WaveFile.h"
#include "WaveTestData.h"

namespace orsan {
namespace {

namespace fs = std::filesystem;
using test::FakeWavePeer;

constexpr uint32_t kLoopback = MakeAddress(127, 0, 0, 1);

struct TraceLog {
    std::mutex mutex;
    std::vector<std::string> lines;
    TraceSink Sink() {
        return [this](std::string_view line) {
            std::lock_guard lock(mutex);
            lines.emplace_back(line);
        };
    }
    bool Contains(const std::string& text) {
        std::lock_guard lock(mutex);
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }
};

WaveCaptureOptions Options(uint16_t port, TraceLog* log = nullptr, int stallMs = 3000) {
    WaveCaptureOptions options;
    options.port = port;
    options.stallLimitMs = stallMs;
    options.trace = log ? log->Sink() : TraceSink{};
    return options;
}

TEST(WaveCapture, ReassemblesOddlySplitPacketsUntilThePeerCloses) {
    // 5 packets and a half; pieces that never line up with packets.
    auto stream = test::KnownPacketStream(5, 512.5f);
    stream.resize(stream.size() + 700, 0x33);
    FakeWavePeer peer(stream, {24, 1000, 396, 1, 2839, 17, 1420, 300});
    TraceLog log;
    WaveCapture capture(Options(peer.Port(), &log));
    ASSERT_TRUE(capture.Start(kLoopback, 10));
    capture.Wait();

    EXPECT_EQ(capture.End(), WaveCaptureEnd::ClosedMidPacket);
    EXPECT_EQ(capture.BytesDiscarded(), 700u);
    EXPECT_FALSE(capture.Running());
    EXPECT_EQ(capture.BytesReceived(), stream.size());
    const auto request = BuildWaveRequest(10);
    EXPECT_EQ(peer.Request(), std::vector<uint8_t>(request.begin(), request.end()));
    const WaveDrain drain = capture.State().Drain();
    EXPECT_EQ(drain.samples, test::KnownSamples(5 * 116));  // the half packet is discarded
    EXPECT_EQ(drain.sampleRate, 512.5f);
    EXPECT_TRUE(log.Contains("开始接收\n"));
    EXPECT_TRUE(log.Contains("波形采集完成后，线程自动终止了\n"));
}

TEST(WaveCapture, RunningFromStartUntilTheThreadHasEnded) {
    FakeWavePeer peer(test::KnownPacketStream(2, 1), {1420}, FakeWavePeer::Ending::Stall);
    WaveCapture capture(Options(peer.Port(), nullptr, 60000));
    ASSERT_TRUE(capture.Start(kLoopback, 1));
    EXPECT_TRUE(capture.Running());
    EXPECT_FALSE(capture.Start(kLoopback, 1));  // one capture at a time
    peer.WaitSent();
    EXPECT_TRUE(capture.Running());
    capture.Stop();
    EXPECT_FALSE(capture.Running());
    EXPECT_EQ(capture.End(), WaveCaptureEnd::Stopped);
}

TEST(WaveCapture, StalledSensorEndsAfterTheLimitKeepingItsSamples) {
    FakeWavePeer peer(test::KnownPacketStream(2, 26667), {700}, FakeWavePeer::Ending::Stall);
    TraceLog log;
    WaveCapture capture(Options(peer.Port(), &log, 300));
    ASSERT_TRUE(capture.Start(kLoopback, 3));
    capture.Wait();
    EXPECT_EQ(capture.End(), WaveCaptureEnd::Stalled);
    EXPECT_FALSE(capture.Running());
    EXPECT_EQ(capture.State().Drain().samples, test::KnownSamples(232));
    EXPECT_TRUE(log.Contains("300毫秒未收到数据，波形采集线程自动终止了\n"));
}

TEST(WaveCapture, StopWakesAThreadWaitingForData) {
    FakeWavePeer peer(test::KnownPacketStream(1, 26667), {1420}, FakeWavePeer::Ending::Stall);
    WaveCapture capture(Options(peer.Port(), nullptr, 600000));
    ASSERT_TRUE(capture.Start(kLoopback, 10));
    peer.WaitSent();
    capture.Stop();  // would hang for ten minutes if the wait were not woken
    EXPECT_EQ(capture.End(), WaveCaptureEnd::Stopped);
    EXPECT_EQ(capture.State().SamplesAccepted() % 116, 0u);
}

TEST(WaveCapture, UnreachableSensorsFailToConnect) {
    TraceLog log;
    for (uint32_t address : {kLoopback, 0u}) {
        WaveCapture capture(Options(test::ClosedLoopbackPort(), &log));
        ASSERT_TRUE(capture.Start(address, 1));
        capture.Wait();
        EXPECT_EQ(capture.End(), WaveCaptureEnd::ConnectFailed) << FormatAddress(address);
        EXPECT_FALSE(capture.Running());
        EXPECT_EQ(capture.State().Drain().SampleCount(), 0u);
    }
    EXPECT_TRUE(log.Contains("连接失败\n"));
    EXPECT_TRUE(log.Contains("波形采集网络连接失败，线程自动终止了\n"));
}

TEST(WaveCapture, ASecondCaptureStartsCleanAfterTheFirstEnded) {
    auto peer =
        std::make_unique<FakeWavePeer>(test::KnownPacketStream(3, 100), std::vector<size_t>{1420});
    WaveCapture capture(Options(peer->Port()));
    capture.Start(kLoopback, 1);
    capture.Wait();
    ASSERT_EQ(capture.State().SamplesAccepted(), 348u);
    peer.reset();  // nobody listens on the port any more
    ASSERT_TRUE(capture.Start(kLoopback, 1));
    capture.Wait();
    EXPECT_EQ(capture.End(), WaveCaptureEnd::ConnectFailed);
    const WaveDrain drain = capture.State().Drain();
    EXPECT_EQ(drain.SampleCount(), 0u);
    EXPECT_EQ(drain.sampleRate, 26666.0f);
}

TEST(CaptureCommand, WritesTheStandardFileAndSaysWhere) {
    FakeWavePeer peer(test::KnownPacketStream(2, 116.0f), {333});
    test::TempDir folder;
    std::ostringstream out, err;
    const std::time_t before = std::time(nullptr);
    const int code =
        RunCaptureCommand(kLoopback, 2, "", folder.Path().string(), peer.Port(), out, err);
    ASSERT_EQ(code, kCaptureOk) << err.str();
    const std::string path = out.str().substr(0, out.str().size() - 1);
    EXPECT_EQ(out.str().back(), '\n');
    // The start time is one of the seconds the command ran in.
    bool named = false;
    for (std::time_t t = before; t <= std::time(nullptr) && !named; ++t)
        named = path ==
                WaveFileName(folder.Path().string(), kLoopback, FormatWaveStartTime(t), "116.0");
    EXPECT_TRUE(named) << path;
    EXPECT_EQ(test::ReadWholeFile(path), test::ExpectedWaveFile(232));
    EXPECT_TRUE(err.str().empty());
}

TEST(CaptureCommand, ExplicitPathAndFailuresWithExitCodes) {
    test::TempDir folder;
    {
        FakeWavePeer peer(test::KnownPacketStream(1, 1), {1420});
        std::ostringstream out, err;
        const std::string path = (folder.Path() / "out.txt").string();
        EXPECT_EQ(RunCaptureCommand(kLoopback, 1, path, "", peer.Port(), out, err), kCaptureOk);
        EXPECT_EQ(out.str(), path + "\n");
        EXPECT_EQ(test::ReadWholeFile(path), test::ExpectedWaveFile(116));
    }
    {
        std::ostringstream out, err;
        EXPECT_EQ(RunCaptureCommand(kLoopback, 11, "", folder.Path().string(), 1, out, err),
                  kCaptureBadArguments);
        EXPECT_EQ(RunCaptureCommand(kLoopback, 0, "", folder.Path().string(), 1, out, err),
                  kCaptureBadArguments);
        EXPECT_EQ(RunCaptureCommand(0, 1, "", folder.Path().string(), 1, out, err),
                  kCaptureBadArguments);
        EXPECT_TRUE(out.str().empty());
        EXPECT_NE(err.str().find("0.0.0.0"), std::string::npos);
    }
    {
        std::ostringstream out, err;
        EXPECT_EQ(RunCaptureCommand(kLoopback, 1, "", folder.Path().string(),
                                    test::ClosedLoopbackPort(), out, err),
                  kCaptureNoData);
        EXPECT_NE(err.str().find("连接传感器失败"), std::string::npos) << err.str();
        EXPECT_TRUE(out.str().empty());
    }
    {
        FakeWavePeer peer(test::KnownPacketStream(1, 1), {1420});
        std::ostringstream out, err;
        const std::string path = (folder.Path() / "no-such-folder" / "out.txt").string();
        EXPECT_EQ(RunCaptureCommand(kLoopback, 1, path, "", peer.Port(), out, err),
                  kCaptureWriteFailed);
        EXPECT_NE(err.str().find(path), std::string::npos) << err.str();
        EXPECT_TRUE(out.str().empty());
    }
}

// Peers that cut the capture short, close without data, never stop, and a
// device as the output: exit code, message and what the file holds.
TEST(CaptureCommand, EveryEndingIsSaidAndOnlyAShortCaptureFails) {
    test::TempDir folder;
    auto midPacket = test::KnownPacketStream(2, 116.0f);
    midPacket.resize(midPacket.size() + 700, 0x33);
    using Ending = FakeWavePeer::Ending;
    const struct {
        const char* what;
        std::vector<uint8_t> stream;
        Ending ending;
        std::string out;
        int code;
        const char* says;
        size_t samples;  // in the file; 0: no file
    } cases[] = {
        {"inside a packet", midPacket, Ending::Close, folder.File("a.txt"), kCaptureIncomplete,
         "丢弃不完整数据包的 700 字节", 232},
        {"too few", test::KnownPacketStream(1, 116.0f), Ending::Close, folder.File("b.txt"),
         kCaptureIncomplete, "已采集 116 点，应为 232 点", 116},
        {"no data",
         {},
         Ending::Close,
         folder.File("c.txt"),
         kCaptureNoData,
         "未收到完整的数据包",
         0},
        {"endless", test::KnownPacketStream(3, 116.0f), Ending::Endless, folder.File("d.txt"),
         kCaptureOk, WaveCaptureEndText(WaveCaptureEnd::Overran), 0},
        {"device", test::KnownPacketStream(2, 116.0f), Ending::Close, "/dev/null", kCaptureOk, "",
         0},
    };
    for (const auto& c : cases) {
        FakeWavePeer peer(c.stream, {500}, c.ending);
        std::ostringstream out, err;
        EXPECT_EQ(RunCaptureCommand(kLoopback, 2, c.out, "", peer.Port(), out, err), c.code)
            << c.what << ": " << err.str();
        EXPECT_NE(err.str().find(c.says), std::string::npos) << c.what << ": " << err.str();
        EXPECT_EQ(out.str(), c.code == kCaptureNoData ? "" : c.out + "\n") << c.what;
        if (c.samples) {
            EXPECT_EQ(test::ReadWholeFile(c.out), test::ExpectedWaveFile(c.samples)) << c.what;
        }
    }
    EXPECT_FALSE(fs::exists(folder.File("c.txt")));
    struct stat device {};
    ASSERT_EQ(::stat("/dev/null", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
}

}  // namespace
}  // namespace orsan
