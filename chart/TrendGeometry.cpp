#include "TrendGeometry.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace orsan {

TrendLayout ComputeTrendLayout(int width, int height) {
    TrendLayout layout;
    layout.width = width;
    layout.height = height;
    layout.gridStepY = (height - 80) / 10;
    layout.gridStepX = (width - 275) / 25;
    layout.plotRect.right = width - 75;
    layout.plotRect.left = layout.plotRect.right - 25 * layout.gridStepX;
    layout.plotRect.top = 46;
    layout.plotRect.bottom = 46 + 10 * layout.gridStepY;
    layout.clientRect = EdgeRect{0, 0, width, height};
    return layout;
}

int AxisOfCurve(int curve) {
    return curve == 0 ? 0 : 1 + (curve - 1) / 3;
}

float AxisLower(const TrendLimits& limits, int axis) {
    return axis == 0 ? limits.TMin : 0.0f;
}

float AxisUpper(const TrendLimits& limits, int axis) {
    switch (axis) {
        case 0:
            return limits.TMax;
        case 1:
            return limits.AMax;
        case 2:
            return limits.VMax;
        default:
            return limits.DMax;
    }
}

TrendTimeRange ComputeTimeRange(const TrendHistory& history, int64_t now) {
    TrendTimeRange range;
    if (history.Count() < 2) {
        range.startTime = static_cast<int32_t>(now);
        range.endTime = range.startTime + 600;
        range.start = range.startTime;
        range.end = range.endTime;
        return range;
    }
    const SensorSample& first = history.At(0);
    const SensorSample& last = history.At(history.Count() - 1);
    range.startTime = first.time;
    range.endTime = last.time;
    range.start = SampleTimePosition(first);
    range.end = SampleTimePosition(last);
    return range;
}

int TimeLabelStep(const TrendTimeRange& range) {
    const double span = static_cast<double>(range.endTime) - range.startTime;
    return static_cast<int>(std::ceil(span / 5.0));
}

TimeTicks RoundTimeTicks(double start, double end, int most) {
    static constexpr int64_t kDay = 86400;
    static constexpr int64_t kSteps[] = {1,     2,     5,     10,   15,       20,      30,   60,
                                         120,   300,   600,   900,  1200,     1800,    3600, 7200,
                                         10800, 21600, 43200, kDay, 2 * kDay, 7 * kDay};
    TimeTicks ticks;
    const double span = end - start;
    if (!(span > 0) || most < 2) return ticks;
    ticks.step = 7 * kDay * int64_t(std::ceil(span / (7.0 * kDay * (most - 1))));
    for (const int64_t step : kSteps)
        if (span / double(step) <= most - 1) {
            ticks.step = step;
            break;
        }
    const auto first = int64_t(std::ceil(start));
    if (ticks.step < kDay) {
        // Round on the local clock: a zone half an hour off UTC still ticks
        // on the hour.
        const int64_t offset = QDateTime::fromSecsSinceEpoch(first).offsetFromUtc();
        const int64_t local = first + offset;
        int64_t aligned = local - ((local % ticks.step) + ticks.step) % ticks.step;
        if (aligned < local) aligned += ticks.step;
        for (int64_t t = aligned - offset; t <= end; t += ticks.step) ticks.times.push_back(t);
        return ticks;
    }
    // Whole days from local midnight, so a change of the clocks keeps them there.
    const int64_t days = ticks.step / kDay;
    QDate date = QDateTime::fromSecsSinceEpoch(first).date();
    if (QDateTime(date, QTime(0, 0)).toSecsSinceEpoch() < first) date = date.addDays(1);
    date = date.addDays((days - date.toJulianDay() % days) % days);  // julian day 0 is a Monday
    for (; QDateTime(date, QTime(0, 0)).toSecsSinceEpoch() <= end; date = date.addDays(days))
        ticks.times.push_back(QDateTime(date, QTime(0, 0)).toSecsSinceEpoch());
    return ticks;
}

TimeColumns::TimeColumns(const TrendTimeRange& range, const EdgeRect& plot)
    : start_(range.start), left_(plot.left), right_(plot.right) {
    const double span = range.end - range.start;
    flat_ = span == 0;
    if (!flat_) scale_ = plot.Width() / span;
}

ValueRows::ValueRows(float lower, float upper, const EdgeRect& plot)
    : lower_(lower), top_(plot.top), bottom_(plot.bottom), flat_(upper == lower) {
    if (!flat_) scale_ = plot.Height() / static_cast<double>(upper - lower);
}

int TimeToX(double position, const TrendTimeRange& range, const EdgeRect& plot) {
    return TimeColumns(range, plot)(position);
}

int ValueToY(float value, float lower, float upper, const EdgeRect& plot) {
    return ValueRows(lower, upper, plot)(value);
}

int NearestSampleIndex(const TrendHistory& history, const TrendTimeRange& range,
                       const EdgeRect& plot, int cursorX) {
    const int count = history.Count();
    if (count < 3 || plot.Width() <= 0) return -1;
    const double secondsPerPixel = (range.end - range.start) / plot.Width();
    const double target = (cursorX - plot.left) * secondsPerPixel + range.start;
    int best = 0;
    double bestDistance = std::fabs(SampleTimePosition(history.At(0)) - target);
    for (int i = 1; i < count; ++i) {
        const double distance = std::fabs(SampleTimePosition(history.At(i)) - target);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

ReadoutLineBox ReadoutBox(const EdgeRect& plot, int cursorX, int line) {
    ReadoutLineBox result;
    result.box.top = plot.top + 2 + 20 * line;
    result.box.bottom = plot.top + 20 + 20 * line;
    result.alignLeft = plot.left + plot.Width() / 2.0 > cursorX;
    if (result.alignLeft) {
        result.box.left = cursorX + 5;
        result.box.right = plot.right;
    } else {
        result.box.left = plot.left;
        result.box.right = cursorX - 5;
    }
    return result;
}

}  // namespace orsan
