#include "SpectrumAnalysis.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>

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
        return Fail(error, "采样率无效: " + std::to_string(sampleRate));
    }
    if (count < kMinimumSamples) {
        return Fail(error, "波形点数太少: " + std::to_string(count));
    }
    if (segmentLength == 0) return true;
    if (segmentLength < kMinimumSamples || (segmentLength & (segmentLength - 1)) != 0) {
        return Fail(error, "分段长度必须是不小于8的2的幂: " + std::to_string(segmentLength));
    }
    if (segmentLength > count) {
        return Fail(error, "分段长度 " + std::to_string(segmentLength) + " 超过波形点数 " +
                               std::to_string(count));
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

}  // namespace

template <typename Sample>
AmplitudeSpectrum SpectrumAnalyser::AmplitudeOf(const Sample* samples, size_t count,
                                                double sampleRate, size_t segmentLength) {
    const size_t n = segmentLength ? segmentLength : count;
    const size_t lines = n / 2 + 1;
    const std::vector<double>& window = plans_.Hann(n);
    RealArray in = MakeRealArray(n);
    ComplexArray out = MakeComplexArray(lines);
    std::vector<double> power(lines, 0.0);
    size_t segments = 0;
    for (size_t start = 0; start + n <= count; start += n / 2) {
        const Sample* segment = samples + start;
        double sum = 0;
        for (size_t k = 0; k < n; ++k) sum += double(segment[k]);
        const double mean = sum / double(n);
        for (size_t k = 0; k < n; ++k) in[k] = (double(segment[k]) - mean) * window[k];
        plans_.Forward(n, in.get(), out.get());
        for (size_t k = 0; k < lines; ++k) power[k] += out[k][0] * out[k][0] + out[k][1] * out[k][1];
        ++segments;
        if (segmentLength == 0) break;
    }

    AmplitudeSpectrum spectrum;
    spectrum.lineSpacing = sampleRate / double(n);
    spectrum.segmentLength = n;
    spectrum.segments = segments;
    spectrum.amplitude.resize(lines);
    // The window sums to n/2 and a tone splits between the two halves, so a
    // tone of amplitude A gives |X| = A n / 4 on its line; the DC and
    // Nyquist lines have no mirror image.
    const double scale = 4.0 / double(n);
    const double perSegment = 1.0 / double(segments);
    for (size_t k = 0; k < lines; ++k) {
        spectrum.amplitude[k] = std::sqrt(power[k] * perSegment) * scale;
    }
    for (size_t k : {size_t(0), lines - 1}) {
        if (IsEdgeLine(spectrum, k)) spectrum.amplitude[k] *= 0.5;
    }
    return spectrum;
}

std::optional<AmplitudeSpectrum> SpectrumAnalyser::Amplitude(const float* samples, size_t count,
                                                             double sampleRate,
                                                             size_t segmentLength,
                                                             std::string* error) {
    if (!CheckInput(count, sampleRate, segmentLength, error)) return std::nullopt;
    try {
        return AmplitudeOf(samples, count, sampleRate, segmentLength);
    } catch (const std::bad_alloc&) {
        Fail(error, "内存不足，无法计算频谱");
        return std::nullopt;
    }
}

std::optional<AmplitudeSpectrum> SpectrumAnalyser::Envelope(const float* samples, size_t count,
                                                            double sampleRate,
                                                            size_t segmentLength, double lowHz,
                                                            double highHz, std::string* error) {
    if (!CheckInput(count, sampleRate, segmentLength, error)) return std::nullopt;
    const double lineSpacing = sampleRate / double(count);
    // The analytic signal keeps the lines strictly between DC and Nyquist.
    const bool inRange = lowHz >= 0 && highHz > lowHz && highHz <= sampleRate / 2;
    const size_t first = inRange ? size_t(std::max(1.0, std::ceil(lowHz / lineSpacing))) : 1;
    const size_t last =
        inRange ? size_t(std::min(std::floor(highHz / lineSpacing), double((count - 1) / 2))) : 0;
    if (last < first) {
        Fail(error, "包络带通范围无效: " + std::to_string(lowHz) + " 到 " +
                        std::to_string(highHz) + " Hz");
        return std::nullopt;
    }
    try {
        const size_t n = count;
        RealArray in = MakeRealArray(n);
        double sum = 0;
        for (size_t k = 0; k < n; ++k) sum += double(samples[k]);
        const double mean = sum / double(n);
        for (size_t k = 0; k < n; ++k) in[k] = double(samples[k]) - mean;
        ComplexArray lines = MakeComplexArray(n / 2 + 1);
        plans_.Forward(n, in.get(), lines.get());

        // Band-pass and Hilbert transform in one step: the analytic signal
        // has the positive frequencies doubled and no negative ones.
        ComplexArray analytic = MakeComplexArray(n);
        std::fill_n(&analytic[0][0], 2 * n, 0.0);
        for (size_t k = first; k <= last; ++k) {
            analytic[k][0] = 2 * lines[k][0];
            analytic[k][1] = 2 * lines[k][1];
        }
        ComplexArray signal = MakeComplexArray(n);
        plans_.Backward(n, analytic.get(), signal.get());
        std::vector<double> envelope(n);
        const double scale = 1.0 / double(n);
        for (size_t k = 0; k < n; ++k) envelope[k] = std::hypot(signal[k][0], signal[k][1]) * scale;
        return AmplitudeOf(envelope.data(), n, sampleRate, segmentLength);
    } catch (const std::bad_alloc&) {
        Fail(error, "内存不足，无法计算包络谱");
        return std::nullopt;
    }
}

