#include "WavePacket.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>

namespace orsan::sim {

namespace {

constexpr double kStandardGravity = 9.80665;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

void PutU32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

void PutFloat(uint8_t* p, float v) {
    PutU32(p, std::bit_cast<uint32_t>(v));
}

}  // namespace

std::optional<int> ParseWaveRequest(const uint8_t* request) {
    if (std::memcmp(request, "WVQS", 4) != 0 || std::memcmp(request + 8, "WVQT", 4) != 0) {
        return std::nullopt;
    }
    const int32_t seconds = int32_t(uint32_t(request[4]) | (uint32_t(request[5]) << 8) |
                                    (uint32_t(request[6]) << 16) | (uint32_t(request[7]) << 24));
    if (seconds < 1 || seconds > kWaveMaxSeconds) return std::nullopt;
    return seconds;
}

int WavePacketCount(int seconds, float sampleRate) {
    const long samples = std::lround(double(seconds) * sampleRate);
    return int((samples + long(kWaveSamplesPerPacket) - 1) / long(kWaveSamplesPerPacket));
}

WaveSynth::WaveSynth(const MachineState& state, const WaveScript& script, float sampleRate,
                     uint64_t seed)
    : sampleRate_(sampleRate), rng_(seed) {
    std::uniform_real_distribution<double> phase(0.0, kTwoPi);
    const auto addLine = [&](int axis, double hz, double amplitudeG) {
        lines_[axis].push_back({amplitudeG, kTwoPi * hz / sampleRate, phase(rng_)});
    };
    const bool scripted = script.Active();
    for (int axis = 0; axis < kAxes; ++axis) {
        if (scripted) {
            for (const ScriptTone& tone : script.tones[axis])
                addLine(axis, tone.HertzAt(state.speedHz), tone.amplitudeG);
            noiseG_[axis] = script.noiseG.value_or(0.0);
            bearing_[axis] = script.bearing[axis];
            continue;
        }
        for (int k = 0; k < kOrderCount; ++k) {
            addLine(axis, kOrders[k] * state.speedHz,
                    OrderAccelerationPeak(state, axis, k) / kStandardGravity);
        }
        noiseG_[axis] = state.broadbandAcc[axis] / kStandardGravity;
    }
}

WavePacket WaveSynth::NextPacket(int32_t number, int32_t total) {
    WavePacket p{};
    std::memcpy(p.data(), "WVDP", 4);
    PutU32(p.data() + 4, uint32_t(kWavePacketSize));
    PutFloat(p.data() + 8, sampleRate_);
    PutU32(p.data() + 12, uint32_t(total));
    PutU32(p.data() + 16, uint32_t(number));
    PutU32(p.data() + 20, uint32_t(kWaveSamplesPerPacket));
    uint8_t* out = p.data() + kWaveSampleOffset;
    for (size_t i = 0; i < kWaveSamplesPerPacket; ++i, ++sample_) {
        for (int axis = 0; axis < kAxes; ++axis) {
            double g = noiseG_[axis] == 0 ? 0.0 : noiseG_[axis] * normal_(rng_);
            for (auto& line : lines_[axis]) {
                g += line.amplitudeG * std::sin(line.phase);
                line.phase = std::fmod(line.phase + line.phaseStep, kTwoPi);
            }
            if (bearing_[axis])
                g += BearingAcceleration(*bearing_[axis], double(sample_) / sampleRate_);
            PutFloat(out, float(g));
            out += 4;
        }
    }
    // A simple sum over header and samples, so a reader can spot a torn packet.
    uint32_t sum = 0;
    for (size_t i = 0; i < kWavePacketSize - 4; ++i) sum += p[i];
    PutU32(p.data() + kWavePacketSize - 4, sum);
    return p;
}

}  // namespace orsan::sim
