#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace orsan {

// Samples in the chart's window: one second at the sensor's 26667 Hz.
inline constexpr int kWaveWindowSamples = 26667;

// Seconds of a capture of `samples` per axis the slider offers: the whole
// seconds and a partly filled last one, at least 1, at most the ten the
// sample arrays hold. The overspill of the last packet past the requested
// length (under one packet) opens no second of its own.
int CapturedSeconds(size_t samples);

// Pixel rectangle with Windows semantics: right and bottom are the edges,
// a point is inside when left <= x < right and top <= y < bottom.
struct ChartRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Geometry of the waveform chart, fixed at its first paint.
struct ChartLayout {
    int width = 0, height = 0;
    int rowStep = 0, columnStep = 0;
    ChartRect plot, widenBox, narrowBox;
    static ChartLayout Compute(int width, int height);
};

struct AxisRange {
    float min = 0, max = 1;
    float Span() const { return max - min; }
};

// The shown ranges, the ranges a reset returns to, and the readout cursor.
struct ChartView {
    AxisRange x{0, 1}, y{-1, 1};
    AxisRange homeX{0, 1}, homeY{-1, 1};
    int cursorX = 60;
};

// Acceleration range ladder of the "+" and "-" boxes; the sign of v is kept
// (+ when v > 0, - otherwise).
float WidenLimit(float v);
float NarrowLimit(float v);

// Axis label for value on an axis whose tenth is step.
std::string FormatAxisLabel(float value, float step);

// One value of the cursor readout, with its trailing blank.
std::string FormatCursorValue(float value);

enum class DragOutcome { None, Click, Zoom, Reset };

// Applies a finished drag from (x0, y0) to (x1, y1) to the view.
DragOutcome ApplyDrag(const ChartLayout& layout, ChartView& view, int x0, int y0, int x1, int y1);

enum class BoxOutcome { None, Widened, Narrowed };

// Release of a press that started on a box, at (x, y).
BoxOutcome ApplyBoxRelease(const ChartLayout& layout, ChartView& view, int x, int y);

struct CursorReadout {
    bool visible = false;
    int sample = 0;  // k
    float time = 0;  // origin + k * interval
    int column = 0;  // snapped pixel column
};

// `origin` is the time of the window's first sample (s).
CursorReadout ComputeCursor(const ChartLayout& layout, const ChartView& view, float interval,
                            int sampleCount, float origin = 0);

// Pixel row of value v on the y axis (not clamped).
int ValueRow(const ChartLayout& layout, const AxisRange& y, float v);

enum class CurveMode {
    Auto,        // per-column aggregation from two samples per column up
    EveryPoint,  // one polyline point per sample
    PerColumn,   // first, min, max and last sample of each pixel column
};

// Converts a float to int by truncation, clamped into [lo, hi]; NaN -> lo.
inline int ClampTrunc(float v, int lo, int hi) {
    if (!(v >= float(lo))) return lo;
    if (v >= float(hi)) return hi;
    return int(v);
}

// Polyline of the visible samples of one curve, each point clamped into the
// plot; x is counted from the window's first sample. PerColumn keeps, per
// pixel column, the first, lowest, highest and last sample in time order:
// the same pixels as every point, far fewer lines.
template <class Point>
void BuildCurvePoints(const float* values, int sampleCount, float interval,
                      const ChartLayout& layout, const AxisRange& x, const AxisRange& y,
                      CurveMode mode, std::vector<Point>& out) {
    out.clear();
    if (sampleCount <= 2 || !(interval > 0) || x.Span() == 0 || y.Span() == 0) return;
    const float firstF = std::trunc(x.min / interval);
    const float lastF = std::trunc(x.max / interval);
    if (!(lastF >= firstF)) return;
    const int first = ClampTrunc(firstF, 0, sampleCount - 1);
    const int last = ClampTrunc(lastF, 0, sampleCount - 1);
    const ChartRect& plot = layout.plot;
    const float xScale = float(plot.Width()) / x.Span();
    const float yScale = float(plot.Height()) / y.Span();
    const auto px = [&](int k) {
        return ClampTrunc((float(k) * interval - x.min) * xScale + float(plot.left), plot.left,
                          plot.right);
    };
    const auto py = [&](int k) {
        return ClampTrunc(float(plot.bottom) - (values[k] - y.min) * yScale, plot.top, plot.bottom);
    };
    const int count = last - first + 1;
    if (mode == CurveMode::Auto)
        mode = count >= 2 * plot.Width() ? CurveMode::PerColumn : CurveMode::EveryPoint;

    if (mode == CurveMode::EveryPoint) {
        out.reserve(size_t(count));
        for (int k = first; k <= last; ++k) out.push_back(Point(px(k), py(k)));
        return;
    }

    out.reserve(size_t(std::min(count, 4 * (plot.Width() + 1))));
    int column = px(first);
    int row = py(first);
    int firstRow = row, lowRow = row, highRow = row, lastRow = row;
    int firstK = first, lowK = first, highK = first, lastK = first;
    const auto flush = [&] {
        out.push_back(Point(column, firstRow));
        // Rows grow downwards: the lowest value has the highest row.
        int aK = lowK, aRow = lowRow, bK = highK, bRow = highRow;
        if (aK > bK) {
            std::swap(aK, bK);
            std::swap(aRow, bRow);
        }
        if (aK != firstK) out.push_back(Point(column, aRow));
        if (bK != aK && bK != firstK) out.push_back(Point(column, bRow));
        if (lastK != bK && lastK != aK && lastK != firstK) out.push_back(Point(column, lastRow));
    };
    for (int k = first + 1; k <= last; ++k) {
        const int c = px(k);
        const int r = py(k);
        if (c != column) {
            flush();
            column = c;
            firstRow = lowRow = highRow = lastRow = r;
            firstK = lowK = highK = lastK = k;
            continue;
        }
        if (r > lowRow) lowRow = r, lowK = k;
        if (r < highRow) highRow = r, highK = k;
        lastRow = r;
        lastK = k;
    }
    flush();
}

}  // namespace orsan
