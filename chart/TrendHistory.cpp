#include "TrendHistory.h"

#include <algorithm>

namespace orsan {

TrendHistory::TrendHistory() : samples_(kCapacity), flags_(kCapacity, 0) {}

void TrendHistory::Append(const SensorSample& sample, bool measured, bool afterGap) {
    const uint8_t flags = uint8_t((measured ? kMeasured : 0) | (afterGap ? kAfterGap : 0));
    if (count_ < kCapacity) {
        const int slot = Slot(count_);
        samples_[slot] = sample;
        flags_[slot] = flags;
        ++count_;
        return;
    }
    samples_[head_] = sample;  // the oldest is dropped
    flags_[head_] = flags;
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
