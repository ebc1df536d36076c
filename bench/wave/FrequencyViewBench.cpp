// Redraws the spectrum view (frame, grid, labels, three curves merged per
// pixel column, order and harmonic markers, cursor readout) at the waveform
// dialog's size, against the bare drawing of the same lines as one polyline
// per axis, for spectra of 1 s and 10 s captures. Goal: ratio <= 1.5.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <cmath>
#include <random>

#include "DialogUnits.h"
#include "FrequencyChartRenderer.h"
#include "WaveChartRenderer.h"

namespace orsan {
namespace {

struct Scene {
    SpectrumChartContent content;
    FrequencyViewState state;
    QImage image;
};

// Machine lines at 24.5 Hz and its multiples over noise, analysed as the
// dialog does; the cursor on 1X with its harmonics, order markers on.
Scene MakeScene(int seconds) {
    const double rate = 26667;
    const size_t n = size_t(seconds) * 26667;
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 0.02);
    std::vector<float> samples(n);
    WaveAnalyser analyser;
    std::array<AmplitudeSpectrum, 3> spectra;
    for (size_t a = 0; a < 3; ++a) {
        for (size_t k = 0; k < n; ++k) {
            const double w = 2 * M_PI * 24.5 * double(k) / rate;
            samples[k] = float(0.3 * std::sin(w + double(a)) + 0.1 * std::sin(2 * w) +
                               0.05 * std::sin(60 * w) + noise(random));
        }
        spectra[a] = *analyser.Amplitude(samples.data(), n, rate, 0, nullptr);
    }
    Scene scene;
    scene.content.Set(std::move(spectra), AmplitudeScale::Linear);
    scene.content.title = QStringLiteral("加速度频谱");
    scene.content.unit = QStringLiteral("g");
    const double top =
        scene.content.spectra[0].Frequency(scene.content.spectra[0].amplitude.size() - 1);
    scene.state.x = scene.state.homeX = {0, top};
    scene.state.y = AmplitudeRange(scene.content.Triple(), scene.state.x, scene.state.scale);
    scene.state.runningSpeedHz = 24.5;
    scene.state.cursorHz = 24.5;
    scene.state.harmonics = true;
    // The view's place in the spectrum page, 426 x 196 dialog units.
    scene.image = QImage(DialogUnits().Size(426, 196), QImage::Format_ARGB32_Premultiplied);
    return scene;
}

void Redraw(Scene& s) {
    RenderSpectrumChart(s.image, s.content, s.state);
    QPainter painter(&s.image);
    DrawSpectrumOverlay(painter, SpectrumPlotRect(s.image.width(), s.image.height()), s.content,
                        s.state);
}

// Every line a point of one polyline per axis, nothing else.
void BarePolyline(Scene& s, std::vector<QPoint>& points) {
    QPainter painter(&s.image);
    painter.fillRect(s.image.rect(), Qt::white);
    const ChartRect plot = SpectrumPlotRect(s.image.width(), s.image.height());
    const double xScale = plot.Width() / s.state.x.Span();
    const double yScale = plot.Height() / s.state.y.Span();
    for (size_t a = 0; a < 3; ++a) {
        const AmplitudeSpectrum& spectrum = s.content.spectra[a];
        points.resize(spectrum.amplitude.size());
        for (size_t k = 0; k < points.size(); ++k) {
            points[k] = QPoint(plot.left + int(spectrum.Frequency(k) * xScale),
                               plot.bottom - int(spectrum.amplitude[k] * yScale));
        }
        painter.setPen(QPen(kWaveCurveColors[a], 1));
        painter.drawPolyline(points.data(), int(points.size()));
    }
}

void BM_SpectrumRedraw(benchmark::State& state) {
    Scene scene = MakeScene(int(state.range(0)));
    for (auto _ : state) {
        Redraw(scene);
        benchmark::DoNotOptimize(scene.image.constBits());
    }
    state.counters["lines"] = double(scene.content.spectra[0].amplitude.size());
}
BENCHMARK(BM_SpectrumRedraw)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_SpectrumBarePolyline(benchmark::State& state) {
    Scene scene = MakeScene(int(state.range(0)));
    std::vector<QPoint> points;
    for (auto _ : state) {
        BarePolyline(scene, points);
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_SpectrumBarePolyline)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Both in one process, alternating, for the ratio redraw / bare polyline.
void BM_SpectrumRedrawRatio(benchmark::State& state) {
    Scene scene = MakeScene(int(state.range(0)));
    std::vector<QPoint> points;
    using Clock = std::chrono::steady_clock;
    double redraw = 0, bare = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        Redraw(scene);
        const auto t1 = Clock::now();
        BarePolyline(scene, points);
        const auto t2 = Clock::now();
        redraw += std::chrono::duration<double, std::milli>(t1 - t0).count();
        bare += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    const double n = double(state.iterations());
    state.counters["redraw_ms"] = redraw / n;
    state.counters["bare_polyline_ms"] = bare / n;
    state.counters["ratio"] = redraw / bare;
}
BENCHMARK(BM_SpectrumRedrawRatio)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orsan
