#include "SocketCalls.h"

#include <fcntl.h>

namespace orsan {

namespace {

class SystemCalls final : public SocketCalls {
public:
    int Socket(int domain, int type, int protocol) override {
        return ::socket(domain, type, protocol);
    }
    int Connect(int fd, const sockaddr* address, socklen_t length) override {
        return ::connect(fd, address, length);
    }
    int Poll(pollfd* fds, nfds_t count, int timeoutMs) override {
        return ::poll(fds, count, timeoutMs);
    }
    int GetSockOpt(int fd, int level, int name, void* value, socklen_t* length) override {
        return ::getsockopt(fd, level, name, value, length);
    }
    int SetSockOpt(int fd, int level, int name, const void* value, socklen_t length) override {
        return ::setsockopt(fd, level, name, value, length);
    }
    int GetFlags(int fd) override { return ::fcntl(fd, F_GETFL); }
    int SetFlags(int fd, int flags) override { return ::fcntl(fd, F_SETFL, flags); }
    ssize_t Send(int fd, const void* data, size_t length, int flags) override {
        return ::send(fd, data, length, flags);
    }
    ssize_t Receive(int fd, void* buffer, size_t length, int flags) override {
        return ::recv(fd, buffer, length, flags);
    }
};

}  // namespace

SocketCalls& SystemSocketCalls() {
    static SystemCalls calls;
    return calls;
}

}  // namespace orsan
