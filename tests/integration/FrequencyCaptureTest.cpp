// Waveforms scripted in the simulator, captured on loopback and analysed:
// through the station's own --capture --spectrum, and the envelope of a
// bearing defect.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "SensorEndpoint.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "WaveAnalyser.h"
#include "WaveCaptureCommand.h"

namespace orsan {
namespace {

using namespace std::chrono_literals;

struct CsvSpectrum {
    double spacing = 0;
    std::vector<std::array<double, 4>> rows;  // f, X, Y, Z
};

CsvSpectrum ParseSpectrumCsv(const std::string& text) {
    CsvSpectrum csv;
    std::istringstream lines(text);
    bool inRows = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("# line spacing: ", 0) == 0) csv.spacing = std::stod(line.substr(16));
        if (inRows) {
            std::array<double, 4> row{};
            std::istringstream fields(line);
            char comma;
            fields >> row[0] >> comma >> row[1] >> comma >> row[2] >> comma >> row[3];
            csv.rows.push_back(row);
        }
        inRows = inRows || line == "f_Hz,X,Y,Z";
    }
    return csv;
}

uint32_t AddressOf(const test::SimSensor& sensor) {
    uint32_t address = 0;
    EXPECT_TRUE(ParseAddress(sensor.address, address));
    return address;
}

TEST(SpectrumCapture, ScriptedTonesReadBackThroughTheCaptureSpectrumCommand) {
    test::SimProcess sim({"--sensors", "1", "--port", "0", "--wave-port", "0"});
    // On lines of 8192-sample segments; Z's tone is 3X of a pinned speed.
    constexpr double kSpacing = 26667.0 / 8192;
    struct Tone {
        const char* axis;
        const char* frequency;
        double hz, amplitude;
    };
    const Tone tones[] = {
        {"x", "162.7625", 50 * kSpacing, 0.5},
        {"y", "1302.1", 400 * kSpacing, 0.2},
        {"z", "3x", 3 * 8 * kSpacing, 0.05},
    };
    ASSERT_EQ(sim.Command("speed 1 " + std::to_string(8 * kSpacing)), "OK");
    for (const Tone& t : tones) {
        ASSERT_EQ(sim.Command(std::string("tones 1 ") + t.axis + " " + t.frequency + " " +
                              std::to_string(t.amplitude)),
                  "OK");
    }
    ASSERT_EQ(sim.Command("noise 1 0.01"), "OK");

    test::TempDir folder("spectrum-capture");
    const std::string out = folder.File("spectrum.csv");
    test::ChildProcess station(
        test::StationPath(),
        {"--capture", sim.Sensor(1).address, "--seconds", "2", "--wave-port",
         std::to_string(sim.Sensor(1).wavePort), "--spectrum", "acc", "--segment", "8192", "--out",
         out, "--data-dir", folder.Path().string()});
    ASSERT_EQ(station.WaitExit(60s), std::optional<int>(0));
    const CsvSpectrum csv = ParseSpectrumCsv(test::ReadWholeFile(out));
    EXPECT_NEAR(csv.spacing, kSpacing, 1e-4);
    ASSERT_EQ(csv.rows.size(), 4097u);
    for (size_t a = 0; a < 3; ++a) {
        const auto largest =
            std::max_element(csv.rows.begin(), csv.rows.end(),
                             [&](const auto& p, const auto& q) { return p[a + 1] < q[a + 1]; });
        EXPECT_NEAR((*largest)[0], tones[a].hz, kSpacing) << tones[a].axis;
        EXPECT_NEAR((*largest)[a + 1], tones[a].amplitude, 0.01 * tones[a].amplitude)
            << tones[a].axis;
    }
}

TEST(SpectrumCapture, BearingDefectShowsInTheEnvelopeSpectrumNotInThePlainOne) {
    test::SimProcess sim({"--sensors", "1", "--port", "0", "--wave-port", "0"});
    constexpr double kDefectHz = 87.3;
    ASSERT_EQ(sim.Command("bearing 1 x 87.3 3000 0.5"), "OK");
    ASSERT_EQ(sim.Command("tones 1 x 24.5 0.05"), "OK");
    ASSERT_EQ(sim.Command("noise 1 0.02"), "OK");
    WaveCaptureOptions options;
    options.port = sim.Sensor(1).wavePort;
    options.trace = {};
    const CapturedWave wave = CaptureWave(AddressOf(sim.Sensor(1)), 2, options);
    ASSERT_EQ(wave.Summary().CutShort(), false);

    WaveAnalyser analyser;
    std::string error;
    const auto analysis =
        analyser.Analyse(wave.x.data(), wave.Count(), wave.sampleRate, AnalysisSettings{}, &error);
    ASSERT_TRUE(analysis) << error;
    // The envelope's largest lines are the defect frequency and its harmonics.
    const auto envelopePeaks = LargestPeaks(analysis->envelope, 3, 0);
    for (size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(envelopePeaks[k].frequency, (k + 1) * kDefectHz, 0.5) << k;
    const size_t line = size_t(std::lround(kDefectHz / analysis->acceleration.lineSpacing));
    const auto around = [&](const AmplitudeSpectrum& s) {
        return std::max({s.amplitude[line - 1], s.amplitude[line], s.amplitude[line + 1]});
    };
    EXPECT_GT(around(analysis->envelope), 20 * around(analysis->acceleration));
    // The plain spectrum shows the running speed and the ringing resonance.
    for (const SpectrumPeak& peak : LargestPeaks(analysis->acceleration, 10, 0)) {
        EXPECT_GT(std::abs(peak.frequency - kDefectHz), 1.0);
        EXPECT_TRUE(std::abs(peak.frequency - 24.5) < 1 || std::abs(peak.frequency - 3000) < 500)
            << peak.frequency;
    }
}

}  // namespace
}  // namespace orsan
