#include "Freshness.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace orsan {

namespace {
constexpr int64_t kMinFreshnessMs = 2000;
}

std::array<SensorStatus, kSensorCount> PollerStatuses(const SensorPoller& poller) {
    std::array<SensorStatus, kSensorCount> statuses;
    for (int n = 1; n <= kSensorCount; ++n) statuses[size_t(n - 1)] = poller.GetStatus(n);
    return statuses;
}

int64_t SteadyMsNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int64_t FreshnessLimitMs(double recordIntervalSeconds) {
    if (!std::isfinite(recordIntervalSeconds) || recordIntervalSeconds <= 0) return kMinFreshnessMs;
    const double twice = std::min(2000.0 * recordIntervalSeconds, 1e15);
    return std::max(kMinFreshnessMs, int64_t(twice));
}

int64_t LongestReadGapMs(int answerLimitMs) {
    return kCyclePauseMs + int64_t(kSensorCount + 1) * kVisitPauseMs + 3 * int64_t(answerLimitMs);
}

bool IsFreshReading(const SensorStatus& status, int64_t steadyNowMs, int64_t limitMs) {
    if (!status.record.CommOk || status.paused || status.lastGoodReadSteadyMs == 0) return false;
    return steadyNowMs - status.lastGoodReadSteadyMs <=
           std::max(limitMs, LongestReadGapMs(status.answerLimitMs));
}

ReadingSnapshot SnapshotOf(const std::array<SensorStatus, kSensorCount>& statuses,
                           int64_t steadyNowMs, int64_t limitMs) {
    ReadingSnapshot snapshot;
    for (size_t i = 0; i < statuses.size(); ++i) {
        FillLiveValues(snapshot.values[i], statuses[i].record);
        snapshot.fresh[i] = IsFreshReading(statuses[i], steadyNowMs, limitMs);
    }
    return snapshot;
}

ReadingSnapshot TakeReadingSnapshot(const SensorPoller& poller, double recordIntervalSeconds) {
    return SnapshotOf(PollerStatuses(poller), SteadyMsNow(),
                      FreshnessLimitMs(recordIntervalSeconds));
}

}  // namespace orsan
