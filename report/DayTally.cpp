#include "DayTally.h"

#include <algorithm>

namespace orsan {

namespace {

// Curve indexes of T_Shell, Vel_X, Vel_Y and Vel_Z.
constexpr std::array<int, 4> kQuantityCurves = {0, 4, 5, 6};

void Note(QuantityStats& stats, double value) {
    if (std::isnan(value)) return;
    stats.min = stats.count == 0 ? value : std::min(stats.min, value);
    stats.max = stats.count == 0 ? value : std::max(stats.max, value);
    stats.sum += value;
    ++stats.count;
}

}  // namespace

DayTally::DayTally(qint64 fromMs, qint64 toMs, const ZoneThresholds& zones)
    : fromMs_(fromMs), toMs_(toMs), zones_(zones) {}

double DayStatistics::RecordedSeconds() const {
    qint64 ms = 0;
    for (const TimeSpan& span : recorded) ms += span.toMs - span.fromMs;
    return double(ms) / 1000.0;
}

double DayStatistics::NoFreshSeconds() const {
    return std::max(0.0, RecordedSeconds() - ZonedSeconds());
}

double DayStatistics::UnrecordedSeconds(double daySeconds) const {
    return std::max(0.0, daySeconds - RecordedSeconds());
}

Coverage DayStatistics::At(qint64 ms) const {
    const auto within = [ms](const std::vector<TimeSpan>& spans) {
        const auto after =
            std::upper_bound(spans.begin(), spans.end(), ms,
                             [](qint64 t, const TimeSpan& s) { return t < s.fromMs; });
        return after != spans.begin() && ms <= std::prev(after)->toMs;
    };
    if (within(fresh)) return Coverage::Fresh;
    return within(recorded) ? Coverage::NoFreshReading : Coverage::Unrecorded;
}

bool DayTally::Stretches::Add(qint64 ms) {
    if (first && ms <= last) return false;
    if (!first)
        first = ms;
    else if (ms - last > qint64(kShortestGapSeconds * 1000.0))
        longOnes.push_back({last, ms});
    last = ms;
    return true;
}

std::vector<TimeSpan> DayTally::Stretches::Covered(double gapMs, qint64 fromMs, qint64 toMs) const {
    std::vector<TimeSpan> spans;
    if (!first) return spans;
    const auto close = [&](qint64 from, qint64 to) {
        from = std::max(from, fromMs);
        to = std::min(to, toMs);
        if (to > from) spans.push_back({from, to});
    };
    qint64 start = *first;
    for (const TimeSpan& stretch : longOnes) {
        if (double(stretch.toMs - stretch.fromMs) <= gapMs) continue;
        close(start, stretch.fromMs);
        start = stretch.toMs;
    }
    close(start, last);
    return spans;
}

void DayTally::Add(qint64 timeMs, bool fresh, const std::array<float, kCurveCount>& values) {
    const bool inDay = timeMs >= fromMs_ && timeMs < toMs_;
    if (inDay) ++stats_.rows;
    rowStretches_.Add(timeMs);
    // The overall velocity of the reading; NaN when no axis has a value.
    float overall = std::numeric_limits<float>::quiet_NaN();
    for (int curve : {4, 5, 6})
        if (!std::isnan(values[size_t(curve)]))
            overall = std::isnan(overall) ? values[size_t(curve)]
                                          : std::max(overall, values[size_t(curve)]);
    if (!fresh || std::isnan(overall)) return;
    if (inDay) {
        ++stats_.freshRows;
        for (size_t q = 0; q < kQuantityCurves.size(); ++q)
            Note(stats_.quantities[q], values[size_t(kQuantityCurves[q])]);
        Note(stats_.quantities[size_t(DayQuantity::Overall)], overall);
    }
    // A row stamped before the last reading (the clock was set back) starts
    // no stretch and moves nothing back, so no time counts twice.
    if (!freshStretches_.Add(timeMs)) return;
    if (lastFresh_) {
        const qint64 inside = std::min(timeMs, toMs_) - std::max(lastFresh_->first, fromMs_);
        if (inside > 0) {
            const int zone = char(lastFresh_->second) - 'A';
            auto [slot, added] = stretches_.try_emplace(timeMs - lastFresh_->first);
            if (added) slot->second.fill(0);
            slot->second[size_t(zone)] += inside;
        }
    }
    lastFresh_ = std::make_pair(timeMs, GradeVelocity(overall, zones_));
}

DayStatistics DayTally::Result(double gapSeconds) const {
    gapSeconds = std::max(gapSeconds, kShortestGapSeconds);
    DayStatistics result = stats_;
    const double gapMs = gapSeconds * 1000.0;
    result.recorded = rowStretches_.Covered(gapMs, fromMs_, toMs_);
    result.fresh = freshStretches_.Covered(gapMs, fromMs_, toMs_);
    for (const auto& [length, inside] : stretches_) {
        if (double(length) > gapSeconds * 1000.0) break;
        for (int z = 0; z < kZoneCount; ++z)
            result.zoneSeconds[size_t(z)] += double(inside[size_t(z)]) / 1000.0;
    }
    return result;
}

}  // namespace orsan
