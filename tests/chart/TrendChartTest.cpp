#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "SensorDataFile.h"
#include "TrendChart.h"

namespace orsan {
namespace {

constexpr int kWidth = 816;
constexpr int kHeight = 297;
constexpr int64_t kNow = 1714523415;  // 2024-05-01 08:30:15 in UTC+8

SensorSample Sample(int32_t time, uint16_t ms, float base) {
    SensorSample s;
    s.time = time;
    s.milliseconds = ms;
    s.T_Shell = 40 + base;
    s.Acc_X = 2 + base / 10;
    s.Acc_Y = 4 + base / 10;
    s.Acc_Z = 6 + base / 10;
    s.Vel_X = 3 + base / 5;
    s.Vel_Y = 8 + base / 5;
    s.Vel_Z = 14 + base / 5;
    s.Disp_X = 10 + base;
    s.Disp_Y = 20 + base;
    s.Disp_Z = 35 + base;
    return s;
}

class TrendChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        chart_.SetClock([] { return kNow; });
        chart_.SetLimits(TrendLimits{0, 80, 10, 20, 50});
    }
    QRgb Pixel(int x, int y) const { return chart_.Image().pixel(x, y) | 0xff000000u; }
    const EdgeRect& Plot() const { return chart_.Layout().plotRect; }
    // Only T_Shell shown; a flat 40 at sample i is at kNow + spacing * i.
    void FlatTemperature(int count, int spacing, const std::function<bool(int)>& measured) {
        TrendChart::Flags flags{};
        flags[0] = 1;
        chart_.SetCurveVisibility(flags);
        for (int i = 0; i < count; ++i) {
            SensorSample s;
            s.time = kNow + spacing * i;
            s.T_Shell = 40;
            chart_.AppendSample(s, measured(i));
        }
    }
    TrendChart chart_;
};

// The chart draws its curves from fewer points than samples; Qt must draw
// them exactly as the whole polyline: edge cases, then random walks as dense
// as 1800 samples on 675 columns, including repeats at either end.
TEST(PolylinePointsTest, FewerPointsDrawTheSamePixelsAsEveryPoint) {
    using Line = std::vector<QPoint>;
    std::vector<Line> lines = {
        {{5, 5}, {5, 5}},
        {{5, 5}, {5, 5}, {5, 5}, {6, 9}},
        {{5, 5}, {5, 9}, {5, 12}, {5, 12}},
        {{5, 5}, {5, 9}, {5, 7}, {5, 12}, {6, 12}, {9, 12}, {7, 12}, {12, 12}},
        {{5, 5}, {6, 6}, {7, 7}, {7, 7}, {8, 8}, {8, 2}, {8, 1}, {9, 30}, {9, 30}},
    };
    std::mt19937 random(21);
    for (int n = 0; n < 400; ++n) {
        Line line{{20, 20}};
        const int length = 2 + int(random() % 60);
        while (int(line.size()) < length) {
            const QPoint last = line.back();
            // Every other walk mostly flat over columns, at times leaping.
            const int dy = n % 2          ? int(random() % 7) - 3
                           : random() % 4 ? int(random() % 3) - 1
                                          : int(random() % 21) - 10;
            const int dx = n % 2 ? (random() % 3 == 0 ? 1 : 0) : int(random() % 3);
            line.push_back({last.x() + dx, std::clamp(last.y() + dy, 0, 39)});
        }
        lines.push_back(line);
    }
    const auto draw = [](const QPoint* points, int count) {
        QImage image(60, 45, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QPen(QColor(136, 0, 21), 1.0));
        painter.drawPolyline(points, count);
        return image;
    };
    Line sweep;  // one column down: its start and its last segment remain
    for (int y = 0; y < 40; ++y) sweep.push_back({30, y});
    lines.push_back(sweep);
    for (const Line& line : lines) {
        std::vector<QPoint> storage(line.size());
        PolylinePoints thinned(storage.data());
        for (const QPoint& p : line) thinned.Add(p);
        const int count = thinned.Finish();
        EXPECT_TRUE(draw(storage.data(), count) == draw(line.data(), int(line.size())))
            << "line " << &line - lines.data();
        if (&line == &lines.back()) {
            EXPECT_EQ(count, 3);
        }
    }
}

