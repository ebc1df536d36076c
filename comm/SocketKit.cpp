#include "SocketKit.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "SensorEndpoint.h"

namespace orsan {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
}

int UniqueFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
}

WakePipe::WakePipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        read_.Reset(fds[0]);
        write_.Reset(fds[1]);
    }
}

void WakePipe::Wake() {
    const char byte = 1;
    // A full pipe already wakes the reader; nothing to do on EAGAIN.
    [[maybe_unused]] ssize_t written = ::write(write_.Get(), &byte, 1);
}

void WakePipe::Drain() {
    char bytes[64];
    while (::read(read_.Get(), bytes, sizeof bytes) > 0) {
    }
}

Deadline DeadlineAfter(int milliseconds) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

int RemainingMs(Deadline deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return 0;
    return int(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

WaitResult WaitUntil(SocketCalls& calls, int fd, short events, int wakeFd, Deadline deadline) {
    for (;;) {
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        const nfds_t count = wakeFd >= 0 ? 2 : 1;
        const int rc = calls.Poll(fds, count, RemainingMs(deadline));
        if (rc < 0) {
            if (errno == EINTR) continue;
            return WaitResult::Failed;
        }
        if (rc == 0) return WaitResult::TimedOut;
        // Any event on the wake end (a byte, or its writer gone) ends the wait;
        // looping on it would spin.
        if (count == 2 && fds[1].revents != 0) return WaitResult::Woken;
        if (fds[0].revents != 0) return WaitResult::Ready;
    }
}

namespace {

sockaddr_in SocketAddress(uint32_t address, uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    // Octet 1 goes first on the wire, whatever the host byte order.
    const uint8_t octets[4] = {AddressOctet(address, 1), AddressOctet(address, 2),
                               AddressOctet(address, 3), AddressOctet(address, 4)};
    std::memcpy(&sa.sin_addr.s_addr, octets, sizeof octets);
    return sa;
}

// A connect that goes on in the background: wait for it, then its outcome.
WaitResult AwaitConnect(SocketCalls& calls, int fd, int wakeFd, Deadline deadline) {
    const WaitResult waited = WaitUntil(calls, fd, POLLOUT, wakeFd, deadline);
    if (waited != WaitResult::Ready) return waited;
    int pending = 0;
    socklen_t length = sizeof pending;
    if (calls.GetSockOpt(fd, SOL_SOCKET, SO_ERROR, &pending, &length) != 0 || pending != 0)
        return WaitResult::Failed;
    return WaitResult::Ready;
}

int Connect(SocketCalls& calls, int fd, uint32_t address, uint16_t port) {
    const sockaddr_in peer = SocketAddress(address, port);
    return calls.Connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
}

timeval Timeval(int milliseconds) {
    return timeval{milliseconds / 1000, (milliseconds % 1000) * 1000};
}

}  // namespace

WaitResult ConnectWithin(SocketCalls& calls, uint32_t address, uint16_t port, int waitMs,
                         int wakeFd, UniqueFd& out) {
    out.Reset();
    if (address == 0) return WaitResult::Failed;
    const Deadline deadline = DeadlineAfter(waitMs);
    UniqueFd sock(calls.Socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!sock.Valid()) return WaitResult::Failed;

    if (Connect(calls, sock.Get(), address, port) != 0) {
        // An interrupted connect goes on in the background, like one in progress.
        if (errno != EINPROGRESS && errno != EINTR) return WaitResult::Failed;
        const WaitResult waited = AwaitConnect(calls, sock.Get(), wakeFd, deadline);
        if (waited != WaitResult::Ready) return waited;
    }
    const int flags = calls.GetFlags(sock.Get());
    if (flags < 0 || calls.SetFlags(sock.Get(), flags & ~O_NONBLOCK) != 0)
        return WaitResult::Failed;
    out = std::move(sock);
    return WaitResult::Ready;
}

WaitResult ConnectBlocking(SocketCalls& calls, uint32_t address, uint16_t port, int waitMs,
                           int ioLimitMs, UniqueFd& out) {
    out.Reset();
    if (address == 0) return WaitResult::Failed;
    const Deadline deadline = DeadlineAfter(waitMs);
    UniqueFd sock(calls.Socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!sock.Valid()) return WaitResult::Failed;
    // Linux bounds a blocking connect by the send time-out; it is then set
    // to the limit of later sends.
    const timeval connectLimit = Timeval(waitMs);
    const timeval ioLimit = Timeval(ioLimitMs);
    if (calls.SetSockOpt(sock.Get(), SOL_SOCKET, SO_SNDTIMEO, &connectLimit, sizeof connectLimit) !=
            0 ||
        calls.SetSockOpt(sock.Get(), SOL_SOCKET, SO_RCVTIMEO, &ioLimit, sizeof ioLimit) != 0)
        return WaitResult::Failed;

    if (Connect(calls, sock.Get(), address, port) != 0) {
        // EINPROGRESS: the time-out ran out. EINTR: a signal came first and
        // the connect goes on in the background.
        if (errno == EINPROGRESS) return WaitResult::TimedOut;
        if (errno != EINTR) return WaitResult::Failed;
        const WaitResult waited = AwaitConnect(calls, sock.Get(), -1, deadline);
        if (waited != WaitResult::Ready) return waited;
    }
    if (ioLimitMs != waitMs &&
        calls.SetSockOpt(sock.Get(), SOL_SOCKET, SO_SNDTIMEO, &ioLimit, sizeof ioLimit) != 0)
        return WaitResult::Failed;
    out = std::move(sock);
    return WaitResult::Ready;
}

}  // namespace orsan
