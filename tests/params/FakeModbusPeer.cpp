#include "FakeModbusPeer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace orsan::test {

FakeModbusPeer::FakeModbusPeer(const std::string& address) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    if (::inet_pton(AF_INET, address.c_str(), &sa.sin_addr) != 1 ||
        (ntohl(sa.sin_addr.s_addr) >> 24) != 127) {
        throw std::runtime_error("fake peer needs a loopback address");
    }
    std::memcpy(&address_, &sa.sin_addr.s_addr, 4);  // network order = octet 1 first

    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    socklen_t len = sizeof sa;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::listen(listenFd_, 8) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&sa), &len) != 0 ||
        ::pipe2(wakePipe_, O_CLOEXEC) != 0) {
        if (listenFd_ >= 0) ::close(listenFd_);
        throw std::runtime_error("fake peer cannot listen");
    }
    port_ = ntohs(sa.sin_port);
    thread_ = std::thread([this] { Run(); });
}

FakeModbusPeer::~FakeModbusPeer() {
    const char stop = 'x';
    (void)!::write(wakePipe_[1], &stop, 1);
    thread_.join();
    ::close(listenFd_);
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

void FakeModbusPeer::SetResponder(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

std::vector<RecordedRequest> FakeModbusPeer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int FakeModbusPeer::Connections() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

bool FakeModbusPeer::WaitForConnections(int count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return connections_ >= count; });
}

bool FakeModbusPeer::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

uint16_t FakeModbusPeer::Register(int reg) const {
    std::lock_guard lock(mutex_);
    return registers_.at(size_t(reg));
}

void FakeModbusPeer::SetRegister(int reg, uint16_t value) {
    std::lock_guard lock(mutex_);
    registers_.at(size_t(reg)) = value;
}

std::vector<uint8_t> FakeModbusPeer::Exception(const RecordedRequest& request, uint8_t code) {
    return {request.bytes[0],
            request.bytes[1],
            0,
            0,
            0,
            3,
            request.bytes[6],
            uint8_t(request.Function() | 0x80),
            code};
}

FakeModbusPeer::Reply FakeModbusPeer::Standard(const RecordedRequest& request) {
    std::lock_guard lock(mutex_);
    const size_t first = request.Register();
    if (request.Function() == 6 && first < registers_.size()) {
        registers_[first] = request.Value();
        return std::vector<uint8_t>(request.bytes.begin(), request.bytes.end());
    }
    const size_t count = request.Value();
    if (request.Function() == 3 && count >= 1 && count <= 125 &&
        first + count <= registers_.size()) {
        std::vector<uint8_t> reply{request.bytes[0],
                                   request.bytes[1],
                                   0,
                                   0,
                                   uint8_t((count * 2 + 3) >> 8),
                                   uint8_t(count * 2 + 3),
                                   request.bytes[6],
                                   3,
                                   uint8_t(count * 2)};
        for (size_t k = 0; k < count; ++k) {
            reply.push_back(uint8_t(registers_[first + k] >> 8));
            reply.push_back(uint8_t(registers_[first + k]));
        }
        return reply;
    }
    return Exception(request, 2);
}

void FakeModbusPeer::Run() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        {
            std::lock_guard lock(mutex_);
            ++connections_;
        }
        changed_.notify_all();
        Serve(fd);
        ::close(fd);
    }
}

void FakeModbusPeer::Serve(int fd) {
    RecordedRequest pending;
    size_t have = 0;
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;  // stop: leave the pipe readable for Run
        const ssize_t n = ::recv(fd, pending.bytes.data() + have, pending.bytes.size() - have, 0);
        if (n <= 0) return;
        have += size_t(n);
        if (have < pending.bytes.size()) continue;
        {
            std::lock_guard lock(mutex_);
            pending.connection = connections_;
            requests_.push_back(pending);
        }
        changed_.notify_all();
        Answer(fd, pending);
        have = 0;
    }
}

void FakeModbusPeer::Answer(int fd, const RecordedRequest& request) {
    Responder responder;
    {
        std::lock_guard lock(mutex_);
        responder = responder_;
    }
    const Reply reply = responder ? responder(request, *this) : Standard(request);
    if (reply && !reply->empty()) ::send(fd, reply->data(), reply->size(), MSG_NOSIGNAL);
}

}  // namespace orsan::test
