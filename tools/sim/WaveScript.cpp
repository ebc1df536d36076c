#include "WaveScript.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace orsan::sim {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// A ring is dropped once it has decayed below this fraction of its start.
constexpr double kRingEnd = 1e-5;

bool ToDouble(const std::string& text, double& out) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() &&
           std::isfinite(out);
}

// "x", "y", "z" or "all": the axes a command touches.
std::optional<std::vector<int>> Axes(const std::string& word) {
    if (word == "all") return std::vector<int>{0, 1, 2};
    if (word.size() == 1 && word[0] >= 'x' && word[0] <= 'z')
        return std::vector<int>{word[0] - 'x'};
    return std::nullopt;
}

// "157.3" (Hz) or "2x" (times the running speed).
std::optional<ScriptTone> ParseToneFrequency(std::string word) {
    ScriptTone tone;
    if (!word.empty() && (word.back() == 'x' || word.back() == 'X')) {
        tone.order = true;
        word.pop_back();
    }
    if (!ToDouble(word, tone.frequency) || tone.frequency <= 0) return std::nullopt;
    return tone;
}

std::string EditTones(WaveScript& script, const std::vector<int>& axes,
                      const std::vector<std::string>& values) {
    std::vector<ScriptTone> tones;
    if (!(values.size() == 1 && values[0] == "none")) {
        if (values.empty() || values.size() % 2 != 0)
            return "tones need pairs of frequency (Hz or Nx) and amplitude (g)";
        for (size_t i = 0; i < values.size(); i += 2) {
            std::optional<ScriptTone> tone = ParseToneFrequency(values[i]);
            if (!tone) return "bad tone frequency " + values[i];
            if (!ToDouble(values[i + 1], tone->amplitudeG) || tone->amplitudeG < 0)
                return "bad tone amplitude " + values[i + 1];
            tones.push_back(*tone);
        }
    }
    for (int axis : axes) script.tones[size_t(axis)] = tones;
    return {};
}

std::string EditBearing(WaveScript& script, const std::vector<int>& axes,
                        const std::vector<std::string>& values) {
    std::optional<BearingPattern> pattern;
    if (!(values.size() == 1 && values[0] == "none")) {
        if (values.size() != 3)
            return "bearing needs the defect frequency (Hz), the resonance (Hz) and the amplitude "
                   "(g)";
        BearingPattern p;
        if (!ToDouble(values[0], p.defectHz) || p.defectHz <= 0)
            return "bad defect frequency " + values[0];
        if (!ToDouble(values[1], p.resonanceHz) || p.resonanceHz <= 0)
            return "bad resonance " + values[1];
        if (!ToDouble(values[2], p.amplitudeG) || p.amplitudeG < 0)
            return "bad amplitude " + values[2];
        pattern = p;
    }
    for (int axis : axes) script.bearing[size_t(axis)] = pattern;
    return {};
}

}  // namespace

bool WaveScript::Active() const {
    if (noiseG) return true;
    for (int axis = 0; axis < kAxes; ++axis) {
        if (!tones[size_t(axis)].empty() || bearing[size_t(axis)]) return true;
    }
    return false;
}

double BearingAcceleration(const BearingPattern& p, double t) {
    const double period = 1.0 / p.defectHz;
    const double omega = kTwoPi * p.resonanceHz;
    const double decay = p.damping * omega;
    const double ringed = std::log(1.0 / kRingEnd) / decay;
    const double ringing = omega * std::sqrt(1.0 - p.damping * p.damping);
    // The rings of every earlier impact still sounding add up. Each starts at
    // its peak and averages nearly zero, as the response of a struck structure
    // does: the defect frequency itself carries almost no energy.
    double g = 0;
    for (double age = std::fmod(t, period); age < ringed && age <= t; age += period)
        g += p.amplitudeG * std::exp(-decay * age) * std::cos(ringing * age);
    return g;
}

std::optional<std::string> EditWaveScript(WaveScript& script, const std::string& verb,
                                          const std::vector<std::string>& args) {
    if (verb == "wave-reset") {
        if (!args.empty()) return "wave-reset takes only the sensor";
        script = WaveScript{};
        return std::string();
    }
    if (verb == "noise") {
        double g = 0;
        if (args.size() == 1 && args[0] == "none") {
            script.noiseG.reset();
        } else if (args.size() == 1 && ToDouble(args[0], g) && g >= 0) {
            script.noiseG = g;
        } else {
            return "noise needs an RMS in g or none";
        }
        return std::string();
    }
    if (verb != "tones" && verb != "bearing") return std::nullopt;
    if (args.empty()) return "name an axis: x, y, z or all";
    const std::optional<std::vector<int>> axes = Axes(args[0]);
    if (!axes) return "bad axis " + args[0] + " (x, y, z or all)";
    const std::vector<std::string> values(args.begin() + 1, args.end());
    return verb == "tones" ? EditTones(script, *axes, values) : EditBearing(script, *axes, values);
}

}  // namespace orsan::sim
