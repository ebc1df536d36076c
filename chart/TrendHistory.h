#pragma once

#include <cstdint>
#include <vector>

#include "SensorSample.h"

namespace orsan {

// A sample with whether it was measured, as a recorded row gives it back.
struct TrendPoint {
    SensorSample sample;
    bool measured = true;
};

// The last 1800 samples of one sensor, oldest first. A ring buffer: adding
// to a full history overwrites the oldest entry instead of moving the rest.
// Each sample carries whether it was measured: one taken while its sensor
// did not answer holds old values and breaks the curve. A sample after a
// gap in time (the station was off) starts a new curve too.
class TrendHistory {
public:
    static constexpr int kCapacity = 1800;

    TrendHistory();

    void Append(const SensorSample& sample, bool measured = true, bool afterGap = false);
    void Clear();

    int Count() const { return count_; }
    bool IsFull() const { return count_ == kCapacity; }

    // Sample i counted from the oldest (0 <= i < Count()).
    const SensorSample& At(int i) const { return samples_[Slot(i)]; }
    bool IsMeasured(int i) const { return (flags_[Slot(i)] & kMeasured) != 0; }
    // Nothing joins sample i to the one before it.
    bool IsAfterGap(int i) const { return (flags_[Slot(i)] & kAfterGap) != 0; }

    // Copies the held samples, oldest first, into dest (room for Count()
    // entries; callers keep kCapacity) and returns Count().
    int CopyTo(SensorSample* dest) const;

private:
    int Slot(int i) const {
        const int slot = head_ + i;
        return slot >= kCapacity ? slot - kCapacity : slot;
    }

    std::vector<SensorSample> samples_;
    static constexpr uint8_t kMeasured = 1;
    static constexpr uint8_t kAfterGap = 2;

    std::vector<uint8_t> flags_;
    int head_ = 0;  // slot of the oldest sample
    int count_ = 0;
};

// A sample's place on the time axis: whole seconds plus its milliseconds,
// so samples taken within one second still spread out.
inline double SampleTimePosition(const SensorSample& sample) {
    return static_cast<double>(sample.time) + sample.milliseconds / 1000.0;
}

}  // namespace orsan
