#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace orsan::test {

struct SimSensor {
    int index;  // 1-based
    std::string address;
    uint16_t modbusPort;
    uint16_t wavePort;
};

// Parses "READY 1=127.0.0.1:PORT/WAVEPORT 2=..."; nullopt when malformed.
std::optional<std::vector<SimSensor>> ParseReadyLine(const std::string& line);

// The sensor simulator, started with `args`, ready when the constructor
// returns (it throws std::runtime_error when the simulator does not report
// ready within 10 s). SIGTERM and wait on destruction.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::vector<SimSensor>& Sensors() const { return sensors_; }
    const SimSensor& Sensor(int index) const { return sensors_.at(size_t(index - 1)); }

    // Sends one command line, returns the one reply line (throws when none
    // comes within 10 s).
    std::string Command(const std::string& line);
    // These throw std::runtime_error unless the reply is "OK".
    void SetFault(int sensor, const std::string& mode);
    void SetWaveFault(int sensor, const std::string& mode);
    void SetRegister(int sensor, int reg, uint16_t value);
    uint16_t GetRegister(int sensor, int reg);
    // Holds the sensor's velocity r.m.s. of X, Y and Z (mm/s).
    void SetVelocities(int sensor, double x, double y, double z);

    // SIGTERM and wait; the simulator's exit code.
    int Stop();
    ChildProcess& Process() { return *process_; }

private:
    void Expect(const std::string& line);

    std::unique_ptr<ChildProcess> process_;
    std::vector<SimSensor> sensors_;
};

std::string SimulatorPath();  // built orsan-sensor-sim
std::string StationPath();    // built orsan-monitor

}  // namespace orsan::test
