#include "SensorModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orsan::sim {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kWarmUpSeconds = 1200.0;  // shell reaches ~95 % of its rise in an hour
constexpr double kNominalSpeedHz = 25.0;

uint16_t Unsigned(double value) {
    const double r = std::round(value);
    return uint16_t(std::clamp(r, 0.0, 65535.0));
}

uint16_t Signed(double value) {
    const double r = std::clamp(std::round(value), -32768.0, 32767.0);
    return uint16_t(int16_t(r));
}

double Uniform(std::mt19937_64& rng, double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
}

}  // namespace

double OrderAccelerationPeak(const MachineState& state, int axis, int order) {
    const double f = kOrders[order] * state.speedHz;
    return kTwoPi * f * state.velocityPeak[axis][order] / 1000.0;
}

void EncodeMeasurements(const MachineState& state, RegisterBlock& regs) {
    regs[kRegTemperature] = Signed(state.temperatureC * 100.0);
    for (int axis = 0; axis < kAxes; ++axis) {
        double velSq = 0, accSq = 0, dispSq = 0;
        std::array<double, kOrderCount> accPeak{};
        for (int k = 0; k < kOrderCount; ++k) {
            const double v = state.velocityPeak[axis][k];
            const double f = kOrders[k] * state.speedHz;
            accPeak[k] = OrderAccelerationPeak(state, axis, k);
            velSq += v * v / 2.0;
            accSq += accPeak[k] * accPeak[k] / 2.0;
            if (f > 0.1) {
                const double d = v / 1000.0 / (kTwoPi * f) * 1e6;  // um peak
                dispSq += d * d / 2.0;
            }
        }
        const double bb = state.broadbandAcc[axis];
        const double velRms = std::sqrt(velSq);
        const double accRms = std::sqrt(accSq + bb * bb);
        const double dispPeakToPeak = 2.0 * std::sqrt(2.0) * std::sqrt(dispSq);

        regs[kRegVelocity + axis] = Unsigned(velRms * 100.0);
        regs[kRegAcceleration + axis] = Unsigned(accRms * 100.0);
        regs[kRegDisplacement + axis] = Unsigned(dispPeakToPeak);
        regs[kRegDispAux + axis] = Unsigned(dispPeakToPeak / 2.0);
        regs[kRegVelAux + axis] = Unsigned(velRms * std::sqrt(2.0) * 100.0);
        regs[kRegAccAux + axis] = Unsigned(accRms * 3.0 * 100.0);  // crest factor ~3

        const int block = kRegAxisBlock[axis];
        for (int k = 0; k < kOrderCount; ++k) {
            regs[block + k] = Unsigned(state.velocityPeak[axis][k] * 100.0);
        }
        // Top order: the line carrying the most acceleration; aux order the next one.
        std::array<int, kOrderCount> rank{};
        for (int k = 0; k < kOrderCount; ++k) rank[k] = k;
        std::sort(rank.begin(), rank.end(), [&](int a, int b) { return accPeak[a] > accPeak[b]; });
        regs[block + 8] = Unsigned(accPeak[rank[1]] * 100.0);
        regs[block + 9] = Unsigned(kOrders[rank[1]] * 10.0);
        regs[block + 10] = Unsigned(accPeak[rank[0]] * 100.0);
        regs[block + 11] = Unsigned(kOrders[rank[0]] * 10.0);

        for (int i = 0; i < 4; ++i) {
            regs[kRegAuxValues + 4 * axis + i] = Unsigned(state.defectEnergy[axis][i] * 100.0);
        }
    }
    regs[kRegRunningSpeed] = Unsigned(state.speedHz * 100.0);
}

SensorModel::SensorModel(int index, std::array<uint8_t, 4> octets, uint64_t seed,
                         Clock::time_point start)
    : index_(index), start_(start), rng_(seed * 1000003ULL + uint64_t(index) * 7919ULL) {
    auto& c = character_;
    c.slip = Uniform(rng_, 0.004, 0.02);
    c.speedWander = Uniform(rng_, 0.05, 0.2);
    c.level = Uniform(rng_, 0.7, 1.5);
    c.axisFactor = {Uniform(rng_, 0.9, 1.1), Uniform(rng_, 0.7, 0.95), Uniform(rng_, 0.5, 0.75)};
    // 1X dominates, then 2X, then the rest (typical of unbalance plus some misalignment).
    const std::array<double, kOrderCount> base{0.12, 2.8, 0.18, 1.1, 0.55, 0.3, 0.22, 0.14};
    for (int k = 0; k < kOrderCount; ++k) c.profile[k] = base[k] * Uniform(rng_, 0.85, 1.15);
    for (auto& b : c.broadband) b = Uniform(rng_, 0.6, 1.6);
    c.ambientC = Uniform(rng_, 23.0, 27.0);
    c.warmRiseC = Uniform(rng_, 17.0, 21.0);
    for (auto& p : c.phases) p = Uniform(rng_, 0.0, kTwoPi);

    config_[kRegManualSpeed] = 2500;
    config_[kRegSaveCommand] = 0;
    config_[kRegVelocityBand] = 10;
    config_[kRegVelocityBand + 1] = 1000;
    config_[kRegAccelerationBand] = 10;
    config_[kRegAccelerationBand + 1] = 10000;
    config_[kRegDisplacementBand] = 10;
    config_[kRegDisplacementBand + 1] = 300;
    const std::array<uint16_t, 5> coefficients{542, 358, 236, 40, 800};
    for (int i = 0; i < 5; ++i) config_[kRegComponentCoefficients + i] = coefficients[i];
    const auto own = EncodeAddressPair(octets[0], octets[1], octets[2], octets[3]);
    const auto gateway = EncodeAddressPair(octets[0], octets[1], octets[2], 1);
    const auto mask = EncodeAddressPair(255, 255, 255, 0);
    for (int i = 0; i < 2; ++i) {
        config_[kRegGateway + i] = gateway[i];
        config_[kRegSubnetMask + i] = mask[i];
        config_[kRegDns + i] = gateway[i];
        config_[kRegSensorAddress + i] = own[i];
    }
    config_[kRegTransmissionRatio] = 100;
    config_[kRegSpeedSource] = 0;
    config_[kRegSpeedMode] = 0;
    config_[kRegRatedSpeed] = 2500;
}

