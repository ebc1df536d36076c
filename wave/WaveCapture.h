#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
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
    // A sensor that is still sending this long after the requested duration
    // is cut off: a capture ends even against a peer that never stops.
    int overrunGraceMs = 2000;
    // Per-receive diagnostics; on only with ORSAN_TRACE=wave.
    TraceSink trace = TraceTo(TraceArea::Wave);
    // The socket calls to make; never null. Tests may play the sensor here.
    SocketCalls* calls = &SystemSocketCalls();
};

enum class WaveCaptureEnd {
    None,             // no capture has ended yet
    Completed,        // the sensor closed the connection after a whole packet
    ClosedMidPacket,  // the sensor closed the connection inside a packet
    ConnectFailed,    // no connection within the wait
    SendFailed,       // the request could not be sent
    ReceiveError,     // a receive failed; treated like the end of the stream
    Stalled,          // nothing arrived for stallLimitMs
    Stopped,          // Stop() was called
    Overran,          // still sending after the duration and its grace: cut off
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
    // Bytes of an unfinished packet thrown away at the end.
    size_t BytesDiscarded() const { return discarded_.load(); }
    int RequestedSeconds() const { return seconds_.load(); }
    const WaveCaptureOptions& Options() const { return options_; }

private:
    void Run(std::stop_token stop, uint32_t address, int durationSeconds, int wakeFd);
    void Finish(WaveCaptureEnd end);
    void Trace(const std::string& line) const;

    WaveCaptureOptions options_;
    WaveCaptureState state_;
    std::atomic<WaveCaptureEnd> end_{WaveCaptureEnd::None};
    std::atomic<uint64_t> bytes_{0};
    std::atomic<size_t> discarded_{0};
    std::atomic<int> seconds_{0};
    struct Wake;
    std::unique_ptr<Wake> wake_;
    std::jthread thread_;  // last member: joined before the rest goes
};

// The ending in the source language; shown through
// CoreText::translate("WaveCapture", ...).
const char* WaveCaptureEndText(WaveCaptureEnd end);

// Whole packets' worth of samples that `seconds` at `sampleRate` must bring.
// Whole packets only, so a sensor rounding the last packet either way passes.
size_t ExpectedWaveSamples(int seconds, float sampleRate);

// What a finished capture holds against what was asked.
struct WaveCaptureSummary {
    WaveCaptureEnd end = WaveCaptureEnd::None;
    size_t held = 0;            // samples per axis kept
    size_t expected = 0;        // ExpectedWaveSamples of the request
    size_t dropped = 0;         // samples that arrived but found no room
    size_t discardedBytes = 0;  // of an unfinished last packet

    // Ended early: nothing came, the sensor stalled, failed or closed inside
    // a packet, or fewer samples than the duration asks for.
    bool CutShort() const;
};

// One line for the operator: empty for a capture that holds what was asked;
// otherwise the reason and "已采集 N 点，应为 M 点".
std::string WaveCaptureProblemText(const WaveCaptureSummary& summary);

}  // namespace orsan
