#pragma once

#include <vector>

#include "SensorSample.h"

namespace orsan {

// The last 1800 samples of one sensor, oldest first. A ring buffer: adding
// to a full history overwrites the oldest entry instead of moving the rest.
class TrendHistory {
public:
    static constexpr int kCapacity = 1800;

    TrendHistory();

    void Append(const SensorSample& sample);
    void Clear();

    int Count() const { return count_; }
    bool IsFull() const { return count_ == kCapacity; }

    // Sample i counted from the oldest (0 <= i < Count()).
    const SensorSample& At(int i) const {
        int slot = head_ + i;
        if (slot >= kCapacity) slot -= kCapacity;
        return samples_[slot];
    }

    // Copies the held samples, oldest first, into dest (room for Count()
    // entries; callers keep kCapacity) and returns Count().
    int CopyTo(SensorSample* dest) const;

private:
    std::vector<SensorSample> samples_;
    int head_ = 0;  // slot of the oldest sample
    int count_ = 0;
};

// A sample's place on the time axis: whole seconds plus its milliseconds,
// so samples taken within one second still spread out.
inline double SampleTimePosition(const SensorSample& sample) {
    return static_cast<double>(sample.time) + sample.milliseconds / 1000.0;
}

}  // namespace orsan
