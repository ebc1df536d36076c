#include "WaveCapture.h"

#include <sys/socket.h>

#include <cerrno>

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
    for (;;) {
        if (stop.stop_requested()) {
            Trace("波形采集线程被强制终止了\n");
            return Finish(WaveCaptureEnd::Stopped);
        }
        const WaitResult ready =
            WaitUntil(calls, sock.Get(), POLLIN, wakeFd, DeadlineAfter(options_.stallLimitMs));
        if (ready == WaitResult::Woken) continue;  // the stop check above ends it
        if (ready == WaitResult::TimedOut) {
            Trace(Printf("收到数据总计%llu字节\n", (unsigned long long)total));
            Trace(Printf("%d毫秒未收到数据，波形采集线程自动终止了\n", options_.stallLimitMs));
            return Finish(WaveCaptureEnd::Stalled);
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
            return Finish(n == 0 ? WaveCaptureEnd::Completed : WaveCaptureEnd::ReceiveError);
        }
        assembler.Feed(buffer, size_t(n), onPacket);
        total += uint64_t(n);
        bytes_ = total;
    }
}

const char* WaveCaptureEndText(WaveCaptureEnd end) {
    switch (end) {
        case WaveCaptureEnd::None:
            return "未结束";
        case WaveCaptureEnd::Completed:
            return "采集完成";
        case WaveCaptureEnd::ConnectFailed:
            return "连接传感器失败";
        case WaveCaptureEnd::SendFailed:
            return "发送采集命令失败";
        case WaveCaptureEnd::ReceiveError:
            return "接收数据出错";
        case WaveCaptureEnd::Stalled:
            return "传感器停止发送数据";
        case WaveCaptureEnd::Stopped:
            return "采集被中止";
    }
    return "";
}

}  // namespace orsan
