#pragma once

#include <QPoint>
#include <QRect>
#include <cmath>
#include <cstdint>
#include <vector>

#include "TrendHistory.h"

namespace orsan {

// A rectangle by its edges, right and bottom exclusive, as the chart's
// arithmetic uses them.
struct EdgeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(QPoint p) const {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }
    QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
    bool operator==(const EdgeRect&) const = default;
};

// Pixel layout of the chart: 25 x 10 grid divisions, 200+ pixels on the
// left for the value axes, 75 on the right for the legend, 46 on top for
// the titles, the rest below for the time labels.
struct TrendLayout {
    int width = 300;
    int height = 400;
    int gridStepX = 10;
    int gridStepY = 10;
    EdgeRect clientRect;
    EdgeRect plotRect;
};

// The layout for a client area (at least 275 x 80 pixels).
TrendLayout ComputeTrendLayout(int width, int height);

// Axis limits; the acceleration, velocity and displacement axes start at 0.
struct TrendLimits {
    float TMin = 0;
    float TMax = 100;
    float AMax = 10;
    float VMax = 10;
    float DMax = 10;
    bool operator==(const TrendLimits&) const = default;
};

// The value axis (0 temperature, 1 acceleration, 2 velocity, 3 displacement)
// of a curve index, and an axis' lower and upper limits.
int AxisOfCurve(int curve);
float AxisLower(const TrendLimits& limits, int axis);
float AxisUpper(const TrendLimits& limits, int axis);

// The time axis of one render. startTime/endTime (whole seconds) label it;
// start/end (seconds with milliseconds) place the samples on it.
struct TrendTimeRange {
    int32_t startTime = 0;
    int32_t endTime = 100;
    double start = 0;
    double end = 100;
};

// Under two samples: 600 seconds from now; otherwise the span from the
// oldest to the newest sample.
TrendTimeRange ComputeTimeRange(const TrendHistory& history, int64_t now);

// Seconds between the six time labels: the span / 5, rounded up.
int TimeLabelStep(const TrendTimeRange& range);

// The history's time ticks between start and end (seconds since the epoch):
// at most `most` of them, on round local times, a step of 1, 2, 5, 10, 15,
// 20 or 30 seconds or minutes, 1, 2, 3, 6 or 12 hours, or whole days from
// midnight (7 days from a Monday), the smallest step that needs no more.
struct TimeTicks {
    int64_t step = 0;            // seconds
    std::vector<int64_t> times;  // seconds since the epoch, ascending
};
TimeTicks RoundTimeTicks(double start, double end, int most);

// Truncates towards zero after clamping to low..high, so huge or NaN values
// never reach an int conversion.
inline int ClampToPixel(double value, int low, int high, int nanValue) {
    if (std::isnan(value)) return nanValue;
    if (value <= low) return low;
    if (value >= high) return high;
    return static_cast<int>(value);
}

// Pixel column of a time position, clamped to the plot; the plot's left
// edge when the range has no length. The scale is worked out once, so a
// render maps its samples without a division each.
class TimeColumns {
public:
    TimeColumns(const TrendTimeRange& range, const EdgeRect& plot);
    int operator()(double position) const {
        if (flat_) return left_;
        return ClampToPixel((position - start_) * scale_ + left_, left_, right_, left_);
    }

private:
    double start_;
    double scale_ = 0;
    int left_;
    int right_;
    bool flat_;
};

// Pixel row of a value on an axis from lower to upper, clamped to the plot.
// Equal limits put every value on the top edge; a NaN sits on the bottom.
class ValueRows {
public:
    ValueRows(float lower, float upper, const EdgeRect& plot);
    int operator()(float value) const {
        if (flat_) return top_;
        return ClampToPixel(bottom_ - (static_cast<double>(value) - lower_) * scale_, top_, bottom_,
                            bottom_);
    }

private:
    float lower_;
    double scale_ = 0;
    int top_;
    int bottom_;
    bool flat_;
};

// The points of one polyline for Qt's one-pixel aliased pen, fewer than
// given but drawn as exactly the same pixels: most of 1800 samples share
// their pixel with a neighbour or lie between two on one pixel column. Left
// out are a repeat of the last point and a point between its neighbours on
// one column, except at the end: Qt draws the end cap by the last segment
// as given, and the first by the first segment (a repeat there too). On a
// row the same merge would change Qt's pixels.
class PolylinePoints {
public:
    explicit PolylinePoints(QPoint* storage) : points_(storage) {}

    void Add(QPoint p) {
        previous_ = last_;
        last_ = p;
        if (length_ > 1) {
            const QPoint before = points_[length_ - 2];
            const QPoint last = points_[length_ - 1];
            if (last == p) return;
            if (before.x() == last.x() && last.x() == p.x() && before.y() != last.y() &&
                (last.y() > before.y()) == (p.y() > last.y())) {
                points_[length_ - 1] = p;
                return;
            }
        }
        points_[length_++] = p;
    }

    // The count of points to draw from the storage (room for every point
    // added).
    int Finish() {
        if (length_ > 1 && points_[length_ - 2] != previous_) {
            points_[length_ - 1] = previous_;
            points_[length_++] = last_;
        }
        return length_;
    }

private:
    QPoint* points_;
    int length_ = 0;
    QPoint previous_;  // the last two points given
    QPoint last_;
};

// One-off forms of the two above.
int TimeToX(double position, const TrendTimeRange& range, const EdgeRect& plot);
int ValueToY(float value, float lower, float upper, const EdgeRect& plot);

// The sample nearest to the time under cursorX (the earlier one on a tie),
// or -1 when fewer than three samples are held (no curves, no readout).
int NearestSampleIndex(const TrendHistory& history, const TrendTimeRange& range,
                       const EdgeRect& plot, int cursorX);

// Box of readout line k (0..10) and its alignment: right of the cursor and
// left-aligned in the left half of the plot, left of it and right-aligned
// otherwise.
struct ReadoutLineBox {
    EdgeRect box;
    bool alignLeft = true;
};
ReadoutLineBox ReadoutBox(const EdgeRect& plot, int cursorX, int line);

}  // namespace orsan
