#include "TrendGeometry.h"

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
