#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "FakeWavePeer.h"
#include "SensorEndpoint.h"
#include "SocketScan.h"
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

TEST(WaveCapture, APeerThatNeverStopsIsCutOffAfterTheDurationAndItsGrace) {
    FakeWavePeer peer(test::KnownPacketStream(3, 116), {1420}, FakeWavePeer::Ending::Endless);
    WaveCaptureOptions options = Options(peer.Port());
    options.overrunGraceMs = 100;
    WaveCapture capture(options);
    ASSERT_TRUE(capture.Start(kLoopback, 1));
    capture.Wait();  // without the deadline this would never return
    EXPECT_EQ(capture.End(), WaveCaptureEnd::Overran);
    EXPECT_EQ(capture.BytesDiscarded(), capture.BytesReceived() % 1420);
    const WaveDrain drain = capture.State().Drain();
    EXPECT_EQ(drain.SampleCount() + capture.State().SamplesDropped(),
              capture.BytesReceived() / 1420 * 116);
}

TEST(WaveCaptureSummary, SaysWhenACaptureIsCutShortWithWhatItHolds) {
    using E = WaveCaptureEnd;
    struct Case {
        WaveCaptureSummary summary;
        bool cutShort;
        const char* says;  // a part of the text; "" for none
    };
    const Case cases[] = {
        {{E::Completed, 26564, 26564, 0, 0}, false, ""},
        {{E::Overran, 30000, 26564, 3000, 0}, false, ""},
        {{E::Completed, 0, 26564, 0, 0},
         true,
         "传感器提前关闭了连接，未收到完整的数据包（应为 26564 点）"},
        {{E::Completed, 232, 26564, 0, 0}, true, "已采集 232 点，应为 26564 点"},
        {{E::ClosedMidPacket, 26564, 26564, 0, 700},
         true,
         "传感器在数据包中途关闭了连接，已采集 26564 点"},
        {{E::Stalled, 116, 53128, 0, 0}, true, "传感器停止发送数据，已采集 116 点，应为 53128 点"},
        {{E::ConnectFailed, 0, 26564, 0, 0}, true, "波形采集失败：连接传感器失败"},
        {{E::SendFailed, 0, 26564, 0, 0}, true, "发送采集命令失败"},
        {{E::ReceiveError, 26564, 26564, 0, 0}, true, "接收数据出错"},
    };
    for (const Case& c : cases) {
        const std::string text = WaveCaptureProblemText(c.summary);
        EXPECT_EQ(c.summary.CutShort(), c.cutShort) << WaveCaptureEndText(c.summary.end);
        if (*c.says == 0) {
            EXPECT_EQ(text, "");
        } else {
            EXPECT_NE(text.find(c.says), std::string::npos) << text;
        }
    }
    // Whole packets of the duration at the packets' own rate.
    EXPECT_EQ(ExpectedWaveSamples(1, 26667.0f), 229u * 116u);
    EXPECT_EQ(ExpectedWaveSamples(2, 116.0f), 232u);
    EXPECT_EQ(ExpectedWaveSamples(10, 0.0f), 0u);
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

TEST(WaveCapture, TheCaptureSocketIsClosedOnExec) {
    FakeWavePeer peer(test::KnownPacketStream(1, 1), {1420}, FakeWavePeer::Ending::Stall);
    WaveCapture capture(Options(peer.Port(), nullptr, 60000));
    ASSERT_TRUE(capture.Start(kLoopback, 1));
    peer.WaitSent();  // connected: the request has arrived
    const std::vector<int> sockets = test::SocketsConnectedTo(peer.Port());
    ASSERT_EQ(sockets.size(), 1u);
    EXPECT_TRUE(test::IsCloseOnExec(sockets[0]));
    capture.Stop();
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

struct CommandRun {
    int code = -1;
    std::string out, err;
};

CommandRun RunCapture(uint16_t port, int seconds, const std::string& path) {
    std::ostringstream out, err;
    CommandRun run;
    run.code = RunCaptureCommand(kLoopback, seconds, path, "", port, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(CaptureCommand, CaptureCutShortFailsSayingWhatItHolds) {
    test::TempDir folder;
    const std::string path = folder.File("out.txt");
    auto midPacket = test::KnownPacketStream(2, 116.0f);
    midPacket.resize(midPacket.size() + 700, 0x33);
    struct Case {
        const char* what;
        std::vector<uint8_t> stream;
        int code;
        const char* says;
        size_t samplesInFile;
    };
    const Case cases[] = {
        {"closed inside a packet", midPacket, kCaptureIncomplete, "已采集 232 点，应为 232 点",
         232},
        {"fewer samples than asked", test::KnownPacketStream(1, 116.0f), kCaptureIncomplete,
         "已采集 116 点，应为 232 点", 116},
        {"closed without data (refused)", {}, kCaptureNoData, "未收到完整的数据包", 0},
    };
    for (const Case& c : cases) {
        fs::remove(path);
        FakeWavePeer peer(c.stream, {500});
        const CommandRun run = RunCapture(peer.Port(), 2, path);
        EXPECT_EQ(run.code, c.code) << c.what << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.what << ": " << run.err;
        if (c.samplesInFile > 0) {
            EXPECT_EQ(test::ReadWholeFile(path), test::ExpectedWaveFile(c.samplesInFile)) << c.what;
            EXPECT_EQ(run.out, path + "\n");
        } else {
            EXPECT_FALSE(fs::exists(path)) << c.what;
        }
    }
    const CommandRun midRun = [&] {
        FakeWavePeer peer(midPacket, {500});
        return RunCapture(peer.Port(), 2, path);
    }();
    EXPECT_NE(midRun.err.find("丢弃不完整数据包的 700 字节"), std::string::npos) << midRun.err;
}

TEST(CaptureCommand, EndsAgainstAnEndlessPeerAndReportsWhatItDropped) {
    FakeWavePeer peer(test::KnownPacketStream(3, 116.0f), {1420}, FakeWavePeer::Ending::Endless);
    test::TempDir folder;
    const CommandRun run = RunCapture(peer.Port(), 1, folder.File("out.txt"));
    EXPECT_EQ(run.code, kCaptureOk) << run.err;
    EXPECT_NE(run.err.find(WaveCaptureEndText(WaveCaptureEnd::Overran)), std::string::npos)
        << run.err;
    // Whatever did not fit in the buffer is said, never silently lost.
    const std::string text = test::ReadWholeFile(folder.File("out.txt"));
    const size_t lines = size_t(std::count(text.begin(), text.end(), '\n'));
    ASSERT_GE(lines, 2u + 116u);
    if (lines - 2 == kWaveMaxSamplesPerAxis) {
        EXPECT_NE(run.err.find("缓冲区已满，丢弃 "), std::string::npos) << run.err;
    }
}

TEST(CaptureCommand, DashIsStandardOutputAndADeviceStaysADevice) {
    FakeWavePeer peer(test::KnownPacketStream(1, 116.0f), {1420});
    struct stat before {
    }, after{};
    ASSERT_EQ(::stat("/dev/null", &before), 0);
    const CommandRun toNull = RunCapture(peer.Port(), 1, "/dev/null");
    EXPECT_EQ(toNull.code, kCaptureOk) << toNull.err;
    ASSERT_EQ(::stat("/dev/null", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_rdev, before.st_rdev);

    FakeWavePeer second(test::KnownPacketStream(1, 116.0f), {1420});
    test::TempDir folder;
    const std::string captured = folder.File("stdout.txt");
    const int saved = ::dup(STDOUT_FILENO);
    const int sink = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(sink, 0);
    ::dup2(sink, STDOUT_FILENO);
    const CommandRun toStdout = RunCapture(second.Port(), 1, "-");
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(sink);
    EXPECT_EQ(toStdout.code, kCaptureOk) << toStdout.err;
    EXPECT_EQ(toStdout.out, "");  // no path line: standard output is the data
    EXPECT_EQ(test::ReadWholeFile(captured), test::ExpectedWaveFile(116));
    EXPECT_FALSE(fs::exists("-"));
}

}  // namespace
}  // namespace orsan
