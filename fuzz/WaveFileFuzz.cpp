// The waveform file reader and the analysis on any file content: no crash;
// what is read back is finite and written again reads back the same; every
// spectrum line and overall value of what was read is finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "WaveAnalyser.h"
#include "WaveFile.h"

using namespace orsan;

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

bool AllFinite(const AmplitudeSpectrum& spectrum) {
    for (double a : spectrum.amplitude) {
        if (!std::isfinite(a) || a < 0) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto samples = ParseWaveFileText(text, &error);
    if (!samples) {
        Require(!error.empty());
        return 0;
    }
    const size_t count = samples->x.size();
    Require(samples->y.size() == count && samples->z.size() == count);
    const auto again = ParseWaveFileText(
        BuildWaveFileText(samples->x.data(), samples->y.data(), samples->z.data(), count), nullptr);
    Require(again && again->x.size() == count);

    static WaveAnalyser analyser;
    AnalysisSettings settings;
    settings.envelopeLowHz = 100;
    const auto analysis = analyser.Analyse(samples->x.data(), count, 1000, settings, &error);
    if (!analysis) {
        Require(!error.empty() && count < 8);
        return 0;
    }
    Require(AllFinite(analysis->acceleration) && AllFinite(analysis->velocity) &&
            AllFinite(analysis->envelope));
    const OverallValues& o = analysis->overall;
    for (double v : {o.rms, o.peak, o.crestFactor, o.kurtosis, o.velocityRms}) {
        Require(std::isfinite(v) && v >= 0);
    }
    return 0;
}