std::optional<AxisAnalysis> SpectrumAnalyser::Analyse(const float* samples, size_t count,
                                                      double sampleRate,
                                                      const AnalysisSettings& settings,
                                                      std::string* error) {
    std::optional<AmplitudeSpectrum> acceleration =
        Amplitude(samples, count, sampleRate, settings.segmentLength, error);
    if (!acceleration) return std::nullopt;
    AxisAnalysis analysis;
    if (settings.envelope) {
        const double high =
            settings.envelopeHighHz > 0 ? settings.envelopeHighHz : 0.4 * sampleRate;
        std::optional<AmplitudeSpectrum> envelope = Envelope(
            samples, count, sampleRate, settings.segmentLength, settings.envelopeLowHz, high, error);
        if (!envelope) return std::nullopt;
        analysis.envelope = std::move(*envelope);
    }
    analysis.acceleration = std::move(*acceleration);
    analysis.velocity = VelocitySpectrum(analysis.acceleration);
    analysis.overall = AccelerationOverall(samples, count);
    analysis.overall.velocityRms =
        BandRms(analysis.velocity, kVelocityBandLowHz, kVelocityBandHighHz);
    analysis.peaks = LargestPeaks(analysis.acceleration, kSpectrumPeakCount,
                                  settings.runningSpeedHz);
    return analysis;
}

AmplitudeSpectrum VelocitySpectrum(const AmplitudeSpectrum& acceleration) {
    AmplitudeSpectrum velocity = acceleration;
    for (size_t k = 0; k < velocity.amplitude.size(); ++k) {
        const double f = velocity.Frequency(k);
        velocity.amplitude[k] = f < kVelocityLowestHz
                                    ? 0
                                    : velocity.amplitude[k] * kMillimetresPerSecondPerG /
                                          (2 * std::numbers::pi * f);
    }
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
    std::vector<size_t> maxima;
    for (size_t k = 1; k + 1 < a.size(); ++k) {
        if (a[k] > a[k - 1] && a[k] >= a[k + 1]) maxima.push_back(k);
    }
    const size_t kept = std::min(count, maxima.size());
    std::partial_sort(maxima.begin(), maxima.begin() + ptrdiff_t(kept), maxima.end(),
                      [&a](size_t l, size_t r) { return a[l] > a[r]; });
    maxima.resize(kept);

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
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const SpectrumPeak& l, const SpectrumPeak& r) {
                         return l.amplitude > r.amplitude;
                     });
    return peaks;
}

OverallValues AccelerationOverall(const float* samples, size_t count) {
    OverallValues overall;
    if (count == 0) return overall;
    double sum = 0;
    for (size_t k = 0; k < count; ++k) sum += double(samples[k]);
    const double mean = sum / double(count);
    double squares = 0, fourth = 0, peak = 0;
    for (size_t k = 0; k < count; ++k) {
        const double d = double(samples[k]) - mean;
        const double d2 = d * d;
        squares += d2;
        fourth += d2 * d2;
        peak = std::max(peak, std::abs(d));
    }
    const double meanSquare = squares / double(count);
    overall.rms = std::sqrt(meanSquare);
    overall.peak = peak;
    if (meanSquare > 0) {
        overall.crestFactor = peak / overall.rms;
        overall.kurtosis = fourth / double(count) / (meanSquare * meanSquare);
    }
    return overall;
}

}  // namespace orsan
