#include "WireClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace orsan::test {

using Clock = std::chrono::steady_clock;

WireClient::WireClient(const std::string& address, uint16_t port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &addr.sin_addr) != 1) {
        throw std::runtime_error("bad address " + address);
    }
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0 || ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        const std::string why = std::strerror(errno);
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        throw std::runtime_error("cannot connect to " + address + ":" + std::to_string(port) +
                                 ": " + why);
    }
    const int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

WireClient::~WireClient() {
    if (fd_ >= 0) ::close(fd_);
}

size_t WireClient::Received::Total() const {
    size_t n = 0;
    for (const auto& s : segments) n += s.size();
    return n;
}

std::vector<uint8_t> WireClient::Received::Bytes() const {
    std::vector<uint8_t> all;
    for (const auto& s : segments) all.insert(all.end(), s.begin(), s.end());
    return all;
}

bool WireClient::Send(const std::vector<uint8_t>& bytes) {
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
}

WireClient::Received WireClient::Receive(size_t want, std::chrono::milliseconds quiet,
                                         std::chrono::milliseconds limit) {
    Received r;
    const auto end = Clock::now() + limit;
    std::vector<uint8_t> buf(65536);
    while (r.Total() < want) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        const auto wait = std::min(quiet, left);
        if (wait.count() <= 0) break;
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(wait.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        const ssize_t n = ::recv(fd_, buf.data(), buf.size(), 0);
        if (n <= 0) {
            r.closed = true;
            break;
        }
        r.segments.emplace_back(buf.begin(), buf.begin() + n);
        r.times.push_back(Clock::now());
    }
    return r;
}

std::vector<uint8_t> ModbusRequest(uint16_t transaction, uint8_t function, uint16_t reg,
                                   uint16_t countOrValue) {
    return {uint8_t(transaction >> 8),
            uint8_t(transaction),
            0,
            0,
            0,
            6,
            1,
            function,
            uint8_t(reg >> 8),
            uint8_t(reg),
            uint8_t(countOrValue >> 8),
            uint8_t(countOrValue)};
}

std::vector<uint16_t> ReadRegisters(const std::string& address, uint16_t port, uint16_t first,
                                    uint16_t count) {
    WireClient client(address, port);
    if (!client.Send(ModbusRequest(1, 3, first, count))) return {};
    const size_t expected = 9 + 2u * count;
    const auto bytes = client.Receive(expected, std::chrono::milliseconds(1000)).Bytes();
    if (bytes.size() != expected || bytes[7] != 3) return {};
    std::vector<uint16_t> values;
    for (size_t i = 0; i < count; ++i)
        values.push_back(uint16_t(bytes[9 + 2 * i] << 8 | bytes[10 + 2 * i]));
    return values;
}

WireClient::Received Exchange(const std::string& address, uint16_t port,
                              const std::vector<uint8_t>& request,
                              std::chrono::milliseconds quiet) {
    WireClient client(address, port);
    if (!client.Send(request)) return {};
    return client.Receive(1000, quiet, std::chrono::seconds(2));
}

std::vector<uint8_t> WriteRegister(const std::string& address, uint16_t port, uint16_t reg,
                                   uint16_t value) {
    WireClient client(address, port);
    if (!client.Send(ModbusRequest(7, 6, reg, value))) return {};
    return client.Receive(12, std::chrono::milliseconds(300)).Bytes();
}

}  // namespace orsan::test
