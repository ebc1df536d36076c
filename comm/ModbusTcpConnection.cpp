#include "ModbusTcpConnection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace orsan {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until deadline, rounded up so a wait never ends early;
// 0 once it has passed.
int RemainingMs(Clock::time_point deadline) {
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    return int(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

// Waits for events on fd until deadline; retries after signals. Returns the
// revents, or 0 on time-out or error.
short WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, RemainingMs(deadline));
        if (n > 0) return p.revents;
        if (n == 0) return 0;
        if (errno != EINTR) return 0;
    }
}

sockaddr_in SocketAddress(const SensorEndpoint& endpoint) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(endpoint.port);
    // Octet 1 goes first on the wire, whatever the host byte order.
    const uint8_t octets[4] = {AddressOctet(endpoint.address, 1), AddressOctet(endpoint.address, 2),
                               AddressOctet(endpoint.address, 3),
                               AddressOctet(endpoint.address, 4)};
    std::memcpy(&sa.sin_addr.s_addr, octets, sizeof octets);
    return sa;
}

// An exception answer: function code with the high bit, length field 3,
// nine bytes in all. Nothing longer can follow from a sane peer, so the
// wait for more can end.
bool IsExceptionFrame(const uint8_t* data, size_t size) {
    return size == 9 && data[4] == 0 && data[5] == 3 && (data[7] & 0x80) != 0;
}

}  // namespace

ModbusRequest BuildRequest(uint16_t transactionId, uint8_t unitId, uint8_t function,
                           uint16_t firstRegister, uint16_t countOrValue) {
    return ModbusRequest{uint8_t(transactionId >> 8),
                         uint8_t(transactionId),
                         0,
                         0,
                         0,
                         6,
                         unitId,
                         function,
                         uint8_t(firstRegister >> 8),
                         uint8_t(firstRegister),
                         uint8_t(countOrValue >> 8),
                         uint8_t(countOrValue)};
}

ModbusTcpConnection::~ModbusTcpConnection() {
    Close();
}

bool ModbusTcpConnection::Open(const SensorEndpoint& endpoint) {
    Close();
    // Linux routes a connect to 0.0.0.0 to the local host; the station uses
    // that address for "no sensor here", so it must never reach anything.
    if (endpoint.address == 0) return false;

    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;

    const sockaddr_in sa = SocketAddress(endpoint);
    const auto deadline = Clock::now() + std::chrono::milliseconds(kConnectWaitMs);
    bool connected = false;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) {
        connected = true;
    } else if (errno == EINPROGRESS || errno == EINTR) {
        // poll rather than select: no FD_SETSIZE limit on the descriptor.
        if (WaitFor(fd_, POLLIN | POLLOUT, deadline) != 0) {
            int pending = 0;
            socklen_t len = sizeof pending;
            connected =
                ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &pending, &len) == 0 && pending == 0;
        }
    }
    if (connected) {
        timeval tv{};
        tv.tv_sec = kReceiveLimitMs / 1000;
        tv.tv_usec = (kReceiveLimitMs % 1000) * 1000;
        const int flags = ::fcntl(fd_, F_GETFL);
        connected = ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) == 0 && flags >= 0 &&
                    ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) == 0;
    }
    if (!connected) Close();
    return connected;
}

void ModbusTcpConnection::DiscardPending() {
    // A late answer to an earlier request must never pass for the next one.
    // Bounded, so a peer that streams without pause cannot hold us here.
    ModbusReply scratch;
    for (int i = 0; i < 64; ++i) {
        const ssize_t n = ::recv(fd_, scratch.data(), scratch.size(), MSG_DONTWAIT);
        if (n <= 0) return;
    }
}

int ModbusTcpConnection::Transact(const ModbusRequest& request, size_t expectedLength,
                                  ModbusReply& reply) {
    if (fd_ < 0) return -1;
    DiscardPending();

    const ssize_t sent = ::send(fd_, request.data(), request.size(), MSG_NOSIGNAL);
    if (sent != ssize_t(request.size())) return -1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kReceiveLimitMs);

    // Each read takes whatever is queued, up to the whole buffer, so bytes
    // beyond expectedLength in the same segment are counted.
    size_t got = 0;
    while (got < expectedLength && got < reply.size()) {
        const short ready = WaitFor(fd_, POLLIN, deadline);
        if (ready == 0) break;
        const ssize_t n = ::recv(fd_, reply.data() + got, reply.size() - got, MSG_DONTWAIT);
        if (n > 0) {
            got += size_t(n);
            if (IsExceptionFrame(reply.data(), got)) break;
            continue;
        }
        if (n == 0) break;                                                     // peer closed
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) break;  // reset
    }

    // Extra bytes sent with the answer: already queued when the expected
    // length is reached. Anything later is discarded before the next request.
    if (got >= expectedLength && got < reply.size()) {
        const ssize_t n = ::recv(fd_, reply.data() + got, reply.size() - got, MSG_DONTWAIT);
        if (n > 0) got += size_t(n);
    }
    return got == 0 ? -1 : int(got);
}

bool ModbusTcpConnection::ReadHoldingRegisters(uint8_t unitId, uint16_t transactionId,
                                               uint16_t firstRegister, uint16_t count,
                                               uint16_t* out) {
    const size_t expected = ReadReplyLength(count);
    // A read of nothing would "accept" a 9-byte exception answer.
    if (count == 0 || expected > kReceiveBufferSize || out == nullptr) return false;

    ModbusReply reply;
    const int got =
        Transact(BuildRequest(transactionId, unitId, kFunctionReadHolding, firstRegister, count),
                 expected, reply);
    if (got != int(expected)) return false;
    for (size_t k = 0; k < count; ++k) {
        out[k] = uint16_t(reply[9 + 2 * k] << 8 | reply[10 + 2 * k]);
    }
    return true;
}

void ModbusTcpConnection::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace orsan
