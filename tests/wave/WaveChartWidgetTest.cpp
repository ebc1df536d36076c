#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <cmath>
#include <random>

#include "DxChartRealTime.h"
#include "WavDaqDlg.h"
#include "WaveChartRenderer.h"

namespace orsan {
namespace {

// A shown chart of 620 x 360: plot 60..560 x 30..330.
class ChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        chart.resize(620, 360);
        chart.show();
        chart.grab();  // the first paint fixes the layout and renders
        ASSERT_TRUE(chart.IsLaidOut());
    }
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&chart, QPoint((from.x() + to.x()) / 2, (from.y() + to.y()) / 2));
        QTest::mouseMove(&chart, to);
        QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, to);
    }
    DxChartRealTime chart;
};

std::vector<float> Ramp(int n, float start) {
    std::vector<float> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) v[size_t(i)] = start + float(i);
    return v;
}

TEST_F(ChartTest, SetWaveDataScrollsOrReplacesOrIgnores) {
    const int w = DxChartRealTime::kWindowSamples;
    const auto base = Ramp(w, 0);
    const auto neg = Ramp(w, -100000);
    chart.SetWaveData(base.data(), neg.data(), base.data(), w);
    const auto& x = chart.Content().samples[0];
    EXPECT_EQ(x.front(), 0);
    EXPECT_EQ(x.back(), float(w - 1));
    EXPECT_EQ(chart.Content().samples[1][5], -99995.0f);

    // A fifth of a second scrolls by exactly that many samples.
    const auto fresh = Ramp(5333, 1e6f);
    chart.SetWaveData(fresh.data(), fresh.data(), fresh.data(), 5333);
    EXPECT_EQ(x[0], 5333.0f);
    EXPECT_EQ(x[size_t(w - 5333 - 1)], float(w - 1));
    EXPECT_EQ(x[size_t(w - 5333)], 1e6f);
    EXPECT_EQ(x.back(), 1e6f + 5332);
    EXPECT_EQ(chart.Content().samples[2].back(), 1e6f + 5332);

    const auto big = Ramp(w + 1, 7);
    for (int n : {0, -1, w + 1}) chart.SetWaveData(big.data(), big.data(), big.data(), n);
    EXPECT_EQ(x[0], 5333.0f);
    EXPECT_EQ(x.back(), 1e6f + 5332);
}

TEST_F(ChartTest, DragZoomsAndLeftwardDragResets) {
    const int renders = chart.RenderCount();
    Drag({100, 50}, {300, 200});
    EXPECT_FALSE(chart.IsDragging());
    EXPECT_NEAR(chart.View().x.min, 0.08, 1e-6);
    EXPECT_NEAR(chart.View().x.max, 0.48, 1e-6);
    EXPECT_NEAR(chart.View().y.max, 1 - 2 * 20.0 / 300, 1e-6);
    EXPECT_NEAR(chart.View().y.min, 1 - 2 * 170.0 / 300, 1e-6);
    EXPECT_EQ(chart.RenderCount(), renders + 1);

    // A second drag zooms within the new ranges.
    Drag({60, 30}, {310, 180});
    EXPECT_NEAR(chart.View().x.min, 0.08, 1e-6);
    EXPECT_NEAR(chart.View().x.max, 0.28, 1e-6);

    Drag({300, 50}, {100, 200});
    EXPECT_EQ(chart.View().x.min, 0);
    EXPECT_EQ(chart.View().x.max, 1);
    EXPECT_EQ(chart.View().y.min, -1);
    EXPECT_EQ(chart.View().y.max, 1);
    EXPECT_EQ(chart.RenderCount(), renders + 3);

    Drag({100, 50}, {130, 60});  // 30 across, 10 down: nothing
    EXPECT_EQ(chart.View().x.max, 1);
    EXPECT_EQ(chart.RenderCount(), renders + 3);
}

TEST_F(ChartTest, DragRectangleIsDrawnFromTheCachedImage) {
    const int renders = chart.RenderCount();
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, {100, 50});
    QTest::mouseMove(&chart, {300, 200});
    ASSERT_TRUE(chart.IsDragging());
    const QImage shown = chart.grab().toImage();
    EXPECT_EQ(chart.RenderCount(), renders);
    // The outline's left edge is on screen, not in the cached image.
    EXPECT_EQ(QColor(shown.pixel(100, 121)), QColor(Qt::black));
    EXPECT_NE(QColor(chart.Surface().pixel(100, 121)), QColor(Qt::black));
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, {300, 200});
}

TEST_F(ChartTest, ClickPutsTheCursorTwoColumnsLeftWithoutRerendering) {
    std::vector<float> x(26667, 0.5f), y(26667, -0.5f), z(26667, 0.005f);
    chart.SetWaveData(x.data(), y.data(), z.data(), 26667);
    chart.Redraw();
    const int renders = chart.RenderCount();
    QTest::mouseClick(&chart, Qt::LeftButton, Qt::NoModifier, {250, 100});
    EXPECT_EQ(chart.View().cursorX, 248);
    EXPECT_EQ(chart.RenderCount(), renders);

    const CursorReadout cursor =
        ComputeCursor(chart.Layout(), chart.View(), chart.Content().interval, 26667);
    ASSERT_TRUE(cursor.visible);
    const CursorTexts texts = CursorReadoutTexts(chart.Layout(), chart.View(), chart.Content());
    EXPECT_EQ(texts.time, "0.38 s ");
    EXPECT_EQ(texts.values, "0.50 -0.50 0.005 ");

    const QImage shown = chart.grab().toImage();
    // The cursor line runs the plot's height at the snapped column.
    for (int row : {40, 140, 320})
        EXPECT_EQ(QColor(shown.pixel(cursor.column, row)), QColor(Qt::black)) << row;
    // Coloured markers where X and Y cross it (rows 105 and 255).
    const auto hasColour = [&](const QColor& colour, int row) {
        for (int dx = -6; dx <= 8; ++dx)
            for (int dy = -8; dy <= 8; ++dy)
                if (QColor(shown.pixel(cursor.column + dx, row + dy)) == colour) return true;
        return false;
    };
    EXPECT_TRUE(hasColour(kWaveCurveColors[0], 105));
    EXPECT_TRUE(hasColour(kWaveCurveColors[1], 255));
}