TEST_F(TrendChartTest, NothingIsDrawnBeforeTheImageExists) {
    chart_.AppendSample(Sample(kNow, 0, 0));
    EXPECT_FALSE(chart_.Render());
    EXPECT_EQ(chart_.RenderCount(), 0);
    QString error;
    EXPECT_FALSE(chart_.SavePicture(QStringLiteral("never.png"), &error));
    EXPECT_FALSE(error.isEmpty());
    chart_.CreateImage(kWidth, kHeight);
    EXPECT_EQ(chart_.RenderCount(), 1);
    EXPECT_EQ(chart_.Image().size(), QSize(kWidth, kHeight));
    // The layout is kept; a second call changes nothing.
    chart_.CreateImage(400, 300);
    EXPECT_EQ(chart_.Image().size(), QSize(kWidth, kHeight));
}

TEST_F(TrendChartTest, ThrottleRendersEveryThirdAppendUntilFull) {
    chart_.CreateImage(kWidth, kHeight);
    chart_.SetRedrawThrottle(1);
    const int start = chart_.RenderCount();
    std::vector<int> rendered;
    for (int i = 0; i < 7; ++i)
        if (chart_.AppendSample(Sample(kNow + i, 0, 0))) rendered.push_back(i);
    EXPECT_EQ(rendered, (std::vector<int>{0, 3, 6}));  // counts before: 0, 3, 6
    EXPECT_EQ(chart_.RenderCount(), start + 3);

    for (int i = 7; i < 1800; ++i) chart_.AppendSample(Sample(kNow + i, 0, 0));
    const int full = chart_.RenderCount();
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(chart_.AppendSample(Sample(kNow + 1800 + i, 0, 0)));
    EXPECT_EQ(chart_.RenderCount(), full + 4);

    chart_.SetRedrawThrottle(0);
    chart_.ClearSamples();
    const int afterClear = chart_.RenderCount();
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(chart_.AppendSample(Sample(kNow + i, 0, 0)));
    EXPECT_EQ(chart_.RenderCount(), afterClear + 5);
}

TEST_F(TrendChartTest, BackgroundRedrawnOnlyWhenLimitsOrVisibilityChange) {
    chart_.CreateImage(kWidth, kHeight);
    EXPECT_EQ(chart_.BackgroundRenderCount(), 1);
    for (int i = 0; i < 50; ++i) chart_.AppendSample(Sample(kNow + i, 0, i % 7));
    EXPECT_EQ(chart_.BackgroundRenderCount(), 1);

    TrendLimits limits = chart_.Limits();
    limits.VMax = 25;
    chart_.SetLimits(limits);
    chart_.AppendSample(Sample(kNow + 60, 0, 0));
    EXPECT_EQ(chart_.BackgroundRenderCount(), 2);

    TrendChart::Flags flags = chart_.CurveVisibility();
    flags[3] = 0;
    chart_.SetCurveVisibility(flags);
    chart_.Render();
    EXPECT_EQ(chart_.BackgroundRenderCount(), 3);
    chart_.Render();
    EXPECT_EQ(chart_.BackgroundRenderCount(), 3);
}

// A render restores from the cached background only what the previous one
// drew over; a chart drawn once from scratch must come out the same.
TEST_F(TrendChartTest, EachRenderMatchesAChartDrawnFromScratch) {
    chart_.SetVelocityMarks({2.8f, 4.5f});
    const auto matchesScratch = [&](const char* step) {
        TrendChart fresh;
        fresh.SetClock([] { return kNow; });
        fresh.SetLimits(chart_.Limits());
        fresh.SetCurveVisibility(chart_.CurveVisibility());
        fresh.SetVelocityMarks(chart_.Marks());
        for (int i = 0; i < chart_.History().Count(); ++i)
            fresh.AppendSample(chart_.History().At(i), chart_.History().IsMeasured(i));
        fresh.CreateImage(kWidth, kHeight);
        EXPECT_TRUE(fresh.Image() == chart_.Image()) << step;
    };
    // Swings beyond both ends of every axis, outages, the oldest dropped.
    const auto append = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            chart_.AppendSample(Sample(kNow + i, uint16_t(i * 37 % 1000), float(i % 50) * 2 - 45),
                                i % 60 >= 5);
    };
    append(0, 1790);  // no image yet: nothing drawn
    chart_.CreateImage(kWidth, kHeight);
    append(1790, 1805);
    matchesScratch("full");
    TrendLimits limits = chart_.Limits();
    limits.TMax = 50;
    chart_.SetLimits(limits);
    append(1805, 1806);
    matchesScratch("new limits");
    TrendChart::Flags flags = chart_.CurveVisibility();
    flags[0] = 0;
    chart_.SetCurveVisibility(flags);
    append(1806, 1808);
    matchesScratch("a curve hidden");
    chart_.ClearSamples();
    matchesScratch("cleared");
    append(0, 2);
    matchesScratch("two samples");
    append(2, 120);
    matchesScratch("partly filled");
}

