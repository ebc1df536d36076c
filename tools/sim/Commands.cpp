#include "Commands.h"

#include <charconv>
#include <cmath>
#include <set>
#include <sstream>

namespace orsan::sim {

namespace {

bool ToInt(const std::string& text, long& out) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

bool ToNumber(const std::string& text, double& out) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// A velocity in mm/s as the register holds it (0.01 mm/s steps).
bool ToVelocityRegister(const std::string& text, uint16_t& out) {
    double value = 0;
    if (!ToNumber(text, value)) return false;
    const double raw = std::round(value * 100.0);
    if (!(raw >= 0 && raw <= 65535)) return false;
    out = uint16_t(raw);
    return true;
}

}  // namespace

std::vector<std::optional<std::string>> CommandLines::Feed(std::string_view data) {
    std::vector<std::optional<std::string>> lines;
    for (;;) {
        const size_t end = data.find('\n');
        const std::string_view piece = data.substr(0, end);
        if (!overlong_ && pending_.size() + piece.size() > kMaxCommandLine) {
            overlong_ = true;
            pending_.clear();
            lines.push_back(std::nullopt);
        }
        if (!overlong_) pending_.append(piece);
        if (end == std::string_view::npos) return lines;
        if (!overlong_) {
            if (!pending_.empty() && pending_.back() == '\r') pending_.pop_back();
            lines.push_back(std::move(pending_));
        }
        pending_.clear();
        overlong_ = false;
        data.remove_prefix(end + 1);
    }
}

std::string RunCommand(const std::string& line,
                       const std::vector<std::unique_ptr<SimulatedSensor>>& sensors, bool& quit) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (words.empty()) return "ERR empty command";
    const std::string& verb = words[0];

    if (verb == "quit" && words.size() == 1) {
        quit = true;
        return "OK";
    }
    if (verb == "ping" && words.size() == 1) return "OK";

    long k = 0;
    if (words.size() < 2 || !ToInt(words[1], k) || k < 1 || k > long(sensors.size())) {
        static const std::set<std::string> perSensor = {
            "fault",    "wave-fault", "set",   "get",     "release", "freeze",    "thaw",
            "velocity", "speed",      "tones", "bearing", "noise",   "wave-reset"};
        if (!perSensor.contains(verb)) {
            return "ERR unknown command: " + verb;
        }
        return "ERR no sensor " + (words.size() < 2 ? std::string("given") : words[1]);
    }
    SimulatedSensor& sensor = *sensors[size_t(k - 1)];
    long reg = -1, value = -1;
    const bool regOk =
        words.size() >= 3 && ToInt(words[2], reg) && reg >= 0 && reg < kRegisterCount;

    if (verb == "fault" && words.size() == 3) {
        const auto mode = ParseFaultMode(words[2]);
        if (!mode) return "ERR unknown fault " + words[2];
        sensor.faults.Set(*mode);
        return "OK";
    }
    if (verb == "wave-fault" && words.size() == 3) {
        const auto fault = ParseWaveFault(words[2]);
        if (!fault) return "ERR unknown wave fault " + words[2];
        sensor.faults.SetWave(*fault);
        return "OK";
    }
    if (verb == "set" && words.size() == 4) {
        if (!regOk) return "ERR bad register " + words[2];
        if (!ToInt(words[3], value) || value < 0 || value > 65535) {
            return "ERR bad value " + words[3];
        }
        sensor.model.Set(int(reg), uint16_t(value));
        return "OK";
    }
    if (verb == "get" && words.size() == 3) {
        if (!regOk) return "ERR bad register " + words[2];
        return "OK " + std::to_string(sensor.model.Registers(Clock::now())[size_t(reg)]);
    }
    if (verb == "release" && words.size() == 3) {
        if (!regOk) return "ERR bad register " + words[2];
        sensor.model.Release(int(reg));
        return "OK";
    }
    // The broadband velocity r.m.s. of X, Y and Z held at chosen values, so a
    // test walks a machine through its severity zones.
    if (verb == "velocity" && words.size() == 5) {
        uint16_t raw[3];
        for (int axis = 0; axis < 3; ++axis) {
            if (!ToVelocityRegister(words[size_t(2 + axis)], raw[axis]))
                return "ERR bad velocity " + words[size_t(2 + axis)];
        }
        for (int axis = 0; axis < 3; ++axis) sensor.model.Set(kRegVelocity + axis, raw[axis]);
        return "OK";
    }
    if (verb == "velocity" && words.size() == 3 && words[2] == "release") {
        for (int axis = 0; axis < 3; ++axis) sensor.model.Release(kRegVelocity + axis);
        return "OK";
    }
    if (verb == "speed" && words.size() == 3) {
        double hz = 0;
        if (words[2] == "release") {
            sensor.model.SetSpeed(std::nullopt);
        } else if (ToNumber(words[2], hz) && hz >= 0 && hz <= 655.35) {
            sensor.model.SetSpeed(hz);
        } else {
            return "ERR bad speed " + words[2];
        }
        return "OK";
    }
    WaveScript script = sensor.script.Get();
    if (const auto why = EditWaveScript(script, verb,
                                        std::vector<std::string>(words.begin() + 2, words.end()))) {
        if (!why->empty()) return "ERR " + *why;
        sensor.script.Set(std::move(script));
        return "OK";
    }
    if ((verb == "freeze" || verb == "thaw") && words.size() == 2) {
        sensor.model.SetFrozen(verb == "freeze");
        return "OK";
    }
    return "ERR bad command: " + line;
}

}  // namespace orsan::sim
