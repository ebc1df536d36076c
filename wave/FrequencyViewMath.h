#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "WaveAnalyser.h"
#include "WaveChartMath.h"

namespace orsan {

enum class AmplitudeScale { Linear, Logarithmic };

inline constexpr int kHarmonicCount = 10;
// A logarithmic axis spans at most this many decades below its top, so
// rounding noise far down does not squash the lines that matter.
inline constexpr int kLogDecades = 5;
// Markers closer than this (pixels) would paint the plot grey: none are shown.
inline constexpr int kMarkerMinGap = 6;

// Hz along x; g, mm/s, or their log10 along y.
struct SpectrumRange {
    double min = 0, max = 1;
    double Span() const { return max - min; }
};

// What the spectrum view shows besides the spectra themselves.
struct FrequencyViewState {
    SpectrumRange x{0, 1};      // shown
    SpectrumRange homeX{0, 1};  // the whole spectrum
    SpectrumRange y{0, 1};      // fitted to the lines within x (AmplitudeRange)
    AmplitudeScale scale = AmplitudeScale::Linear;
    std::optional<double> cursorHz;  // the line the cursor stands on
    bool harmonics = false;          // markers at 1x..10x of the cursor's line
    double runningSpeedHz = 0;       // order markers at its multiples; 0: none
};

// The spectra of X, Y and Z of one kind; an axis without one is null.
using SpectrumTriple = std::array<const AmplitudeSpectrum*, 3>;

// Plot rectangle of a view of width x height pixels.
ChartRect SpectrumPlotRect(int width, int height);

// Round values (1, 2 or 5 times a power of ten apart) within range, about
// `count` of them.
std::vector<double> NiceTicks(const SpectrumRange& range, int count);

int ColumnOfHz(const ChartRect& plot, const SpectrumRange& x, double hz);
double HzOfColumn(const ChartRect& plot, const SpectrumRange& x, int column);

// An amplitude in the y axis's units: itself, or its log10 (a zero line
// lies far below any axis).
double DisplayAmplitude(double amplitude, AmplitudeScale scale);

// The y range over the lines within x: linear from 0 to a round value above
// the largest; logarithmic over whole decades, at most kLogDecades.
SpectrumRange AmplitudeRange(const SpectrumTriple& spectra, const SpectrumRange& x,
                             AmplitudeScale scale);

struct SpectrumCursor {
    size_t line = 0;
    double frequency = 0;               // Hz of that line
    double order = 0;                   // frequency / running speed; 0 without one
    std::array<double, 3> amplitude{};  // X, Y, Z at that line (0 for a missing axis)
};

// The cursor for a click at hz: the largest line (over the axes) within
// `reachHz` of it, so a click on a peak of a dense view lands on the peak,
// else the nearest line. nullopt without any spectrum.
std::optional<SpectrumCursor> CursorNear(const SpectrumTriple& spectra, double hz, double reachHz,
                                         double runningSpeedHz);

// k x baseHz for k = 1..count (count 0: as many as fit) that lie within x,
// none when neighbours would stand closer than kMarkerMinGap pixels.
std::vector<double> MarkerFrequencies(double baseHz, int count, const SpectrumRange& x,
                                      int plotWidth);

enum class SpectrumDrag { Click, Zoom, Reset };

// A press at column x0 released at x1: a click (under 3 pixels) puts the
// cursor on the largest line within 3 pixels; a drag to the right zooms into its span (never under
// eight line spacings); a drag to the left returns to the whole spectrum.
SpectrumDrag ApplySpectrumDrag(const ChartRect& plot, const SpectrumTriple& spectra,
                               FrequencyViewState& state, int x0, int x1);

// Readout lines: "123.45 Hz  4.94X" and "X 0.0123  Y 0.0045  Z 0.0012 g".
std::array<std::string, 2> CursorReadoutLines(const SpectrumCursor& cursor,
                                              const std::string& unit);

}  // namespace orsan
