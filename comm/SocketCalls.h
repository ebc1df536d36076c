#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>

#include <cstddef>

namespace orsan {

// The system calls behind every client socket of the station. The real ones
// come from SystemSocketCalls(); a test or fuzzer can play the peer in-process
// by handing its own implementation to the connection instead.
class SocketCalls {
public:
    virtual ~SocketCalls() = default;
    virtual int Socket(int domain, int type, int protocol) = 0;
    virtual int Connect(int fd, const sockaddr* address, socklen_t length) = 0;
    virtual int Poll(pollfd* fds, nfds_t count, int timeoutMs) = 0;
    virtual int GetSockOpt(int fd, int level, int name, void* value, socklen_t* length) = 0;
    virtual int SetSockOpt(int fd, int level, int name, const void* value, socklen_t length) = 0;
    virtual int GetFlags(int fd) = 0;
    virtual int SetFlags(int fd, int flags) = 0;
    virtual ssize_t Send(int fd, const void* data, size_t length, int flags) = 0;
    virtual ssize_t Receive(int fd, void* buffer, size_t length, int flags) = 0;
};

// The operating system's calls; stateless, shared by every thread.
SocketCalls& SystemSocketCalls();

}  // namespace orsan
