#include <gtest/gtest.h>

#include "FrequencyViewMath.h"

namespace orsan {
namespace {

// Lines 2 Hz apart over 0..1000 Hz on a rising floor; X peaks at 100 Hz
// (line 50), Y at 120 Hz (line 60); no Z.
struct TwoPeaks {
    AmplitudeSpectrum x, y;
    TwoPeaks() {
        x.lineSpacing = y.lineSpacing = 2;
        for (size_t k = 0; k <= 500; ++k) x.amplitude.push_back(0.001 * double(k));
        y.amplitude = x.amplitude;
        x.amplitude[50] = 1;
        y.amplitude[60] = 0.5;
    }
    SpectrumTriple Triple() const { return {&x, &y, nullptr}; }
};

TEST(SpectrumCursor, SnapsToTheLargestLineWithinReachAndReadsEveryAxis) {
    const TwoPeaks s;
    struct Case {
        double hz, reach, speed;
        size_t line;
        double order, x, y;
    };
    const Case cases[] = {
        {96, 0, 25, 48, 3.84, 0.048, 0.048},  // nearest line
        {96, 6, 25, 50, 4, 1, 0.05},          // the peak three lines away
        {117, 4, 0, 60, 0, 0.06, 0.5},        // Y's peak counts too; no speed, no order
        {-5, 0, 25, 0, 0, 0, 0},
        {5000, 0, 25, 500, 40, 0.5, 0.5},  // clamped to the last line
    };
    for (const Case& c : cases) {
        const auto cursor = CursorNear(s.Triple(), c.hz, c.reach, c.speed);
        ASSERT_TRUE(cursor) << c.hz;
        EXPECT_EQ(cursor->line, c.line) << c.hz;
        EXPECT_DOUBLE_EQ(cursor->frequency, 2.0 * double(c.line)) << c.hz;
        EXPECT_NEAR(cursor->order, c.order, 1e-12) << c.hz;
        EXPECT_EQ(cursor->amplitude, (std::array<double, 3>{c.x, c.y, 0})) << c.hz;
    }
    EXPECT_FALSE(CursorNear({nullptr, nullptr, nullptr}, 100, 0, 25));
    EXPECT_EQ(CursorReadoutLines(*CursorNear(s.Triple(), 100, 0, 25), "g"),
              (std::array<std::string, 2>{"100.00 Hz  4.00X", "X 1  Y 0.05  Z 0 g"}));
    EXPECT_EQ(CursorReadoutLines(*CursorNear(s.Triple(), 100, 0, 0), "mm/s")[0], "100.00 Hz");
}

TEST(SpectrumMarkers, MultiplesWithinTheRangeUnlessTooDense) {
    struct Case {
        double base;
        int count;
        SpectrumRange x;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {100, 10, {0, 1000}, {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}},
        {300, 10, {0, 1000}, {300, 600, 900}},
        {25, 0, {90, 210}, {100, 125, 150, 175, 200}},
        {40, 2, {90, 1000}, {}},  // both harmonics lie below the range
        {4, 0, {0, 1000}, {}},    // 3.2 pixels apart
        {0, 10, {0, 1000}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MarkerFrequencies(c.base, c.count, c.x, 800), c.expected) << c.base;
}

TEST(SpectrumDragAndRanges, ClickZoomResetAndAmplitudeAxes) {
    const TwoPeaks s;
    const ChartRect plot{0, 0, 1000, 200};  // 1 Hz per pixel over 0..1000 Hz
    FrequencyViewState state;
    state.x = state.homeX = {0, 1000};
    EXPECT_EQ(ApplySpectrumDrag(plot, s.Triple(), state, 98, 99), SpectrumDrag::Click);
    EXPECT_EQ(state.cursorHz, 100);
    EXPECT_EQ(ApplySpectrumDrag(plot, s.Triple(), state, 200, 400), SpectrumDrag::Zoom);
    EXPECT_DOUBLE_EQ(state.x.min, 200);
    EXPECT_DOUBLE_EQ(state.x.max, 400);
    // 200..400 Hz over 1000 pixels; never narrower than eight lines.
    EXPECT_EQ(ApplySpectrumDrag(plot, s.Triple(), state, 500, 510), SpectrumDrag::Zoom);
    EXPECT_DOUBLE_EQ(state.x.min, 293);
    EXPECT_DOUBLE_EQ(state.x.max, 309);
    EXPECT_EQ(ApplySpectrumDrag(plot, s.Triple(), state, 510, 500), SpectrumDrag::Reset);
    EXPECT_DOUBLE_EQ(state.x.max, 1000);

    struct Case {
        SpectrumRange x;
        AmplitudeScale scale;
        double min, max;
    };
    const Case cases[] = {
        {{0, 1000}, AmplitudeScale::Linear, 0, 2},               // 1 x 1.05 rounds up to 2
        {{150, 300}, AmplitudeScale::Linear, 0, 0.2},            // 0.15 x 1.05
        {{0, 1000}, AmplitudeScale::Logarithmic, -3, 0},         // the floor's 0.002 .. 1
        {{0, 0}, AmplitudeScale::Logarithmic, -kLogDecades, 0},  // line 0 only: 0
    };
    for (const Case& c : cases) {
        const SpectrumRange y = AmplitudeRange(s.Triple(), c.x, c.scale);
        EXPECT_DOUBLE_EQ(y.min, c.min) << c.x.min << ".." << c.x.max;
        EXPECT_DOUBLE_EQ(y.max, c.max) << c.x.min << ".." << c.x.max;
    }
}

}  // namespace
}  // namespace orsan