TEST_F(TrendChartTest, GridBorderAndCurvesAtTheirPixels) {
    chart_.CreateImage(kWidth, kHeight);
    // A flat temperature of 40 over three samples: y = 256 - 40 * 210 / 80 = 151.
    FlatTemperature(3, 10, [](int) { return true; });
    const EdgeRect& plot = Plot();
    const QRgb red = CurveColors()[0].rgb();
    const QRgb white = qRgb(255, 255, 255);
    const QRgb solid = kGridSolidColor.rgb();
    for (int x = plot.left + 1; x < plot.right; x += 37) EXPECT_EQ(Pixel(x, 151), red) << x;
    EXPECT_NE(Pixel(plot.left + 30, 150), red);
    EXPECT_NE(Pixel(plot.left + 30, 152), red);
    // Border and the solid line at every fifth division.
    EXPECT_EQ(Pixel(plot.left, plot.top + 3), solid);
    EXPECT_EQ(Pixel(plot.right, plot.top + 3), solid);
    EXPECT_EQ(Pixel(plot.left + 5 * chart_.Layout().gridStepX, plot.top + 3), solid);
    // Dashed division line: two on, two off.
    const int dashX = plot.left + chart_.Layout().gridStepX;
    int dashPixels = 0;
    for (int y = plot.top + 1; y < plot.top + 41; ++y)
        dashPixels += Pixel(dashX, y) == kGridDashColor.rgb();
    EXPECT_EQ(dashPixels, 20);
    // Inside a division nothing but white.
    EXPECT_EQ(Pixel(plot.left + 3, plot.top + 3), white);
    // Value axis lines and ticks.
    EXPECT_EQ(Pixel(6, plot.top + 5), solid);
    EXPECT_EQ(Pixel(156, plot.bottom - 5), solid);
    EXPECT_EQ(Pixel(160, plot.bottom - 5), white);
    EXPECT_EQ(Pixel(12, plot.top), solid);
}

TEST_F(TrendChartTest, NoCurveBelowThreeSamplesAndValuesClampToEdges) {
    chart_.CreateImage(kWidth, kHeight);
    const QRgb red = CurveColors()[0].rgb();
    SensorSample hot = Sample(kNow, 0, 0);
    hot.T_Shell = 500;  // above the axis: on the top edge
    chart_.AppendSample(hot);
    chart_.AppendSample(hot);
    const EdgeRect& plot = Plot();
    EXPECT_NE(Pixel(plot.left + 100, plot.top), red);
    hot.time = kNow + 1;
    chart_.AppendSample(hot);
    EXPECT_EQ(Pixel(plot.left + 100, plot.top), red);

    // The 1 s span ends at the right edge; the top edge is red all along.
    EXPECT_EQ(Pixel(plot.right - 1, plot.top), red);
}

// An outage breaks the curve: no segment joins the samples on either side,
// and the frozen values taken during it are not drawn; a lone measured
// sample within it is a dot.
TEST_F(TrendChartTest, UnmeasuredSamplesBreakTheCurve) {
    chart_.CreateImage(kWidth, kHeight);
    // Flat at 40, row 151: 0..19 measured, 20..39 not (values frozen) but 30, 40..59 measured.
    FlatTemperature(60, 1, [](int i) { return i < 20 || i >= 40 || i == 30; });
    const EdgeRect& plot = Plot();
    const QRgb red = CurveColors()[0].rgb();
    const auto column = [&](int i) { return plot.left + plot.Width() * i / 59; };
    // Sample index and whether the curve passes there.
    const std::pair<int, bool> probes[] = {{2, true},   {18, true}, {21, false},
                                           {28, false}, {30, true}, {32, false},
                                           {38, false}, {42, true}, {57, true}};
    for (const auto& [sample, drawn] : probes)
        EXPECT_EQ(Pixel(column(sample), 151) == red, drawn) << "sample " << sample;
}

