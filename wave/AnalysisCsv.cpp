#include "AnalysisCsv.h"

#include "WaveProtocol.h"

namespace orsan {
const AmplitudeSpectrum& SpectrumOf(const AxisAnalysis& axis, SpectrumKind kind) {
    switch (kind) {
        case SpectrumKind::Velocity:
            return axis.velocity;
        case SpectrumKind::Envelope:
            return axis.envelope;
        case SpectrumKind::Acceleration:
            break;
    }
    return axis.acceleration;
}

std::optional<SpectrumKind> SpectrumKindFromName(std::string_view name) {
    if (name == "acc") return SpectrumKind::Acceleration;
    if (name == "vel") return SpectrumKind::Velocity;
    if (name == "env") return SpectrumKind::Envelope;
    return std::nullopt;
}

const char* SpectrumKindName(SpectrumKind kind) {
    switch (kind) {
        case SpectrumKind::Velocity:
            return "vel";
        case SpectrumKind::Envelope:
            return "env";
        case SpectrumKind::Acceleration:
            break;
    }
    return "acc";
}

std::string BuildSpectrumCsv(const std::array<AxisAnalysis, 3>& axes, SpectrumKind kind,
                             const AnalysisCsvSource& source) {
    const AmplitudeSpectrum& first = SpectrumOf(axes[0], kind);
    std::string text;
    text.reserve(64 * (first.amplitude.size() + 20));
    switch (kind) {
        case SpectrumKind::Acceleration:
            text += "# spectrum: acceleration, peak amplitude in g\n";
            break;
        case SpectrumKind::Velocity:
            text +=
                Printf("# spectrum: velocity, peak amplitude in mm/s, lines below %g Hz dropped\n",
                       kVelocityLowestHz);
            break;
        case SpectrumKind::Envelope:
            text += Printf("# spectrum: envelope of %g to %g Hz, peak amplitude in g\n",
                           source.envelopeLowHz, source.envelopeHighHz);
            break;
    }
    text += "# window: Hann\n";
    if (first.segments > 1) {
        text += Printf("# averaging: Welch, 50 %% overlap, %zu segments of %zu samples\n",
                       first.segments, first.segmentLength);
    } else {
        text += Printf("# averaging: none, one segment of %zu samples\n", first.segmentLength);
    }
    text += Printf("# sample rate: %.1f Hz\n", source.sampleRate);
    text += "# capture time: " + (source.captureTime.empty() ? "-" : source.captureTime) + "\n";
    text += Printf("# line spacing: %.6g Hz\n", first.lineSpacing);
    text += "# overall,X,Y,Z\n";
    const std::pair<const char*, double OverallValues::*> overall[] = {
        {"acc_rms_g", &OverallValues::rms},
        {"acc_peak_g", &OverallValues::peak},
        {"crest_factor", &OverallValues::crestFactor},
        {"kurtosis", &OverallValues::kurtosis},
        {"vel_rms_10_1000Hz_mm/s", &OverallValues::velocityRms},
    };
    for (const auto& [name, member] : overall) {
        text += Printf("# %s,%.6g,%.6g,%.6g\n", name, axes[0].overall.*member,
                       axes[1].overall.*member, axes[2].overall.*member);
    }
    text += "f_Hz,X,Y,Z\n";
    for (size_t k = 0; k < first.amplitude.size(); ++k) {
        text +=
            Printf("%.6g,%.6g,%.6g,%.6g\n", first.Frequency(k), first.amplitude[k],
                   SpectrumOf(axes[1], kind).amplitude[k], SpectrumOf(axes[2], kind).amplitude[k]);
    }
    return text;
}

}  // namespace orsan
