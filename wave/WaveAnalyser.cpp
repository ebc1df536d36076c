#include "WaveAnalyser.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>

#include "CoreText.h"

// The passes as long as the transform's own get AVX2 where the processor has
// it (chosen at load time); GCC on x86-64 Linux only, plain code elsewhere.
// Not under ThreadSanitizer: the resolver runs before its runtime is up.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__) && \
    !defined(__SANITIZE_THREAD__)
#define ORSAN_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define ORSAN_WIDE_VECTORS
#endif

namespace orsan {
namespace {

constexpr size_t kMinimumSamples = 8;
// Equivalent noise bandwidth of the Hann window in lines: its power spread.
constexpr double kHannNoiseBandwidth = 1.5;

bool Fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

bool CheckInput(size_t count, double sampleRate, size_t segmentLength, std::string* error) {
    if (!(sampleRate > 0) || !std::isfinite(sampleRate)) {
        return Fail(error, CoreText::translate("WaveAnalyser", "采样率无效: %1")
                               .With({std::to_string(sampleRate)}));
    }
    if (count < kMinimumSamples) {
        return Fail(
            error,
            CoreText::translate("WaveAnalyser", "波形点数太少: %1").With({std::to_string(count)}));
    }
    if (segmentLength == 0) return true;
    if (segmentLength < kMinimumSamples || (segmentLength & (segmentLength - 1)) != 0) {
        return Fail(error, CoreText::translate("WaveAnalyser", "分段长度必须是不小于8的2的幂: %1")
                               .With({std::to_string(segmentLength)}));
    }
    if (segmentLength > count) {
        return Fail(error, CoreText::translate("WaveAnalyser", "分段长度 %1 超过波形点数 %2")
                               .With({std::to_string(segmentLength), std::to_string(count)}));
    }
    return true;
}

// Lines within [lowHz, highHz], clipped to the lines that exist.
std::pair<size_t, size_t> LineRange(const AmplitudeSpectrum& spectrum, double lowHz,
                                    double highHz) {
    const size_t lines = spectrum.amplitude.size();
    const double first = std::ceil(std::max(lowHz, 0.0) / spectrum.lineSpacing);
    const double last = std::floor(highHz / spectrum.lineSpacing);
    const size_t begin = size_t(std::min(first, double(lines)));
    const size_t end = last < 0 ? 0 : size_t(std::min(last + 1, double(lines)));
    return {begin, std::max(begin, end)};
}

bool IsEdgeLine(const AmplitudeSpectrum& spectrum, size_t line) {
    return line == 0 || (spectrum.segmentLength % 2 == 0 && line == spectrum.segmentLength / 2);
}

// Amplitude a line of the Hann window's main lobe reads of a tone `offset`
// lines away, relative to the tone's amplitude: sinc(d) / (1 - d^2).
double HannResponse(double offset) {
    if (std::abs(offset) < 1e-9) return 1;
    const double x = std::numbers::pi * offset;
    return std::sin(x) / (x * (1 - offset * offset));
}

template <typename Sample>
double Mean(const Sample* samples, size_t count) {
    double sum = 0;
#pragma omp simd reduction(+ : sum)
    for (size_t k = 0; k < count; ++k) sum += double(samples[k]);
    return sum / double(count);
}

OverallValues OverallFrom(double squares, double fourth, double peak, size_t count) {
    OverallValues overall;
    const double meanSquare = squares / double(count);
    overall.rms = std::sqrt(meanSquare);
    overall.peak = peak;
    if (meanSquare > 0) {
        overall.crestFactor = peak / overall.rms;
        overall.kurtosis = fourth / double(count) / (meanSquare * meanSquare);
    }
    return overall;
}

// The largest excursion from the mean, from the extremes (which vectorise).
template <typename Sample>
double Peak(const Sample* samples, size_t count, double mean) {
    Sample highest = samples[0], lowest = samples[0];
#pragma omp simd reduction(max : highest) reduction(min : lowest)
    for (size_t k = 0; k < count; ++k) {
        highest = samples[k] > highest ? samples[k] : highest;
        lowest = samples[k] < lowest ? samples[k] : lowest;
    }
    return std::max(double(highest) - mean, mean - double(lowest));
}

// |line| x scale.
ORSAN_WIDE_VECTORS void Magnitudes(const fftw_complex* lines, size_t count, double scale,
                                   double* magnitude) {
#pragma omp simd
    for (size_t k = 0; k < count; ++k) {
        magnitude[k] = std::sqrt(lines[k][0] * lines[k][0] + lines[k][1] * lines[k][1]) * scale;
    }
}

// out[k] = in[k] x factor / k for k >= 1. An int line number converts to
// double in SIMD lanes; a size_t does not.
ORSAN_WIDE_VECTORS void DivideByLine(const double* in, int count, double factor, double* out) {
#pragma omp simd
    for (int k = 1; k < count; ++k) out[k] = in[k] * factor / double(k);
}

struct ShiftedSums {
    double s1 = 0, s2 = 0, s3 = 0, s4 = 0;  // of (x - shift)^1..4
    double highest = 0, lowest = 0;         // of x
};

// in = (x - shift) x window, and the sums of the powers of (x - shift).
template <typename Sample>
__attribute__((always_inline)) inline ShiftedSums WindowShiftedBody(const Sample* samples, size_t n,
                                                                    double shift,
                                                                    const double* window,
                                                                    double* in) {
    double s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    Sample highest = samples[0], lowest = samples[0];
#pragma omp simd reduction(+ : s1, s2, s3, s4) reduction(max : highest) reduction(min : lowest)
    for (size_t k = 0; k < n; ++k) {
        const double y = double(samples[k]) - shift;
        const double y2 = y * y;
        s1 += y;
        s2 += y2;
        s3 += y2 * y;
        s4 += y2 * y2;
        highest = samples[k] > highest ? samples[k] : highest;
        lowest = samples[k] < lowest ? samples[k] : lowest;
        in[k] = y * window[k];
    }
    return {s1, s2, s3, s4, double(highest), double(lowest)};
}

ORSAN_WIDE_VECTORS ShiftedSums WindowShifted(const float* samples, size_t n, double shift,
                                             const double* window, double* in) {
    return WindowShiftedBody(samples, n, shift, window, in);
}

ORSAN_WIDE_VECTORS ShiftedSums WindowShifted(const double* samples, size_t n, double shift,
                                             const double* window, double* in) {
    return WindowShiftedBody(samples, n, shift, window, in);
}

}  // namespace

template <typename Sample>
AmplitudeSpectrum WaveAnalyser::AmplitudeOf(const Sample* samples, size_t count,
                                                double sampleRate, size_t segmentLength,
                                                OverallValues* overall) {
    const size_t n = segmentLength ? segmentLength : count;
    const size_t lines = n / 2 + 1;
    const std::vector<double>& window = plans_.Hann(n);
    double* in = real_.Get(n);
    fftw_complex* out = lines_.Get(lines);
    AmplitudeSpectrum spectrum;
    spectrum.lineSpacing = sampleRate / double(n);
    spectrum.segmentLength = n;
    std::vector<double>& amplitude = spectrum.amplitude;
    // The window sums to n/2 and a tone splits between the two halves, so a
    // tone of amplitude A gives |X| = A n / 4 on its line; the DC and
    // Nyquist lines have no mirror image.
    const double scale = 4.0 / double(n);

    if (segmentLength == 0) {
        // One pass over the samples serves the transform and the overall
        // values. Sums are taken about the first sample, which lies within
        // the vibration's reach of the mean, so the central moments come out
        // without cancellation; the mean is taken out of the transform
        // afterwards: times the periodic Hann window it only reaches lines
        // 0 (n/2 of it) and 1 (-n/4 of it).
        const double shift = double(samples[0]);
        const ShiftedSums sums = WindowShifted(samples, n, shift, window.data(), in);
        const double s1 = sums.s1, s2 = sums.s2, s3 = sums.s3, s4 = sums.s4;
        const double highest = sums.highest, lowest = sums.lowest;
        plans_.Forward(n, in, out);
        const double total = double(n);
        const double mu = s1 / total;
        out[0][0] -= mu * total / 2;
        out[1][0] += mu * total / 4;
        if (overall) {
            const double mu2 = mu * mu;
            const double m2 = std::max(0.0, s2 / total - mu2);
            const double m4 =
                std::max(0.0, (s4 - 4 * mu * s3 + 6 * mu2 * s2) / total - 3 * mu2 * mu2);
            const double mean = shift + mu;
            const double peak = std::max(double(highest) - mean, mean - double(lowest));
            *overall = OverallFrom(m2 * total, m4 * total, peak, n);
        }
        amplitude.resize(lines);
        Magnitudes(out, lines, scale, amplitude.data());
        spectrum.segments = 1;
    } else {
        // Powers are summed in place, then become amplitudes.
        amplitude.assign(lines, 0.0);
        for (size_t start = 0; start + n <= count; start += n / 2) {
            const Sample* segment = samples + start;
            const double mean = Mean(segment, n);
#pragma omp simd
            for (size_t k = 0; k < n; ++k) in[k] = (double(segment[k]) - mean) * window[k];
            plans_.Forward(n, in, out);
#pragma omp simd
            for (size_t k = 0; k < lines; ++k) {
                amplitude[k] += out[k][0] * out[k][0] + out[k][1] * out[k][1];
            }
            ++spectrum.segments;
        }
        const double perSegment = 1.0 / double(spectrum.segments);
#pragma omp simd
        for (size_t k = 0; k < lines; ++k)
            amplitude[k] = std::sqrt(amplitude[k] * perSegment) * scale;
    }
    for (size_t k : {size_t(0), lines - 1}) {
        if (IsEdgeLine(spectrum, k)) amplitude[k] *= 0.5;
    }
    return spectrum;
}

std::optional<AmplitudeSpectrum> WaveAnalyser::Amplitude(const float* samples, size_t count,
                                                             double sampleRate,
                                                             size_t segmentLength,
                                                             std::string* error) {
    if (!CheckInput(count, sampleRate, segmentLength, error)) return std::nullopt;
    try {
        return AmplitudeOf(samples, count, sampleRate, segmentLength);
    } catch (const std::bad_alloc&) {
        Fail(error, CoreText::translate("WaveAnalyser", "内存不足，无法计算频谱"));
        return std::nullopt;
    }
}

std::optional<AmplitudeSpectrum> WaveAnalyser::Envelope(const float* samples, size_t count,
                                                            double sampleRate, size_t segmentLength,
                                                            double lowHz, double highHz,
                                                            std::string* error) {
    if (!CheckInput(count, sampleRate, segmentLength, error)) return std::nullopt;
    const double lineSpacing = sampleRate / double(count);
    // The analytic signal keeps the lines strictly between DC and Nyquist.
    const bool inRange = lowHz >= 0 && highHz > lowHz && highHz <= sampleRate / 2;
    const size_t first = inRange ? size_t(std::max(1.0, std::ceil(lowHz / lineSpacing))) : 1;
    const size_t last =
        inRange ? size_t(std::min(std::floor(highHz / lineSpacing), double((count - 1) / 2))) : 0;
    if (last < first) {
        Fail(error, CoreText::translate("WaveAnalyser", "包络带通范围无效: %1 到 %2 Hz")
                        .With({std::to_string(lowHz), std::to_string(highHz)}));
        return std::nullopt;
    }
    try {
        const size_t n = count;
        double* in = real_.Get(n);
        const double mean = Mean(samples, n);
        for (size_t k = 0; k < n; ++k) in[k] = double(samples[k]) - mean;
        fftw_complex* lines = lines_.Get(n / 2 + 1);
        plans_.Forward(n, in, lines);

        // Band-pass and Hilbert transform in one step: the analytic signal
        // has the positive frequencies doubled and no negative ones.
        fftw_complex* analytic = analytic_.Get(n);
        std::fill_n(&analytic[0][0], 2 * n, 0.0);
        for (size_t k = first; k <= last; ++k) {
            analytic[k][0] = 2 * lines[k][0];
            analytic[k][1] = 2 * lines[k][1];
        }
        fftw_complex* signal = signal_.Get(n);
        plans_.Backward(n, analytic, signal);
        envelope_.resize(n);
        const double scale = 1.0 / double(n);
#pragma omp simd
        for (size_t k = 0; k < n; ++k) {
            envelope_[k] =
                std::sqrt(signal[k][0] * signal[k][0] + signal[k][1] * signal[k][1]) * scale;
        }
        return AmplitudeOf(envelope_.data(), n, sampleRate, segmentLength);
    } catch (const std::bad_alloc&) {
        Fail(error, CoreText::translate("WaveAnalyser", "内存不足，无法计算包络谱"));
        return std::nullopt;
    }
}

std::optional<AxisAnalysis> WaveAnalyser::Analyse(const float* samples, size_t count,
                                                      double sampleRate,
                                                      const AnalysisSettings& settings,
                                                      std::string* error) {
    if (!CheckInput(count, sampleRate, settings.segmentLength, error)) return std::nullopt;
    AxisAnalysis analysis;
    if (settings.envelope) {
        const double high =
            settings.envelopeHighHz > 0 ? settings.envelopeHighHz : 0.4 * sampleRate;
        std::optional<AmplitudeSpectrum> envelope =
            Envelope(samples, count, sampleRate, settings.segmentLength, settings.envelopeLowHz,
                     high, error);
        if (!envelope) return std::nullopt;
        analysis.envelope = std::move(*envelope);
    }
    try {
        if (settings.segmentLength == 0) {
            analysis.acceleration = AmplitudeOf(samples, count, sampleRate, 0, &analysis.overall);
        } else {
            analysis.acceleration = AmplitudeOf(samples, count, sampleRate, settings.segmentLength);
            analysis.overall = AccelerationOverall(samples, count);
        }
        analysis.velocity = VelocitySpectrum(analysis.acceleration);
    } catch (const std::bad_alloc&) {
        Fail(error, CoreText::translate("WaveAnalyser", "内存不足，无法计算频谱"));
        return std::nullopt;
    }
    analysis.overall.velocityRms =
        BandRms(analysis.velocity, kVelocityBandLowHz, kVelocityBandHighHz);
    analysis.peaks =
        LargestPeaks(analysis.acceleration, kSpectrumPeakCount, settings.runningSpeedHz);
    return analysis;
}

AmplitudeSpectrum VelocitySpectrum(const AmplitudeSpectrum& acceleration) {
    AmplitudeSpectrum velocity;
    velocity.lineSpacing = acceleration.lineSpacing;
    velocity.segmentLength = acceleration.segmentLength;
    velocity.segments = acceleration.segments;
    const size_t lines = acceleration.amplitude.size();
    velocity.amplitude.resize(lines);
    const double perLine =
        kMillimetresPerSecondPerG / (2 * std::numbers::pi * velocity.lineSpacing);
    DivideByLine(acceleration.amplitude.data(), int(lines), perLine, velocity.amplitude.data());
    // Lines k < 2 Hz / spacing are dropped.
    const size_t dropped =
        std::min(lines, size_t(std::ceil(kVelocityLowestHz / velocity.lineSpacing)));
    std::fill_n(velocity.amplitude.begin(), dropped, 0.0);
    return velocity;
}

double BandRms(const AmplitudeSpectrum& spectrum, double lowHz, double highHz) {
    if (spectrum.amplitude.empty() || !(spectrum.lineSpacing > 0)) return 0;
    const auto [begin, end] = LineRange(spectrum, lowHz, highHz);
    double meanSquare = 0;
    for (size_t k = begin; k < end; ++k) {
        const double a = spectrum.amplitude[k];
        // A sine of amplitude a has mean square a^2 / 2; DC and Nyquist a^2.
        meanSquare += IsEdgeLine(spectrum, k) ? a * a : a * a / 2;
    }
    return std::sqrt(meanSquare / kHannNoiseBandwidth);
}

std::vector<SpectrumPeak> LargestPeaks(const AmplitudeSpectrum& spectrum, size_t count,
                                       double runningSpeedHz) {
    const std::vector<double>& a = spectrum.amplitude;
    // The largest local maxima so far, smallest last; a line must beat the
    // last one before it is looked at more closely.
    std::vector<size_t> maxima;
    if (count == 0) return {};
    maxima.reserve(count + 1);
    double threshold = 0;
    constexpr size_t kBlock = 64;
    for (size_t k = 1; k + 1 < a.size(); ++k) {
        if (k % kBlock == 1 && k + kBlock < a.size()) {
            // Most blocks hold nothing above the threshold once it has risen.
            double largest = 0;
#pragma omp simd reduction(max : largest)
            for (size_t j = k; j < k + kBlock; ++j) largest = a[j] > largest ? a[j] : largest;
            if (largest <= threshold) {
                k += kBlock - 1;
                continue;
            }
        }
        if (a[k] <= threshold || a[k] <= a[k - 1] || a[k] < a[k + 1]) continue;
        auto at = std::find_if(maxima.begin(), maxima.end(), [&](size_t m) { return a[m] < a[k]; });
        maxima.insert(at, k);
        if (maxima.size() > count) maxima.pop_back();
        if (maxima.size() == count) threshold = a[maxima.back()];
    }
    const size_t kept = maxima.size();

    std::vector<SpectrumPeak> peaks;
    peaks.reserve(kept);
    for (size_t k : maxima) {
        // For a tone d lines from line k, the Hann window gives exactly
        // d = 2 (right - left) / (left + 2 centre + right).
        const double left = a[k - 1], centre = a[k], right = a[k + 1];
        const double offset =
            std::clamp(2 * (right - left) / (left + 2 * centre + right), -0.5, 0.5);
        SpectrumPeak peak;
        peak.frequency = (double(k) + offset) * spectrum.lineSpacing;
        peak.amplitude = centre / HannResponse(offset);
        peak.order = runningSpeedHz > 0 ? peak.frequency / runningSpeedHz : 0;
        peaks.push_back(peak);
    }
    std::stable_sort(peaks.begin(), peaks.end(), [](const SpectrumPeak& l, const SpectrumPeak& r) {
        return l.amplitude > r.amplitude;
    });
    return peaks;
}

OverallValues AccelerationOverall(const float* samples, size_t count) {
    if (count == 0) return {};
    const double mean = Mean(samples, count);
    double squares = 0, fourth = 0;
#pragma omp simd reduction(+ : squares, fourth)
    for (size_t k = 0; k < count; ++k) {
        const double d = double(samples[k]) - mean;
        const double d2 = d * d;
        squares += d2;
        fourth += d2 * d2;
    }
    return OverallFrom(squares, fourth, Peak(samples, count, mean), count);
}

}  // namespace orsan