// Samples further apart than the gap (the station was off) are not joined;
// without a gap set they are one curve.
TEST_F(TrendChartTest, SamplesFurtherApartThanTheGapAreNotJoined) {
    chart_.CreateImage(kWidth, kHeight);
    chart_.SetCurveVisibility({1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    std::vector<TrendPoint> points(40);  // flat 40; 0..19 and 60..79 s
    for (int i = 0; i < 40; ++i) points[i].sample.time = int32_t(kNow + i + (i >= 20 ? 40 : 0));
    for (TrendPoint& point : points) point.sample.T_Shell = 40;
    const auto red = [&](int second) {
        return Pixel(Plot().left + Plot().Width() * second / 79, 151) == CurveColors()[0].rgb();
    };
    for (const double gap : {3.0, 0.0}) {
        chart_.ClearSamples();
        chart_.SetGapSeconds(gap);
        chart_.Prefill(points);
        for (const int second : {5, 18, 30, 50, 62, 75})
            EXPECT_EQ(red(second), gap == 0 || second < 20 || second >= 60) << gap << " " << second;
    }
}

TEST_F(TrendChartTest, LegendLeavesGapsForHiddenCurves) {
    chart_.CreateImage(kWidth, kHeight);
    TrendChart::Flags flags;
    flags.fill(1);
    flags[2] = 0;  // Acc_Y hidden
    chart_.SetCurveVisibility(flags);
    chart_.Render();
    const EdgeRect& plot = Plot();
    const auto swatch = [&](int k) {
        return Pixel(plot.right + 10, plot.top + kLegendOffsets[k] + 4);
    };
    EXPECT_EQ(swatch(1), CurveColors()[1].rgb());
    EXPECT_EQ(swatch(2), qRgb(255, 255, 255));
    EXPECT_EQ(swatch(3), CurveColors()[3].rgb());  // Acc_Z did not move up
    EXPECT_EQ(swatch(9), CurveColors()[9].rgb());
    // Swatch is 14 x 8 pixels from right + 5.
    EXPECT_EQ(Pixel(plot.right + 5, plot.top + 16), CurveColors()[1].rgb());
    EXPECT_EQ(Pixel(plot.right + 18, plot.top + 23), CurveColors()[1].rgb());
    EXPECT_NE(Pixel(plot.right + 19, plot.top + 20), CurveColors()[1].rgb());
    EXPECT_NE(Pixel(plot.right + 10, plot.top + 24), CurveColors()[1].rgb());
}

TEST_F(TrendChartTest, ReadoutSkipsOldestAndIsNeverInThePicture) {
    chart_.CreateImage(kWidth, kHeight);
    for (int i = 0; i < 11; ++i) chart_.AppendSample(Sample(kNow + i, 0, i));
    const EdgeRect& plot = Plot();
    EXPECT_EQ(chart_.ReadoutSampleIndex(), -1);  // no cursor yet
    chart_.SetCursorFromClick(QPoint(plot.left + 2, plot.top + 5));
    EXPECT_EQ(chart_.ReadoutSampleIndex(), -1);  // the oldest sample is nearest
    const int x7 = plot.left + 7 * plot.Width() / 10;
    chart_.SetCursorFromClick(QPoint(x7, plot.top + 5));
    EXPECT_EQ(chart_.ReadoutSampleIndex(), 7);
    chart_.SetCursorFromClick(QPoint(plot.right + 3, plot.top + 5));  // outside: removed
    EXPECT_EQ(chart_.CursorX(), 0);
    EXPECT_EQ(chart_.ReadoutSampleIndex(), -1);

    chart_.SetCursorFromClick(QPoint(x7, plot.top + 5));
    QImage window = chart_.Image().copy();
    QPainter painter(&window);
    chart_.DrawReadout(painter);
    painter.end();
    const QRgb blue = qRgb(0, 0, 255);
    EXPECT_EQ(window.pixel(x7, plot.top + 3) | 0xff000000u, blue);
    EXPECT_NE(Pixel(x7, plot.top + 3), blue);
    // Text pixels are anti-aliased: count the clearly blue ones.
    const auto bluish = [&](int x, int y) {
        const QRgb c = window.pixel(x, y);
        return qBlue(c) > 200 && qRed(c) < 150 && qGreen(c) < 150;
    };
    // Right half: the text sits left of the cursor.
    int bluePixelsLeft = 0;
    int bluePixelsRight = 0;
    for (int y = plot.top; y < plot.top + 40; ++y) {
        for (int x = plot.left; x < x7 - 4; ++x) bluePixelsLeft += bluish(x, y);
        for (int x = x7 + 1; x < plot.right; ++x) bluePixelsRight += bluish(x, y);
    }
    EXPECT_GT(bluePixelsLeft, 20);
    EXPECT_EQ(bluePixelsRight, 0);
}

TEST_F(TrendChartTest, SavedPictureIsRealPngOfTheImageAndAFailureNamesFileAndReason) {
    QTemporaryDir dir;
    chart_.CreateImage(kWidth, kHeight);
    for (int i = 0; i < 30; ++i) chart_.AppendSample(Sample(kNow + i, 0, std::sin(i / 3.0f) * 5));
    const QString path = dir.filePath(QStringLiteral("传感器1趋势.png"));
    QString error;
    ASSERT_TRUE(chart_.SavePicture(path, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    const QImage loaded(path, "PNG");
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32),
              chart_.Image().convertToFormat(QImage::Format_RGB32));

    const QString missing = dir.filePath(QStringLiteral("missing/chart.png"));
    EXPECT_FALSE(chart_.SavePicture(missing, &error));
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(TrendChartTest, TextExportOfAKnownHistory) {
    for (int i = 0; i < 1803; ++i) {
        SensorSample s;
        s.time = static_cast<int32_t>(kNow) + i;
        s.milliseconds = static_cast<uint16_t>((7 + i) % 1000);
        s.T_Shell = 23.4f;
        s.Acc_X = static_cast<float>(i) / 100;  // 0.03 for the oldest kept
        s.Disp_Z = 120;
        chart_.AppendSample(s);
    }
    std::vector<SensorSample> copy(1800);
    ASSERT_EQ(chart_.CopySamples(copy.data()), 1800);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.txt"));
    QString error;
    ASSERT_TRUE(WriteSensorDataFile(path, copy.data(), 1800, &error));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 1 + 1800 + 1 + 1);  // header, samples, empty line, end
    EXPECT_EQ(lines[1], QByteArray("2024-05-01 08:30:18.010       23.4      0.03      0         "
                                   "0         0         0         0         0         0         "
                                   "120       \r"));
    EXPECT_TRUE(lines[1800].startsWith("2024-05-01 09:00:17.809       23.4      18.02     "));
    EXPECT_EQ(lines[1801], QByteArray("\r"));
    EXPECT_TRUE(lines[1802].isEmpty());
}

}  // namespace
}  // namespace orsan

