#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "WaveAnalyser.h"

namespace orsan {

enum class SpectrumKind { Acceleration, Velocity, Envelope };

// "acc", "vel", "env"
std::optional<SpectrumKind> SpectrumKindFromName(std::string_view name);
const char* SpectrumKindName(SpectrumKind kind);
// The spectrum of that kind in an axis's analysis.
const AmplitudeSpectrum& SpectrumOf(const AxisAnalysis& axis, SpectrumKind kind);

struct AnalysisCsvSource {
    double sampleRate = 0;
    std::string captureTime;  // as the waveform file names it; empty when unknown
    double envelopeLowHz = 0, envelopeHighHz = 0;
};

// "f_Hz,X,Y,Z" rows of one kind of spectrum of the three axes, after '#'
// lines naming the unit, window, averaging, sample rate and capture time and
// the overall values of each axis.
std::string BuildSpectrumCsv(const std::array<AxisAnalysis, 3>& axes, SpectrumKind kind,
                             const AnalysisCsvSource& source);

}  // namespace orsan
