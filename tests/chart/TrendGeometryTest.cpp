#include <gtest/gtest.h>

#include <QDateTime>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

#include "TrendGeometry.h"

namespace orsan {
namespace {

TEST(TrendLayout, GridStepsAndPlotFollowTheSize) {
    // Grid steps: (height - 80) / 10 and (width - 275) / 25, truncated.
    struct Row {
        int w, h, gx, gy;
        EdgeRect plot;
    } rows[] = {
        {952, 338, 27, 25, {202, 46, 877, 296}},  // the panel's chart: 544 x 159 dialog units
        {816, 297, 21, 21, {216, 46, 741, 256}},
        {275, 80, 0, 0, {200, 46, 200, 46}},  // smallest supported
        {299, 89, 0, 0, {224, 46, 224, 46}},
        {300, 90, 1, 1, {200, 46, 225, 56}},
        {1000, 400, 29, 32, {200, 46, 925, 366}},
    };
    for (const Row& r : rows) {
        const TrendLayout l = ComputeTrendLayout(r.w, r.h);
        EXPECT_EQ(l.gridStepX, r.gx) << r.w;
        EXPECT_EQ(l.gridStepY, r.gy) << r.h;
        EXPECT_EQ(l.plotRect, r.plot) << r.w << "x" << r.h;
        EXPECT_EQ(l.clientRect, (EdgeRect{0, 0, r.w, r.h})) << r.w << "x" << r.h;
        // The value axes always have at least 200 pixels on the left.
        EXPECT_GE(l.plotRect.left, 200);
    }
}

TrendHistory HistoryOf(std::initializer_list<std::pair<int32_t, int>> times) {
    TrendHistory h;
    for (auto [t, ms] : times) {
        SensorSample s;
        s.time = t;
        s.milliseconds = static_cast<uint16_t>(ms);
        h.Append(s);
    }
    return h;
}

TEST(TrendTimeRange, UnderTwoSamplesSpansTenMinutesFromNow) {
    for (int n = 0; n < 2; ++n) {
        TrendHistory h;
        if (n == 1) h = HistoryOf({{5, 0}});
        const TrendTimeRange r = ComputeTimeRange(h, 1714523415);
        EXPECT_EQ(r.startTime, 1714523415);
        EXPECT_EQ(r.endTime, 1714524015);
        EXPECT_EQ(TimeLabelStep(r), 120);
    }
}

TEST(TrendTimeRange, SpansOldestToNewestAndScrollsAtThe1801stSample) {
    TrendHistory h;
    for (int i = 0; i < 1800; ++i) {
        SensorSample s;
        s.time = 1000 + 2 * i;
        s.milliseconds = 500;
        h.Append(s);
    }
    TrendTimeRange r = ComputeTimeRange(h, 0);
    EXPECT_EQ(r.startTime, 1000);
    EXPECT_EQ(r.endTime, 1000 + 2 * 1799);
    EXPECT_DOUBLE_EQ(r.start, 1000.5);
    EXPECT_DOUBLE_EQ(r.end, 1000 + 2 * 1799 + 0.5);
    EXPECT_EQ(TimeLabelStep(r), 720);  // 3598 / 5 = 719.6, rounded up

    SensorSample next;
    next.time = 1000 + 2 * 1800;
    h.Append(next);
    r = ComputeTimeRange(h, 0);
    EXPECT_EQ(r.startTime, 1002);  // the former second sample
    EXPECT_EQ(r.endTime, 4600);
    EXPECT_DOUBLE_EQ(r.end, 4600.0);
}

TEST(TrendTimeRange, SameSecondGivesZeroStep) {
    const TrendTimeRange r = ComputeTimeRange(HistoryOf({{50, 0}, {50, 0}, {50, 0}}), 0);
    EXPECT_EQ(TimeLabelStep(r), 0);
}

// From, seconds, step, first tick, count: steps that give at most six
// ticks, on round local times, from midnight (Mondays) for days.
TEST(TrendTimeRange, HistoryTicksFallOnRoundLocalTimes) {
    const auto at = [](const char* text) {
        return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate).toSecsSinceEpoch();
    };
    const std::tuple<const char*, double, int64_t, const char*, size_t> cases[] = {
        {"2026-12-07T12:27:22", 100, 20, "2026-12-07T12:27:40", 5},
        {"2026-12-07T09:10:05", 49.5, 10, "2026-12-07T09:10:10", 5},
        {"2026-12-07T09:10:05", 3, 1, "2026-12-07T09:10:05", 4},
        {"2026-12-07T12:27:22", 3600, 900, "2026-12-07T12:30:00", 4},
        {"2026-12-07T07:13:00", 86400, 6 * 3600, "2026-12-07T12:00:00", 4},
        {"2026-12-02T10:00:00", 7 * 86400, 2 * 86400, "2026-12-03T00:00:00", 4},
        {"2026-10-01T10:00:00", 60 * 86400, 14 * 86400, "2026-10-12T00:00:00", 4}};
    for (const auto& [from, seconds, step, first, count] : cases) {
        SCOPED_TRACE(from);
        const TimeTicks ticks = RoundTimeTicks(double(at(from)), at(from) + seconds, 6);
        EXPECT_EQ(ticks.step, step);
        ASSERT_EQ(ticks.times.size(), count);
        EXPECT_EQ(ticks.times.front(), at(first));
        EXPECT_GT(double(ticks.times.back() + step), at(from) + seconds);  // none left out
        for (size_t i = 1; i < count; ++i) EXPECT_EQ(ticks.times[i] - ticks.times[i - 1], step);
    }
}

TEST(TrendMapping, TimeToXSpreadsSubSecondSamplesAndClamps) {
    const EdgeRect plot{216, 46, 741, 256};  // 525 pixels wide
    const TrendTimeRange r = ComputeTimeRange(HistoryOf({{100, 0}, {100, 300}, {100, 600}}), 0);
    EXPECT_EQ(TimeToX(100.0, r, plot), 216);
    EXPECT_EQ(TimeToX(100.3, r, plot), 216 + 262);  // 0.3 / 0.6 * 525 = 262.5
    EXPECT_EQ(TimeToX(100.6, r, plot), 741);
    EXPECT_EQ(TimeToX(99.0, r, plot), 216);
    EXPECT_EQ(TimeToX(1e12, r, plot), 741);
    EXPECT_EQ(TimeToX(std::nan(""), r, plot), 216);

    const TrendTimeRange flat = ComputeTimeRange(HistoryOf({{7, 1}, {7, 1}, {7, 1}}), 0);
    EXPECT_EQ(TimeToX(7.001, flat, plot), 216);
}

TEST(TrendMapping, ValueToYClampsToThePlot) {
    const EdgeRect plot{216, 46, 741, 256};  // 210 pixels high
    struct Row {
        float value, lower, upper;
        int y;
    } rows[] = {
        {0, 0, 80, 256},
        {40, 0, 80, 151},
        {80, 0, 80, 46},
        {200, 0, 80, 46},
        {-5, 0, 80, 256},
        {25, 20, 30, 151},
        {1, 0, 10, 235},
        {50, 50, 50, 46},
        {-1e30f, 50, 50, 46},
        {std::numeric_limits<float>::quiet_NaN(), 0, 80, 256},
        {std::numeric_limits<float>::infinity(), 0, 80, 46},
        {5, 10, 0, 151},  // upside-down limits: mirrored, still inside
    };
    for (const Row& r : rows)
        EXPECT_EQ(ValueToY(r.value, r.lower, r.upper, plot), r.y)
            << r.value << " on " << r.lower << ".." << r.upper;
}

TEST(TrendReadout, NearestSampleWithEarlierOnTieAndNothingBelowThreeSamples) {
    const EdgeRect plot{200, 46, 300, 146};  // 100 pixels: one pixel per second below
    TrendHistory h = HistoryOf({{0, 0}, {10, 0}, {20, 0}, {30, 0}, {100, 0}});
    const TrendTimeRange r = ComputeTimeRange(h, 0);
    struct Row {
        int cursorX, index;
    } rows[] = {
        {0, 0},  // no cursor: left of the plot, the oldest sample
        {200, 0},
        {204, 0},
        {205, 0} /* tie 0 vs 10: earlier */,
        {206, 1},
        {215, 1} /* tie: earlier */,
        {229, 3},
        {265, 3},
        {266, 4},
        {299, 4},
    };
    for (const Row& row : rows)
        EXPECT_EQ(NearestSampleIndex(h, r, plot, row.cursorX), row.index) << row.cursorX;

    const TrendHistory two = HistoryOf({{0, 0}, {10, 0}});
    EXPECT_EQ(NearestSampleIndex(two, ComputeTimeRange(two, 0), plot, 250), -1);
}

TEST(TrendReadout, FindsSubSecondSamples) {
    const EdgeRect plot{200, 46, 300, 146};
    TrendHistory h = HistoryOf({{9, 0}, {9, 300}, {9, 600}, {9, 900}});
    const TrendTimeRange r = ComputeTimeRange(h, 0);
    const std::pair<int, int> rows[] = {{233, 1}, {268, 2}, {299, 3}};  // cursor x, sample
    for (const auto& [cursorX, index] : rows)
        EXPECT_EQ(NearestSampleIndex(h, r, plot, cursorX), index) << cursorX;
}

TEST(TrendReadout, BoxesRightOfCursorInLeftHalfElseLeftOfIt) {
    const EdgeRect plot{216, 46, 741, 256};  // middle at 478.5
    const ReadoutLineBox left = ReadoutBox(plot, 478, 0);
    EXPECT_TRUE(left.alignLeft);
    EXPECT_EQ(left.box, (EdgeRect{483, 48, 741, 66}));
    const ReadoutLineBox right = ReadoutBox(plot, 479, 10);
    EXPECT_FALSE(right.alignLeft);
    EXPECT_EQ(right.box, (EdgeRect{216, 248, 474, 266}));
}

TEST(TrendAxes, CurvesMapToTheirAxes) {
    const TrendLimits limits{-5, 95, 11, 22, 33};
    const int expectedAxis[10] = {0, 1, 1, 1, 2, 2, 2, 3, 3, 3};
    const float lower[4] = {-5, 0, 0, 0};
    const float upper[4] = {95, 11, 22, 33};
    for (int k = 0; k < 10; ++k) {
        const int axis = AxisOfCurve(k);
        EXPECT_EQ(axis, expectedAxis[k]) << k;
        EXPECT_EQ(AxisLower(limits, axis), lower[expectedAxis[k]]);
        EXPECT_EQ(AxisUpper(limits, axis), upper[expectedAxis[k]]);
    }
}

}  // namespace
}  // namespace orsan