namespace orsan {
namespace {

// Pixels of one colour along a row of the plot, or of its left half.
int CountOnRow(const TrendChart& chart, int y, QRgb color, bool leftHalf = false) {
    const EdgeRect& plot = chart.Layout().plotRect;
    const int right = leftHalf ? (plot.left + plot.right) / 2 : plot.right;
    int count = 0;
    for (int x = plot.left + 1; x < right; ++x)
        count += (chart.Image().pixel(x, y) | 0xff000000u) == color;
    return count;
}

TEST_F(TrendChartTest, ZoneBoundariesAreLabelledDashedLinesOnTheVelocityAxisOnly) {
    chart_.CreateImage(kWidth, kHeight);
    const EdgeRect& plot = Plot();
    const int width = plot.right - plot.left - 1;
    const int yBC = ValueToY(2.8f, 0, 20, plot);
    const int yCD = ValueToY(4.5f, 0, 20, plot);
    const QRgb mark = kZoneMarkColor.rgb();
    EXPECT_EQ(CountOnRow(chart_, yBC, mark), 0);
    // No curve is drawn in the boundaries' colour.
    for (const QColor& curve : CurveColors()) EXPECT_NE(curve.rgb(), mark);

    chart_.SetVelocityMarks({2.8f, 4.5f});
    chart_.Render();
    EXPECT_EQ(chart_.BackgroundRenderCount(), 2);
    for (const int y : {yBC, yCD}) {
        const int on = CountOnRow(chart_, y, mark, true);
        // Dashes (four or eight on, three off), crossed by the grid's solid lines.
        EXPECT_GT(on, width / 5) << y;
        EXPECT_LT(on, width * 9 / 20) << y;
        EXPECT_EQ(CountOnRow(chart_, y - 2, mark, true), 0) << y;
        EXPECT_EQ(CountOnRow(chart_, y + 2, mark, true), 0) << y;
    }
    // Labelled above the line at its right end ("C/D 4.5 mm/s"), in the
    // same teal, smoothed onto the white.
    int labelPixels = 0;
    for (int y = yCD - 14; y < yCD; ++y)
        for (int x = (plot.left + 3 * plot.right) / 4; x < plot.right; ++x) {
            const QColor c = chart_.Image().pixelColor(x, y);
            labelPixels += c.red() + 40 < c.green() && std::abs(c.green() - c.blue()) < 8;
        }
    EXPECT_GT(labelPixels, 20);

    // Beyond the axis's range, or 0, no line at all.
    TrendLimits limits = chart_.Limits();
    limits.VMax = 4;
    chart_.SetLimits(limits);
    chart_.SetVelocityMarks({4.0f, 0});
    chart_.Render();
    for (int y = plot.top; y <= plot.bottom; ++y) {
        EXPECT_EQ(CountOnRow(chart_, y, mark), 0) << y;
    }
}

}  // namespace
}  // namespace orsan
