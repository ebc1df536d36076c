#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "SensorModel.h"
#include "WaveScript.h"

namespace orsan::sim {

inline constexpr size_t kWaveRequestSize = 12;
inline constexpr size_t kWavePacketSize = 1420;
inline constexpr size_t kWaveSamplesPerPacket = 116;
inline constexpr size_t kWaveSampleOffset = 24;
inline constexpr int kWaveMaxSeconds = 10;
inline constexpr float kWaveSampleRate = 26667.0f;

using WavePacket = std::array<uint8_t, kWavePacketSize>;

// The capture length asked for by "WVQS" <int32 LE seconds> "WVQT"; nullopt
// when the frame is not such a request or the length is not 1..10 s.
std::optional<int> ParseWaveRequest(const uint8_t* request);

// Packets needed to carry `seconds` of samples; the last one is filled with
// real samples too, so a capture is never shorter than asked.
int WavePacketCount(int seconds, float sampleRate);

// Tri-axis acceleration in g: the order lines of the machine at the
// running speed, plus broadband noise, matching the measurement registers;
// or, when the operator has scripted the waveform, exactly the script.
class WaveSynth {
public:
    WaveSynth(const MachineState& state, const WaveScript& script, float sampleRate, uint64_t seed);
    // Packet `number` of a capture of `total` packets (header, samples,
    // trailer), continuing the signal from the previous call.
    WavePacket NextPacket(int32_t number, int32_t total);

private:
    struct Line {
        double amplitudeG;
        double phaseStep;
        double phase;
    };
    std::array<std::vector<Line>, kAxes> lines_;
    std::array<double, kAxes> noiseG_{};
    std::array<std::optional<BearingPattern>, kAxes> bearing_;
    uint64_t sample_ = 0;
    float sampleRate_;
    std::mt19937_64 rng_;
    std::normal_distribution<double> normal_{0.0, 1.0};
};

}  // namespace orsan::sim
