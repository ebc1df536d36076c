#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "WaveProtocol.h"

namespace orsan {

// What one drain takes out of the shared buffer.
struct WaveDrain {
    std::vector<float> samples;  // X, Y, Z interleaved, whole samples only
    float sampleRate = kWaveResetSampleRate;
    bool running = false;  // the thread's state at the moment of the drain
    size_t SampleCount() const { return samples.size() / 3; }
};

// Shared by the capture thread and its reader. The buffer holds a whole
// capture, so a slow reader loses nothing; samples beyond the per-axis limit
// are dropped. Every access goes through one mutex.
class WaveCaptureState {
public:
    explicit WaveCaptureState(size_t maxSamplesPerAxis = kWaveMaxSamplesPerAxis);

    // Before each capture: empty buffer, rate 26666.0, not running.
    void Reset();

    // Capture thread: appends one packet's sample block (116 samples, little-
    // endian floats) and records the packet's rate. Returns the number of
    // samples kept (fewer when the limit is reached).
    size_t AppendBlock(const uint8_t* block, float sampleRate);

    void SetRunning(bool running);
    bool Running() const;

    // Reader: everything appended since the last drain, the last rate and the
    // running flag, taken together so that "nothing new and not running"
    // really means the capture is over and fully drained.
    WaveDrain Drain();

    size_t SamplesAccepted() const;
    size_t SamplesDropped() const;

private:
    mutable std::mutex mutex_;
    const size_t maxSamples_;
    std::vector<float> pending_;
    float sampleRate_ = kWaveResetSampleRate;
    bool running_ = false;
    size_t accepted_ = 0;
    size_t dropped_ = 0;
};

}  // namespace orsan
