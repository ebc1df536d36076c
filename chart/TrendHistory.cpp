#include "TrendHistory.h"

#include <algorithm>

namespace orsan {

TrendHistory::TrendHistory() : samples_(kCapacity), measured_(kCapacity, 0) {}

void TrendHistory::Append(const SensorSample& sample, bool measured) {
    if (count_ < kCapacity) {
        const int slot = Slot(count_);
        samples_[slot] = sample;
        measured_[slot] = measured ? 1 : 0;
        ++count_;
        return;
    }
    samples_[head_] = sample;  // the oldest is dropped
    measured_[head_] = measured ? 1 : 0;
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
