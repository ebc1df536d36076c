#include "WaveSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "SensorEndpoint.h"

namespace orsan {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

int UniqueFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

WakePipe::WakePipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        read_ = UniqueFd(fds[0]);
        write_ = UniqueFd(fds[1]);
    }
}

void WakePipe::Wake() {
    const char byte = 1;
    // A full pipe already wakes the reader; nothing to do on EAGAIN.
    [[maybe_unused]] ssize_t written = ::write(write_.Get(), &byte, 1);
}

namespace {

using Clock = std::chrono::steady_clock;

// Polls fd for events plus the wake fd, resuming after EINTR with the time left.
WaitResult PollFor(int fd, short events, int wakeFd, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        const nfds_t count = wakeFd >= 0 ? 2 : 1;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const int rc = ::poll(fds, count, std::max<int>(0, int(left.count())));
        if (rc < 0) {
            if (errno == EINTR) continue;
            return WaitResult::Failed;
        }
        if (count == 2 && (fds[1].revents & POLLIN)) return WaitResult::Woken;
        if (rc == 0) return WaitResult::TimedOut;
        if (fds[0].revents != 0) return WaitResult::Ready;
    }
}

}  // namespace

WaitResult ConnectWithin(uint32_t address, uint16_t port, int waitMs, int wakeFd, UniqueFd& out) {
    out.Close();
    if (address == 0) return WaitResult::Failed;
    UniqueFd sock(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!sock.Valid()) return WaitResult::Failed;
    const int flags = ::fcntl(sock.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(sock.Get(), F_SETFL, flags | O_NONBLOCK) < 0)
        return WaitResult::Failed;

    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = htonl(
        (uint32_t(AddressOctet(address, 1)) << 24) | (uint32_t(AddressOctet(address, 2)) << 16) |
        (uint32_t(AddressOctet(address, 3)) << 8) | uint32_t(AddressOctet(address, 4)));
    if (::connect(sock.Get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        if (errno != EINPROGRESS) return WaitResult::Failed;
        const WaitResult waited = PollFor(sock.Get(), POLLOUT, wakeFd, waitMs);
        if (waited != WaitResult::Ready) return waited;
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(sock.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return WaitResult::Failed;
    }
    if (::fcntl(sock.Get(), F_SETFL, flags & ~O_NONBLOCK) < 0) return WaitResult::Failed;
    out = std::move(sock);
    return WaitResult::Ready;
}

WaitResult WaitReadable(int fd, int wakeFd, int timeoutMs) {
    return PollFor(fd, POLLIN, wakeFd, timeoutMs);
}

}  // namespace orsan
