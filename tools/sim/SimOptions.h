#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "FaultMode.h"

namespace orsan::sim {

struct SensorChoice {
    std::array<uint8_t, 4> octets{};
    std::optional<uint16_t> modbusPort;  // else --port
    std::optional<uint16_t> wavePort;    // else --wave-port
};

struct SimOptions {
    std::vector<SensorChoice> sensors;
    uint16_t port = 502;
    uint16_t wavePort = 22010;
    std::map<int, FaultMode> faults;      // 1-based sensor
    std::map<int, WaveFault> waveFaults;  // 1-based sensor
    std::string stateFile;
    uint64_t seed = 1;
    std::chrono::milliseconds flapPeriod{3000};
    bool help = false;
    bool version = false;
};

// Parses the command line (without argv[0]). On error returns nullopt and
// puts a message in `error`.
std::optional<SimOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

const char* UsageText();

// "orsan-sensor-sim <version of the build>" and a newline.
const char* VersionText();

}  // namespace orsan::sim
