#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

#include "FaultMode.h"
#include "SensorModel.h"
#include "WaveScript.h"

namespace orsan::sim {

// The faults currently played by one sensor. Flap alternates healthy and
// silent phases of equal length, starting healthy when the mode is set.
class SensorFaults {
public:
    explicit SensorFaults(std::chrono::milliseconds flapPeriod) : flapPeriod_(flapPeriod) {}

    void Set(FaultMode mode);
    FaultMode Configured() const;
    // The behaviour at `now`: flap resolves to None or Silent.
    FaultMode Effective(Clock::time_point now) const;

    void SetWave(WaveFault fault);
    WaveFault Wave() const;

private:
    mutable std::mutex mutex_;
    const std::chrono::milliseconds flapPeriod_;
    FaultMode mode_ = FaultMode::None;
    Clock::time_point since_ = Clock::now();
    WaveFault wave_ = WaveFault::None;
};

struct SimulatedSensor {
    SimulatedSensor(int index, std::array<uint8_t, 4> octets, uint64_t seed,
                    Clock::time_point start, std::chrono::milliseconds flapPeriod);

    const int index;  // 1-based
    const std::array<uint8_t, 4> octets;
    const std::string address;  // dotted
    SensorModel model;
    SensorFaults faults;
    SharedWaveScript script;
};

}  // namespace orsan::sim
