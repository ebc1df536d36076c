#include "FakeModbusPeer.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace orsan::test {

FakeModbusPeer::FakeModbusPeer(const std::string& address)
    : FakeModbusPeer(
          [this](const ModbusRequest& request, int connection, int) {
              const Reply reply = Standard({connection + 1, request});
              return PeerReply{{*reply}};
          },
          address) {}

FakeModbusPeer::FakeModbusPeer(PeerHandler handler, const std::string& address)
    : handler_(std::move(handler)) {
    uint32_t parsed = 0;
    if (!ParseAddress(address, parsed) || AddressOctet(parsed, 1) != 127) {
        throw std::invalid_argument("fake peers live on loopback only");
    }
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];

    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = 0;
    ::inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    socklen_t len = sizeof sa;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::listen(listenFd_, 8) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&sa), &len) != 0) {
        ::close(listenFd_);
        ::close(wakeRead_);
        ::close(wakeWrite_);
        throw std::runtime_error("listen");
    }
    endpoint_ = SensorEndpoint{parsed, ntohs(sa.sin_port), 1};
    thread_ = std::thread(&FakeModbusPeer::Run, this);
}

FakeModbusPeer::~FakeModbusPeer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    const char byte = 1;
    (void)!::write(wakeWrite_, &byte, 1);
    thread_.join();
    ::close(listenFd_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

void FakeModbusPeer::SetHandler(PeerHandler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

void FakeModbusPeer::SetResponder(Responder responder) {
    SetHandler([this, responder = std::move(responder)](const ModbusRequest& request,
                                                        int connection, int) {
        const Reply reply = responder({connection + 1, request}, *this);
        PeerReply out;
        if (reply && !reply->empty()) out.segments.push_back(*reply);
        return out;
    });
}

int FakeModbusPeer::Accepts() const {
    std::lock_guard lock(mutex_);
    return accepts_;
}

int FakeModbusPeer::ClosedConnections() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

int FakeModbusPeer::RepliesSent() const {
    std::lock_guard lock(mutex_);
    return replies_;
}

std::vector<RecordedRequest> FakeModbusPeer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool FakeModbusPeer::WaitCount(const int& counter, int n, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return counter >= n; });
}

bool FakeModbusPeer::WaitForAccepts(int n, std::chrono::milliseconds timeout) const {
    return WaitCount(accepts_, n, timeout);
}

bool FakeModbusPeer::WaitForClosed(int n, std::chrono::milliseconds timeout) const {
    return WaitCount(closed_, n, timeout);
}

bool FakeModbusPeer::WaitForReplies(int n, std::chrono::milliseconds timeout) const {
    return WaitCount(replies_, n, timeout);
}

bool FakeModbusPeer::WaitForRequests(size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= n; });
}

uint16_t FakeModbusPeer::Register(int reg) const {
    std::lock_guard lock(mutex_);
    return registers_.at(size_t(reg));
}

void FakeModbusPeer::SetRegister(int reg, uint16_t value) {
    std::lock_guard lock(mutex_);
    registers_.at(size_t(reg)) = value;
}

FakeModbusPeer::Reply FakeModbusPeer::Standard(const RecordedRequest& request) {
    std::lock_guard lock(mutex_);
    const size_t first = request.Register();
    if (request.Function() == 6 && first < registers_.size()) {
        registers_[first] = request.Value();
        return WriteEcho(request.bytes);
    }
    const size_t count = request.Value();
    if (request.Function() == 3 && count >= 1 && count <= 125 &&
        first + count <= registers_.size()) {
        return ReadAnswer(request.bytes, std::vector<uint16_t>(registers_.begin() + first,
                                                               registers_.begin() + first + count));
    }
    return ExceptionAnswer(request.bytes, 2);
}

bool FakeModbusPeer::Delay(int ms) {
    std::unique_lock lock(mutex_);
    // No timed wait for no delay: it costs a scheduler round trip per reply.
    if (ms <= 0) return !stopping_;
    return !changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void FakeModbusPeer::Run() {
    for (int connection = 0;; ++connection) {
        pollfd p[2] = {{listenFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(p, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (p[1].revents) return;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        {
            std::lock_guard lock(mutex_);
            ++accepts_;
        }
        changed_.notify_all();
        Serve(fd, connection);
        {
            std::lock_guard lock(mutex_);
            ++closed_;
        }
        changed_.notify_all();
    }
}

void FakeModbusPeer::Serve(int fd, int connection) {
    ModbusRequest request{};
    size_t have = 0;
    for (int index = 0;;) {
        pollfd p[2] = {{fd, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(p, 2, -1) < 0 && errno != EINTR) break;
        if (p[1].revents) break;
        if (!p[0].revents) continue;
        const ssize_t n = ::recv(fd, request.data() + have, request.size() - have, 0);
        if (n <= 0) break;  // the client closed
        have += size_t(n);
        if (have < request.size()) continue;
        have = 0;

        PeerHandler handler;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back({connection + 1, request});
            handler = handler_;
        }
        changed_.notify_all();
        const PeerReply reply = handler(request, connection, index++);
        bool alive = reply.segments.empty() || Delay(reply.delayMs);
        for (size_t i = 0; alive && i < reply.segments.size(); ++i) {
            if (i > 0 && !Delay(reply.gapMs)) alive = false;
            if (alive) {
                const Bytes& s = reply.segments[i];
                ::send(fd, s.data(), s.size(), MSG_NOSIGNAL);
            }
        }
        {
            std::lock_guard lock(mutex_);
            ++replies_;
        }
        changed_.notify_all();
        if (!alive) break;
        if (reply.then == PeerReply::Then::Reset) {
            const linger hard{1, 0};  // close with RST
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            break;
        }
        if (reply.then == PeerReply::Then::Close) break;
    }
    ::close(fd);
}

Bytes ReadAnswer(const ModbusRequest& request, const std::vector<uint16_t>& values) {
    const size_t length = 3 + 2 * values.size();
    Bytes out = {request[0], request[1],           0,
                 0,          uint8_t(length >> 8), uint8_t(length),
                 request[6], request[7],           uint8_t(2 * values.size())};
    for (uint16_t v : values) {
        out.push_back(uint8_t(v >> 8));
        out.push_back(uint8_t(v));
    }
    return out;
}

Bytes ExceptionAnswer(const ModbusRequest& request, uint8_t code) {
    return {request[0], request[1], 0, 0, 0, 3, request[6], uint8_t(request[7] | 0x80), code};
}

Bytes WriteEcho(const ModbusRequest& request) {
    return Bytes(request.begin(), request.end());
}

uint16_t RequestTid(const ModbusRequest& r) {
    return uint16_t(r[0] << 8 | r[1]);
}
uint16_t RequestFirst(const ModbusRequest& r) {
    return uint16_t(r[8] << 8 | r[9]);
}
uint16_t RequestCount(const ModbusRequest& r) {
    return uint16_t(r[10] << 8 | r[11]);
}

int OpenDescriptorCount() {
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir) return -1;
    int count = 0;
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] != '.') ++count;
    }
    ::closedir(dir);
    return count - 1;  // the directory stream itself
}

}  // namespace orsan::test
