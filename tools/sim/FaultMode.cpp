#include "FaultMode.h"

#include <array>
#include <utility>

namespace orsan::sim {

namespace {

constexpr std::array<std::pair<FaultMode, std::string_view>, 8> kFaultNames{{
    {FaultMode::None, "none"},
    {FaultMode::Silent, "silent"},
    {FaultMode::Exception, "exception"},
    {FaultMode::Split, "split"},
    {FaultMode::Long, "long"},
    {FaultMode::Short, "short"},
    {FaultMode::Close, "close"},
    {FaultMode::Flap, "flap"},
}};

constexpr std::array<std::pair<WaveFault, std::string_view>, 4> kWaveFaultNames{{
    {WaveFault::None, "none"},
    {WaveFault::Stall, "stall"},
    {WaveFault::Cut, "cut"},
    {WaveFault::Refuse, "refuse"},
}};

}  // namespace

std::optional<FaultMode> ParseFaultMode(std::string_view text) {
    for (const auto& [mode, name] : kFaultNames) {
        if (name == text) return mode;
    }
    return std::nullopt;
}

std::optional<WaveFault> ParseWaveFault(std::string_view text) {
    for (const auto& [fault, name] : kWaveFaultNames) {
        if (name == text) return fault;
    }
    return std::nullopt;
}

std::string ToString(FaultMode mode) {
    for (const auto& [m, name] : kFaultNames) {
        if (m == mode) return std::string(name);
    }
    return "?";
}

std::string ToString(WaveFault fault) {
    for (const auto& [f, name] : kWaveFaultNames) {
        if (f == fault) return std::string(name);
    }
    return "?";
}

}  // namespace orsan::sim
