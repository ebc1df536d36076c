#pragma once

#include <array>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "SensorModel.h"

namespace orsan::sim {

// One tone of a scripted waveform: at a fixed frequency, or at a multiple of
// the running speed so that it follows the machine.
struct ScriptTone {
    double frequency = 0;  // Hz, or the order when `order` is set
    bool order = false;
    double amplitudeG = 0;  // peak
    double HertzAt(double speedHz) const { return order ? frequency * speedHz : frequency; }
};

// A bearing defect: an impact every 1/defectHz seconds, each ringing a
// structural resonance that dies away (a damped cosine), so the defect shows as
// the repetition rate of bursts high up in the spectrum, not as a line of its
// own.
struct BearingPattern {
    double defectHz = 0;
    double resonanceHz = 0;
    double amplitudeG = 0;  // peak of each ring
    double damping = 0.05;  // fraction of critical damping
};

// Waveform content chosen by the operator. Once any part is set it replaces
// the machine's own order lines and broadband noise, so an analysis finds
// exactly what was asked for.
struct WaveScript {
    std::array<std::vector<ScriptTone>, kAxes> tones;
    std::array<std::optional<BearingPattern>, kAxes> bearing;
    std::optional<double> noiseG;  // RMS of white noise on every axis
    bool Active() const;
};

// The acceleration (g) of a bearing pattern at time t (s) from its first impact.
double BearingAcceleration(const BearingPattern& pattern, double t);

// Applies one operator command ("tones", "noise", "bearing", "wave-reset")
// given as words after the sensor number; returns "" when done, else the
// reason. nullopt when the verb is not one of them.
std::optional<std::string> EditWaveScript(WaveScript& script, const std::string& verb,
                                          const std::vector<std::string>& args);

// The script of one sensor, read by every waveform stream and changed from
// the operator's thread.
class SharedWaveScript {
public:
    WaveScript Get() const {
        std::lock_guard lock(mutex_);
        return script_;
    }
    void Set(WaveScript script) {
        std::lock_guard lock(mutex_);
        script_ = std::move(script);
    }

private:
    mutable std::mutex mutex_;
    WaveScript script_;
};

}  // namespace orsan::sim
