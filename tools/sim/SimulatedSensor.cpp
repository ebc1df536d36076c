#include "SimulatedSensor.h"

namespace orsan::sim {

namespace {

std::string Dotted(const std::array<uint8_t, 4>& o) {
    return std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." +
           std::to_string(o[3]);
}

}  // namespace

void SensorFaults::Set(FaultMode mode) {
    std::lock_guard lock(mutex_);
    mode_ = mode;
    since_ = Clock::now();
}

FaultMode SensorFaults::Configured() const {
    std::lock_guard lock(mutex_);
    return mode_;
}

FaultMode SensorFaults::Effective(Clock::time_point now) const {
    std::lock_guard lock(mutex_);
    if (mode_ != FaultMode::Flap) return mode_;
    const auto phase = (now - since_) / flapPeriod_;
    return phase % 2 == 0 ? FaultMode::None : FaultMode::Silent;
}

void SensorFaults::SetWave(WaveFault fault) {
    std::lock_guard lock(mutex_);
    wave_ = fault;
}

WaveFault SensorFaults::Wave() const {
    std::lock_guard lock(mutex_);
    return wave_;
}

SimulatedSensor::SimulatedSensor(int index, std::array<uint8_t, 4> octets, uint64_t seed,
                                 Clock::time_point start, std::chrono::milliseconds flapPeriod)
    : index(index),
      octets(octets),
      address(Dotted(octets)),
      model(index, octets, seed, start),
      faults(flapPeriod) {}

}  // namespace orsan::sim
