// The analysis of a 65,536-sample tri-axis capture against FFTW's own
// transform of the same three arrays with the same Hann window, the floor any
// spectrum of them costs; both with measured plans made before timing.
// envelope:0 is the acceleration and velocity spectra, overall values and
// peaks; envelope:1 adds the envelope spectrum, which needs three more
// transforms (forward, complex inverse, the envelope's own), so its ratio
// only shows their share.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <random>
#include <vector>

#include "FftPlans.h"
#include "WaveAnalyser.h"

namespace orsan {
namespace {

constexpr size_t kCount = 65536;
constexpr double kRate = 26667;

using Capture = std::array<std::vector<float>, 3>;

Capture MakeCapture() {
    Capture capture;
    std::mt19937 random(3);
    std::normal_distribution<float> noise(0, 0.05f);
    for (size_t a = 0; a < 3; ++a) {
        capture[a].resize(kCount);
        for (size_t k = 0; k < kCount; ++k) {
            const double t = double(k) / kRate;
            capture[a][k] = float(0.4 * std::sin(2 * M_PI * 24.5 * t + double(a)) +
                                  0.1 * std::sin(2 * M_PI * 1470 * t)) +
                            noise(random);
        }
    }
    return capture;
}

// What FFTW alone does for the three spectra: window and transform.
class BareTransform {
public:
    BareTransform()
        : in_(MakeRealArray(kCount)),
          out_(MakeComplexArray(kCount / 2 + 1)),
          window_(plans_.Hann(kCount)) {
        plans_.Forward(kCount, in_.get(), out_.get());
    }
    void Run(const Capture& capture) {
        for (const std::vector<float>& axis : capture) {
            for (size_t k = 0; k < kCount; ++k) in_[k] = double(axis[k]) * window_[k];
            plans_.Forward(kCount, in_.get(), out_.get());
            benchmark::DoNotOptimize(out_[1][0]);
        }
    }

private:
    FftPlans plans_{FftEffort::Measure};
    RealArray in_;
    ComplexArray out_;
    const std::vector<double>& window_;
};

class Analysis {
public:
    explicit Analysis(bool envelope) {
        settings_.envelope = envelope;
        settings_.runningSpeedHz = 24.5;
        Run(MakeCapture());  // plans made here, not in the timing
    }
    void Run(const Capture& capture) {
        for (const std::vector<float>& axis : capture) {
            auto result = analyser_.Analyse(axis.data(), kCount, kRate, settings_, nullptr);
            benchmark::DoNotOptimize(result->overall.velocityRms);
        }
    }

private:
    WaveAnalyser analyser_{FftEffort::Measure};
    AnalysisSettings settings_;
};

void BM_FftwWindowedTransform(benchmark::State& state) {
    const Capture capture = MakeCapture();
    BareTransform bare;
    for (auto _ : state) bare.Run(capture);
}
BENCHMARK(BM_FftwWindowedTransform)->Unit(benchmark::kMicrosecond);

void BM_AnalyseCapture(benchmark::State& state) {
    const Capture capture = MakeCapture();
    Analysis analysis(state.range(0) != 0);
    for (auto _ : state) analysis.Run(capture);
}
BENCHMARK(BM_AnalyseCapture)->ArgName("envelope")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Both in one process, alternating, so a busy machine slows both alike.
void BM_AnalysisRatio(benchmark::State& state) {
    const Capture capture = MakeCapture();
    BareTransform bare;
    Analysis analysis(state.range(0) != 0);
    using Clock = std::chrono::steady_clock;
    double bareTime = 0, analysisTime = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        bare.Run(capture);
        const auto t1 = Clock::now();
        analysis.Run(capture);
        const auto t2 = Clock::now();
        bareTime += std::chrono::duration<double, std::micro>(t1 - t0).count();
        analysisTime += std::chrono::duration<double, std::micro>(t2 - t1).count();
    }
    const double n = double(state.iterations());
    state.counters["fftw_us"] = bareTime / n;
    state.counters["analysis_us"] = analysisTime / n;
    state.counters["ratio"] = analysisTime / bareTime;
}
BENCHMARK(BM_AnalysisRatio)->ArgName("envelope")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orsan
