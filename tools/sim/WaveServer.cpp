#include "WaveServer.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "SocketIo.h"
#include "WavePacket.h"

namespace orsan::sim {

namespace {

constexpr int kRequestWaitMs = 5000;
// Faults strike after this many whole packets (about 0.2 s of samples).
constexpr int kFaultAfterPackets = 40;
constexpr size_t kCutInsidePacket = 700;
constexpr size_t kMinPiece = 200;
constexpr size_t kMaxPiece = 3000;
// A client that stops reading must not hold the server for ever.
constexpr int kSendTimeoutSeconds = 2;

}  // namespace

WaveServer::WaveServer(SimulatedSensor& sensor, uint16_t port, float sampleRate, uint64_t seed)
    : sensor_(sensor), sampleRate_(sampleRate), seed_(seed) {
    if (!wake_.Valid()) throw std::runtime_error("cannot create the wake pipe");
    listen_.Reset(ListenTcp(sensor.address, port));
    port_ = LocalPort(listen_.Get());
}

WaveServer::~WaveServer() {
    Stop();
}

void WaveServer::Start() {
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

void WaveServer::Stop() {
    stop_ = true;
    wake_.Wake();
    if (acceptor_.joinable()) acceptor_.join();
    std::lock_guard lock(sessionsMutex_);
    for (auto& s : sessions_) {
        if (s.thread.joinable()) s.thread.join();
    }
    sessions_.clear();
    listen_.Reset();
}

void WaveServer::ReapFinished() {
    std::lock_guard lock(sessionsMutex_);
    for (auto it = sessions_.begin(); it != sessions_.end();) {
        if (it->done) {
            it->thread.join();
            it = sessions_.erase(it);
        } else {
            ++it;
        }
    }
}

void WaveServer::AcceptLoop() {
    uint64_t connection = 0;
    while (WaitFor(listen_.Get(), -1)) {
        ReapFinished();
        UniqueFd client(::accept4(listen_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!client.Valid()) continue;
        const int one = 1;
        ::setsockopt(client.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        timeval tv{kSendTimeoutSeconds, 0};
        ::setsockopt(client.Get(), SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        const uint64_t seed = seed_ * 1000003ULL + uint64_t(sensor_.index) * 7919ULL + ++connection;
        std::lock_guard lock(sessionsMutex_);
        Session& s = sessions_.emplace_back();
        s.thread = std::thread([this, &s, fd = client.Release(), seed]() mutable {
            Stream(UniqueFd(fd), seed);
            s.done = true;
        });
    }
}

bool WaveServer::WaitFor(int fd, int ms) {
    pollfd fds[2] = {{wake_.ReadFd(), POLLIN, 0}, {fd, POLLIN, 0}};
    int n;
    do {
        n = ::poll(fds, fd >= 0 ? 2 : 1, ms);
    } while (n < 0 && errno == EINTR);
    return !stop_;
}

void WaveServer::Stream(UniqueFd client, uint64_t seed) {
    const WaveFault fault = sensor_.faults.Wave();
    if (fault == WaveFault::Refuse) return;

    uint8_t request[kWaveRequestSize];
    size_t got = 0;
    const auto requestDeadline = Clock::now() + std::chrono::milliseconds(kRequestWaitMs);
    while (got < sizeof request) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(requestDeadline - Clock::now());
        if (left.count() <= 0 || !WaitFor(client.Get(), int(left.count()))) return;
        const ssize_t n = ::recv(client.Get(), request + got, sizeof request - got, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return;
        if (n > 0) got += size_t(n);
    }
    const auto seconds = ParseWaveRequest(request);
    if (!seconds) return;

    const int total = WavePacketCount(*seconds, sampleRate_);
    const int limit = fault == WaveFault::None ? total : std::min(total, kFaultAfterPackets);
    WaveSynth synth(sensor_.model.State(Clock::now()), sensor_.script.Get(), sampleRate_, seed);
    std::mt19937_64 rng(seed ^ 0x9e3779b97f4a7c15ULL);
    std::uniform_int_distribution<size_t> pieceSize(kMinPiece, kMaxPiece);

    std::vector<uint8_t> pending;
    size_t nextPiece = pieceSize(rng);
    const double packetSeconds = double(kWaveSamplesPerPacket) / sampleRate_;
    const auto start = Clock::now();
    int made = 0;
    while (made < limit) {
        // Packets leave when their last sample has been "measured".
        const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                     std::chrono::duration<double>((made + 1) * packetSeconds));
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now()).count();
        if (wait > 0 && !WaitFor(-1, int(wait))) return;
        const WavePacket p = synth.NextPacket(made, total);
        pending.insert(pending.end(), p.begin(), p.end());
        ++made;
        while (pending.size() >= nextPiece) {
            if (!SendAll(client.Get(), pending.data(), nextPiece)) return;
            pending.erase(pending.begin(), pending.begin() + long(nextPiece));
            nextPiece = pieceSize(rng);
        }
    }
    if (fault == WaveFault::Cut) {
        const WavePacket p = synth.NextPacket(made, total);
        pending.insert(pending.end(), p.begin(), p.begin() + kCutInsidePacket);
    }
    // The tail goes out in pieces too.
    while (!pending.empty()) {
        const size_t n = std::min(nextPiece, pending.size());
        if (!SendAll(client.Get(), pending.data(), n)) return;
        pending.erase(pending.begin(), pending.begin() + long(n));
        nextPiece = pieceSize(rng);
    }
    if (fault == WaveFault::Stall) {
        // Hold the connection open and silent until the client gives up.
        char sink[256];
        while (WaitFor(client.Get(), -1)) {
            const ssize_t n = ::recv(client.Get(), sink, sizeof sink, MSG_DONTWAIT);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return;
        }
    }
}

}  // namespace orsan::sim
