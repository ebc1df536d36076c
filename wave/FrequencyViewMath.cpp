#include "FrequencyViewMath.h"

#include <algorithm>
#include <cmath>

#include "WaveProtocol.h"

namespace orsan {

namespace {

constexpr int kClickPixels = 3;
constexpr double kMinZoomLines = 8;
// log10 of a zero line: below any axis, finite for the pixel maths.
constexpr double kLogFloor = -30;

double LineSpacing(const SpectrumTriple& spectra) {
    for (const AmplitudeSpectrum* s : spectra)
        if (s && !s->amplitude.empty()) return s->lineSpacing;
    return 0;
}

// 1, 2 or 5 times a power of ten, at least v.
double RoundUp(double v) {
    const double decade = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * decade >= v * (1 - 1e-12)) return m * decade;
    return 10 * decade;
}

}  // namespace

ChartRect SpectrumPlotRect(int width, int height) {
    return {62, 34, std::max(63, width - 24), std::max(35, height - 24)};
}

std::vector<double> NiceTicks(const SpectrumRange& range, int count) {
    std::vector<double> ticks;
    if (!(range.Span() > 0) || count < 1) return ticks;
    const double step = RoundUp(range.Span() / count);
    for (double v = std::ceil(range.min / step - 1e-9) * step; v <= range.max + 1e-9 * step;
         v += step)
        ticks.push_back(std::abs(v) < 1e-9 * step ? 0.0 : v);
    return ticks;
}

int ColumnOfHz(const ChartRect& plot, const SpectrumRange& x, double hz) {
    return plot.left + int(std::lround((hz - x.min) / x.Span() * plot.Width()));
}

double HzOfColumn(const ChartRect& plot, const SpectrumRange& x, int column) {
    return x.min + double(column - plot.left) / plot.Width() * x.Span();
}

double DisplayAmplitude(double amplitude, AmplitudeScale scale) {
    if (scale == AmplitudeScale::Linear) return amplitude;
    return amplitude > 0 ? std::max(std::log10(amplitude), kLogFloor) : kLogFloor;
}

SpectrumRange AmplitudeRange(const SpectrumTriple& spectra, const SpectrumRange& x,
                             AmplitudeScale scale) {
    double largest = 0, smallest = HUGE_VAL;
    for (const AmplitudeSpectrum* s : spectra) {
        if (!s || s->amplitude.empty() || !(s->lineSpacing > 0)) continue;
        const size_t first = size_t(
            std::clamp(std::ceil(x.min / s->lineSpacing), 0.0, double(s->amplitude.size() - 1)));
        const size_t last = size_t(
            std::clamp(std::floor(x.max / s->lineSpacing), 0.0, double(s->amplitude.size() - 1)));
        for (size_t k = first; k <= last; ++k) {
            largest = std::max(largest, s->amplitude[k]);
            if (s->amplitude[k] > 0) smallest = std::min(smallest, s->amplitude[k]);
        }
    }
    if (scale == AmplitudeScale::Linear) return {0, largest > 0 ? RoundUp(largest * 1.05) : 1};
    if (!(largest > 0)) return {-kLogDecades, 0};
    const double top = std::ceil(std::log10(largest) - 1e-9);
    const double bottom = std::max(std::floor(std::log10(smallest)), top - kLogDecades);
    return {std::min(bottom, top - 1), top};
}

std::optional<SpectrumCursor> CursorNear(const SpectrumTriple& spectra, double hz, double reachHz,
                                         double runningSpeedHz) {
    const double spacing = LineSpacing(spectra);
    if (!(spacing > 0)) return std::nullopt;
    size_t lines = 0;
    for (const AmplitudeSpectrum* s : spectra)
        if (s) lines = std::max(lines, s->amplitude.size());
    const auto lineAt = [&](double f) {
        return size_t(std::clamp(std::round(f / spacing), 0.0, double(lines - 1)));
    };
    const auto largestAt = [&](size_t k) {
        double a = 0;
        for (const AmplitudeSpectrum* s : spectra)
            if (s && k < s->amplitude.size()) a = std::max(a, s->amplitude[k]);
        return a;
    };
    size_t best = lineAt(hz);
    const size_t last = lineAt(hz + reachHz);
    for (size_t k = lineAt(hz - reachHz); k <= last; ++k)
        if (largestAt(k) > largestAt(best)) best = k;

    SpectrumCursor cursor;
    cursor.line = best;
    cursor.frequency = double(best) * spacing;
    cursor.order = runningSpeedHz > 0 ? cursor.frequency / runningSpeedHz : 0;
    for (size_t a = 0; a < 3; ++a) {
        const AmplitudeSpectrum* s = spectra[a];
        if (s && best < s->amplitude.size()) cursor.amplitude[a] = s->amplitude[best];
    }
    return cursor;
}

std::vector<double> MarkerFrequencies(double baseHz, int count, const SpectrumRange& x,
                                      int plotWidth) {
    std::vector<double> markers;
    if (!(baseHz > 0) || !(x.Span() > 0)) return markers;
    if (baseHz / x.Span() * plotWidth < kMarkerMinGap) return markers;
    const int last = count > 0 ? count : int(std::floor(x.max / baseHz));
    for (int k = std::max(1, int(std::ceil(x.min / baseHz))); k <= last; ++k) {
        const double f = k * baseHz;
        if (f > x.max) break;
        markers.push_back(f);
    }
    return markers;
}

SpectrumDrag ApplySpectrumDrag(const ChartRect& plot, const SpectrumTriple& spectra,
                               FrequencyViewState& state, int x0, int x1) {
    if (std::abs(x1 - x0) < kClickPixels) {
        const double hz = HzOfColumn(plot, state.x, x1);
        // A few pixels either way: a hand aiming at a peak lands on it.
        const double reach = kClickPixels * state.x.Span() / plot.Width();
        if (const auto cursor = CursorNear(spectra, hz, reach, state.runningSpeedHz))
            state.cursorHz = cursor->frequency;
        return SpectrumDrag::Click;
    }
    if (x1 < x0) {
        state.x = state.homeX;
        return SpectrumDrag::Reset;
    }
    const double minSpan = kMinZoomLines * std::max(LineSpacing(spectra), 1e-9);
    double from = std::max(HzOfColumn(plot, state.x, x0), state.homeX.min);
    double to = std::min(HzOfColumn(plot, state.x, x1), state.homeX.max);
    if (to - from < minSpan) {
        const double middle = 0.5 * (from + to);
        from = std::max(state.homeX.min, middle - 0.5 * minSpan);
        to = std::min(state.homeX.max, from + minSpan);
    }
    state.x = {from, to};
    return SpectrumDrag::Zoom;
}

std::array<std::string, 2> CursorReadoutLines(const SpectrumCursor& cursor,
                                              const std::string& unit) {
    std::string first = Printf("%.2f Hz", cursor.frequency);
    if (cursor.order > 0) first += Printf("  %.2fX", cursor.order);
    return {first, Printf("X %.4g  Y %.4g  Z %.4g %s", cursor.amplitude[0], cursor.amplitude[1],
                          cursor.amplitude[2], unit.c_str())};
}

}  // namespace orsan