TEST_F(ChartTest, BoxesWidenAndNarrowTheRange) {
    const ChartRect widen = chart.Layout().widenBox;
    const ChartRect narrow = chart.Layout().narrowBox;
    const QPoint w(widen.left + 8, widen.top + 8), n(narrow.left + 8, narrow.top + 8);
    QTest::mouseClick(&chart, Qt::LeftButton, Qt::NoModifier, w);
    EXPECT_EQ(chart.View().y.max, 2);
    EXPECT_EQ(chart.View().homeY.min, -2);
    for (int i = 0; i < 4; ++i) QTest::mouseClick(&chart, Qt::LeftButton, Qt::NoModifier, n);
    EXPECT_EQ(chart.View().y.max, 0.25f);
    EXPECT_EQ(chart.View().y.min, -0.25f);
    // Pressed on the box but released elsewhere: nothing.
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, w);
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, {300, 200});
    EXPECT_EQ(chart.View().y.max, 0.25f);
}

std::array<std::vector<float>, 3> MachineSecond(unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0, 0.05f);
    std::array<std::vector<float>, 3> axes;
    for (int a = 0; a < 3; ++a) {
        axes[a].resize(26667);
        for (int k = 0; k < 26667; ++k) {
            const float t = float(k) / 26667.0f;
            axes[a][size_t(k)] = 0.4f * std::sin(2 * 3.14159265f * 24.5f * t + float(a)) +
                                 0.15f * std::sin(2 * 3.14159265f * 49 * t) +
                                 0.08f * std::sin(2 * 3.14159265f * 1470 * t) + noise(random);
        }
    }
    return axes;
}

TEST(ChartRendering, PerColumnImageMatchesEveryPointImage) {
    // The dialog's chart size and a few zooms, including one below two
    // samples per column.
    const WavDaqDlg dialog(0, QString());
    for (const QSize size : {dialog.Chart()->size(), QSize(620, 360)}) {
        const ChartLayout layout = ChartLayout::Compute(size.width(), size.height());
        WaveChartContent content;
        content.samples = MachineSecond(size.width());
        for (const AxisRange x : {AxisRange{0, 1}, AxisRange{0.2f, 0.7f}, AxisRange{0.5f, 0.51f}}) {
            ChartView view;
            view.x = x;
            QImage full(size, QImage::Format_ARGB32_Premultiplied);
            QImage m4(size, QImage::Format_ARGB32_Premultiplied);
            RenderWaveChart(full, layout, view, content, CurveMode::EveryPoint);
            RenderWaveChart(m4, layout, view, content, CurveMode::PerColumn);
            long differing = 0;
            for (int row = 0; row < size.height(); ++row)
                for (int col = 0; col < size.width(); ++col)
                    differing += full.pixel(col, row) != m4.pixel(col, row);
            EXPECT_LE(differing, size.width() * size.height() / 10000)
                << size.width() << " " << x.min << ".." << x.max;
            // and the curves really are there
            long coloured = 0;
            for (int row = layout.plot.top; row < layout.plot.bottom; ++row)
                coloured += QColor(full.pixel(300, row)) == kWaveCurveColors[2];
            EXPECT_GT(coloured, 0);
        }
    }
}

TEST_F(ChartTest, ALaterSecondDrawsTheSameCurvesUnderItsOwnTimes) {
    const auto second = MachineSecond(7);
    chart.SetWaveData(second[0].data(), second[1].data(), second[2].data(), 26667);
    chart.Redraw();
    const QImage atZero = chart.Surface().copy();
    chart.SetTimeOrigin(4);
    chart.Redraw();
    EXPECT_EQ(chart.View().x.min, 4);
    EXPECT_EQ(chart.View().x.max, 5);
    const ChartRect plot = chart.Layout().plot;
    long differing = 0;
    for (int row = plot.top + 1; row < plot.bottom; ++row)
        for (int col = plot.left + 1; col < plot.right; ++col)
            differing += atZero.pixel(col, row) != chart.Surface().pixel(col, row);
    EXPECT_EQ(differing, 0);
    QTest::mouseClick(&chart, Qt::LeftButton, Qt::NoModifier, {250, 100});
    EXPECT_EQ(CursorReadoutTexts(chart.Layout(), chart.View(), chart.Content()).time, "4.38 s ");

    // A zoom moves along to the next second; a reset returns to that second.
    Drag({110, 50}, {310, 200});
    chart.SetTimeOrigin(1);
    EXPECT_NEAR(chart.View().x.min, 1.1, 1e-5);
    EXPECT_NEAR(chart.View().x.max, 1.5, 1e-5);
    Drag({310, 50}, {110, 200});
    EXPECT_EQ(chart.View().x.min, 1);
    EXPECT_EQ(chart.View().x.max, 2);
}

TEST(ChartRendering, NothingBeforeTheFirstPaint) {
    DxChartRealTime chart;
    chart.Redraw();
    EXPECT_EQ(chart.RenderCount(), 0);
    EXPECT_FALSE(chart.IsLaidOut());
}

}  // namespace
}  // namespace orsan
