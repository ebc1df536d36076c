#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "WaveAnalyser.h"

namespace orsan {
namespace {

constexpr double kRate = 26667;
constexpr double kTwoPi = 2 * std::numbers::pi;

std::vector<float> Tone(size_t count, double rate, double frequency, double amplitude,
                        double offset = 0) {
    std::vector<float> samples(count);
    for (size_t k = 0; k < count; ++k) {
        samples[k] =
            float(offset + amplitude * std::sin(kTwoPi * frequency * double(k) / rate + 0.3));
    }
    return samples;
}

double Near(const AmplitudeSpectrum& spectrum, double frequency) {
    return spectrum.amplitude[size_t(std::lround(frequency / spectrum.lineSpacing))];
}

TEST(WaveAnalyser, TonesReadTheirFrequencyAndAmplitudeOnAndBetweenLines) {
    struct Case {
        const char* name;
        size_t count;
        size_t segment;
        double linesFromZero;  // the tone's frequency in lines of the transform
        double amplitude;
    };
    const Case cases[] = {
        {"on a line", 65536, 0, 1000, 0.8},          {"half way", 65536, 0, 1000.5, 0.8},
        {"a third", 26667, 0, 49.33, 2.5},           {"welch on a line", 65536, 4096, 300, 0.3},
        {"welch between", 65536, 4096, 123.27, 0.3}, {"odd length", 26667 * 3, 0, 4321.8, 1.2},
    };
    WaveAnalyser analyser;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double spacing = kRate / double(c.segment ? c.segment : c.count);
        const double frequency = c.linesFromZero * spacing;
        const std::vector<float> samples = Tone(c.count, kRate, frequency, c.amplitude, 0.4);
        AnalysisSettings settings;
        settings.segmentLength = c.segment;
        settings.runningSpeedHz = frequency / 2;
        settings.envelope = false;
        std::string error;
        auto analysis = analyser.Analyse(samples.data(), c.count, kRate, settings, &error);
        ASSERT_TRUE(analysis) << error;
        EXPECT_DOUBLE_EQ(analysis->acceleration.lineSpacing, spacing);
        ASSERT_FALSE(analysis->peaks.empty());
        const SpectrumPeak& top = analysis->peaks.front();
        EXPECT_NEAR(top.frequency, frequency, spacing);
        EXPECT_NEAR(top.amplitude, c.amplitude, 0.01 * c.amplitude);
        EXPECT_NEAR(top.order, 2, 2 * spacing / frequency);
        // The offset of 0.4 g is no vibration.
        EXPECT_LT(analysis->acceleration.amplitude[0], 0.02);
        if (c.segment) {
            EXPECT_EQ(analysis->acceleration.segments, 2 * c.count / c.segment - 1);
        }
    }
}

TEST(WaveAnalyser, FiftyHertzAtOneGIsTheVelocityTheZonesExpect) {
    const std::vector<float> samples = Tone(26667, kRate, 50, 1);
    WaveAnalyser analyser;
    AnalysisSettings settings;
    settings.envelope = false;
    auto analysis = analyser.Analyse(samples.data(), samples.size(), kRate, settings, nullptr);
    ASSERT_TRUE(analysis);
    EXPECT_NEAR(analysis->overall.velocityRms, 22.07, 0.01 * 22.07);
    EXPECT_NEAR(Near(analysis->velocity, 50), 31.21, 0.01 * 31.21);
    // Below 2 Hz the integration would only magnify the offset's leakage.
    EXPECT_EQ(analysis->velocity.amplitude[1], 0);
}

TEST(WaveAnalyser, WhiteNoiseSpectrumHoldsTheSignalsPower) {
    std::mt19937 random(11);
    std::normal_distribution<float> noise(0.2f, 0.7f);
    std::vector<float> samples(65536);
    for (float& s : samples) s = noise(random);
    WaveAnalyser analyser;
    auto spectrum = analyser.Amplitude(samples.data(), samples.size(), kRate, 2048, nullptr);
    ASSERT_TRUE(spectrum);
    const double rms = AccelerationOverall(samples.data(), samples.size()).rms;
    EXPECT_NEAR(BandRms(*spectrum, 0, kRate), rms, 0.01 * rms);
}

TEST(WaveAnalyser, SineHasTheCrestFactorAndKurtosisOfASine) {
    const std::vector<float> samples = Tone(26667, kRate, 120, 1.5, -1);
    const OverallValues overall = AccelerationOverall(samples.data(), samples.size());
    EXPECT_NEAR(overall.rms, 1.5 / std::sqrt(2.0), 1e-3);
    EXPECT_NEAR(overall.peak, 1.5, 1e-3);
    EXPECT_NEAR(overall.crestFactor, std::sqrt(2.0), 1e-3);
    EXPECT_NEAR(overall.kurtosis, 1.5, 1e-3);
}

TEST(WaveAnalyser, BearingImpactsShowInTheEnvelopeAndNotInThePlainSpectrum) {
    // Impacts at the defect frequency ring a 4 kHz resonance that dies out
    // well before the next one.
    constexpr double kDefectHz = 87.3, kResonanceHz = 4000;
    std::vector<float> samples(65536);
    std::mt19937 random(5);
    std::normal_distribution<float> noise(0, 0.02f);
    for (size_t k = 0; k < samples.size(); ++k) {
        const double t = double(k) / kRate;
        const double sinceImpact = std::fmod(t, 1 / kDefectHz);
        samples[k] =
            float(std::exp(-sinceImpact * 600) * std::sin(kTwoPi * kResonanceHz * sinceImpact)) +
            noise(random);
    }
    WaveAnalyser analyser;
    AnalysisSettings settings;
    std::string error;
    auto analysis = analyser.Analyse(samples.data(), samples.size(), kRate, settings, &error);
    ASSERT_TRUE(analysis) << error;
    const auto envelopePeaks = LargestPeaks(analysis->envelope, 3, kDefectHz);
    ASSERT_EQ(envelopePeaks.size(), 3u);
    const double spacing = analysis->envelope.lineSpacing;
    EXPECT_NEAR(envelopePeaks[0].frequency, kDefectHz, spacing);
    EXPECT_NEAR(envelopePeaks[1].order, 2, 2 * spacing / kDefectHz);
    const auto plainPeaks = LargestPeaks(analysis->acceleration, 1, 0);
    EXPECT_LT(Near(analysis->acceleration, kDefectHz), 0.1 * plainPeaks.front().amplitude);
    EXPECT_GT(Near(analysis->envelope, kDefectHz), 0.5 * envelopePeaks[0].amplitude);
}

TEST(WaveAnalyser, UnusableInputIsRefusedWithAReason) {
    const std::vector<float> samples = Tone(4096, kRate, 100, 1);
    struct Case {
        const char* name;
        size_t count;
        double rate;
        size_t segment;
        double low, high;
    };
    const Case cases[] = {
        {"no rate", 4096, 0, 0, 500, 0},
        {"too few samples", 4, kRate, 0, 500, 0},
        {"segment not a power of two", 4096, kRate, 1000, 500, 0},
        {"segment beyond the capture", 4096, kRate, 8192, 500, 0},
        {"band upside down", 4096, kRate, 0, 5000, 1000},
        {"band beyond Nyquist", 4096, kRate, 0, 500, 20000},
    };
    WaveAnalyser analyser;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AnalysisSettings settings;
        settings.segmentLength = c.segment;
        settings.envelopeLowHz = c.low;
        settings.envelopeHighHz = c.high;
        std::string error;
        EXPECT_FALSE(analyser.Analyse(samples.data(), c.count, c.rate, settings, &error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace orsan
