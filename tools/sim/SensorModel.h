#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <vector>

#include "RegisterMap.h"

namespace orsan::sim {

using Clock = std::chrono::steady_clock;

inline constexpr int kAxes = 3;
inline constexpr int kOrderCount = 8;
inline constexpr std::array<double, kOrderCount> kOrders{0.5, 1.0, 1.5, 2.0, 3.0, 4.0, 5.0, 6.0};

// What the machine is doing at one instant; registers and waveforms are both
// derived from it, so they agree with each other.
struct MachineState {
    double speedHz = 0;
    double temperatureC = 0;
    // Velocity amplitude (peak, mm/s) at each order, per axis.
    std::array<std::array<double, kOrderCount>, kAxes> velocityPeak{};
    // Broadband acceleration (RMS, m/ss) that is not tied to the running speed.
    std::array<double, kAxes> broadbandAcc{};
    // Bearing-defect energies (m/ss) at the four component coefficients.
    std::array<std::array<double, 4>, kAxes> defectEnergy{};
};

// Acceleration amplitude (peak, m/ss) of one order line.
double OrderAccelerationPeak(const MachineState& state, int axis, int order);

// Registers 0..71 (67 excepted) and 133 from a machine state.
void EncodeMeasurements(const MachineState& state, RegisterBlock& regs);

// One simulated sensor: a machine that warms up and wanders, its
// configuration registers and any values pinned from outside.
// Safe to use from several threads.
class SensorModel {
public:
    // index is 1-based; octets are the sensor's own IPv4 address.
    SensorModel(int index, std::array<uint8_t, 4> octets, uint64_t seed, Clock::time_point start);

    MachineState State(Clock::time_point now);
    RegisterBlock Registers(Clock::time_point now);

    // Function-6 or 16 write: only configuration registers are accepted, and
    // a write that names any other stores nothing.
    bool WriteConfig(const std::vector<std::pair<int, uint16_t>>& writes);

    // From the operator: a configuration register is written; any other
    // register is pinned to the value until Release.
    void Set(int reg, uint16_t value);
    void Release(int reg);
    // Frozen: the machine stops moving (no drift, no noise).
    void SetFrozen(bool frozen);
    // The machine turns at exactly this speed (Hz) until released (nullopt):
    // register 133 and the order lines of its waveforms follow it.
    void SetSpeed(std::optional<double> hz);

    std::vector<std::pair<int, uint16_t>> ConfigValues() const;
    void LoadConfig(const std::vector<std::pair<int, uint16_t>>& values);

    int Index() const { return index_; }

private:
    MachineState StateLocked(Clock::time_point now);

    struct Character {
        double slip;         // fraction below the rated speed
        double speedWander;  // Hz
        double level;        // overall vibration factor
        std::array<double, kAxes> axisFactor;
        std::array<double, kOrderCount> profile;
        std::array<double, kAxes> broadband;
        double ambientC;
        double warmRiseC;
        std::array<double, 4> phases;
    };

    const int index_;
    const Clock::time_point start_;
    mutable std::mutex mutex_;
    std::mt19937_64 rng_;
    Character character_;
    RegisterBlock config_{};
    std::map<int, uint16_t> pinned_;
    bool frozen_ = false;
    std::optional<double> speedHz_;
    Clock::time_point frozenAt_{};
};

}  // namespace orsan::sim
