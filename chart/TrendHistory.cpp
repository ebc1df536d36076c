#include "TrendHistory.h"

#include <algorithm>

namespace orsan {

TrendHistory::TrendHistory() : samples_(kCapacity) {}

void TrendHistory::Append(const SensorSample& sample) {
    if (count_ < kCapacity) {
        int slot = head_ + count_;
        if (slot >= kCapacity) slot -= kCapacity;
        samples_[slot] = sample;
        ++count_;
        return;
    }
    samples_[head_] = sample;  // the oldest is dropped
    head_ = head_ + 1 == kCapacity ? 0 : head_ + 1;
}

void TrendHistory::Clear() {
    head_ = 0;
    count_ = 0;
}

int TrendHistory::CopyTo(SensorSample* dest) const {
    const int firstRun = std::min(count_, kCapacity - head_);
    std::copy_n(samples_.begin() + head_, firstRun, dest);
    std::copy_n(samples_.begin(), count_ - firstRun, dest + firstRun);
    return count_;
}

}  // namespace orsan
