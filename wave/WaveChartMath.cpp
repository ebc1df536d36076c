#include "WaveChartMath.h"

#include <array>

#include "WaveProtocol.h"

namespace orsan {

ChartLayout ChartLayout::Compute(int width, int height) {
    ChartLayout layout;
    layout.width = width;
    layout.height = height;
    layout.rowStep = (height - 60) / 10;
    layout.columnStep = (width - 120) / 10;
    ChartRect& plot = layout.plot;
    plot = {60, 30, 60 + 10 * layout.columnStep, 30 + 10 * layout.rowStep};
    layout.widenBox = {plot.right + 10, 30, plot.right + 27, 47};
    layout.narrowBox = {plot.right + 10, plot.bottom - 17, plot.right + 27, plot.bottom};
    return layout;
}

static_assert(kWaveMaxSeconds * size_t(kWaveWindowSamples) <= kWaveMaxSamplesPerAxis,
              "every second the slider offers lies within the sample arrays");

int CapturedSeconds(size_t samples) {
    const size_t counted = samples > kWaveSamplesPerPacket ? samples - kWaveSamplesPerPacket : 0;
    const size_t seconds = (counted + kWaveWindowSamples - 1) / kWaveWindowSamples;
    return int(std::clamp<size_t>(seconds, 1, kWaveMaxSeconds));
}

namespace {

constexpr std::array<float, 20> kLadder = {0.25f, 0.5f, 1,   2,   5,   10,  20,  50,  100, 150,
                                           200,   250,  300, 400, 500, 600, 700, 800, 900, 1000};

float WithSign(float magnitude, float v) {
    return v > 0 ? magnitude : -magnitude;
}

}  // namespace

float WidenLimit(float v) {
    const float a = std::fabs(v);
    for (float step : kLadder)
        if (step > a) return WithSign(step, v);
    return WithSign(kLadder.back(), v);
}

float NarrowLimit(float v) {
    const float a = std::fabs(v);
    for (auto it = kLadder.rbegin(); it != kLadder.rend(); ++it)
        if (*it < a) return WithSign(*it, v);
    return WithSign(kLadder.front(), v);
}

std::string FormatAxisLabel(float value, float step) {
    if (std::fabs(value) < 0.00001f) return "0";
    const float s = std::fabs(step);
    const char* format = s > 10 ? "%1.0f" : s > 1 ? "%1.1f" : s > 0.01f ? "%1.2f" : "%1.3f";
    return Printf(format, double(value));
}

std::string FormatCursorValue(float value) {
    const float a = std::fabs(value);
    const char* format = a > 10       ? "%1.1f "
                         : a > 0.01f  ? "%1.2f "
                         : a > 0.001f ? "%1.3f "
                                      : "%1.4f ";
    return Printf(format, double(value));
}

DragOutcome ApplyDrag(const ChartLayout& layout, ChartView& view, int x0, int y0, int x1, int y1) {
    const int dx = std::abs(x0 - x1);
    const int dy = std::abs(y0 - y1);
    if (dx <= 20) {
        if (dx < 5 && dy < 5) {
            view.cursorX = x0 - 2;
            return DragOutcome::Click;
        }
        return DragOutcome::None;
    }
    if (dy <= 20) return DragOutcome::None;
    if (x1 < x0) {
        view.x = view.homeX;
        view.y = view.homeY;
        return DragOutcome::Reset;
    }
    const ChartRect& plot = layout.plot;
    const float fx0 = float(x0 - plot.left) / float(plot.Width());
    const float fx1 = float(x1 - plot.left) / float(plot.Width());
    const float fy0 = float(y0 - plot.top) / float(plot.Height());
    const float fy1 = float(y1 - plot.top) / float(plot.Height());
    const AxisRange oldX = view.x;
    const AxisRange oldY = view.y;
    view.x = {oldX.min + oldX.Span() * fx0, oldX.min + oldX.Span() * fx1};
    view.y = {oldY.max - oldY.Span() * fy1, oldY.max - oldY.Span() * fy0};
    return DragOutcome::Zoom;
}

BoxOutcome ApplyBoxRelease(const ChartLayout& layout, ChartView& view, int x, int y) {
    BoxOutcome outcome = BoxOutcome::None;
    if (layout.widenBox.Contains(x, y)) {
        view.homeY = {WidenLimit(view.homeY.min * 1.25f), WidenLimit(view.homeY.max * 1.25f)};
        outcome = BoxOutcome::Widened;
    } else if (layout.narrowBox.Contains(x, y)) {
        view.homeY = {NarrowLimit(view.homeY.min / 1.25f), NarrowLimit(view.homeY.max / 1.25f)};
        if (view.homeY.max < 0.01f) view.homeY.max = 0.01f;
        outcome = BoxOutcome::Narrowed;
    } else {
        return outcome;
    }
    view.x = view.homeX;
    view.y = view.homeY;
    return outcome;
}

CursorReadout ComputeCursor(const ChartLayout& layout, const ChartView& view, float interval,
                            int sampleCount, float origin) {
    CursorReadout readout;
    const ChartRect& plot = layout.plot;
    if (sampleCount <= 2 || plot.Width() <= 0 || view.x.Span() == 0 || !(interval > 0))
        return readout;
    const float t =
        float(view.cursorX - plot.left) * view.x.Span() / float(plot.Width()) + view.x.min;
    const float kF = std::trunc((t - origin) / interval);
    if (!(kF >= 0) || kF >= float(sampleCount)) return readout;
    readout.sample = int(kF);
    readout.time = origin + float(readout.sample) * interval;
    const float columnF = std::trunc(
        float(plot.Width()) * (readout.time - view.x.min) / view.x.Span() + float(plot.left));
    if (!(columnF >= float(plot.left)) || columnF > float(plot.right)) return readout;
    readout.column = int(columnF);
    readout.visible = true;
    return readout;
}

int ValueRow(const ChartLayout& layout, const AxisRange& y, float v) {
    const ChartRect& plot = layout.plot;
    return ClampTrunc(float(plot.bottom) - (v - y.min) * float(plot.Height()) / y.Span(), -1000000,
                      1000000);
}

}  // namespace orsan
