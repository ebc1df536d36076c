#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

#include "SimulatedSensor.h"
#include "SocketKit.h"

namespace orsan::sim {

// One sensor's waveform server: each connection gets its own thread that
// reads the request and streams the capture in real time, in pieces that do
// not line up with packets, then closes (or misbehaves as the sensor's wave
// fault says).
class WaveServer {
public:
    // Listens at once; throws std::runtime_error when it cannot.
    WaveServer(SimulatedSensor& sensor, uint16_t port, float sampleRate, uint64_t seed);
    ~WaveServer();
    WaveServer(const WaveServer&) = delete;
    WaveServer& operator=(const WaveServer&) = delete;

    uint16_t Port() const { return port_; }
    void Start();
    void Stop();  // idempotent; ends every stream and joins every thread

private:
    struct Session {
        std::thread thread;
        std::atomic<bool> done{false};
    };

    void AcceptLoop();
    void Stream(UniqueFd client, uint64_t seed);
    // Waits up to `ms` for the stop signal or for `fd` to become readable;
    // returns false when stopping.
    bool WaitFor(int fd, int ms);
    void ReapFinished();

    SimulatedSensor& sensor_;
    const float sampleRate_;
    UniqueFd listen_;
    uint16_t port_ = 0;
    uint64_t seed_;
    WakePipe wake_;
    std::atomic<bool> stop_{false};
    std::thread acceptor_;
    std::mutex sessionsMutex_;
    std::list<Session> sessions_;
};

}  // namespace orsan::sim
