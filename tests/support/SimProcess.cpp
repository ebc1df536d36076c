#include "SimProcess.h"

#include <charconv>
#include <chrono>
#include <sstream>
#include <stdexcept>

namespace orsan::test {

namespace {

constexpr auto kReadyLimit = std::chrono::seconds(10);
constexpr auto kReplyLimit = std::chrono::seconds(10);

bool ToPort(const std::string& text, uint16_t& port) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<std::vector<SimSensor>> ParseReadyLine(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    if (!(in >> word) || word != "READY") return std::nullopt;
    std::vector<SimSensor> sensors;
    while (in >> word) {
        // K=ADDR:PORT/WAVEPORT
        const size_t eq = word.find('=');
        const size_t colon = word.find(':');
        const size_t slash = word.find('/');
        if (eq == std::string::npos || colon == std::string::npos || slash == std::string::npos ||
            !(eq < colon && colon < slash)) {
            return std::nullopt;
        }
        SimSensor s{};
        const std::string k = word.substr(0, eq);
        auto [end, ec] = std::from_chars(k.data(), k.data() + k.size(), s.index);
        if (ec != std::errc() || end != k.data() + k.size()) return std::nullopt;
        s.address = word.substr(eq + 1, colon - eq - 1);
        if (!ToPort(word.substr(colon + 1, slash - colon - 1), s.modbusPort) ||
            !ToPort(word.substr(slash + 1), s.wavePort)) {
            return std::nullopt;
        }
        sensors.push_back(s);
    }
    if (sensors.empty()) return std::nullopt;
    return sensors;
}

SimProcess::SimProcess(std::vector<std::string> args)
    : process_(std::make_unique<ChildProcess>(SimulatorPath(), args)) {
    const auto line = process_->ReadLine(kReadyLimit);
    if (!line) {
        const auto code = process_->WaitExit(std::chrono::milliseconds(0));
        throw std::runtime_error(code ? "simulator exited with " + std::to_string(*code) +
                                            " before it was ready"
                                      : "simulator not ready within 10 s");
    }
    auto sensors = ParseReadyLine(*line);
    if (!sensors) throw std::runtime_error("unexpected line from the simulator: " + *line);
    sensors_ = std::move(*sensors);
}

SimProcess::~SimProcess() = default;  // ChildProcess terminates and waits

std::string SimProcess::Command(const std::string& line) {
    if (!process_->Write(line + "\n")) throw std::runtime_error("simulator stdin closed");
    const auto reply = process_->ReadLine(kReplyLimit);
    if (!reply) throw std::runtime_error("no reply from the simulator to: " + line);
    return *reply;
}

void SimProcess::Expect(const std::string& line) {
    const std::string reply = Command(line);
    if (reply != "OK") throw std::runtime_error("simulator refused '" + line + "': " + reply);
}

void SimProcess::SetFault(int sensor, const std::string& mode) {
    Expect("fault " + std::to_string(sensor) + " " + mode);
}

void SimProcess::SetWaveFault(int sensor, const std::string& mode) {
    Expect("wave-fault " + std::to_string(sensor) + " " + mode);
}

void SimProcess::SetRegister(int sensor, int reg, uint16_t value) {
    Expect("set " + std::to_string(sensor) + " " + std::to_string(reg) + " " +
           std::to_string(value));
}

void SimProcess::SetVelocities(int sensor, double x, double y, double z) {
    std::ostringstream line;
    line << "velocity " << sensor << ' ' << x << ' ' << y << ' ' << z;
    Expect(line.str());
}

uint16_t SimProcess::GetRegister(int sensor, int reg) {
    const std::string line = "get " + std::to_string(sensor) + " " + std::to_string(reg);
    const std::string reply = Command(line);
    uint16_t value = 0;
    if (reply.rfind("OK ", 0) != 0 || !ToPort(reply.substr(3), value)) {
        throw std::runtime_error("simulator refused '" + line + "': " + reply);
    }
    return value;
}

int SimProcess::Stop() {
    return process_->Terminate();
}

std::string SimulatorPath() {
    return ORSAN_SIMULATOR_PATH;
}
std::string StationPath() {
    return ORSAN_STATION_PATH;
}

}  // namespace orsan::test
