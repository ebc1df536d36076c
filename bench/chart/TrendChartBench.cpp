// Trend chart costs at the panel's chart size (952 x 338 pixels with the
// 12-pixel dialog font): a full render with 1800 samples and ten curves,
// also with the curves broken by outages, against the bare floor of the same
// ten polylines on a blank image, and appending to a full history.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <vector>

#include "BenchTiming.h"
#include "PlausibleTrend.h"
#include "TrendChart.h"
#include "TrendPainting.h"

namespace {

constexpr int kWidth = 952;
constexpr int kHeight = 338;
constexpr int kSamples = 1800;

void FillChart(orsan::TrendChart& chart) {
    chart.SetLimits(orsan::TrendLimits{0, 80, 10, 20, 50});
    for (int i = 0; i < kSamples; ++i) chart.AppendSample(orsan::test::PlausibleTrendSample(i));
    chart.CreateImage(kWidth, kHeight);
}

// Whole render as an append to a full history does it: restoring the plot,
// time labels, point mapping and ten polylines.
void BM_RenderFullChart(benchmark::State& state) {
    orsan::TrendChart chart;
    FillChart(chart);
    int i = kSamples;
    for (auto _ : state) {
        chart.AppendSample(orsan::test::PlausibleTrendSample(i++));
        benchmark::DoNotOptimize(chart.Image().constBits());
    }
    state.counters["renders"] = chart.RenderCount();
}
BENCHMARK(BM_RenderFullChart)->Unit(benchmark::kMicrosecond);

// The same render with a sensor that drops out for 5 of every 60 samples:
// each curve is drawn as 30 separate runs instead of one polyline.
void BM_RenderFullChartWithOutages(benchmark::State& state) {
    orsan::TrendChart chart;
    chart.SetLimits(orsan::TrendLimits{0, 80, 10, 20, 50});
    const auto measured = [](int i) { return i % 60 >= 5; };
    for (int i = 0; i < kSamples; ++i)
        chart.AppendSample(orsan::test::PlausibleTrendSample(i), measured(i));
    chart.CreateImage(kWidth, kHeight);
    int i = kSamples;
    for (auto _ : state) {
        chart.AppendSample(orsan::test::PlausibleTrendSample(i), measured(i));
        ++i;
        benchmark::DoNotOptimize(chart.Image().constBits());
    }
}
BENCHMARK(BM_RenderFullChartWithOutages)->Unit(benchmark::kMicrosecond);

// The floor: the same ten polylines (points precomputed) on a blank image.
void BM_PolylinesFloor(benchmark::State& state) {
    orsan::TrendChart chart;
    FillChart(chart);
    const orsan::TrendLayout& layout = chart.Layout();
    const orsan::TrendTimeRange& range = chart.TimeRange();
    std::vector<std::vector<QPoint>> curves(orsan::kCurveCount);
    for (int k = 0; k < orsan::kCurveCount; ++k) {
        const int axis = orsan::AxisOfCurve(k);
        for (int i = 0; i < kSamples; ++i) {
            const orsan::SensorSample& s = chart.History().At(i);
            curves[k].emplace_back(
                orsan::TimeToX(orsan::SampleTimePosition(s), range, layout.plotRect),
                orsan::ValueToY(s.Value(k), orsan::AxisLower(chart.Limits(), axis),
                                orsan::AxisUpper(chart.Limits(), axis), layout.plotRect));
        }
    }
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&image);
        for (int k = 0; k < orsan::kCurveCount; ++k) {
            painter.setPen(QPen(orsan::CurveColors()[k], 1.0));
            painter.drawPolyline(curves[k].data(), kSamples);
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PolylinesFloor)->Unit(benchmark::kMicrosecond);



// Both in one run, alternating, with their median times (wall clock and
// this thread's processor time) and the ratios (goal: render <= 1.2 x floor).
void BM_RenderOverFloorRatio(benchmark::State& state) {
    orsan::TrendChart chart;
    FillChart(chart);
    std::vector<std::vector<QPoint>> curves(orsan::kCurveCount);
    const orsan::TrendLayout& layout = chart.Layout();
    for (int k = 0; k < orsan::kCurveCount; ++k) {
        const int axis = orsan::AxisOfCurve(k);
        for (int i = 0; i < kSamples; ++i) {
            const orsan::SensorSample& s = chart.History().At(i);
            curves[k].emplace_back(
                orsan::TimeToX(orsan::SampleTimePosition(s), chart.TimeRange(), layout.plotRect),
                orsan::ValueToY(s.Value(k), orsan::AxisLower(chart.Limits(), axis),
                                orsan::AxisUpper(chart.Limits(), axis), layout.plotRect));
        }
    }
    QImage blank(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::white);
    using Clock = std::chrono::steady_clock;
    std::vector<double> renderUs, floorUs, renderCpuUs, floorCpuUs;
    int i = kSamples;
    for (auto _ : state) {
        const double c0 = orsan::bench::ThreadCpuUs();
        const auto t0 = Clock::now();
        chart.AppendSample(orsan::test::PlausibleTrendSample(i++));
        const auto t1 = Clock::now();
        const double c1 = orsan::bench::ThreadCpuUs();
        QPainter painter(&blank);
        for (int k = 0; k < orsan::kCurveCount; ++k) {
            painter.setPen(QPen(orsan::CurveColors()[k], 1.0));
            painter.drawPolyline(curves[k].data(), kSamples);
        }
        painter.end();
        const auto t2 = Clock::now();
        const double c2 = orsan::bench::ThreadCpuUs();
        renderUs.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        floorUs.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
        renderCpuUs.push_back(c1 - c0);
        floorCpuUs.push_back(c2 - c1);
        benchmark::DoNotOptimize(blank.constBits());
    }
    const double render = orsan::bench::Median(renderUs);
    const double floor = orsan::bench::Median(floorUs);
    state.counters["render_us"] = render;
    state.counters["floor_us"] = floor;
    state.counters["ratio"] = render / floor;
    state.counters["cpu_ratio"] = orsan::bench::Median(renderCpuUs) / orsan::bench::Median(floorCpuUs);
}
BENCHMARK(BM_RenderOverFloorRatio)->Unit(benchmark::kMicrosecond);

// Breakdown of a render: the six time labels alone, each a new text.
void BM_PaintTimeLabels(benchmark::State& state) {
    orsan::TrendChart chart;
    FillChart(chart);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    orsan::TrendTimeRange range = chart.TimeRange();
    for (auto _ : state) {
        ++range.startTime;
        ++range.endTime;
        QPainter painter(&image);
        orsan::PaintTimeLabels(painter, chart.Layout(), range);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintTimeLabels)->Unit(benchmark::kMicrosecond);

// Appending to a full history without drawing: no 1800-sample move.
void BM_AppendToFullHistory(benchmark::State& state) {
    orsan::TrendHistory history;
    for (int i = 0; i < kSamples; ++i) history.Append(orsan::test::PlausibleTrendSample(i));
    const orsan::SensorSample sample = orsan::test::PlausibleTrendSample(5);
    for (auto _ : state) {
        history.Append(sample);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AppendToFullHistory);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

