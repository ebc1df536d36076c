#include "WaveCapture.h"

#include <sys/socket.h>

#include <cerrno>
#include <chrono>

#include "CoreText.h"
#include "PacketAssembler.h"
#include "SocketKit.h"

namespace orsan {

struct WaveCapture::Wake {
    WakePipe pipe;
};

WaveCapture::WaveCapture(WaveCaptureOptions options) : options_(std::move(options)) {}

WaveCapture::~WaveCapture() {
    Stop();
}

void WaveCapture::Trace(const std::string& line) const {
    if (options_.trace) options_.trace(line);
}

bool WaveCapture::Start(uint32_t sensorAddress, int durationSeconds) {
    if (state_.Running()) return false;
    if (thread_.joinable()) thread_.join();  // a finished capture; reap it
    state_.Reset();
    end_ = WaveCaptureEnd::None;
    bytes_ = 0;
    discarded_ = 0;
    seconds_ = durationSeconds;
    wake_ = std::make_unique<Wake>();
    // Running from the start: a reader must not take a connecting capture for
    // a finished one.
    state_.SetRunning(true);
    const int wakeFd = wake_->pipe.Valid() ? wake_->pipe.ReadFd() : -1;
    thread_ = std::jthread([this, sensorAddress, durationSeconds, wakeFd](std::stop_token stop) {
        Run(stop, sensorAddress, durationSeconds, wakeFd);
    });
    return true;
}

void WaveCapture::Stop() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    if (wake_) wake_->pipe.Wake();
    thread_.join();
}

void WaveCapture::Wait() {
    if (thread_.joinable()) thread_.join();
}

void WaveCapture::Finish(WaveCaptureEnd end) {
    end_ = end;
    state_.SetRunning(false);
}

void WaveCapture::Run(std::stop_token stop, uint32_t address, int durationSeconds, int wakeFd) {
    SocketCalls& calls = *options_.calls;
    UniqueFd sock;
    const WaitResult connected =
        ConnectWithin(calls, address, options_.port, options_.connectWaitMs, wakeFd, sock);
    if (connected == WaitResult::Woken || stop.stop_requested()) {
        Trace("波形采集线程被强制终止了\n");
        return Finish(WaveCaptureEnd::Stopped);
    }
    if (connected != WaitResult::Ready) {
        Trace("连接失败\n");
        Trace("波形采集网络连接失败，线程自动终止了\n");
        return Finish(WaveCaptureEnd::ConnectFailed);
    }

    const WaveRequest request = BuildWaveRequest(durationSeconds);
    const ssize_t sent = calls.Send(sock.Get(), request.data(), request.size(), MSG_NOSIGNAL);
    Trace(Printf("发送命令%zd\n", sent));
    if (sent != ssize_t(request.size())) {
        Trace("发送\n");
        Trace("波形采集命令失败，线程自动终止了\n");
        return Finish(WaveCaptureEnd::SendFailed);
    }

    Trace("开始接收\n");
    Trace("波形采集线程开始了\n");
    PacketAssembler assembler(options_.trace);
    const auto onPacket = [this](const uint8_t* packet) {
        state_.AppendBlock(PacketBlock(packet), PacketSampleRate(packet));
    };
    uint8_t buffer[kWavePacketSize];
    uint64_t total = 0;
    const auto finishWithPending = [&](WaveCaptureEnd end) {
        discarded_ = assembler.Pending();
        return Finish(end);
    };
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(durationSeconds) +
                                       std::chrono::milliseconds(options_.overrunGraceMs);
    for (;;) {
        if (stop.stop_requested()) {
            Trace("波形采集线程被强制终止了\n");
            return finishWithPending(WaveCaptureEnd::Stopped);
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            Trace(Printf("收到数据总计%llu字节\n", (unsigned long long)total));
            Trace("超过采集时长仍在接收，波形采集线程自动终止了\n");
            return finishWithPending(WaveCaptureEnd::Overran);
        }
        const bool deadlineFirst = left < options_.stallLimitMs;
        const WaitResult ready = WaitUntil(calls, sock.Get(), POLLIN, wakeFd,
                                           DeadlineAfter(deadlineFirst ? int(left) : options_.stallLimitMs));
        if (ready == WaitResult::Woken) continue;  // the stop check above ends it
        if (ready == WaitResult::TimedOut && deadlineFirst) continue;  // the deadline check ends it
        if (ready == WaitResult::TimedOut) {
            Trace(Printf("收到数据总计%llu字节\n", (unsigned long long)total));
            Trace(Printf("%d毫秒未收到数据，波形采集线程自动终止了\n", options_.stallLimitMs));
            return finishWithPending(WaveCaptureEnd::Stalled);
        }
        ssize_t n = -1;
        if (ready == WaitResult::Ready) {
            do {
                n = calls.Receive(sock.Get(), buffer, sizeof buffer, 0);
            } while (n < 0 && errno == EINTR);
        }
        if (n <= 0) {
            Trace(Printf("收到数据总计%llu字节\n", (unsigned long long)total));
            Trace(Printf("接收完毕,接收状态%zd\n", n));
            Trace("波形采集完成后，线程自动终止了\n");
            if (n < 0) return finishWithPending(WaveCaptureEnd::ReceiveError);
            return finishWithPending(assembler.Pending() > 0 ? WaveCaptureEnd::ClosedMidPacket
                                                             : WaveCaptureEnd::Completed);
        }
        assembler.Feed(buffer, size_t(n), onPacket);
        total += uint64_t(n);
        bytes_ = total;
    }
}

