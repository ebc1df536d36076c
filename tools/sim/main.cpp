// orsan-sensor-sim: plays networked vibration sensors on loopback addresses
// for the station's demo and integration tests.

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Commands.h"
#include "ModbusServer.h"
#include "SimOptions.h"
#include "SocketKit.h"
#include "StateStore.h"
#include "WavePacket.h"
#include "WaveServer.h"

using namespace orsan::sim;
using orsan::UniqueFd;

namespace {

struct Simulator {
    std::vector<std::unique_ptr<SimulatedSensor>> sensors;
    std::vector<std::unique_ptr<ModbusServer>> modbus;
    std::vector<std::unique_ptr<WaveServer>> wave;
    std::unique_ptr<StateStore> store;

    void Stop() {
        for (auto& s : modbus) s->Stop();
        for (auto& s : wave) s->Stop();
    }
};

// Reads stdin commands and waits for SIGTERM/SIGINT; returns when either asks
// to end. Stdin closing is not a reason to stop.
void ServeOperator(Simulator& sim, int signalFd) {
    CommandLines lines;
    bool stdinOpen = true;
    for (;;) {
        pollfd fds[2] = {{signalFd, POLLIN, 0}, {stdinOpen ? STDIN_FILENO : -1, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            std::perror("orsan-sensor-sim: poll");
            return;
        }
        if (fds[0].revents & POLLIN) return;
        if (fds[1].revents == 0) continue;
        char buf[4096];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            stdinOpen = false;
            continue;
        }
        for (const std::optional<std::string>& line :
             lines.Feed(std::string_view(buf, size_t(n)))) {
            bool quit = false;
            const std::string reply =
                line ? RunCommand(*line, sim.sensors, quit)
                     : "ERR line longer than " + std::to_string(kMaxCommandLine) + " bytes";
            std::printf("%s\n", reply.c_str());
            std::fflush(stdout);
            if (quit) return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "orsan-sensor-sim: %s\n%s", error.c_str(), UsageText());
        return 2;
    }
    if (options->help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(VersionText(), stdout);
        return 0;
    }

    // Signals are taken through a descriptor, so every thread started below
    // inherits the blocked mask and only the main loop sees them.
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGTERM);
    sigaddset(&mask, SIGINT);
    pthread_sigmask(SIG_BLOCK, &mask, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    UniqueFd signalFd(::signalfd(-1, &mask, SFD_CLOEXEC));
    if (!signalFd.Valid()) {
        std::fprintf(stderr, "orsan-sensor-sim: signalfd: %s\n", std::strerror(errno));
        return 1;
    }

    Simulator sim;
    sim.store = std::make_unique<StateStore>(options->stateFile);
    std::vector<std::string> warnings;
    const bool loaded = sim.store->Load(warnings);
    for (const auto& w : warnings) std::fprintf(stderr, "orsan-sensor-sim: %s\n", w.c_str());
    if (!loaded) return 1;

    const auto start = Clock::now();
    try {
        for (size_t i = 0; i < options->sensors.size(); ++i) {
            const int index = int(i) + 1;
            const auto& choice = options->sensors[i];
            auto sensor = std::make_unique<SimulatedSensor>(index, choice.octets, options->seed,
                                                            start, options->flapPeriod);
            sensor->model.LoadConfig(sim.store->Saved(index));
            if (auto f = options->faults.find(index); f != options->faults.end()) {
                sensor->faults.Set(f->second);
            }
            if (auto f = options->waveFaults.find(index); f != options->waveFaults.end()) {
                sensor->faults.SetWave(f->second);
            }
            SimulatedSensor* raw = sensor.get();
            StateStore* store = sim.store.get();
            auto onSave = [raw, store] {
                std::string err;
                if (store->Save(raw->index, raw->model.ConfigValues(), err)) return true;
                std::fprintf(stderr, "orsan-sensor-sim: sensor %d: %s\n", raw->index, err.c_str());
                return false;
            };
            sim.modbus.push_back(std::make_unique<ModbusServer>(
                *raw, choice.modbusPort.value_or(options->port), onSave));
            sim.wave.push_back(std::make_unique<WaveServer>(
                *raw, choice.wavePort.value_or(options->wavePort), kWaveSampleRate, options->seed));
            sim.sensors.push_back(std::move(sensor));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orsan-sensor-sim: %s\n", e.what());
        return 1;
    }
    for (auto& s : sim.modbus) s->Start();
    for (auto& s : sim.wave) s->Start();

    std::string ready = "READY";
    for (size_t i = 0; i < sim.sensors.size(); ++i) {
        // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on " " + string
        // in optimised builds.
        ready += ' ';
        ready += std::to_string(i + 1) + "=" + sim.sensors[i]->address + ":" +
                 std::to_string(sim.modbus[i]->Port()) + "/" + std::to_string(sim.wave[i]->Port());
    }
    std::printf("%s\n", ready.c_str());
    std::fflush(stdout);

    ServeOperator(sim, signalFd.Get());
    sim.Stop();
    return 0;
}
