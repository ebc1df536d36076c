// Renders one full second of the three curves at the waveform dialog's chart
// size, once reduced per pixel column and once with every sample, so one run
// shows both times and their ratio.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>

#include "DialogUnits.h"
#include "WaveChartRenderer.h"

namespace orsan {
namespace {

QSize ChartSize() {
    // The dialog places the chart at 426 x 232 dialog units.
    const DialogUnits du;
    return du.Size(426, 232);
}

WaveChartContent OneSecond() {
    WaveChartContent content;
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0, 0.05f);
    for (int a = 0; a < 3; ++a) {
        content.samples[a].resize(26667);
        for (int k = 0; k < 26667; ++k) {
            const float t = float(k) / 26667.0f;
            content.samples[a][size_t(k)] = 0.4f * std::sin(6.2831853f * 24.5f * t + float(a)) +
                                            0.15f * std::sin(6.2831853f * 49 * t) +
                                            0.08f * std::sin(6.2831853f * 1470 * t) + noise(random);
        }
    }
    return content;
}

void Render(benchmark::State& state, CurveMode mode) {
    const QSize size = ChartSize();
    const ChartLayout layout = ChartLayout::Compute(size.width(), size.height());
    const ChartView view;
    const WaveChartContent content = OneSecond();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        RenderWaveChart(image, layout, view, content, mode);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = size.width();
    state.counters["height"] = size.height();
    state.counters["samples"] = 3 * 26667;
}

void BM_RenderSecondPerColumn(benchmark::State& state) {
    Render(state, CurveMode::PerColumn);
}
void BM_RenderSecondEveryPoint(benchmark::State& state) {
    Render(state, CurveMode::EveryPoint);
}
BENCHMARK(BM_RenderSecondPerColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderSecondEveryPoint)->Unit(benchmark::kMillisecond);

// Both ways side by side in one process, for the ratio.
void BM_RenderSecondRatio(benchmark::State& state) {
    const QSize size = ChartSize();
    const ChartLayout layout = ChartLayout::Compute(size.width(), size.height());
    const ChartView view;
    const WaveChartContent content = OneSecond();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    using Clock = std::chrono::steady_clock;
    double perColumn = 0, everyPoint = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        RenderWaveChart(image, layout, view, content, CurveMode::PerColumn);
        auto t1 = Clock::now();
        RenderWaveChart(image, layout, view, content, CurveMode::EveryPoint);
        auto t2 = Clock::now();
        perColumn += std::chrono::duration<double, std::milli>(t1 - t0).count();
        everyPoint += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    const double n = double(state.iterations());
    state.counters["per_column_ms"] = perColumn / n;
    state.counters["every_point_ms"] = everyPoint / n;
    state.counters["ratio"] = everyPoint / perColumn;
}
BENCHMARK(BM_RenderSecondRatio)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orsan

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
