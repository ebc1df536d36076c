#include "SimOptions.h"

#include <charconv>

namespace orsan::sim {

namespace {

template <typename T>
bool ParseNumber(const std::string& text, T& out) {
    if (text.empty()) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParsePort(const std::string& text, uint16_t& port) {
    return ParseNumber(text, port);
}

bool ParseOctets(const std::string& text, std::array<uint8_t, 4>& octets) {
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t dot = i < 3 ? text.find('.', pos) : text.size();
        if (dot == std::string::npos) return false;
        unsigned value = 0;
        if (!ParseNumber(text.substr(pos, dot - pos), value) || value > 255) return false;
        octets[i] = uint8_t(value);
        pos = dot + 1;
    }
    return true;
}

// ADDR[:PORT[/WAVEPORT]]
bool ParseSensor(const std::string& text, SensorChoice& choice, std::string& error) {
    const size_t colon = text.find(':');
    if (!ParseOctets(text.substr(0, colon), choice.octets)) {
        error = "bad sensor address: " + text;
        return false;
    }
    // The simulator plays sensors on this machine only.
    if (choice.octets[0] != 127) {
        error = "sensor address must be a loopback address (127.x.y.z): " + text;
        return false;
    }
    if (colon == std::string::npos) return true;
    const std::string rest = text.substr(colon + 1);
    const size_t slash = rest.find('/');
    uint16_t port = 0;
    if (!ParsePort(rest.substr(0, slash), port)) {
        error = "bad port in " + text;
        return false;
    }
    choice.modbusPort = port;
    if (slash != std::string::npos) {
        if (!ParsePort(rest.substr(slash + 1), port)) {
            error = "bad waveform port in " + text;
            return false;
        }
        choice.wavePort = port;
    }
    return true;
}

// K=MODE
template <typename Mode, typename ParseFn>
bool ParseAssignment(const std::string& text, std::map<int, Mode>& into, ParseFn parse,
                     std::string& error) {
    const size_t eq = text.find('=');
    int sensor = 0;
    if (eq == std::string::npos || !ParseNumber(text.substr(0, eq), sensor) || sensor < 1) {
        error = "expected K=MODE with K a sensor number from 1: " + text;
        return false;
    }
    const auto mode = parse(text.substr(eq + 1));
    if (!mode) {
        error = "unknown mode in " + text;
        return false;
    }
    into[sensor] = *mode;
    return true;
}

}  // namespace

std::optional<SimOptions> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    SimOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--version") {
            options.version = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "unknown option or missing value: " + arg;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (arg == "--sensor") {
            SensorChoice choice;
            ok = ParseSensor(value, choice, error);
            options.sensors.push_back(choice);
        } else if (arg == "--sensors") {
            int n = 0;
            ok = ParseNumber(value, n) && n >= 1 && n <= 254;
            if (!ok) error = "--sensors takes 1 to 254";
            for (int k = 1; ok && k <= n; ++k) {
                options.sensors.push_back({{127, 0, 0, uint8_t(k)}, {}, {}});
            }
        } else if (arg == "--port") {
            ok = ParsePort(value, options.port);
            if (!ok) error = "bad --port " + value;
        } else if (arg == "--wave-port") {
            ok = ParsePort(value, options.wavePort);
            if (!ok) error = "bad --wave-port " + value;
        } else if (arg == "--fault") {
            ok = ParseAssignment(value, options.faults, ParseFaultMode, error);
        } else if (arg == "--wave-fault") {
            ok = ParseAssignment(value, options.waveFaults, ParseWaveFault, error);
        } else if (arg == "--state-file") {
            options.stateFile = value;
        } else if (arg == "--seed") {
            ok = ParseNumber(value, options.seed);
            if (!ok) error = "bad --seed " + value;
        } else if (arg == "--flap-period") {
            int ms = 0;
            ok = ParseNumber(value, ms) && ms > 0;
            if (!ok) error = "--flap-period takes milliseconds above 0";
            options.flapPeriod = std::chrono::milliseconds(ms);
        } else {
            error = "unknown option: " + arg;
            return std::nullopt;
        }
        if (!ok) return std::nullopt;
    }
    if (options.sensors.empty()) options.sensors.push_back({{127, 0, 0, 1}, {}, {}});
    const int count = int(options.sensors.size());
    for (const auto& [k, mode] : options.faults) {
        if (k > count) {
            error = "--fault names sensor " + std::to_string(k) + " of " + std::to_string(count);
            return std::nullopt;
        }
    }
    for (const auto& [k, mode] : options.waveFaults) {
        if (k > count) {
            error =
                "--wave-fault names sensor " + std::to_string(k) + " of " + std::to_string(count);
            return std::nullopt;
        }
    }
    return options;
}

const char* UsageText() {
    return "usage: orsan-sensor-sim [options]\n"
           "  --sensor ADDR[:PORT[/WAVEPORT]]  one sensor on loopback ADDR (repeatable)\n"
           "  --sensors N             N sensors on 127.0.0.1 .. 127.0.0.N\n"
           "  --port P                default Modbus port (502; 0 = ephemeral)\n"
           "  --wave-port P           default waveform port (22010; 0 = ephemeral)\n"
           "  --fault K=MODE          none|silent|exception|split|long|short|close|flap\n"
           "  --wave-fault K=MODE     none|stall|cut|refuse\n"
           "  --flap-period MS        length of each healthy/silent phase of flap (3000)\n"
           "  --state-file PATH       configuration registers saved on 11 -> register 76\n"
           "  --seed N                machine character of every sensor (1)\n"
           "  --help | --version\n"
           "stdin: fault K MODE | wave-fault K MODE | set K REG VALUE | get K REG |\n"
           "       release K REG | velocity K X Y Z (mm/s) | velocity K release |\n"
           "       freeze K | thaw K | speed K HZ|release |\n"
           "       tones K x|y|z|all F A [F A ...]|none  (F in Hz or Nx, A peak g) |\n"
           "       noise K G|none  (RMS g) | bearing K x|y|z|all DEFECT_HZ RESONANCE_HZ A|none |\n"
           "       wave-reset K | ping | quit\n";
}

const char* VersionText() {
    return "orsan-sensor-sim " ORSAN_VERSION "\n";
}

}  // namespace orsan::sim
