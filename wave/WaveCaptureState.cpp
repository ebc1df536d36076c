#include "WaveCaptureState.h"

#include <algorithm>

namespace orsan {

WaveCaptureState::WaveCaptureState(size_t maxSamplesPerAxis) : maxSamples_(maxSamplesPerAxis) {}

void WaveCaptureState::Reset() {
    std::lock_guard lock(mutex_);
    pending_.clear();
    sampleRate_ = kWaveResetSampleRate;
    running_ = false;
    accepted_ = 0;
    dropped_ = 0;
}

size_t WaveCaptureState::AppendBlock(const uint8_t* block, float sampleRate) {
    // Decode outside the lock; the critical section is a short copy.
    float decoded[kWaveBlockFloats];
    for (size_t i = 0; i < kWaveBlockFloats; ++i) decoded[i] = ReadLeFloat(block + 4 * i);

    std::lock_guard lock(mutex_);
    sampleRate_ = sampleRate;
    const size_t room = maxSamples_ - std::min(maxSamples_, accepted_);
    const size_t keep = std::min(room, kWaveSamplesPerPacket);
    pending_.insert(pending_.end(), decoded, decoded + 3 * keep);
    accepted_ += keep;
    dropped_ += kWaveSamplesPerPacket - keep;
    return keep;
}

void WaveCaptureState::SetRunning(bool running) {
    std::lock_guard lock(mutex_);
    running_ = running;
}

bool WaveCaptureState::Running() const {
    std::lock_guard lock(mutex_);
    return running_;
}

WaveDrain WaveCaptureState::Drain() {
    WaveDrain drain;
    std::lock_guard lock(mutex_);
    drain.samples.swap(pending_);
    drain.sampleRate = sampleRate_;
    drain.running = running_;
    return drain;
}

size_t WaveCaptureState::SamplesAccepted() const {
    std::lock_guard lock(mutex_);
    return accepted_;
}

size_t WaveCaptureState::SamplesDropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

}  // namespace orsan
