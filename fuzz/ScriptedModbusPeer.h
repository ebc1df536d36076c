#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "SocketCalls.h"
#include "SocketKit.h"

namespace orsan::fuzz {

// A sensor played in-process behind the socket seam: the connection's
// calls never reach the network and never wait. After the request is sent,
// each poll lets the next scripted segment arrive; a receive takes from the
// segment that has arrived only, as a kernel hands out what is queued; a
// receive that may block first lets the next segment arrive, as a poll does.
class ScriptedModbusPeer final : public SocketCalls {
public:
    struct Script {
        bool connectInProgress = false;  // connect does not finish at once, then poll
        bool connectRefused = false;     // the pending error after the poll
        bool sendFails = false;
        bool closeAfterLast = false;  // else silence (time-out) after the last segment
        std::vector<std::vector<uint8_t>> segments;
    };

    explicit ScriptedModbusPeer(Script script);

    const std::vector<uint8_t>& Request() const { return request_; }
    // Bytes handed to the connection so far.
    size_t Delivered() const { return delivered_; }

    int Socket(int domain, int type, int protocol) override;
    int Connect(int fd, const sockaddr* address, socklen_t length) override;
    int Poll(pollfd* fds, nfds_t count, int timeoutMs) override;
    int GetSockOpt(int fd, int level, int name, void* value, socklen_t* length) override;
    int SetSockOpt(int fd, int level, int name, const void* value, socklen_t length) override;
    int GetFlags(int fd) override;
    int SetFlags(int fd, int flags) override;
    ssize_t Send(int fd, const void* data, size_t length, int flags) override;
    ssize_t Receive(int fd, void* buffer, size_t length, int flags) override;

private:
    bool Arrive();

    Script script_;
    std::deque<std::vector<uint8_t>> waiting_;  // not yet arrived
    std::vector<uint8_t> queued_;               // arrived, not yet received
    std::vector<uint8_t> request_;
    size_t delivered_ = 0;
    bool sent_ = false;
    int flags_ = 0;
};

}  // namespace orsan::fuzz
