#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "FftPlans.h"

namespace orsan {

// mm/s of velocity per g of acceleration at 1 rad/s (standard gravity).
inline constexpr double kMillimetresPerSecondPerG = 9806.65;

struct AnalysisSettings {
    // 0: the whole capture is one segment. Otherwise a power of two up to the
    // capture's length: segments overlapping by half, their powers averaged.
    size_t segmentLength = 0;
    // Running speed for the peaks' orders; 0 when unknown.
    double runningSpeedHz = 0;
    bool envelope = true;
    double envelopeLowHz = 500;
    double envelopeHighHz = 0;  // 0: 0.4 x the sample rate
};

// One-sided amplitude spectrum: line k lies at k x lineSpacing and reads the
// peak amplitude of a tone at that frequency (Hann window corrected).
struct AmplitudeSpectrum {
    double lineSpacing = 0;    // Hz = sample rate / segment length
    size_t segmentLength = 0;  // samples per transform
    size_t segments = 0;       // averaged
    std::vector<double> amplitude;
    double Frequency(size_t line) const { return double(line) * lineSpacing; }
};

struct SpectrumPeak {
    double frequency = 0;  // Hz, interpolated between lines
    double order = 0;      // frequency / running speed; 0 without a running speed
    double amplitude = 0;  // interpolated
};

// Of the acceleration with its mean removed (a sensor's static offset is no
// vibration), and the velocity RMS the vibration zones grade.
struct OverallValues {
    double rms = 0;          // g
    double peak = 0;         // g, largest excursion from the mean
    double crestFactor = 0;  // peak / rms
    double kurtosis = 0;     // 4th moment / rms^4: 1.5 for a sine, 3 for Gaussian noise
    double velocityRms = 0;  // mm/s over 10 to 1000 Hz
};

struct AxisAnalysis {
    AmplitudeSpectrum acceleration;  // g
    AmplitudeSpectrum velocity;      // mm/s; lines below 2 Hz are 0
    AmplitudeSpectrum envelope;      // g; empty unless asked for
    OverallValues overall;
    std::vector<SpectrumPeak> peaks;  // the largest of the acceleration spectrum, largest first
};

inline constexpr size_t kSpectrumPeakCount = 10;
inline constexpr double kVelocityLowestHz = 2;
inline constexpr double kVelocityBandLowHz = 10;
inline constexpr double kVelocityBandHighHz = 1000;

// Spectra of one axis of a capture. Keeps its FFTW plans between calls, so
// one analyser serves every axis and every capture of one thread.
class WaveAnalyser {
public:
    explicit WaveAnalyser(FftEffort effort = FftEffort::Estimate) : plans_(effort) {}

    std::optional<AxisAnalysis> Analyse(const float* samples, size_t count, double sampleRate,
                                        const AnalysisSettings& settings, std::string* error);

    std::optional<AmplitudeSpectrum> Amplitude(const float* samples, size_t count,
                                               double sampleRate, size_t segmentLength,
                                               std::string* error);

    // Band-pass lowHz..highHz in the frequency domain, envelope = |analytic
    // signal|, then the amplitude spectrum of the envelope (mean removed).
    std::optional<AmplitudeSpectrum> Envelope(const float* samples, size_t count, double sampleRate,
                                              size_t segmentLength, double lowHz, double highHz,
                                              std::string* error);

private:
    template <typename Sample>
    AmplitudeSpectrum AmplitudeOf(const Sample* samples, size_t count, double sampleRate,
                                  size_t segmentLength, OverallValues* overall = nullptr);

    FftPlans plans_;
    FftwWork<double> real_;
    FftwWork<fftw_complex> lines_;
    FftwWork<fftw_complex> analytic_;
    FftwWork<fftw_complex> signal_;
    std::vector<double> power_;
    std::vector<double> envelope_;
};

// v = a x 9806.65 / (2 pi f) per line; lines below 2 Hz dropped (0).
AmplitudeSpectrum VelocitySpectrum(const AmplitudeSpectrum& acceleration);

// RMS of the lines from lowHz to highHz (inclusive), the window's noise
// bandwidth taken out, so the whole band of noise gives its time-domain RMS.
double BandRms(const AmplitudeSpectrum& spectrum, double lowHz, double highHz);

// The largest local maxima, largest first, each placed between its lines by
// the Hann window's three-line correction.
std::vector<SpectrumPeak> LargestPeaks(const AmplitudeSpectrum& spectrum, size_t count,
                                       double runningSpeedHz);

// rms, peak, crest factor and kurtosis (not the velocity).
OverallValues AccelerationOverall(const float* samples, size_t count);

}  // namespace orsan
