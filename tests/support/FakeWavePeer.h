#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orsan::test {

// One 1420-byte packet: rate at 8, number at 16, samples from 24 (X, Y, Z per
// sample, little-endian floats).
std::vector<uint8_t> MakeWavePacket(int32_t number, float rate, const std::vector<float>& xyz);

// A waveform peer on 127.0.0.1, ephemeral port, serving one connection: it
// reads the 12-byte request, then sends `stream` cut into `chunks` (cycled),
// then closes, keeps the connection open without sending (stall), or sends
// the stream again and again (endless) until the client closes or the peer is
// destroyed.
class FakeWavePeer {
public:
    enum class Ending { Close, Stall, Endless };

    FakeWavePeer(std::vector<uint8_t> stream, std::vector<size_t> chunks,
                 Ending ending = Ending::Close);
    ~FakeWavePeer();

    uint16_t Port() const { return port_; }
    // The request bytes received (empty until it arrived).
    std::vector<uint8_t> Request();
    // Blocks until the whole stream has been sent.
    void WaitSent();

private:
    void Serve();
    void SendForEver(int fd);

    int listenFd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    uint16_t port_ = 0;
    std::vector<uint8_t> stream_;
    std::vector<size_t> chunks_;
    Ending ending_;
    std::mutex mutex_;
    std::condition_variable sentCv_;
    bool sent_ = false;
    std::vector<uint8_t> request_;
    std::thread thread_;
};

// A loopback port with nobody listening on it.
uint16_t ClosedLoopbackPort();

}  // namespace orsan::test
