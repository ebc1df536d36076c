#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <thread>

#include "Diagnostics.h"
#include "SocketCalls.h"
#include "WaveCaptureState.h"
#include "WaveProtocol.h"

namespace orsan {

struct WaveCaptureOptions {
    uint16_t port = kWavePort;
    int connectWaitMs = 400;
    // A sensor that sends nothing for this long ends the capture; what
    // arrived before is kept.
    int stallLimitMs = 3000;
    // Per-receive diagnostics; on only with ORSAN_TRACE=wave.
    TraceSink trace = TraceTo(TraceArea::Wave);
    // The socket calls to make; never null. Tests may play the sensor here.
    SocketCalls* calls = &SystemSocketCalls();
};

enum class WaveCaptureEnd {
    None,           // no capture has ended yet
    Completed,      // the sensor closed the connection
    ConnectFailed,  // no connection within the wait
    SendFailed,     // the request could not be sent
    ReceiveError,   // a receive failed; treated like the end of the stream
    Stalled,        // nothing arrived for stallLimitMs
    Stopped,        // Stop() was called
};

// One capture at a time: owns the receiving thread and the state it fills.
// Stop() and the destructor wake the thread and join it, so it never outlives
// the buffer it writes into.
class WaveCapture {
public:
    explicit WaveCapture(WaveCaptureOptions options = {});
    ~WaveCapture();
    WaveCapture(const WaveCapture&) = delete;
    WaveCapture& operator=(const WaveCapture&) = delete;

    // Resets the state and starts the thread; Running() is true from here
    // until the thread ends. Returns false while a capture is still running.
    bool Start(uint32_t sensorAddress, int durationSeconds);

    // Asks the thread to end and waits for it. Samples already appended stay.
    void Stop();

    // Waits for the thread to end by itself.
    void Wait();

    bool Running() const { return state_.Running(); }
    WaveCaptureState& State() { return state_; }
    WaveCaptureEnd End() const { return end_.load(); }
    uint64_t BytesReceived() const { return bytes_.load(); }
    const WaveCaptureOptions& Options() const { return options_; }

private:
    void Run(std::stop_token stop, uint32_t address, int durationSeconds, int wakeFd);
    void Finish(WaveCaptureEnd end);
    void Trace(const std::string& line) const;

    WaveCaptureOptions options_;
    WaveCaptureState state_;
    std::atomic<WaveCaptureEnd> end_{WaveCaptureEnd::None};
    std::atomic<uint64_t> bytes_{0};
    struct Wake;
    std::unique_ptr<Wake> wake_;
    std::jthread thread_;  // last member: joined before the rest goes
};

const char* WaveCaptureEndText(WaveCaptureEnd end);

}  // namespace orsan