MachineState SensorModel::State(Clock::time_point now) {
    std::lock_guard lock(mutex_);
    return StateLocked(now);
}

MachineState SensorModel::StateLocked(Clock::time_point now) {
    const auto& c = character_;
    const Clock::time_point at = frozen_ ? frozenAt_ : now;
    const double t = std::chrono::duration<double>(at - start_).count();
    const bool noisy = !frozen_;
    auto jitter = [&](double spread) { return noisy ? Uniform(rng_, -spread, spread) : 0.0; };

    MachineState s;
    if (speedHz_) {
        s.speedHz = *speedHz_;
    } else if (config_[kRegSpeedSource] == 1) {
        s.speedHz = config_[kRegManualSpeed] * 0.01;
    } else {
        const double rated = config_[kRegRatedSpeed] * 0.01;
        const double variable = config_[kRegSpeedMode] == 1 ? 0.08 : 0.0;
        s.speedHz =
            rated * (1.0 - c.slip) * (1.0 + variable * std::sin(kTwoPi * t / 180.0 + c.phases[0])) +
            c.speedWander * std::sin(kTwoPi * t / 97.0 + c.phases[1]) +
            0.3 * c.speedWander * std::sin(kTwoPi * t / 23.0 + c.phases[2]) + jitter(0.005);
        s.speedHz = std::max(s.speedHz, 0.0);
    }
    s.temperatureC =
        c.ambientC + c.warmRiseC * (1.0 - std::exp(-t / kWarmUpSeconds)) + jitter(0.03);

    // Vibration grows with speed; a stopped machine is quiet.
    const double speedFactor = std::pow(std::clamp(s.speedHz / kNominalSpeedHz, 0.0, 2.0), 1.5);
    const double breathing = 1.0 + 0.06 * std::sin(kTwoPi * t / 211.0 + c.phases[3]);
    for (int axis = 0; axis < kAxes; ++axis) {
        const double axisLevel = c.level * c.axisFactor[axis] * breathing * speedFactor;
        for (int k = 0; k < kOrderCount; ++k) {
            s.velocityPeak[axis][k] = c.profile[k] * axisLevel * (1.0 + jitter(0.03));
        }
        s.broadbandAcc[axis] =
            c.broadband[axis] * c.axisFactor[axis] * speedFactor * (1.0 + jitter(0.03));
        for (int i = 0; i < 4; ++i) {
            s.defectEnergy[axis][i] =
                (0.05 + 0.03 * i) * c.level * speedFactor * (1.0 + jitter(0.05));
        }
    }
    return s;
}

RegisterBlock SensorModel::Registers(Clock::time_point now) {
    std::lock_guard lock(mutex_);
    RegisterBlock regs{};
    EncodeMeasurements(StateLocked(now), regs);
    for (int reg : kConfigRegisters) regs[reg] = config_[reg];
    for (const auto& [reg, value] : pinned_) regs[reg] = value;
    return regs;
}

bool SensorModel::WriteConfig(const std::vector<std::pair<int, uint16_t>>& writes) {
    for (const auto& [reg, value] : writes)
        if (!IsConfigRegister(reg)) return false;
    std::lock_guard lock(mutex_);
    for (const auto& [reg, value] : writes) config_[reg] = value;
    return true;
}

void SensorModel::Set(int reg, uint16_t value) {
    if (reg < 0 || reg >= kRegisterCount) return;
    std::lock_guard lock(mutex_);
    if (IsConfigRegister(reg)) {
        config_[reg] = value;
    } else {
        pinned_[reg] = value;
    }
}

void SensorModel::Release(int reg) {
    std::lock_guard lock(mutex_);
    pinned_.erase(reg);
}

void SensorModel::SetFrozen(bool frozen) {
    std::lock_guard lock(mutex_);
    if (frozen && !frozen_) frozenAt_ = Clock::now();
    frozen_ = frozen;
}

void SensorModel::SetSpeed(std::optional<double> hz) {
    std::lock_guard lock(mutex_);
    speedHz_ = hz;
}

std::vector<std::pair<int, uint16_t>> SensorModel::ConfigValues() const {
    std::lock_guard lock(mutex_);
    std::vector<std::pair<int, uint16_t>> values;
    for (int reg : kConfigRegisters) values.emplace_back(reg, config_[reg]);
    return values;
}

void SensorModel::LoadConfig(const std::vector<std::pair<int, uint16_t>>& values) {
    std::lock_guard lock(mutex_);
    for (const auto& [reg, value] : values) {
        if (IsConfigRegister(reg)) config_[reg] = value;
    }
}

}  // namespace orsan::sim