const char* WaveCaptureEndText(WaveCaptureEnd end) {
    switch (end) {
        case WaveCaptureEnd::None:
            return QT_TRANSLATE_NOOP("WaveCapture", "未结束");
        case WaveCaptureEnd::Completed:
            return QT_TRANSLATE_NOOP("WaveCapture", "采集完成");
        case WaveCaptureEnd::ConnectFailed:
            return QT_TRANSLATE_NOOP("WaveCapture", "连接传感器失败");
        case WaveCaptureEnd::SendFailed:
            return QT_TRANSLATE_NOOP("WaveCapture", "发送采集命令失败");
        case WaveCaptureEnd::ReceiveError:
            return QT_TRANSLATE_NOOP("WaveCapture", "接收数据出错");
        case WaveCaptureEnd::Stalled:
            return QT_TRANSLATE_NOOP("WaveCapture", "传感器停止发送数据");
        case WaveCaptureEnd::Stopped:
            return QT_TRANSLATE_NOOP("WaveCapture", "采集被中止");
        case WaveCaptureEnd::ClosedMidPacket:
            return QT_TRANSLATE_NOOP("WaveCapture", "传感器在数据包中途关闭了连接");
        case WaveCaptureEnd::Overran:
            return QT_TRANSLATE_NOOP("WaveCapture", "超过采集时长传感器仍在发送，已停止接收");
    }
    return "";
}

size_t ExpectedWaveSamples(int seconds, float sampleRate) {
    if (seconds <= 0 || !(sampleRate > 0)) return 0;
    const double samples = double(seconds) * double(sampleRate);
    return size_t(samples / double(kWaveSamplesPerPacket)) * kWaveSamplesPerPacket;
}

bool WaveCaptureSummary::CutShort() const {
    switch (end) {
        case WaveCaptureEnd::Completed:
        case WaveCaptureEnd::Overran:
            return held < expected || held == 0;
        default:
            return true;
    }
}

std::string WaveCaptureProblemText(const WaveCaptureSummary& summary) {
    if (!summary.CutShort()) return {};
    // "采集完成" would read oddly as the reason of a short capture.
    const std::string reason =
        summary.end == WaveCaptureEnd::Completed
            ? CoreText::translate("WaveCapture", "传感器提前关闭了连接").Str()
            : CoreText::translate("WaveCapture", WaveCaptureEndText(summary.end)).Str();
    switch (summary.end) {
        case WaveCaptureEnd::ConnectFailed:
        case WaveCaptureEnd::SendFailed:
            return CoreText::translate("WaveCapture", "波形采集失败：%1，未采集到数据")
                .With({reason});
        default:
            break;
    }
    const std::string expected = std::to_string(summary.expected);
    if (summary.held == 0)
        return CoreText::translate("WaveCapture",
                                   "波形采集失败：%1，未收到完整的数据包（应为 %2 点）")
            .With({reason, expected});
    return CoreText::translate("WaveCapture", "波形采集提前结束：%1，已采集 %2 点，应为 %3 点")
        .With({reason, std::to_string(summary.held), expected});
}

}  // namespace orsan
