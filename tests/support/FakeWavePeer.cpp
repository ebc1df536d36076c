#include "FakeWavePeer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace orsan::test {

std::vector<uint8_t> MakeWavePacket(int32_t number, float rate, const std::vector<float>& xyz) {
    std::vector<uint8_t> packet(1420, 0);
    packet[0] = 0xA5;
    packet[1] = 0x5A;
    packet[2] = 0x01;
    packet[3] = 0x02;
    std::memcpy(&packet[8], &rate, 4);
    std::memcpy(&packet[16], &number, 4);
    for (size_t i = 0; i < 348 && i < xyz.size(); ++i) std::memcpy(&packet[24 + 4 * i], &xyz[i], 4);
    packet[1416] = 0xEE;
    return packet;
}

namespace {

int ListenLoopback(uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket");
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        throw std::runtime_error("bind/listen");
    }
    socklen_t length = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
    port = ntohs(addr.sin_port);
    return fd;
}

// Waits for fd to become readable or the wake pipe to fire; false on wake.
bool WaitFor(int fd, int wake) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {wake, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) return false;
        if (fds[0].revents) return true;
    }
}

}  // namespace

FakeWavePeer::FakeWavePeer(std::vector<uint8_t> stream, std::vector<size_t> chunks, Ending ending)
    : stream_(std::move(stream)), chunks_(std::move(chunks)), ending_(ending) {
    listenFd_ = ListenLoopback(port_);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    if (chunks_.empty()) chunks_.push_back(1420);
    thread_ = std::thread([this] { Serve(); });
}

FakeWavePeer::~FakeWavePeer() {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeWrite_, &byte, 1);
    thread_.join();
    ::close(listenFd_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

std::vector<uint8_t> FakeWavePeer::Request() {
    std::lock_guard lock(mutex_);
    return request_;
}

void FakeWavePeer::WaitSent() {
    std::unique_lock lock(mutex_);
    sentCv_.wait(lock, [this] { return sent_; });
}

void FakeWavePeer::Serve() {
    const auto markSent = [this] {
        std::lock_guard lock(mutex_);
        sent_ = true;
        sentCv_.notify_all();
    };
    if (!WaitFor(listenFd_, wakeRead_)) return markSent();
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return markSent();
    const int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    std::vector<uint8_t> request;
    while (request.size() < 12) {
        if (!WaitFor(fd, wakeRead_)) {
            ::close(fd);
            return markSent();
        }
        uint8_t buffer[12];
        const ssize_t n = ::recv(fd, buffer, 12 - request.size(), 0);
        if (n <= 0) break;
        request.insert(request.end(), buffer, buffer + n);
    }
    {
        std::lock_guard lock(mutex_);
        request_ = request;
    }
    size_t offset = 0;
    for (size_t i = 0; offset < stream_.size(); ++i) {
        const size_t chunk = std::min(chunks_[i % chunks_.size()], stream_.size() - offset);
        if (::send(fd, stream_.data() + offset, chunk, MSG_NOSIGNAL) != ssize_t(chunk)) break;
        offset += chunk;
    }
    markSent();
    if (ending_ == Ending::Endless) SendForEver(fd);
    if (ending_ == Ending::Stall) {
        pollfd wake{wakeRead_, POLLIN, 0};
        while (::poll(&wake, 1, -1) <= 0) {
        }
    }
    ::close(fd);
}

void FakeWavePeer::SendForEver(int fd) {
    pollfd fds[2] = {{fd, POLLOUT, 0}, {wakeRead_, POLLIN, 0}};
    for (size_t offset = 0;;) {
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents || (fds[0].revents & (POLLERR | POLLHUP))) return;
        const size_t chunk = std::min<size_t>(1420, stream_.size() - offset);
        const ssize_t n = ::send(fd, stream_.data() + offset, chunk, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno != EAGAIN && errno != EINTR) return;  // the client has gone
        if (n > 0) offset = (offset + size_t(n)) % stream_.size();
    }
}

uint16_t ClosedLoopbackPort() {
    uint16_t port = 0;
    const int fd = ListenLoopback(port);
    ::close(fd);  // nobody listens there any more: connects are refused
    return port;
}

}  // namespace orsan::test
