#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orsan::sim {

// How a sensor's Modbus server misbehaves.
enum class FaultMode { None, Silent, Exception, Split, Long, Short, Close, Flap };

// How a sensor's waveform server misbehaves.
enum class WaveFault { None, Stall, Cut, Refuse };

std::optional<FaultMode> ParseFaultMode(std::string_view text);
std::optional<WaveFault> ParseWaveFault(std::string_view text);
std::string ToString(FaultMode mode);
std::string ToString(WaveFault fault);

}  // namespace orsan::sim
