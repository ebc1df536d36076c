#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <utility>

#include "WaveChartMath.h"
#include "WaveProtocol.h"

namespace orsan {
namespace {

// 620 x 360: steps 50 and 30, plot 60..560 x 30..330 (500 x 300 pixels).
ChartLayout TestLayout() {
    return ChartLayout::Compute(620, 360);
}

TEST(ChartLayout, StepsPlotAndBoxesFollowTheClientSize) {
    const ChartLayout layout = ChartLayout::Compute(687, 465);
    EXPECT_EQ(layout.columnStep, 56);
    EXPECT_EQ(layout.rowStep, 40);
    EXPECT_EQ((std::vector<int>{layout.plot.left, layout.plot.top, layout.plot.right,
                                layout.plot.bottom}),
              (std::vector<int>{60, 30, 620, 430}));
    EXPECT_EQ((std::vector<int>{layout.widenBox.left, layout.widenBox.top, layout.widenBox.right,
                                layout.widenBox.bottom}),
              (std::vector<int>{630, 30, 647, 47}));
    EXPECT_EQ((std::vector<int>{layout.narrowBox.left, layout.narrowBox.top, layout.narrowBox.right,
                                layout.narrowBox.bottom}),
              (std::vector<int>{630, 413, 647, 430}));
}

// Repeated releases in one box, starting from the initial range of 1.
TEST(RangeLadder, WidenClimbsToThousandAndNarrowStopsAtAQuarter) {
    const ChartLayout layout = TestLayout();
    const struct {
        ChartRect box;
        BoxOutcome outcome;
        std::vector<float> limits;
    } cases[] = {
        {layout.widenBox,
         BoxOutcome::Widened,
         {2, 5, 10, 20, 50, 100, 150, 200, 300, 400, 600, 800, 1000, 1000, 1000}},
        {layout.narrowBox, BoxOutcome::Narrowed, {0.5f, 0.25f, 0.25f, 0.25f}},
    };
    for (const auto& c : cases) {
        ChartView view;
        for (float limit : c.limits) {
            ASSERT_EQ(ApplyBoxRelease(layout, view, c.box.left + 5, c.box.top + 5), c.outcome);
            EXPECT_EQ(view.homeY.max, limit);
            EXPECT_EQ(view.homeY.min, -limit);
            EXPECT_EQ(view.y.max, limit);  // the shown range follows the home range
        }
    }
}

TEST(RangeLadder, ReleaseOutsideTheBoxesChangesNothing) {
    ChartView view;
    view.x = {0.2f, 0.3f};
    EXPECT_EQ(ApplyBoxRelease(TestLayout(), view, 300, 200), BoxOutcome::None);
    EXPECT_EQ(view.x.min, 0.2f);
    EXPECT_EQ(view.homeY.max, 1.0f);
}

TEST(RangeLadder, SignFollowsValueAndEndsHold) {
    struct Case {
        float v, widened, narrowed;
    };
    for (const Case& c :
         {Case{1, 2, 0.5f}, Case{-1.25f, -2, -1}, Case{0, -0.25f, -0.25f}, Case{1000, 1000, 900},
          Case{5000, 1000, 1000}, Case{0.3f, 0.5f, 0.25f}, Case{125, 150, 100}}) {
        EXPECT_EQ(WidenLimit(c.v), c.widened) << c.v;
        EXPECT_EQ(NarrowLimit(c.v), c.narrowed) << c.v;
    }
}

TEST(AxisLabels, InitialRangesReadAsDesigned) {
    const ChartView view;
    std::vector<std::string> xs, ys;
    for (int i = 0; i <= 10; ++i) {
        xs.push_back(
            FormatAxisLabel(view.x.min + float(i) * view.x.Span() / 10, view.x.Span() / 10));
        ys.push_back(
            FormatAxisLabel(view.y.min + float(i) * view.y.Span() / 10, view.y.Span() / 10));
    }
    EXPECT_EQ(xs, (std::vector<std::string>{"0", "0.10", "0.20", "0.30", "0.40", "0.50", "0.60",
                                            "0.70", "0.80", "0.90", "1.00"}));
    EXPECT_EQ(ys, (std::vector<std::string>{"-1.00", "-0.80", "-0.60", "-0.40", "-0.20", "0",
                                            "0.20", "0.40", "0.60", "0.80", "1.00"}));
}

TEST(AxisLabels, FormatDependsOnStep) {
    struct Case {
        float value, step;
        const char* text;
    };
    for (const Case& c :
         {Case{150, 100, "150"}, Case{12.7f, 11, "13"}, Case{2.26f, 2, "2.3"},
          Case{2.25f, 1, "2.25"}, Case{0.126f, 0.011f, "0.13"}, Case{0.1234f, 0.01f, "0.123"},
          Case{0.000009f, 0.001f, "0"}, Case{-0.000011f, 0.001f, "-0.000"}}) {
        EXPECT_EQ(FormatAxisLabel(c.value, c.step), c.text) << c.value << " " << c.step;
    }
}

TEST(CursorValues, FormatDependsOnMagnitude) {
    struct Case {
        float value;
        const char* text;
    };
    for (const Case& c : {Case{12.34f, "12.3 "}, Case{-0.5f, "-0.50 "}, Case{0.005f, "0.005 "},
                          Case{0.0005f, "0.0005 "}, Case{0, "0.0000 "}}) {
        EXPECT_EQ(FormatCursorValue(c.value), c.text);
    }
}

TEST(Drag, SmallMovesChangeNothingAndClicksMoveTheCursor) {
    struct Case {
        int x0, y0, x1, y1;
        DragOutcome outcome;
        int cursorX;
    };
    for (const Case& c : {Case{100, 50, 130, 60, DragOutcome::None, 60},   // 30 across, 10 down
                          Case{100, 50, 120, 200, DragOutcome::None, 60},  // 20 across only
                          Case{250, 100, 250, 100, DragOutcome::Click, 248},
                          Case{250, 100, 254, 96, DragOutcome::Click, 248},
                          Case{250, 100, 255, 100, DragOutcome::None, 60}}) {
        ChartView view;
        EXPECT_EQ(ApplyDrag(TestLayout(), view, c.x0, c.y0, c.x1, c.y1), c.outcome);
        EXPECT_EQ(view.cursorX, c.cursorX);
        EXPECT_EQ(view.x.max, 1);
        EXPECT_EQ(view.y.max, 1);
    }
}

TEST(Drag, RightwardDragEndingAboveStartReversesY) {
    ChartView view;
    ASSERT_EQ(ApplyDrag(TestLayout(), view, 100, 200, 300, 50), DragOutcome::Zoom);
    EXPECT_GT(view.y.min, view.y.max);
}

TEST(Cursor, ClickAtColumn250SnapsToASample) {
    const ChartLayout layout = TestLayout();
    ChartView view;
    ApplyDrag(layout, view, 250, 100, 250, 100);
    ASSERT_EQ(view.cursorX, 248);
    const float interval = 1.0f / 26667.0f;
    const CursorReadout cursor = ComputeCursor(layout, view, interval, 26667);
    ASSERT_TRUE(cursor.visible);
    // t = 188 / 500 s; k = floor(t / interval); the snapped column is left of 248.
    const int k = int(std::floor(0.376 / double(interval)));
    EXPECT_NEAR(cursor.sample, k, 1);
    EXPECT_NEAR(cursor.time, cursor.sample * double(interval), 1e-7);
    EXPECT_EQ(cursor.column, 60 + int(500 * cursor.sample * double(interval)));
    EXPECT_LE(cursor.column, 248);
    EXPECT_GE(cursor.column, 247);
}

TEST(Slider, OffersTheSecondsCaptured) {
    const size_t packet = kWaveSamplesPerPacket;
    const struct {
        size_t samples;
        int seconds;
    } cases[] = {
        {0, 1},
        {230 * packet, 1},       // one second and the last packet's overspill
        {1150 * packet, 5},      // five seconds as the simulator sends them
        {2 * 26667 + 142, 3},    // a second packet past the second: a third second begun
        {4 * 26667 + 13000, 5},  // cut short half way through the fifth
        {kWaveMaxSamplesPerAxis, 10},
    };
    for (const auto& c : cases) EXPECT_EQ(CapturedSeconds(c.samples), c.seconds) << c.samples;
}

TEST(Cursor, HiddenOutsideSamplesOrPlot) {
    const ChartLayout layout = TestLayout();
    ChartView view;
    view.cursorX = 600;  // beyond the plot: sample index past the end
    EXPECT_FALSE(ComputeCursor(layout, view, 1.0f / 26667, 26667).visible);
    view.cursorX = 60;  // sample 0
    EXPECT_FALSE(ComputeCursor(layout, view, 1.0f / 26667, 2).visible);
    EXPECT_TRUE(ComputeCursor(layout, view, 1.0f / 26667, 3).visible);
    view.cursorX = 100;  // sample 2133
    EXPECT_FALSE(ComputeCursor(layout, view, 1.0f / 26667, 2133).visible);
    EXPECT_TRUE(ComputeCursor(layout, view, 1.0f / 26667, 2134).visible);
}

std::vector<float> Signal(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0, 0.08f);
    std::vector<float> v(static_cast<size_t>(n), 0.0f);
    for (int k = 0; k < n; ++k)
        v[size_t(k)] = 0.5f * std::sin(float(k) * 0.0118f) + 0.2f * std::sin(float(k) * 0.071f) +
                       noise(random);
    return v;
}

// Pixel rows each column covers when the polyline's vertical runs are joined.
std::map<int, std::pair<int, int>> ColumnSpans(const std::vector<std::pair<int, int>>& points) {
    std::map<int, std::pair<int, int>> spans;
    for (const auto& [x, y] : points) {
        auto [it, fresh] = spans.try_emplace(x, y, y);
        if (!fresh) it->second = {std::min(it->second.first, y), std::max(it->second.second, y)};
    }
    return spans;
}

struct P {
    int x, y;
    P(int px, int py) : x(px), y(py) {}
};

std::vector<std::pair<int, int>> Build(const std::vector<float>& v, CurveMode mode, AxisRange x,
                                       AxisRange y) {
    std::vector<P> points;
    BuildCurvePoints(v.data(), int(v.size()), 1.0f / 26667, TestLayout(), x, y, mode, points);
    std::vector<std::pair<int, int>> out;
    for (const P& p : points) out.emplace_back(p.x, p.y);
    return out;
}

TEST(CurvePoints, PerColumnKeepsEachColumnsSpanWithAtMostFourPoints) {
    const std::vector<float> v = Signal(26667, 5);
    for (AxisRange y : {AxisRange{-1, 1}, AxisRange{-0.25f, 0.25f}, AxisRange{1, -1}}) {
        const auto full = Build(v, CurveMode::EveryPoint, {0, 1}, y);
        const auto m4 = Build(v, CurveMode::PerColumn, {0, 1}, y);
        EXPECT_EQ(full.size(), 26667u);
        EXPECT_LE(m4.size(), 4u * 501u);
        EXPECT_EQ(ColumnSpans(full), ColumnSpans(m4));
        EXPECT_EQ(full.front(), m4.front());
        EXPECT_EQ(full.back(), m4.back());
        for (size_t i = 1; i < m4.size(); ++i) ASSERT_GE(m4[i].first, m4[i - 1].first);
        // Every point of the reduced line lies on the full line, in the same order.
        size_t j = 0;
        for (const auto& p : m4) {
            while (j < full.size() && full[j] != p) ++j;
            ASSERT_LT(j, full.size());
        }
    }
}

TEST(CurvePoints, VisibleRangeAndClamping) {
    std::vector<float> v(26667, 0.0f);
    v[13333] = 5.0f;  // far above the range: clamped to the top edge
    // Zoomed to 0.5 .. 0.51 s: about 267 samples, fewer than two per column.
    const auto auto_ = Build(v, CurveMode::Auto, {0.5f, 0.51f}, {-1, 1});
    const int first = int(0.5f / (1.0f / 26667));
    const int last = int(0.51f / (1.0f / 26667));
    EXPECT_EQ(int(auto_.size()), last - first + 1);
    EXPECT_EQ(auto_.front().first, 60);
    bool top = false;
    for (const auto& [x, y] : auto_) {
        EXPECT_GE(x, 60);
        EXPECT_LE(x, 560);
        top = top || y == 30;
    }
    EXPECT_TRUE(top);
    EXPECT_TRUE(Build(v, CurveMode::Auto, {0.6f, 0.5f}, {-1, 1}).empty());
    // The whole second is at least two samples per column: reduced.
    EXPECT_LT(Build(v, CurveMode::Auto, {0, 1}, {-1, 1}).size(), 26667u);
}

}  // namespace
}  // namespace orsan
